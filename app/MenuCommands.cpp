#include "app/MenuCommands.h"

#include "app/WorkspacePlacement.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QWindow>

#include <algorithm>
#include <vector>

#include "app/Dialogs.h"
#include "app/MainServices.h"
#include "app/MenuBar.h"
#include "app/PlotWindow.h"
#include "app/model/LimitInput.h"
#include "core/Numbers.h"
#include "core/SharedState.h"

namespace qv {
namespace {

// Keeps a service window's tick with its visibility: a show ticks the item
// (also when other code, such as the sheet reader, shows the window), a hide
// unticks it, and the window's own close box only hides it while the program
// runs.
class ServiceWindowWatcher : public QObject {
public:
    ServiceWindowWatcher(QObject* parent, std::function<void()> onShown, std::function<void()> onHidden,
                         std::function<void()> onActivated)
        : QObject(parent),
          onShown_(std::move(onShown)),
          onHidden_(std::move(onHidden)),
          onActivated_(std::move(onActivated)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close && !g.ProgramClosing) {
            event->ignore();
            if (auto* w = qobject_cast<QWidget*>(watched)) w->hide();
            return true;
        }
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            standForTheProgram(watched);
            onShown_();
        }
        if (event->type() == QEvent::Hide && !event->spontaneous()) onHidden_();
        if (event->type() == QEvent::WindowActivate) onActivated_();
        return false;
    }

private:
    // A window that stands for the main window (its transient parent) is
    // minimised together with it by window managers that minimise a
    // window's family: minimising it would hide the whole program. Without
    // one it is minimised alone; the main window keeps it above itself
    // instead (keepServiceWindowsAbove).
    static void standForTheProgram(QObject* watched) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !widget->isWindow()) return;
        if (QWindow* handle = widget->windowHandle(); handle && handle->transientParent())
            handle->setTransientParent(nullptr);
    }

    std::function<void()> onShown_;
    std::function<void()> onHidden_;
    std::function<void()> onActivated_;
};

// Brings the service windows back above the main window whenever the
// window manager may have raised the main window over them: when it becomes
// the active window, when it is clicked and when more of it comes into
// view. Not while a modal box is open, which must stay above them all.
class MainWindowRaiseWatcher : public QObject {
public:
    MainWindowRaiseWatcher(QObject* parent, std::function<void()> raiseOthers)
        : QObject(parent), raiseOthers_(std::move(raiseOthers)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool activated = event->type() == QEvent::ActivationChange && qobject_cast<QWidget*>(watched) &&
                               static_cast<QWidget*>(watched)->isActiveWindow();
        const bool raised = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Expose;
        if ((activated || raised) && !QApplication::activeModalWidget()) raiseOthers_();
        return false;
    }

private:
    std::function<void()> raiseOthers_;
};

QString numberText(int32_t v) { return QString::fromStdString(NumberText(v)); }

HelpPageOpener& helpPageOpener() {
    static HelpPageOpener opener;
    return opener;
}

}  // namespace

void setHelpPageOpener(HelpPageOpener opener) { helpPageOpener() = std::move(opener); }

MenuCommands::MenuCommands() = default;

MenuCommands::~MenuCommands() {
    for (Binding& b : bindings_) {
        if (b.window && b.watcher) b.window->removeEventFilter(b.watcher);
        delete b.watcher;
    }
}

QAction* MenuCommands::itemOf(ServiceWindow which) const {
    if (!menu_) return nullptr;
    switch (which) {
        case ServiceWindow::PrintPreview: return menu_->AvaaPrintPreviewPage;
        case ServiceWindow::FileInfo: return menu_->NaytaFileInfo;
        case ServiceWindow::FileBrowser: return menu_->AvaaFileBrowser;
        case ServiceWindow::WellPlateBrowser: return menu_->AvaaWellplatebrowser;
        case ServiceWindow::FileNameHandler: return menu_->AvaaFileNameHandler;
        case ServiceWindow::AboutBox: return nullptr;
    }
    return nullptr;
}

