#include "app/FileInfo.h"

#include <QCheckBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QShowEvent>
#include <QTableView>
#include <QTabWidget>
#include <QVBoxLayout>

#include <optional>

#include "app/Dialogs.h"
#include "app/MainServices.h"
#include "app/TypedText.h"
#include "app/WorkspacePlacement.h"
#include "app/model/CompensationGridModel.h"
#include "app/model/FileInfoModel.h"
#include "app/model/FileSystemText.h"
#include "app/model/PopulationRecompute.h"
#include "app/model/WaitCursor.h"
#include "core/Compensation.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"

namespace qv {

namespace {

FileInfo*& theInstance() {
    static FileInfo* window = nullptr;
    return window;
}

std::string toLatin1(const QString& s) { return s.toLatin1().toStdString(); }

// Every checkbox and list mark change made inside runs without reactions.
class QuietScope {
public:
    explicit QuietScope(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~QuietScope() { flag_ = was_; }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

private:
    bool& flag_;
    bool was_;
};

}  // namespace

FileInfo::FileInfo(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setWindowTitle(QStringLiteral("File info"));
    resize(4905 / TwipsPerPixel, 5205 / TwipsPerPixel);
    setMouseTracking(true);

    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    layout->addWidget(tabs_, 1);

    auto* general = new QWidget;
    auto* generalLayout = new QVBoxLayout(general);
    facts_ = new QListWidget(general);
    eventsLabel_ = new QLabel(QStringLiteral("Show first n events"), general);
    events_ = new QLineEdit(general);
    events_->setReadOnly(true);
    events_->setText(QStringLiteral("0"));
    generalLayout->addWidget(facts_, 1);
    generalLayout->addWidget(eventsLabel_);
    generalLayout->addWidget(events_);
    tabs_->addTab(general, QStringLiteral("General"));

    auto* params = new QWidget;
    auto* paramsLayout = new QVBoxLayout(params);
    parameters_ = new QListWidget(params);
    paramsLayout->addWidget(parameters_);
    tabs_->addTab(params, QStringLiteral("Parameters"));

    auto* comp = new QWidget;
    compensationLayout_ = new QVBoxLayout(comp);
    compensate_ = new QCheckBox(QStringLiteral("Compensate"), comp);
    compensationLayout_->addWidget(compensate_);
    // The grid's view waits for the window to be shown (makeGridView).
    gridModel_ = new CompensationGridModel(this);
    tabs_->addTab(comp, QStringLiteral("Compensation"));

    global_ = new QCheckBox(QStringLiteral("Use these parameter values instead of file parameter values"), this);
    layout->addWidget(global_);

    connect(parameters_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { renameParameter(parameters_->row(item)); });
    connect(parameters_, &QListWidget::itemChanged, this, &FileInfo::parameterMarkChanged);
    connect(compensate_, &QCheckBox::toggled, this, &FileInfo::compensateChanged);
    connect(global_, &QCheckBox::toggled, this, &FileInfo::globalChanged);
    watchChildren(this);

    theInstance() = this;
}

FileInfo::~FileInfo() {
    if (theInstance() == this) theInstance() = nullptr;
}

FileInfo* FileInfo::instance() { return theInstance(); }

void FollowFileWindow(int windowId, bool refresh) {
    if (FileInfo* window = FileInfo::instance()) window->AsetaLista(windowId, refresh);
}

void FileInfo::watchChildren(QWidget* root) {
    // The window sees keys before its controls, and every control passes on
    // mouse movement; a click on the events box asks for the number.
    for (QWidget* child : root->findChildren<QWidget*>()) {
        child->installEventFilter(this);
        child->setMouseTracking(true);
    }
    root->installEventFilter(this);
    root->setMouseTracking(true);
}

void FileInfo::makeGridView() {
    if (grid_) return;
    grid_ = new QTableView(compensationLayout_->parentWidget());
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Row 0 and column 0, the parameter names, are the view's own headers,
    // so they stay in place while the values scroll under them; the model's
    // row 0 and column 0 are hidden from the scrolled cells. The corner is
    // a plain header cell, not a select-all button.
    grid_->setCornerButtonEnabled(false);
    // Columns 1..P are 500 twips wide; the name column keeps the view's
    // own width. Every section takes the default unless told, so a grid of
    // thousands of columns sets no width one by one.
    QHeaderView* columns = grid_->horizontalHeader();
    const int nameWidth = columns->defaultSectionSize();
    columns->setDefaultSectionSize(500 / TwipsPerPixel);
    // A name wider than its column is cut at its end, as a cell's text is.
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->verticalHeader()->setFixedWidth(nameWidth);
    grid_->setModel(gridModel_);
    // A reset forgets which sections were hidden.
    const auto hideNameCells = [this] {
        if (gridModel_->rowCount() > 0) grid_->setRowHidden(0, true);
        if (gridModel_->columnCount() > 0) grid_->setColumnHidden(0, true);
    };
    connect(gridModel_, &QAbstractItemModel::modelReset, grid_, hideNameCells);
    hideNameCells();
    connect(grid_, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& cell) { editCompensationCell(cell.row(), cell.column()); });
    compensationLayout_->addWidget(grid_, 1);
    watchChildren(grid_);
}

void FileInfo::fillGrid() {
    gridModel_->fill(shownFile());
    gridPending_ = false;
}

void FileInfo::ensureGridFilled() {
    if (gridPending_) fillGrid();
}

void FileInfo::showEvent(QShowEvent* event) {
    makeGridView();
    ensureGridFilled();
    QWidget::showEvent(event);
}

FileRecord* FileInfo::shownFile() const {
    const int slot = shownFileSlot_;
    if (slot < 1 || slot > g.MaxFiles || slot >= static_cast<int>(g.FileTable.size())) return nullptr;
    FileRecord& file = g.FileTable[static_cast<size_t>(slot)];
    return file.Loaded ? &file : nullptr;
}

void FileInfo::redrawAll() {
    if (MainServices* services = mainServices()) services->PiirraKaikki();
}

// ---- public operations ----

void FileInfo::AsetaLista(int windowId, bool refresh) {
    // The values imposed below are those the window shows now.
    if (refresh && g.GlobalParameterValues) ensureGridFilled();
    const bool registered = windowId >= 1 && windowId < static_cast<int>(g.WindowRegistry.size()) &&
                            g.WindowRegistry[static_cast<size_t>(windowId)].InUse;
    shownFileSlot_ = registered ? g.WindowRegistry[static_cast<size_t>(windowId)].FileIndex : 0;
    if (refresh && g.GlobalParameterValues) ApplyGlobalValues();
    FillFileInfo(g.GlobalParameterValues);
}

void FileInfo::FileInfonAsetusLatauksenJalkeen() {
    if (g.ProgramClosing) return;
    // The controls still show the workspace before the sheet: they are
    // refilled from the restored file first, so only the sheet's own values
    // reach the files.
    {
        QuietScope quiet(quiet_);
        FillFileInfo(false);
    }
    if (FileRecord* file = shownFile()) ApplyCompensation(*file);
    if (g.GlobalParameterValues) ApplyGlobalValues();
    else RecomputeAllPopulations();
    // The sheet's load draws every window once, after this.
}

std::vector<std::string> FileInfo::SaveInfo() const {
    FileInfoSettings s;
    // The same point the location lines restore, so the window stays put
    // through any number of saves and loads.
    const QRect place = savedPlaceOf(*this);
    s.Left = static_cast<float>(place.x() * TwipsPerPixel);
    s.Top = static_cast<float>(place.y() * TwipsPerPixel);
    s.ShownFileSlot = shownFileSlot_;
    s.Global = g.GlobalParameterValues;
    s.EventsText = toLatin1(events_->text());
    s.CompensateTicked = compensate_->isChecked();
    return FileInfoSettingsLines(s, shownFile());
}

void FileInfo::LoadInfo(const std::string& line) {
    using Kind = FileInfoSettingRequest::Kind;
    const FileInfoSettingRequest req = ApplyFileInfoSettingLine(line, shownFile(), g.FileTable, g.MaxFiles);
    // While a sheet is read the boxes only take their state; their reactions
    // wait for the refill at its end.
    std::optional<QuietScope> quiet;
    if (g.SheetLoading) quiet.emplace(quiet_);
    switch (req.kind) {
    case Kind::None: break;
    case Kind::Left: setPlaceFromTwips(*this, WindowEdge::Left, req.number); break;
    case Kind::Top: setPlaceFromTwips(*this, WindowEdge::Top, req.number); break;
    case Kind::File: shownFileSlot_ = static_cast<int>(req.number); break;
    case Kind::Global:
        g.GlobalParameterValues = req.flag;
        global_->setChecked(req.flag);
        break;
    case Kind::Compensate: compensate_->setChecked(req.flag); break;
    case Kind::EventsInUse: {
        const FileRecord* file = shownFile();
        events_->setText(QString::number(file ? file->EventCount : 0));
        break;
    }
    }
}

// ---- filling ----

void FileInfo::FillFileInfo(bool redraw) {
    if (g.ProgramClosing) return;
    WaitCursor wait;
    filling_ = true;
    static const FileRecord none;
    const FileRecord* shown = shownFile();
    const FileRecord& file = shown ? *shown : none;

    facts_->clear();
    // The first fact names the file as the file system encodes its name; the
    // others are the file's own 8-bit text.
    const std::vector<std::string> facts = FileFactLines(file);
    for (size_t i = 0; i < facts.size(); ++i) facts_->addItem(i == 0 ? shownFileSystemText(facts[i]) : Latin1Text(facts[i]));
    events_->setText(QString::number(file.EventCount));

    parameters_->clear();
    const int P = shown ? std::min<int>(file.ParameterCount, static_cast<int>(file.Parameters.size()) - 1) : 0;
    for (int p = 1; p <= P; ++p) {
        auto* item = new QListWidgetItem(Latin1Text(file.Parameters[static_cast<size_t>(p)].Name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(file.Parameters[static_cast<size_t>(p)].IsLog ? Qt::Checked : Qt::Unchecked);
        parameters_->addItem(item);
    }

    // The grid is built only where it is seen or its values are needed: a
    // file of thousands of parameters has millions of cells.
    if (isVisible() || g.GlobalParameterValues) {
        fillGrid();
    } else {
        gridModel_->clear();
        gridPending_ = true;
    }

    // A change of state runs the box's reaction for the newly shown file.
    compensate_->setChecked(file.CompensationOn);
    if (redraw) redrawAll();
    filling_ = false;
}

void FileInfo::ApplyGlobalValues() {
    if (!g.GlobalParameterValues) return;
    WaitCursor wait;
    ParameterValueSet values;
    for (int row = 0; row < parameters_->count(); ++row) {
        const QListWidgetItem* item = parameters_->item(row);
        values.Parameters.push_back({toLatin1(item->text()), item->checkState() == Qt::Checked});
    }
    values.CompensationOn = compensate_->isChecked();
    ensureGridFilled();
    values.Matrix = gridModel_->coefficients();
    ImposeParameterValues(values, g.FileTable, g.MaxFiles);
    RecomputeAllPopulations();
}

// ---- reactions ----

void FileInfo::renameParameter(int row) {
    FileRecord* file = shownFile();
    QListWidgetItem* item = parameters_->item(row);
    if (!file || !item || row + 1 > file->ParameterCount) return;
    const std::optional<std::string> answer = AskLatin1Text(
        QStringLiteral("Give a new name for parameter"), QStringLiteral("Rename the parameter"), item->text());
    if (!answer || answer->empty()) return;
    // The dialog let other work run: the file and the list must still be there.
    if (file != shownFile() || row + 1 > file->ParameterCount || parameters_->item(row) != item) return;
    file->Parameters[static_cast<size_t>(row + 1)].Name = *answer;
    {
        QuietScope quiet(filling_);
        item->setText(Latin1Text(*answer));
    }
    if (g.GlobalParameterValues) ApplyGlobalValues();
    FillFileInfo(true);
}

void FileInfo::parameterMarkChanged(QListWidgetItem* item) {
    if (filling_ || !item) return;
    FileRecord* file = shownFile();
    const int p = parameters_->row(item) + 1;
    if (!file || p < 1 || p > file->ParameterCount) return;
    ParameterInfo& info = file->Parameters[static_cast<size_t>(p)];
    const bool ticked = item->checkState() == Qt::Checked;
    if (info.LogLocked) {
        QuietScope quiet(filling_);
        item->setCheckState(info.IsLog ? Qt::Checked : Qt::Unchecked);
        return;
    }
    if (g.GlobalParameterValues) ApplyGlobalValues();
    else info.IsLog = ticked;
    RecomputeAllPopulations();
    redrawAll();
}

void FileInfo::deleteSelectedParameter() {
    FileRecord* file = shownFile();
    if (!file || tabs_->currentIndex() != 1) return;
    const int row = parameters_->currentRow();
    const int p = row + 1;
    if (row < 0 || p > file->ParameterCount || file->ParameterCount <= 1) return;
    const std::string name = file->Parameters[static_cast<size_t>(p)].Name;
    if (showMessage(QStringLiteral("Are you sure you want to delete parameter\r") + Latin1Text(name),
                    QStringLiteral("Delete parameter"), MsgButtons::OkCancel) != MsgAnswer::Ok)
        return;
    if (file != shownFile()) return;
    {
        WaitCursor wait;
        if (!DeleteParameter(*file, p)) return;
        RecomputeAllPopulations();
    }
    FillFileInfo(true);
}

void FileInfo::askEventsInUse() {
    FileRecord* file = shownFile();
    if (!file) return;
    const std::optional<QString> answer =
        dialogs().inputBox(QStringLiteral("Give the number of events which will be available\r1-") +
                               QString::number(file->EventsLoaded),
                           QStringLiteral("Number of events"), QString::number(file->EventCount));
    if (answer && file == shownFile()) {
        if (const std::optional<int32_t> n = EventsInUseFromAnswer(toLatin1(*answer), file->EventsLoaded)) {
            const bool more = *n > file->EventCount;
            file->EventCount = *n;
            events_->setText(QString::number(*n));
            // Events taken back into use get the working values and
            // memberships of the file as it is now.
            if (more) {
                ApplyCompensation(*file);
                RecomputeAllPopulations();
            }
        }
    }
    redrawAll();
}

void FileInfo::editCompensationCell(int row, int column) {
    FileRecord* file = shownFile();
    if (!file || row < 1 || column < 1 || row > file->ParameterCount || column > file->ParameterCount) return;
    if (!file->CompensationMatrix.contains(row, column)) return;
    ensureGridFilled();
    const QString shown = gridModel_->cellText(row, column);
    const std::optional<QString> answer =
        dialogs().inputBox(QStringLiteral("Give a new value for compensation"),
                           QStringLiteral("New compensation value"), Latin1Text(CompensationEditDefault(toLatin1(shown))));
    if (!answer || answer->isEmpty() || file != shownFile()) return;
    const std::optional<float> c = CompensationFromPercent(toLatin1(*answer));
    if (!c) {
        showMessage(QStringLiteral("\"") + *answer +
                        QStringLiteral("\" is not a compensation value. Give a percentage between -3.4E+38 and "
                                       "3.4E+38."),
                    QStringLiteral("New compensation value"));
        return;
    }
    if (!file->CompensationMatrix.contains(row, column)) return;
    file->CompensationMatrix(row, column) = *c;
    gridModel_->setTypedText(row, column, *answer);
    if (g.GlobalParameterValues) {
        ApplyGlobalValues();
    } else {
        ApplyCompensation(*file);
        RecomputeAllPopulations();
    }
    FillFileInfo(true);
}

void FileInfo::compensateChanged(bool ticked) {
    if (quiet_) return;
    FileRecord* file = shownFile();
    if (!file) return;
    file->CompensationOn = ticked;
    // The global values reach every file, this one among them, and work the
    // populations out; otherwise this file alone changes.
    if (g.GlobalParameterValues) {
        ApplyGlobalValues();
    } else {
        ApplyCompensation(*file);
        RecomputeAllPopulations();
    }
    redrawAll();
}

void FileInfo::globalChanged(bool ticked) {
    g.GlobalParameterValues = ticked;
    if (quiet_ || !ticked) return;
    ApplyGlobalValues();
    redrawAll();
}

// ---- events ----

bool FileInfo::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        // Taken here, so the key does not come back from the control's parent.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
            deleteSelectedParameter();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
        if (watched == events_) askEventsInUse();
        break;
    case QEvent::MouseMove:
        if (mouseMoved_) mouseMoved_();
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void FileInfo::mouseMoveEvent(QMouseEvent* event) {
    if (mouseMoved_) mouseMoved_();
    QWidget::mouseMoveEvent(event);
}

}  // namespace qv
