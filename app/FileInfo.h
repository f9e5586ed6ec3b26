#pragma once
// The file information window ("File info"): the facts, parameters and
// compensation matrix of the file that the active analysis window shows,
// with their edits (rename, log marks, delete, events in use, compensation
// switch and coefficients) and the switch that imposes these values on every
// loaded file. Created once, hidden, at start-up; it follows the file
// windows whether shown or not. The edits themselves are in
// app/model/FileInfoModel.
#include <QString>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTableView;
class QVBoxLayout;
class QTabWidget;

namespace qv {

class CompensationGridModel;
struct FileRecord;

class FileInfo final : public QWidget {
    Q_OBJECT
public:
    explicit FileInfo(QWidget* parent = nullptr);
    ~FileInfo() override;

    // The one window of the run (nullptr before it is made and after it goes).
    static FileInfo* instance();

    // Shows the file of analysis window `windowId`; with `refresh` and global
    // values on, first imposes the window's values on every loaded file.
    void AsetaLista(int windowId, bool refresh);
    // After a sheet was read: shows the restored slot, imposes the restored
    // global values and applies the restored compensation, and recomputes
    // the populations; the windows are left for the load to draw.
    void FileInfonAsetusLatauksenJalkeen();
    // The settings lines (element 0 the count) and one sheet line back.
    std::vector<std::string> SaveInfo() const;
    void LoadInfo(const std::string& line);

    int shownFileSlot() const { return shownFileSlot_; }
    // Runs when the mouse moves over the window (the main window narrows its panel).
    void setMouseMoveHandler(std::function<void()> handler) { mouseMoved_ = std::move(handler); }

    // ---- the controls' reactions (also driven directly by tests) ----
    void renameParameter(int row);          // double-click on the parameter list
    void deleteSelectedParameter();         // Delete key
    void askEventsInUse();                  // click on the events box
    void editCompensationCell(int row, int column);  // double-click on the grid

    // ---- the controls, for the tests ----
    QTabWidget* tabs() const { return tabs_; }
    QListWidget* factsList() const { return facts_; }
    QLineEdit* eventsBox() const { return events_; }
    QListWidget* parameterList() const { return parameters_; }
    QCheckBox* compensateBox() const { return compensate_; }
    // The grid's view is made the first time the window is shown; the model
    // holds the shown file's grid while the window is shown or global
    // values are on, and nothing otherwise.
    QTableView* grid() const { return grid_; }
    CompensationGridModel* gridModel() const { return gridModel_; }
    QCheckBox* globalBox() const { return global_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The loaded record of the shown slot, nullptr when there is none.
    FileRecord* shownFile() const;
    void FillFileInfo(bool redrawAll);
    void ApplyGlobalValues();
    void redrawAll();
    void parameterMarkChanged(QListWidgetItem* item);
    void compensateChanged(bool ticked);
    void globalChanged(bool ticked);
    void watchChildren(QWidget* root);
    // The grid of the shown file, filled now when it is not yet.
    void fillGrid();
    void ensureGridFilled();
    void makeGridView();

    int shownFileSlot_ = 0;
    bool filling_ = false;
    // While set, the check boxes change state without their reactions.
    bool quiet_ = false;
    std::function<void()> mouseMoved_;

    QTabWidget* tabs_ = nullptr;
    QListWidget* facts_ = nullptr;
    QLabel* eventsLabel_ = nullptr;
    QLineEdit* events_ = nullptr;
    QListWidget* parameters_ = nullptr;
    QCheckBox* compensate_ = nullptr;
    QVBoxLayout* compensationLayout_ = nullptr;
    CompensationGridModel* gridModel_ = nullptr;
    QTableView* grid_ = nullptr;
    // The model does not hold the shown file's grid yet.
    bool gridPending_ = true;
    QCheckBox* global_ = nullptr;
};

// The file information window follows a file window: AsetaLista on the one
// window of the run, when there is one.
void FollowFileWindow(int windowId, bool refresh);

}  // namespace qv