void MenuCommands::setServiceWindow(ServiceWindow which, QWidget* window, std::function<void()> afterShow) {
    Binding& b = bindings_[static_cast<size_t>(which)];
    if (b.window && b.watcher) b.window->removeEventFilter(b.watcher);
    delete b.watcher;
    b = Binding{};
    if (!window) return;
    b.window = window;
    b.afterShow = std::move(afterShow);
    b.watcher = new ServiceWindowWatcher(
        nullptr, [this, which] { serviceWindowShown(which); }, [this, which] { serviceWindowHidden(which); },
        [this, which] { putOnTop(which); });
    window->installEventFilter(b.watcher);
    if (QAction* item = itemOf(which)) item->setChecked(window->isVisible());
    if (which == ServiceWindow::PrintPreview && menu_) menu_->Printtaa->setEnabled(window->isVisible());
}

void MenuCommands::keepServiceWindowsAbove(QWidget& main) {
    if (raiseWatcher_) return;
    auto* watcher = new MainWindowRaiseWatcher(&main, [this] { raiseServiceWindows(); });
    raiseWatcher_ = watcher;
    main.installEventFilter(watcher);
    // The window's own handle sees every press inside it, whichever
    // control takes it.
    if (QWindow* handle = main.windowHandle()) handle->installEventFilter(watcher);
}

void MenuCommands::putOnTop(ServiceWindow which) {
    const auto at = std::find(stacking_.begin(), stacking_.end(), which);
    if (at != stacking_.end()) stacking_.erase(at);
    stacking_.push_back(which);
}

void MenuCommands::raiseServiceWindows() {
    // In the order they were last active, so that they keep their order
    // among themselves.
    for (const ServiceWindow which : stacking_) {
        QWidget* window = serviceWindow(which);
        if (window && window->isWindow() && window->isVisible() && !window->isMinimized()) window->raise();
    }
}

QWidget* MenuCommands::serviceWindow(ServiceWindow which) const {
    return bindings_[static_cast<size_t>(which)].window.data();
}

void MenuCommands::serviceWindowShown(ServiceWindow which) {
    if (QAction* item = itemOf(which)) item->setChecked(true);
    if (which == ServiceWindow::PrintPreview && menu_) menu_->Printtaa->setEnabled(true);
}

void MenuCommands::serviceWindowHidden(ServiceWindow which) {
    if (QAction* item = itemOf(which)) item->setChecked(false);
    if (which == ServiceWindow::PrintPreview && menu_) menu_->Printtaa->setEnabled(false);
}

bool MenuCommands::toggleServiceWindow(ServiceWindow which) {
    QAction* item = itemOf(which);
    QWidget* window = serviceWindow(which);
    if (!window) {
        // The window does not exist (yet): the item shows no tick.
        if (item) item->setChecked(false);
        return false;
    }
    // The tick and the window's visibility change together, so the window
    // tells whether the item was ticked (a click has already flipped the
    // check mark of a checkable item).
    // A minimised window is brought back rather than hidden: the menu is
    // the way back to it.
    if (window->isVisible() && !window->isMinimized()) {
        window->hide();  // the watcher unticks and disables "Print..."
        if (item) item->setChecked(false);
        return false;
    }
    if (item) item->setChecked(true);
    showServiceWindow(which);
    // Opened by the user, it takes the keyboard at once.
    window->activateWindow();
    return true;
}

