#pragma once
// The tool interpreter's link to the running program: questions and
// messages through the dialog layer, autosave and redraw-all through the
// main window's services, window redraws through the registry, population
// recomputation through the model. The tool window fills in the hooks that
// concern itself (its caption, its variable pane, its large layout).
#include <QElapsedTimer>
#include <QPrinter>

#include <functional>
#include <memory>
#include <string>

#include "tools/model/ScriptHost.h"

namespace qv {

class ToolHost final : public ScriptHost {
public:
    ToolHost();
    ~ToolHost() override;

    std::function<void()> onRunStarted;
    std::function<void()> onRunEnded;
    std::function<void(const std::string&)> onVariables;
    std::function<void()> onShowToolWindow;
    // Pending events between lines; QCoreApplication::processEvents unless set.
    std::function<void()> pendingEvents;
    // How often long work inside a line lets pending events run, in
    // milliseconds (0: at every item).
    int workEventInterval = 30;

    // The printer the printer question set up.
    QPrinter& printer() { return *printer_; }

    void runStarted() override;
    void runEnded() override;
    void autosave() override;
    void processEvents() override;
    bool keepWorking() override;
    void showVariables(const std::string& paneText) override;

    void message(const std::string& text, const std::string& title) override;
    bool confirm(const std::string& text, const std::string& title) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& presetName) override;
    std::optional<std::string> saveFile(const std::string& title) override;
    bool choosePrinter() override;

    void redrawAll() override;
    void redrawWindow(int id) override;
    void recomputeAllPopulations() override;
    void recomputePopulation(int slot) override;
    void showToolWindow() override;

private:
    std::unique_ptr<QPrinter> printer_;
    QElapsedTimer sinceEvents_;
};

}  // namespace qv
