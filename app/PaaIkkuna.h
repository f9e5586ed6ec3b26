#pragma once
// The main window: a multiple-document window holding every analysis window
// as a child, the right-hand populations panel and the menu bar. It owns the
// start-up of the program, the orderly exit, the services the windows call
// back (redraw-all, panel refresh, autosave, next/previous file) and the
// pop-up menus the windows fill and show.
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

#include <memory>

#include "app/MainServices.h"
#include "app/MenuCommands.h"

class QMdiArea;
class QMdiSubWindow;

namespace qv {

class FileInfo;
class MainMenu;
class PlotWindow;
class SheetStore;
class PopulationPanel;
class PopulationPanelActions;
class PrintPreview;
class Skripti;
class ToolsMenu;

class PaaIkkuna final : public QMainWindow, public MainServices, public MenuCommands {
    Q_OBJECT
public:
    explicit PaaIkkuna(QWidget* parent = nullptr);
    ~PaaIkkuna() override;

    // The program's start-up, in its fixed order: shared values, caption,
    // panel, autosave on, the recovery offer, the Tools menu. Run once.
    void MDIForm_Load();

    QMdiArea* workspace() const { return mdi_; }
    // The menu bar with the hidden menus of the window pop-up exchange.
    MainMenu& mainMenu() const { return *menu_; }
    QMenu& nappiMenu() const;
    QMenu& showPopulationMenu() const;
    QMenu& kanavaLista() const;
    QMenu& statMenu() const;
    // The right-hand panel and the Tools menu (made by start-up; nullptr before).
    PopulationPanel* panel() const { return panel_; }
    ToolsMenu* toolsMenu() const { return tools_.get(); }
    // The file information window (made hidden by start-up; nullptr before).
    FileInfo* fileInfo() const { return fileInfo_; }
    // The print page, loaded hidden by start-up (nullptr before).
    PrintPreview* printPage() const;
    // The tool window (made by start-up, small and hidden; nullptr before).
    Skripti* toolWindow() const { return skripti_; }

    // The "Autosave" mode of the sheet writer writes only while this is on.
    bool AutosaveEnabled = false;

    // Where the sheet writer and reader plug in: the main window's own
    // SheetStore unless replaced (tests record the requests instead).
    // Without a writer TalletaNakyma writes nothing; without a reader
    // LataaNakyma reads nothing.
    void setSheetWriter(std::function<void(const QString& mode)> writer) { sheetWriter_ = std::move(writer); }
    void setSheetReader(std::function<void(const QString& path)> reader) { sheetReader_ = std::move(reader); }

    SheetStore& sheetStore() const { return *sheets_; }
    // Replaces the workspace with the analysis sheet or package at path.
    void LataaNakyma(const QString& path);

    // MainServices
    void PiirraKaikki() override;
    void PaivitaRegionLista() override;
    int ValittuPopulaatio() const override;
    int ValittuMaaritelma() const override;
    void TalletaNakyma(const QString& mode) override;
    bool SeuraavaTiedosto(int id) override;
    bool EdellinenTiedosto(int id) override;
    void showWindowPopup(int ownerId, const QStringList& captions, const QPoint& globalPos,
                         bool showPopulations = true) override;
    void showChannelPopup(int axis, const QStringList& parameterNames, const QPoint& globalPos) override;
    int showStatisticsPopup(int ownerId, const QStringList& items, const QPoint& globalPos,
                            const QList<int>& ticks = {}) override;
    void showWindowPopupWithDisabled(int ownerId, const QStringList& captions, const QPoint& globalPos,
                                     const QList<int>& disabledItems) override;

    // Menu commands that belong to the main window.
    void FileOpenFCS_Click() override;
    void FileNextFile_Click() override;
    void FilePreviousFile_Click() override;
    void FileOpenTXT_Click() override;
    void FileOpenView_Click() override;
    void FileSaveView_Click() override { TalletaNakyma(QStringLiteral("Sheet")); }
    void MenuSaveAnalysisPackage_Click() override { TalletaNakyma(QStringLiteral("Paketti")); }
    void FileSaveFCSEiKysymysta_Click() override;
    void FileSaveFCS_Click() override;
    void FileExit_Click() override;
    void Printtaa_Click() override;
    void CopyImages_Click() override;
    void SelectAll_Click() override;
    void CreateDotPlot_Click() override { createFromMenu("DotPlot"); }
    void CreateHistogram_Click() override { createFromMenu("Histogram"); }
    void CreateHistogramModeller_Click() override { createFromMenu("Histogram Modeller"); }
    void CreateOverlayHistogram_Click() override { createFromMenu("Overlay Histogram"); }
    void Create3DPlot_Click() override { createFromMenu("3D Plot"); }
    void CreateBendPlot_Click() override { createFromMenu("BendPlot"); }
    void LuoFluxTracker_Click() override { createFromMenu("FluxTracker"); }
    void LuoProjector_Click() override { createFromMenu("Projector"); }
    void LuoClipBook_Click() override { createFromMenu("ClipBook"); }
    // A window of the given type name through the shared creation sequence;
    // returns its ID, 0 when none was made (a kind not built yet makes none).
    int createFromMenu(const std::string& type);

    // Pop-up menu choices.
    void Menu_Click(int index);
    void Kanava_Click(int index);
    void ShowPopulation_Click(int index) override;

    // Mouse movement over the workspace (outside every child window):
    // narrows the panel unless frozen and completes a postponed full redraw.
    void MDIForm_MouseMove();

    // True once the orderly exit has run (the program is ending).
    bool exited() const { return exited_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    PlotWindow* activeChildWindow() override;

private:
    // Pending events between the windows of a redraw-all; the user's input
    // waits while a sheet loads.
    void processPendingEvents();
    void UnloadAll();
    void clearLoadedItems(QMenu& menu, int keep);
    void showWindowMenu(int ownerId, const QStringList& captions, const QPoint& globalPos, bool showPopulations,
                        const QList<int>& disabledItems);
    // Shows the main window over most of the screen.
    void openAtUsefulSize();
    // Adds a window to the workspace in a frame of its own and shows it.
    void showInWorkspace(QWidget& window);

    QMdiArea* mdi_ = nullptr;
    std::unique_ptr<MainMenu> menu_;
    PopulationPanel* panel_ = nullptr;
    PopulationPanelActions* panelActions_ = nullptr;
    FileInfo* fileInfo_ = nullptr;
    QPointer<PrintPreview> printPage_;
    std::unique_ptr<ToolsMenu> tools_;
    Skripti* skripti_ = nullptr;

    std::function<void(const QString&)> sheetWriter_;
    std::function<void(const QString&)> sheetReader_;
    std::unique_ptr<SheetStore> sheets_;

    bool redrawing_ = false;
    bool redrawAgain_ = false;
    bool exited_ = false;
};

}  // namespace qv