void MenuCommands::showServiceWindow(ServiceWindow which) {
    QWidget* window = serviceWindow(which);
    if (!window) return;
    // Opened again, a window left maximised comes back at its own size,
    // clear of the main window's menus.
    if (window->isHidden() && (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const QRect normal = window->normalGeometry();
        window->setWindowState(window->windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        if (normal.isValid()) window->setGeometry(normal);
    }
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    std::vector<const QWidget*> others;
    for (const Binding& b : bindings_)
        if (b.window) others.push_back(b.window.data());
    openOwnWindowInView(*window, centreWindow(), others);
    window->show();
    // Shown, it may know its real frame now.
    keepOnScreen(*window);
    window->raise();
    putOnTop(which);
}

void MenuCommands::runAfterShow(ServiceWindow which) {
    const std::function<void()> afterShow = bindings_[static_cast<size_t>(which)].afterShow;
    if (afterShow) afterShow();
}

void MenuCommands::AvaaFileNameHandler_Click() {
    if (toggleServiceWindow(ServiceWindow::FileNameHandler)) runAfterShow(ServiceWindow::FileNameHandler);
}

void MenuCommands::AvaaPrintPreviewPage_Click() {
    if (!toggleServiceWindow(ServiceWindow::PrintPreview)) return;  // hidden: "Print..." went off with it
    if (menu_) menu_->Printtaa->setEnabled(true);
    // Every window is redrawn before the page that shows their pictures.
    redrawAll();
    runAfterShow(ServiceWindow::PrintPreview);
}

void MenuCommands::AvaaFileBrowser_Click() {
    if (toggleServiceWindow(ServiceWindow::FileBrowser)) runAfterShow(ServiceWindow::FileBrowser);
}

void MenuCommands::AvaaWellplatebrowser_Click() {
    if (toggleServiceWindow(ServiceWindow::WellPlateBrowser)) runAfterShow(ServiceWindow::WellPlateBrowser);
}

void MenuCommands::NaytaFileInfo_Click() {
    // The file information window's afterShow shows the file of the window
    // activated last, when there is one.
    if (toggleServiceWindow(ServiceWindow::FileInfo)) runAfterShow(ServiceWindow::FileInfo);
}

void MenuCommands::AvaaAboutLaatikko_Click() {
    QWidget* box = serviceWindow(ServiceWindow::AboutBox);
    if (!box) return;
    if (QWidget* main = centreWindow()) {
        const QPoint centre = main->mapToGlobal(QPoint(main->width() / 2, main->height() / 2));
        QPoint topLeft(centre.x() - box->width() / 2, centre.y() - box->height() / 2);
        if (QWidget* parent = box->parentWidget()) topLeft = parent->mapFromGlobal(topLeft);
        box->move(topLeft);
    }
    box->show();  // not modal
    box->raise();
    box->activateWindow();
    runAfterShow(ServiceWindow::AboutBox);
}

QWidget* MenuCommands::centreWindow() {
    if (menu_ && menu_->bar) return menu_->bar->window();
    return nullptr;
}

void MenuCommands::askLimit(const QString& prompt, int32_t& limit) {
    const std::optional<QString> answer =
        dialogs().inputBox(prompt, QStringLiteral("Set limit"), numberText(limit));
    if (const std::optional<int32_t> value = limitFromAnswer(answer)) limit = *value;
}

void MenuCommands::AsetaFastDrawLimit_Click() {
    // Windows use the new limit at their next file load or draw-mode change.
    askLimit(QStringLiteral("Set the fast draw limit"), g.FastDrawLimit);
}

void MenuCommands::AsetaLadattavienPisteidenMaara_Click() {
    // Applies to files read from now on.
    askLimit(QStringLiteral("Set the max number of events which will be loaded"), g.MaxEventsLoaded);
}

void MenuCommands::KaytaNegAbsJuttua_Click() {
    g.UseNegativeAbs = !g.UseNegativeAbs;
    if (menu_) menu_->KaytaNegAbsJuttua->setChecked(g.UseNegativeAbs);
    redrawAll();
}

void MenuCommands::CopyImages_Click() {
    QGuiApplication::clipboard()->clear();
    PlotWindow* window = activeChildWindow();
    if (!window) return;
    const int id = window->AnnaID();
    if (id == 0) return;  // windows without a picture of their own copy nothing
    window->CopyToClipboard();
    g.LastCopiedWindow = static_cast<int16_t>(id);
}

QUrl onlineHelpAddress() {
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                               QString::fromLatin1(HelpPageFileName));
}

void MenuCommands::AvaaHelp_Click() {
    const QUrl address = onlineHelpAddress();
    if (!QFileInfo::exists(address.toLocalFile())) {
        showMessage(QStringLiteral("The help page could not be found:\n") + address.toLocalFile(),
                    QStringLiteral("Online Help"));
        return;
    }
    openHelpPage(address);
}

void MenuCommands::redrawAll() {
    if (MainServices* services = mainServices()) services->PiirraKaikki();
}

void MenuCommands::openHelpPage(const QUrl& address) {
    if (const HelpPageOpener& opener = helpPageOpener()) {
        opener(address);
        return;
    }
    if (!startBrowser(address))
        showMessage(QStringLiteral("No web browser could be started to show the help page. The page is at:\n") +
                        address.toLocalFile(),
                    QStringLiteral("Online Help"));
}

bool MenuCommands::startBrowser(const QUrl& address) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return true;
    return QDesktopServices::openUrl(address);
}

}  // namespace qv
