#pragma once
// What the main menu's items do. One member per item, named after the item.
// The commands that belong to the menu itself are implemented here: the two
// limit input boxes, the negative-value option, copying the active window,
// showing and hiding the service windows and the online help. Every other
// item does nothing here; the main window overrides it, and an item whose
// window does not exist yet stays inert until that window is wired in.
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QAction;

namespace qv {

class MainMenu;
class PlotWindow;

// The help page, a file shipped next to the program.
inline const char* const HelpPageFileName = "quorvane-help.html";
// The address of the help page: the file in the program's own folder.
QUrl onlineHelpAddress();

// How the help page is opened. By default the system's web browser is
// started without waiting for it, except on the offscreen platform (tests,
// no screen), where nothing is started. Tests may install a recorder;
// an empty function restores the default.
using HelpPageOpener = std::function<void(const QUrl&)>;
void setHelpPageOpener(HelpPageOpener opener);

// The windows that the menu shows and hides with a tick.
enum class ServiceWindow { PrintPreview, FileInfo, FileBrowser, WellPlateBrowser, FileNameHandler, AboutBox };
inline constexpr std::array<ServiceWindow, 6> AllServiceWindows{
    ServiceWindow::PrintPreview,     ServiceWindow::FileInfo,        ServiceWindow::FileBrowser,
    ServiceWindow::WellPlateBrowser, ServiceWindow::FileNameHandler, ServiceWindow::AboutBox};

class MenuCommands {
public:
    MenuCommands();
    virtual ~MenuCommands();
    MenuCommands(const MenuCommands&) = delete;
    MenuCommands& operator=(const MenuCommands&) = delete;

    // The menu whose ticks and enabled states the commands keep (MainMenu
    // calls this when it is built; nullptr when it goes).
    void attachMenu(MainMenu* menu) { menu_ = menu; }
    MainMenu* menu() const { return menu_; }

    // A service window: the item's tick follows the window's visibility.
    // Closing the window with its own close box only hides it (until
    // shutdown has begun) and unticks the item. `afterShow` runs each time
    // the item shows the window (the print page redraws, the file
    // information window takes the active window's file). nullptr unbinds.
    void setServiceWindow(ServiceWindow which, QWidget* window, std::function<void()> afterShow = {});
    QWidget* serviceWindow(ServiceWindow which) const;
    // The service windows stand for the program as a whole, not for the
    // main window, so that a window manager minimises each alone; they are
    // kept above the main window here instead: raised, in the order they
    // were last active, whenever the main window becomes active, is clicked
    // or comes further into view (not while a modal box is open). Called
    // once the main window has been shown.
    void keepServiceWindowsAbove(QWidget& main);
    void raiseServiceWindows();
    // Shows a service window in view: one never placed at a free spot of
    // the screen beside the other service windows, clear of the main
    // window's menu bar; any one wholly on the screen.
    void showServiceWindow(ServiceWindow which);

    // ---- "&File" ----
    virtual void FileOpenFCS_Click() {}
    virtual void FileNextFile_Click() {}
    virtual void FilePreviousFile_Click() {}
    virtual void FileOpenTXT_Click() {}
    virtual void FileSaveFCSEiKysymysta_Click() {}
    virtual void FileSaveFCS_Click() {}
    virtual void AvaaFileNameHandler_Click();
    virtual void FileOpenView_Click() {}
    virtual void FileSaveView_Click() {}
    virtual void MenuSaveAnalysisPackage_Click() {}
    virtual void AvaaPrintPreviewPage_Click();
    virtual void Printtaa_Click() {}
    virtual void FileExit_Click() {}

    // ---- "&Edit" ----
    virtual void CopyImages_Click();
    virtual void SelectAll_Click() {}
    virtual void AsetaFastDrawLimit_Click();
    virtual void AsetaLadattavienPisteidenMaara_Click();
    virtual void KaytaNegAbsJuttua_Click();

    // ---- "View" ----
    virtual void AvaaFileBrowser_Click();
    virtual void AvaaWellplatebrowser_Click();
    virtual void NaytaFileInfo_Click();

    // ---- "&Create" ----
    virtual void CreateDotPlot_Click() {}
    virtual void CreateHistogram_Click() {}
    virtual void CreateHistogramModeller_Click() {}
    virtual void CreateOverlayHistogram_Click() {}
    virtual void Create3DPlot_Click() {}
    virtual void CreateBendPlot_Click() {}
    virtual void LuoFluxTracker_Click() {}
    virtual void LuoProjector_Click() {}
    virtual void LuoClipBook_Click() {}

    // ---- "&Help" ----
    virtual void AvaaHelp_Click();
    virtual void AvaaAboutLaatikko_Click();

    // ---- hidden menus ----
    // Item `index` of the "Show populations" submenu (0 = "All events").
    virtual void ShowPopulation_Click(int index) { (void)index; }

protected:
    // The active child window, nullptr when none is active or it answers
    // no window protocol. The main window overrides this.
    virtual PlotWindow* activeChildWindow() { return nullptr; }
    // Redraws every window (the main window's PiirraKaikki); by default
    // through mainServices() when one is installed.
    virtual void redrawAll();
    // Opens the help page (through the opener above, else in the system's
    // web browser); when no browser can be started, a message gives the
    // page's path so the user can open it by hand.
    virtual void openHelpPage(const QUrl& address);
    // Starts the system's web browser on `address`; false when none could
    // be started. Nothing is started on the offscreen platform (true).
    virtual bool startBrowser(const QUrl& address);
    // The window the about box is centred on; by default the menu bar's window.
    virtual QWidget* centreWindow();

private:
    struct Binding {
        QPointer<QWidget> window;
        std::function<void()> afterShow;
        QObject* watcher = nullptr;
    };
    static constexpr int ServiceWindowCount = static_cast<int>(AllServiceWindows.size());
    QAction* itemOf(ServiceWindow which) const;
    // Shows or hides the window of an item, keeping the tick with it; true
    // when it showed the window.
    bool toggleServiceWindow(ServiceWindow which);
    void runAfterShow(ServiceWindow which);
    // The window now stands above the other service windows.
    void putOnTop(ServiceWindow which);
    void serviceWindowShown(ServiceWindow which);
    void serviceWindowHidden(ServiceWindow which);
    // One of the two "Set limit" input boxes.
    static void askLimit(const QString& prompt, int32_t& limit);

    MainMenu* menu_ = nullptr;
    std::array<Binding, ServiceWindowCount> bindings_{};
    QPointer<QObject> raiseWatcher_;
    // The service windows, lowest first, as they were last shown or active.
    std::vector<ServiceWindow> stacking_{AllServiceWindows.begin(), AllServiceWindows.end()};
};

}  // namespace qv
