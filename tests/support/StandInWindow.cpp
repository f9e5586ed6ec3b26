#include "tests/support/StandInWindow.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

#include "app/WindowDisposal.h"
#include "app/WindowRegistry.h"
#include "core/SharedState.h"

namespace qv::test {

StandInWindow::StandInWindow(QString kindTitle, bool showsFile)
    : kindTitle_(std::move(kindTitle)), showsFile_(showsFile) {
    resize(200, 150);
}

StandInWindow::~StandInWindow() = default;

std::vector<std::string>& StandInWindow::log() {
    static std::vector<std::string> entries;
    return entries;
}

std::function<void(int)>& StandInWindow::onAlusta() {
    static std::function<void(int)> hook;
    return hook;
}

std::function<void(int)>& StandInWindow::onDraw() {
    static std::function<void(int)> hook;
    return hook;
}

std::function<void(int)>& StandInWindow::onUnload() {
    static std::function<void(int)> hook;
    return hook;
}

void StandInWindow::note(const std::string& what) { log().push_back(what + " " + std::to_string(id_)); }

void StandInWindow::Alusta(int id) {
    id_ = id;
    note("Alusta");
    if (onAlusta()) onAlusta()(id);
    WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(id)];
    rec.ShowsFile = showsFile_;
    title_ = QStringLiteral("(%1): %2 - No File").arg(id).arg(kindTitle_);
    if (showsFile_) {
        rec.Selected = true;
        setWindowTitle(QString::fromLatin1(g.SelectedPrefix.c_str()) + title_);
    } else {
        setWindowTitle(title_);
    }
}

void StandInWindow::LatauksenJalkeen() { note("LatauksenJalkeen"); }

void StandInWindow::Piirra() {
    ++drawCount;
    note("Piirra");
    if (onDraw()) onDraw()(id_);
}

void StandInWindow::NaytaPopulaatio(int slot) {
    if (!showsFile_) missing("NaytaPopulaatio");
    shownPopulation = slot;
    note("NaytaPopulaatio " + std::to_string(slot));
}

void StandInWindow::MenuValintaReaktio(int index) {
    menuChoices.push_back(index);
    note("MenuValintaReaktio " + std::to_string(index));
}

void StandInWindow::UnloadWindow() {
    if (unloaded_) return;
    unloaded_ = true;
    note("UnloadWindow");
    if (onUnload()) onUnload()(id_);
    releaseWindowSlot(id_);
    discardWindow(*this);
}

void StandInWindow::onActivated() {
    if (id_ == 0) return;  // before Alusta
    ++activations;
    if (showsFile_) activateFileWindow(id_);
}

void StandInWindow::closeEvent(QCloseEvent* event) {
    UnloadWindow();
    event->accept();
}

void registerStandInKind(const std::string& type, const QString& kindTitle, bool showsFile) {
    registerWindowKind(type, [kindTitle, showsFile] { return new StandInWindow(kindTitle, showsFile); });
}

}  // namespace qv::test
