#include "tools/ToolHost.h"

#include <QCoreApplication>
#include <QFile>

#include "app/Dialogs.h"
#include "app/FileOpening.h"
#include "app/MainServices.h"
#include "app/PlotWindow.h"
#include "app/TypedText.h"
#include "app/WindowRegistry.h"
#include "app/model/PopulationRecompute.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "tools/model/ScriptInterpreter.h"

namespace qv {

namespace {

// A chosen file's path as the bytes the file system holds, as every path
// of a run is kept.
std::optional<std::string> chosenPath(const std::optional<QString>& answer) {
    if (!answer) return std::nullopt;
    return QFile::encodeName(*answer).toStdString();
}

const QString AnyFile = QStringLiteral("All files (*)");

}  // namespace

ToolHost::ToolHost() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    // The print page is an A4 page upright.
    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setPageOrientation(QPageLayout::Portrait);
}
ToolHost::~ToolHost() = default;

void ToolHost::runStarted() {
    // Each run lists the folders it walks afresh.
    ForgetWalkListing();
    if (onRunStarted) onRunStarted();
}

void ToolHost::runEnded() {
    if (onRunEnded) onRunEnded();
    // However the run ended (its last line, "end", an error or Stop), the
    // files its walks passed as unreadable are named once, together.
    if (!g.ProgramClosing) ReportPassedFiles();
}

void ToolHost::autosave() {
    if (MainServices* services = mainServices()) services->TalletaNakyma(QStringLiteral("Autosave"));
}

void ToolHost::processEvents() {
    if (pendingEvents)
        pendingEvents();
    else
        QCoreApplication::processEvents();
    sinceEvents_.start();
}

bool ToolHost::keepWorking() {
    if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= workEventInterval) processEvents();
    return runGoesOn();
}

void ToolHost::showVariables(const std::string& paneText) {
    if (onVariables) onVariables(paneText);
}

void ToolHost::message(const std::string& text, const std::string& title) {
    showMessage(Latin1Text(text), Latin1Text(title), MsgButtons::Ok);
}

bool ToolHost::confirm(const std::string& text, const std::string& title) {
    return showMessage(Latin1Text(text), Latin1Text(title), MsgButtons::OkCancel) == MsgAnswer::Ok;
}

std::optional<std::string> ToolHost::input(const std::string& prompt, const std::string& title) {
    return AskLatin1Text(Latin1Text(prompt), Latin1Text(title), QString());
}

std::optional<std::string> ToolHost::openFile(const std::string& title, const std::string& presetName) {
    return chosenPath(dialogs().openFileName(Latin1Text(title), AnyFile, Latin1Text(presetName)));
}

std::optional<std::string> ToolHost::saveFile(const std::string& title) {
    return chosenPath(dialogs().saveFileName(Latin1Text(title), AnyFile, QString(), OverwriteQuestion::ByDialog));
}

bool ToolHost::choosePrinter() { return ChoosePrinter(*printer_); }

void ToolHost::redrawAll() {
    if (MainServices* services = mainServices()) services->PiirraKaikki();
}

void ToolHost::redrawWindow(int id) {
    PlotWindow* window = windowAt(id);
    if (!window) throw ScriptError("no window in slot " + std::to_string(id));
    window->Piirra();
}

void ToolHost::recomputeAllPopulations() { RecomputeAllPopulations(); }

void ToolHost::recomputePopulation(int slot) { RecomputePopulation(slot); }

void ToolHost::showToolWindow() {
    if (onShowToolWindow) onShowToolWindow();
}

}  // namespace qv
