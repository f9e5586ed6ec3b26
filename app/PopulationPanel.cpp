#include "app/PopulationPanel.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEnterEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <cmath>

#include "app/PlotWindow.h"
#include "app/model/PopulationPanelModel.h"
#include "app/model/ToolTipText.h"
#include "core/SharedState.h"

namespace qv {
namespace {

// Layout in twips. The rows' places are fixed; frames and buttons are laid
// out around them.
constexpr int RowStep = 220;
constexpr int OptionLeft = 600, OptionTop = 400, OptionHeight = 210;
constexpr int ColourLeft = 300, ColourTop = 400, ColourSize = 180;
constexpr int LabelLeft = 120, LabelTop = 380, LabelWidth = 150, LabelHeight = 210;
constexpr int FreezeLeft = 120, FreezeTop = 60, FreezeHeight = 285;
constexpr int FrameLeft = 60, FirstFrameTop = 400, FrameGap = 120, FrameBottomMargin = 260;
constexpr int ButtonTop = 240, ButtonHeight = 330, ButtonWidth = 1000, ButtonGap = 60;

const char* const SlotProperty = "qvPopulationSlot";
const QColor ColourBoxBorder(64, 64, 64);
const QColor ButtonFace(220, 220, 220);
const QColor ButtonFaceDown(150, 150, 150);  // "Create" while drawing mode is on

QColor toColor(const Rgb& c) { return QColor(c.Red, c.Green, c.Blue); }

// The back colour of a control: the colour of the role it paints its
// background with (check boxes and option buttons use the button role).
void setBackground(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(w->backgroundRole(), colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// A push button keeps its bevel: only its face takes the colour.
void setButtonFace(QPushButton* b, const QColor& colour) {
    QPalette p = b->palette();
    p.setColor(QPalette::Button, colour);
    b->setPalette(p);
}

QRect twipRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

// A slot's Name shown as a caption: "&" is itself, not a shortcut mark.
QString captionOf(const std::string& name) {
    QString s = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    s.replace(QLatin1Char('&'), QLatin1String("&&"));
    return s;
}

// A name or definition longer than its row is cut at the panel's edge; it
// shows whole in the row's tooltip.
void giveCutCaptionItsTooltip(QRadioButton& option, const std::string& caption) {
    QStyleOptionButton look;
    look.initFrom(&option);
    look.text = option.text();
    const QRect room = option.style()->subElementRect(QStyle::SE_RadioButtonContents, &look, &option);
    const QString text = QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size()));
    option.setToolTip(CutTextToolTip(text, option.fontMetrics(), room.width()));
}

struct WaitCursor {
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

int twipsToPixels(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

// Sees mouse movement over the panel and over the workspace, child windows
// included. It watches the whole application because Qt hands a mouse move
// over a widget without mouse tracking (a row, a frame, a plot) only to the
// application's filters, not to that widget's parents; Enter events reach
// each widget the pointer moves into.
class PopulationPanel::MouseWatcher : public QObject {
public:
    explicit MouseWatcher(PopulationPanel* panel) : QObject(panel), panel_(panel) { qApp->installEventFilter(this); }
    ~MouseWatcher() override {
        if (qApp) qApp->removeEventFilter(this);
    }
    void setWorkspace(QWidget* workspace) { workspace_ = workspace; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type t = event->type();
        if ((t != QEvent::Enter && t != QEvent::MouseMove) || !watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (w == panel_ || panel_->isAncestorOf(w))
            panel_->panelMouseMoved();
        else if (workspace_ && (w == workspace_ || workspace_->isAncestorOf(w))) {
            // Qt hands an Enter to every widget the pointer came into,
            // the workspace itself included, and passes a move a window
            // ignores on to its parents: what counts is the widget under
            // the pointer.
            const QPointF at = t == QEvent::Enter ? static_cast<QEnterEvent*>(event)->position()
                                                  : static_cast<QMouseEvent*>(event)->position();
            QWidget* under = w->childAt(at.toPoint());
            if (insideQuietWindow(under ? under : w)) return false;
            panel_->workspaceMouseMoved();
            emit panel_->mouseMovedOverWorkspace();
        }
        return false;
    }

private:
    // Whether `w` lies inside a window (its frame included) over which the
    // pointer leaves the panel and the workspace alone.
    bool insideQuietWindow(QWidget* w) const {
        for (QWidget* a = w; a && a != workspace_; a = a->parentWidget()) {
            QWidget* window = a;
            if (auto* frame = qobject_cast<QMdiSubWindow*>(a)) window = frame->widget();
            if (const auto* plot = qobject_cast<const PlotWindow*>(window); plot && !plot->pointerNarrowsPanel())
                return true;
        }
        return false;
    }

    PopulationPanel* panel_;
    QPointer<QWidget> workspace_;
};

PopulationPanel::PopulationPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("OikeaPalkki"));
    maxPopulations_ = std::clamp<int>(g.MaxPopulations, 0, PopulationTableSize - 1);
    maxDefinitions_ = std::clamp<int>(g.MaxDefinitions, 0, PopulationTableSize - 1 - maxPopulations_);
    rows_.assign(static_cast<size_t>(maxPopulations_ + maxDefinitions_ + 1), Row{});

    const QColor panelColour = toColor(g.PanelColour);
    const QColor buttonColour = ButtonFace;
    setBackground(this, panelColour);
    mouseWatcher_ = new MouseWatcher(this);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    const int frameWidth = g.PanelExpandedWidth - 2 * FrameLeft;

    freezeBox_ = new QCheckBox(QStringLiteral("Freeze the panel"), this);
    freezeBox_->setObjectName(QStringLiteral("JaadytaNakyma"));
    freezeBox_->setGeometry(twipRect(FreezeLeft, FreezeTop, frameWidth - FreezeLeft, FreezeHeight));
    setBackground(freezeBox_, panelColour);
    connect(freezeBox_, &QCheckBox::clicked, this, [](bool ticked) { g.PanelFrozen = ticked; });

    auto makeButton = [&](QGroupBox* frame, const char* caption, const char* name, int index) {
        auto* b = new QPushButton(QString::fromLatin1(caption), frame);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(twipRect(LabelLeft + index * (ButtonWidth + ButtonGap), ButtonTop, ButtonWidth, ButtonHeight));
        setButtonFace(b, buttonColour);
        return b;
    };
    auto frameHeight = [](int rows) { return OptionTop + RowStep * rows + FrameBottomMargin; };

    populationsFrame_ = new QGroupBox(QStringLiteral("Populations"), this);
    populationsFrame_->setObjectName(QStringLiteral("Frame2"));
    populationsFrame_->setGeometry(twipRect(FrameLeft, FirstFrameTop, frameWidth, frameHeight(maxPopulations_)));
    setBackground(populationsFrame_, panelColour);
    createButton_ = makeButton(populationsFrame_, "Create", "LuoUusiRegion", 0);
    // Stays down while drawing mode is on, so a user can tell.
    createButton_->setCheckable(true);
    renameButton_ = makeButton(populationsFrame_, "Rename", "MuutaRegioninNimi", 1);
    deleteButton_ = makeButton(populationsFrame_, "Delete", "PoistaRegion", 2);
    populationGroup_ = new QButtonGroup(this);
    buildRows(populationsFrame_, populationGroup_, 1, maxPopulations_);

    const int definitionsTop = FirstFrameTop + frameHeight(maxPopulations_) + FrameGap;
    definitionsFrame_ = new QGroupBox(QStringLiteral("Definitions"), this);
    definitionsFrame_->setObjectName(QStringLiteral("Frame1"));
    definitionsFrame_->setGeometry(twipRect(FrameLeft, definitionsTop, frameWidth, frameHeight(maxDefinitions_)));
    setBackground(definitionsFrame_, panelColour);
    defineButton_ = makeButton(definitionsFrame_, "Define", "LuoUusiMaaritelma", 0);
    deleteDefinitionButton_ = makeButton(definitionsFrame_, "Delete", "PoistaMaaritelma", 1);
    definitionGroup_ = new QButtonGroup(this);
    buildRows(definitionsFrame_, definitionGroup_, maxPopulations_ + 1, maxDefinitions_);

    // The panel asks for the height of its rows but, like the workspace
    // beside it, may be made lower: the rows below are then cut off.
    contentHeight_ = twipsToPixels(definitionsTop + frameHeight(maxDefinitions_) + FrameGap);

    connect(createButton_, &QPushButton::clicked, this, &PopulationPanel::createPopulationClicked);
    connect(renameButton_, &QPushButton::clicked, this, &PopulationPanel::renamePopulationClicked);
    connect(deleteButton_, &QPushButton::clicked, this, &PopulationPanel::deletePopulationClicked);
    connect(defineButton_, &QPushButton::clicked, this, &PopulationPanel::defineClicked);
    connect(deleteDefinitionButton_, &QPushButton::clicked, this, &PopulationPanel::deleteDefinitionClicked);

    if (QRadioButton* first = RegionValitsin(1)) first->setChecked(true);
    if (QRadioButton* first = DefValitsin(maxPopulations_ + 1)) first->setChecked(true);
    UpdatePopulationButtons(ValittuPopulaatio());

    g.PanelCollapsed = true;
    applyWidth();
}

PopulationPanel::~PopulationPanel() = default;

QSize PopulationPanel::sizeHint() const { return QSize(width(), contentHeight_); }

void PopulationPanel::buildRows(QGroupBox* frame, QButtonGroup* group, int firstSlot, int count) {
    const QColor panelColour = toColor(g.PanelColour);
    const bool definitions = firstSlot > maxPopulations_;
    const int optionWidth = g.PanelExpandedWidth - 2 * FrameLeft - OptionLeft - 60;
    group->setExclusive(true);
    for (int k = 1; k <= count; ++k) {
        const int slot = firstSlot + k - 1;
        Row& row = rows_[static_cast<size_t>(slot)];

        row.option = new QRadioButton(QStringLiteral("Not defined"), frame);
        row.option->setObjectName(QString::fromLatin1(definitions ? "DefValitsin" : "RegionValitsin"));
        row.option->setGeometry(twipRect(OptionLeft, OptionTop + RowStep * k, optionWidth, OptionHeight));
        row.option->setProperty(SlotProperty, slot);
        setBackground(row.option, panelColour);
        group->addButton(row.option, slot);
        if (!definitions) {
            connect(row.option, &QRadioButton::clicked, this, [this, slot] {
                UpdatePopulationButtons(slot);
                emit populationRowChosen(slot);
            });
        }

        row.label = new QLabel(QStringLiteral("C"), frame);
        row.label->setObjectName(QString::fromLatin1(definitions ? "DefLapinakyvaValitsin" : "LapinakyvaValitsin"));
        row.label->setGeometry(twipRect(LabelLeft, LabelTop + RowStep * k, LabelWidth, LabelHeight));
        row.label->setProperty(SlotProperty, slot);
        setBackground(row.label, panelColour);
        row.label->installEventFilter(this);

        // A thin dark border keeps light colours visible on the grey panel.
        auto* box = new QFrame(frame);
        box->setFrameStyle(QFrame::Box | QFrame::Plain);
        box->setLineWidth(1);
        QPalette borderPalette = box->palette();
        borderPalette.setColor(QPalette::WindowText, ColourBoxBorder);
        box->setPalette(borderPalette);
        row.colourBox = box;
        row.colourBox->setObjectName(QString::fromLatin1(definitions ? "DefVari" : "RegionVari"));
        row.colourBox->setGeometry(twipRect(ColourLeft, ColourTop + RowStep * k, ColourSize, ColourSize));
        row.colourBox->setProperty(SlotProperty, slot);
        const PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
        setBackground(row.colourBox, QColor(p.ColorRed, p.ColorGreen, p.ColorBlue));
        row.colourBox->installEventFilter(this);
    }
}

const PopulationPanel::Row* PopulationPanel::rowOf(int slot) const {
    if (slot < 1 || slot >= static_cast<int>(rows_.size())) return nullptr;
    return &rows_[static_cast<size_t>(slot)];
}

QRadioButton* PopulationPanel::RegionValitsin(int slot) const {
    return slot <= maxPopulations_ && rowOf(slot) ? rowOf(slot)->option : nullptr;
}
QLabel* PopulationPanel::LapinakyvaValitsin(int slot) const {
    return slot <= maxPopulations_ && rowOf(slot) ? rowOf(slot)->label : nullptr;
}
QWidget* PopulationPanel::RegionVari(int slot) const {
    return slot <= maxPopulations_ && rowOf(slot) ? rowOf(slot)->colourBox : nullptr;
}
QRadioButton* PopulationPanel::DefValitsin(int slot) const {
    return slot > maxPopulations_ && rowOf(slot) ? rowOf(slot)->option : nullptr;
}
QLabel* PopulationPanel::DefLapinakyvaValitsin(int slot) const {
    return slot > maxPopulations_ && rowOf(slot) ? rowOf(slot)->label : nullptr;
}
QWidget* PopulationPanel::DefVari(int slot) const {
    return slot > maxPopulations_ && rowOf(slot) ? rowOf(slot)->colourBox : nullptr;
}

int PopulationPanel::ValittuPopulaatio() const {
    const int id = populationGroup_->checkedId();
    return id > 0 ? id : 0;
}

int PopulationPanel::ValittuMaaritelma() const {
    const int id = definitionGroup_->checkedId();
    return id > 0 ? id : 0;
}

void PopulationPanel::choosePopulation(int slot) {
    if (QRadioButton* option = RegionValitsin(slot)) option->click();
}

void PopulationPanel::chooseDefinition(int slot) {
    if (QRadioButton* option = DefValitsin(slot)) option->click();
}

void PopulationPanel::setShowPopulationMenu(QMenu* menu) {
    showPopulationMenu_ = menu;
    showPopulationMenuCount_ = 0;
}

void PopulationPanel::PaivitaRegionLista() {
    const WaitCursor wait;
    // What every row, the submenu and the buttons show is decided by the
    // model's refresh; here it is only put on the widgets.
    const PanelView view = RefreshPanel(ValittuPopulaatio());
    for (const std::vector<PanelRow>* rows : {&view.Populations, &view.Definitions}) {
        for (const PanelRow& shown : *rows) {
            const Row* row = rowOf(shown.Slot);
            if (!row || !row->option) continue;
            row->option->setText(captionOf(shown.Caption));
            giveCutCaptionItsTooltip(*row->option, shown.Caption);
            row->label->setText(QString::fromLatin1(shown.Label.data(), static_cast<qsizetype>(shown.Label.size())));
            setBackground(row->colourBox, toColor(shown.Colour));
        }
    }

    if (QMenu* menu = showPopulationMenu_.data()) {
        // Item 0, "All events", stays; the items after it are made anew.
        // The refresh may run inside the handler of one of these items (a
        // choice redraws every window), so they are deleted only later.
        const QList<QAction*> items = menu->actions();
        for (qsizetype i = 1; i < items.size(); ++i) {
            menu->removeAction(items[i]);
            if (items[i]->parent() == menu) items[i]->deleteLater();
        }
        int n = 0;
        for (const ShowPopulationItem& shown : view.ShowPopulation) {
            QAction* item = menu->addAction(captionOf(shown.Caption));
            item->setObjectName(QStringLiteral("ShowPopulation"));
            item->setData(++n);
        }
        showPopulationMenuCount_ = n;
    }

    deleteButton_->setEnabled(view.PopulationButtonsEnabled);
    renameButton_->setEnabled(view.PopulationButtonsEnabled);
    showDrawingMode();
}

void PopulationPanel::showDrawingMode() {
    createButton_->setChecked(g.RegionDrawMode);
    // The style's pressed look is faint on a grey panel; a darker face shows it.
    setButtonFace(createButton_, g.RegionDrawMode ? ButtonFaceDown : ButtonFace);
}

void PopulationPanel::UpdatePopulationButtons(int slot) {
    const bool inUse = PopulationButtonsEnabled(slot);
    deleteButton_->setEnabled(inUse);
    renameButton_->setEnabled(inUse);
}

void PopulationPanel::applyWidth() {
    setFixedWidth(twipsToPixels(g.PanelCollapsed ? g.PanelCollapsedWidth : g.PanelExpandedWidth));
}

void PopulationPanel::panelMouseMoved() {
    // A frozen panel widens too: it is the narrowing that freezing stops.
    if (!g.PanelCollapsed) return;
    g.PanelCollapsed = false;
    applyWidth();
}

void PopulationPanel::workspaceMouseMoved() {
    if (g.PanelCollapsed || g.PanelFrozen) return;
    g.PanelCollapsed = true;
    applyWidth();
}

void PopulationPanel::watchWorkspace(QWidget* workspace) { mouseWatcher_->setWorkspace(workspace); }

bool PopulationPanel::eventFilter(QObject* watched, QEvent* event) {
    const QVariant slotValue = watched->property(SlotProperty);
    if (!slotValue.isValid()) return QWidget::eventFilter(watched, event);
    const int slot = slotValue.toInt();
    const bool definition = slot > maxPopulations_;
    const bool isColourBox = rowOf(slot) && rowOf(slot)->colourBox == watched;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            // A release lost to a dialog opened by the double click must
            // not swallow the next real click.
            swallowNextRelease_ = false;
            break;
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
            // The release after a double click is not a click of its own.
            swallowNextRelease_ = true;
            if (isColourBox && !definition) emit colourBoxActivated(slot);
            if (!isColourBox) emit transparencyLabelActivated(slot);
            return true;
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) break;
            if (swallowNextRelease_) {
                swallowNextRelease_ = false;
                return true;
            }
            auto* w = static_cast<QWidget*>(watched);
            if (isColourBox && definition && w->rect().contains(mouse->position().toPoint()))
                emit colourBoxActivated(slot);
            break;
        }
        default: break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qv
