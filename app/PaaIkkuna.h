#pragma once
// The main window: a multiple-document window holding every analysis window
// as a child, the right-hand populations panel and the menu bar. It owns the
// start-up of the program, the orderly exit, the services the windows call
// back (redraw-all, panel refresh, autosave, next/previous file) and the
// pop-up menus the windows fill and show.
#include <QMainWindow>
#include <QMenu>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

#include "app/MainServices.h"

class QMdiArea;
class QMdiSubWindow;

namespace qv {

class PlotWindow;

class PaaIkkuna final : public QMainWindow, public MainServices {
    Q_OBJECT
public:
    explicit PaaIkkuna(QWidget* parent = nullptr);
    ~PaaIkkuna() override;

    // The program's start-up, in its fixed order: shared values, caption,
    // panel, autosave on, the recovery offer, the Tools menu. Run once.
    void MDIForm_Load();

    QMdiArea* workspace() const { return mdi_; }
    // The hidden menus of the window pop-up exchange.
    QMenu& nappiMenu() { return nappiMenu_; }
    QMenu& showPopulationMenu() { return showPopulationMenu_; }
    QMenu& kanavaLista() { return kanavaLista_; }
    QMenu& statMenu() { return statMenu_; }

    // The "Autosave" mode of the sheet writer writes only while this is on.
    bool AutosaveEnabled = false;

    // Where the sheet writer and reader plug in. Without a writer,
    // TalletaNakyma writes nothing; without a reader, a recovery answered Yes
    // reads nothing.
    void setSheetWriter(std::function<void(const QString& mode)> writer) { sheetWriter_ = std::move(writer); }
    void setSheetReader(std::function<void(const QString& path)> reader) { sheetReader_ = std::move(reader); }

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
    int showStatisticsPopup(int ownerId, const QStringList& items, const QPoint& globalPos) override;

    // Menu commands.
    void FileExit_Click();
    void SelectAll_Click();
    // The "&Create" menu and the operations without a menu item: a window of
    // the given type name through the shared creation sequence; returns its
    // ID, 0 when none was made.
    int createFromMenu(const std::string& type);

    // Pop-up menu choices.
    void Menu_Click(int index);
    void Kanava_Click(int index);
    void ShowPopulation_Click(int index);

    // Mouse movement over the workspace (outside every child window):
    // narrows the panel unless frozen and completes a postponed full redraw.
    void MDIForm_MouseMove();

    // True once the orderly exit has run (the program is ending).
    bool exited() const { return exited_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UnloadAll();
    void rebuildShowPopulationMenu();
    void clearLoadedItems(QMenu& menu, int keep);
    void showChild(PlotWindow& window);

    QMdiArea* mdi_ = nullptr;
    QMenu nappiMenu_;
    QMenu showPopulationMenu_;
    QMenu kanavaLista_;
    QMenu statMenu_;
    int showPopulationMenuCount_ = 0;

    std::function<void(const QString&)> sheetWriter_;
    std::function<void(const QString&)> sheetReader_;

    bool redrawing_ = false;
    bool redrawAgain_ = false;
    bool exited_ = false;
};

}  // namespace qv
