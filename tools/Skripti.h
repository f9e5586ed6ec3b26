#pragma once
// The tool window ("Skripti"): an editor pane for tool text, the variable
// pane the interpreter writes, the caret's row, and the buttons Execute
// (Stop while a tool runs), Clear and Minimize/Maximize. Created once by the
// main window; closing it only hides it while the program runs. It runs
// the tools of the Tools menu in its small layout, which shows only the
// Execute/Stop button.
#include <QWidget>

#include <functional>
#include <string>

#include "app/model/ScriptFolder.h"
#include "tools/ToolHost.h"
#include "tools/model/ScriptInterpreter.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qv {

class Skripti final : public QWidget {
    Q_OBJECT
public:
    explicit Skripti(QWidget* parent = nullptr);
    ~Skripti() override;

    // An ID outside the registry's slots, so the copy command copies from it.
    static constexpr int ToolWindowId = 999;
    int AnnaID() const { return ToolWindowId; }
    // The selected text of the editor, or all of it when nothing is selected.
    void CopyToClipboard();
    // "iso" the large layout, "pieni" the small one, anything else the
    // other one; shows the window first.
    void MuutaSkriptiKoko(const QString& mode);
    // Runs a tool text (8-bit). Does nothing while a run is going on.
    void AjaOhjelma(const std::string& text, bool showVariables);

    // A Tools menu item: unpacks a pack (a damaged one is refused with a
    // message), runs the text in the small layout without the variable pane
    // and hides the window afterwards unless the tool enlarged it.
    void runScriptFile(const ScriptMenuEntry& entry, const QString& path, const std::string& text);

    // Buttons.
    void Toteuta_Click();
    void Tyhjenna_Click();
    void MuutaKokoa_Click();

    ScriptInterpreter& interpreter() { return interpreter_; }
    const ScriptInterpreter& interpreter() const { return interpreter_; }
    ToolHost& host() { return host_; }

    // Controls, named by role.
    QPlainTextEdit* Teksti = nullptr;     // the tool text
    QLabel* MuuttujatLabel = nullptr;     // "Variable values"
    QPlainTextEdit* Muuttujat = nullptr;  // the variable pane
    QLineEdit* KursorinPaikka = nullptr;  // "Row: n"
    QPushButton* Toteuta = nullptr;       // Execute / Stop
    QPushButton* Tyhjenna = nullptr;      // Clear
    QPushButton* MuutaKokoa = nullptr;    // Minimize / Maximize

    // The window as the workspace shows it (its sub-window frame when it has one).
    QWidget* frame();
    // Puts the window into the main window's workspace; called once, the
    // first time the window is shown, so it takes no place there before.
    void setWorkspacePlacer(std::function<void(Skripti&)> placer) { placer_ = std::move(placer); }
    // Start-up: the small layout, hidden.
    void startSmallAndHidden();
    // Runs at every pointer move over the window, its editor and its
    // variable pane (the main window narrows its panel, as over any child window).
    void setMouseMoveHandler(std::function<void()> handler) { mouseMoved_ = std::move(handler); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutLarge();
    void layoutSmall();
    void placeLargeControls();
    void updateRow();

    ToolHost host_;
    ScriptInterpreter interpreter_{host_};
    std::function<void(Skripti&)> placer_;
    std::function<void()> mouseMoved_;
};

}  // namespace qv
