#pragma once
// What the file utility windows share: they are tool windows of the main
// window, and a pointer move over them or any of their controls narrows the
// main window's right-hand panel (the handler the main window installs).
#include <QWidget>

#include <functional>
#include <string>

namespace qv {

class UtilityWindow : public QWidget {
    Q_OBJECT
public:
    explicit UtilityWindow(QWidget* parent = nullptr);

    void setMouseMoveHandler(std::function<void()> handler) { mouseMoved_ = std::move(handler); }

protected:
    // Watches the pointer over every control made so far; the windows call
    // it once their controls are built.
    void watchMouseMoves();
    // Lists the window's folder again. Runs whenever the window is shown,
    // so that it shows the folder as it is then (files written since, by an
    // acquisition or a tool, included), not as it was when the window was
    // made or last shown.
    virtual void listFolder() {}
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    std::function<void()> mouseMoved_;
};

// Loads the file at `path` into every window in use and selected, then
// frees the files no window shows. No selected window: nothing is loaded.
void LoadIntoSelectedWindows(const std::string& path);

}  // namespace qv
