#pragma once
// What a running tool needs of the program around it: the dialogs, the
// autosave, the redraws and recomputations, the tool window's panes and the
// pending-events pump. The tool window supplies the real one (through the
// dialog layer and the main window's services); tests supply their own.
// Texts are 8-bit (Latin-1), one character per byte.
#include <optional>
#include <string>

namespace qv {

class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // The run's start and end: the Execute button reads "Stop" / "Execute".
    virtual void runStarted() {}
    virtual void runEnded() {}
    // The workspace is autosaved once at the start of every run.
    virtual void autosave() {}
    // Lets the user interface handle pending events between lines (a click
    // on Stop, a menu command, the program's exit).
    virtual void processEvents() {}
    // Long work inside one line (a folder walk past many refused files, a
    // long listing) asks this between items: now and then it lets the user
    // interface handle pending events, as between lines, and it says whether
    // the run goes on (false after Stop, "end" or the program's exit).
    virtual bool keepWorking() { return runGoesOn(); }
    // The variable pane's new text.
    virtual void showVariables(const std::string& /*paneText*/) {}

    // A message box with an OK button, waiting until it is closed.
    virtual void message(const std::string& text, const std::string& title) = 0;
    // A message box with OK and Cancel; true for OK.
    virtual bool confirm(const std::string& text, const std::string& title) = 0;
    // An input box with an empty preset answer; nullopt for Cancel.
    virtual std::optional<std::string> input(const std::string& prompt, const std::string& title) = 0;
    // File dialogs; the chosen path ("/" between folders), nullopt for Cancel.
    virtual std::optional<std::string> openFile(const std::string& title, const std::string& presetName) = 0;
    virtual std::optional<std::string> saveFile(const std::string& title) = 0;
    // The printer dialog; true when a printer was confirmed.
    virtual bool choosePrinter() = 0;

    // Redraws: every window (with the panel refresh and the autosave), or
    // the window in one registry slot. A slot that holds no window is an
    // error of the line (throw ScriptError).
    virtual void redrawAll() = 0;
    virtual void redrawWindow(int id) = 0;
    // Recomputes every population, or the population in one slot.
    virtual void recomputeAllPopulations() = 0;
    virtual void recomputePopulation(int slot) = 0;
    // The tool window takes its large layout and stays in view.
    virtual void showToolWindow() = 0;

protected:
    static bool runGoesOn();
};

}  // namespace qv
