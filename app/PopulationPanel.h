#pragma once
// The right-hand panel of the main window: "Freeze the panel", the frame
// "Populations" with one row per population slot (1..MaxPopulations) and the
// frame "Definitions" with one row per definition slot (MaxPopulations+1 ..
// MaxPopulations+MaxDefinitions). A row is an option button (the slot's name
// or "Not defined"), a colour box and a transparency label ("C" or "T"); the
// row controls are indexed by the population slot itself.
//
// The panel narrows to a strip when the mouse moves over the workspace and
// widens when it moves over the panel, unless frozen. It refreshes its rows
// and the "Show populations" submenu from g.PopulationTable
// (PaivitaRegionLista). What the buttons, colour boxes and labels do is not
// decided here: they emit signals that the gate commands connect to.
#include <QPointer>
#include <QWidget>

#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;

namespace qv {

// Screen units: 15 twips to a pixel.
int twipsToPixels(int twips);

class PopulationPanel : public QWidget {
    Q_OBJECT
public:
    // Builds the rows for g.MaxPopulations and g.MaxDefinitions as they are
    // now (start-up sets them before the panel is made), selects population
    // row 1 and definition row MaxPopulations+1, and starts collapsed.
    explicit PopulationPanel(QWidget* parent = nullptr);
    ~PopulationPanel() override;

    // ---- rows, by population slot; nullptr for a slot outside the frame ----
    QRadioButton* RegionValitsin(int slot) const;         // 1..MaxPopulations
    QLabel* LapinakyvaValitsin(int slot) const;
    QWidget* RegionVari(int slot) const;
    QRadioButton* DefValitsin(int slot) const;            // MaxPopulations+1 ..
    QLabel* DefLapinakyvaValitsin(int slot) const;
    QWidget* DefVari(int slot) const;

    // ---- buttons, frames, check box ----
    QPushButton* LuoUusiRegion() const { return createButton_; }
    QPushButton* MuutaRegioninNimi() const { return renameButton_; }
    QPushButton* PoistaRegion() const { return deleteButton_; }
    QPushButton* LuoUusiMaaritelma() const { return defineButton_; }
    QPushButton* PoistaMaaritelma() const { return deleteDefinitionButton_; }
    QGroupBox* Frame2() const { return populationsFrame_; }  // "Populations"
    QGroupBox* Frame1() const { return definitionsFrame_; }  // "Definitions"
    QCheckBox* JaadytaNakyma() const { return freezeBox_; }

    // The chosen population row / definition row (its slot), 0 when none is on.
    int ValittuPopulaatio() const;
    int ValittuMaaritelma() const;
    // Chooses a row as a click on its option button does (emits the row signal).
    void choosePopulation(int slot);
    void chooseDefinition(int slot);

    // The "Show populations" submenu the refresh rebuilds; its first item
    // ("All events") stays, every later item is replaced. nullptr: none.
    void setShowPopulationMenu(QMenu* menu);
    int ShowPopulationMenuCount() const { return showPopulationMenuCount_; }

    // Refreshes every row from g.PopulationTable and rebuilds the "Show
    // populations" submenu with g.ShowPopulationMap, as RefreshPanel decides:
    // a slot not in use loses its name; a population slot not in use also
    // loses its transparent flag; every label shows its slot's flag.
    void PaivitaRegionLista();
    // "Delete" and "Rename" of the populations are enabled exactly when `slot` is in use.
    void UpdatePopulationButtons(int slot);
    // "Create" shows whether drawing mode (g.RegionDrawMode) is on: down
    // while it is. The refresh does this too.
    void showDrawingMode();

    // ---- width ----
    // The mouse moved over the panel: a narrow panel widens.
    void panelMouseMoved();
    // The mouse moved over the workspace or a child window: a wide panel
    // narrows unless frozen.
    void workspaceMouseMoved();
    // Treats mouse movement into `workspace` or any widget inside it (child
    // windows included) as workspaceMouseMoved().
    void watchWorkspace(QWidget* workspace);
    // Applies g.PanelCollapsed to the width.
    void applyWidth();

    // The current width and the height of every row.
    QSize sizeHint() const override;

signals:
    // Buttons.
    void createPopulationClicked();      // "Create"
    void renamePopulationClicked();      // "Rename"
    void deletePopulationClicked();      // "Delete" of the populations
    void defineClicked();                // "Define"
    void deleteDefinitionClicked();      // "Delete" of the definitions
    // A population row was chosen by the user (its option button clicked).
    void populationRowChosen(int slot);
    // The colour box of a slot asks for a colour: a double click on a
    // population's box, a single click on a definition's box.
    void colourBoxActivated(int slot);
    // The transparency label of a slot was double-clicked.
    void transparencyLabelActivated(int slot);
    // The mouse moved over the watched workspace (after the panel's own
    // test); the main window completes a postponed full redraw here.
    void mouseMovedOverWorkspace();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QRadioButton* option = nullptr;
        QLabel* label = nullptr;
        QWidget* colourBox = nullptr;
    };
    class MouseWatcher;

    void buildRows(QGroupBox* frame, QButtonGroup* group, int firstSlot, int count);
    const Row* rowOf(int slot) const;

    std::vector<Row> rows_;  // index = slot; 0 unused
    int maxPopulations_ = 0;
    int maxDefinitions_ = 0;
    QCheckBox* freezeBox_ = nullptr;
    QGroupBox* populationsFrame_ = nullptr;
    QGroupBox* definitionsFrame_ = nullptr;
    QButtonGroup* populationGroup_ = nullptr;
    QButtonGroup* definitionGroup_ = nullptr;
    QPushButton* createButton_ = nullptr;
    QPushButton* renameButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* defineButton_ = nullptr;
    QPushButton* deleteDefinitionButton_ = nullptr;
    QPointer<QMenu> showPopulationMenu_;
    int showPopulationMenuCount_ = 0;
    MouseWatcher* mouseWatcher_ = nullptr;
    bool swallowNextRelease_ = false;
    int contentHeight_ = 0;
};

}  // namespace qv
