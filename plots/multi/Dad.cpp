#include "plots/multi/Dad.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "app/Dialogs.h"
#include "app/FileInfo.h"
#include "app/MainServices.h"
#include "app/WindowRegistry.h"
#include "core/FileTableOps.h"
#include "core/GateKinds.h"
#include "core/Numbers.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "plots/multi/model/DadGateCheck.h"

namespace qv {
namespace {

constexpr int HandleSize = 3;        // half side of the red corner squares
constexpr int ControlsLeft = DadPictureSize + 8;
constexpr int ControlsWidth = 170;
constexpr int WindowWidth = ControlsLeft + ControlsWidth + 8;
constexpr int WindowHeight = DadPictureSize;
constexpr int StatusTop = 372;

// A drawing coordinate held far enough inside int range for the painter.
double held(double v) { return std::clamp(v, -1.0e6, 1.0e6); }

}  // namespace

void registerDadKind() {
    registerWindowKind("DAD", [] { return new DAD(); });
}

DAD::DAD(QWidget* parent) : FilePlotWindow(parent) {
    // The controls beside the picture stand on the window's own background.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(true);
    buildControls();
    sincePump_.start();
}

DAD::~DAD() = default;

void DAD::buildControls() {
    auto label = [&](const char* text, int y) {
        auto* l = new QLabel(QString::fromLatin1(text), this);
        l->setGeometry(ControlsLeft, y, 70, 20);
    };
    auto box = [&](int y) {
        auto* b = new QLineEdit(this);
        b->setReadOnly(true);
        b->setGeometry(ControlsLeft + 72, y, ControlsWidth - 72, 20);
        b->installEventFilter(this);
        return b;
    };
    label("X", 4);
    xAxis_ = new QComboBox(this);
    xAxis_->setGeometry(ControlsLeft + 20, 2, ControlsWidth - 20, 22);
    label("Y", 30);
    yAxis_ = new QComboBox(this);
    yAxis_->setGeometry(ControlsLeft + 20, 28, ControlsWidth - 20, 22);
    channels_ = new QListWidget(this);
    channels_->setGeometry(ControlsLeft, 56, ControlsWidth, 150);
    label("Events", 212);
    eventsBox_ = box(212);
    label("Iterations", 236);
    iterationsBox_ = box(236);
    label("Deviator", 260);
    deviatorBox_ = box(260);
    random_ = new QCheckBox(QStringLiteral("Random initialization"), this);
    random_->setGeometry(ControlsLeft, 286, ControlsWidth, 20);
    start_ = new QPushButton(QStringLiteral("Start iteration"), this);
    start_->setGeometry(ControlsLeft, 312, ControlsWidth, 26);
    start_->setEnabled(false);
    placeRest_ = new QPushButton(QStringLiteral("Place rest"), this);
    placeRest_->setGeometry(ControlsLeft, 342, ControlsWidth, 26);
    // The progress texts are longer than the column is wide: the box wraps
    // them over the rest of the column's height, and its tooltip holds the
    // whole text should a long run outgrow even that.
    status_ = new QLabel(this);
    status_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    status_->setBackgroundRole(QPalette::Base);
    status_->setAutoFillBackground(true);
    status_->setWordWrap(true);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status_->setTextFormat(Qt::PlainText);
    status_->setGeometry(ControlsLeft, StatusTop, ControlsWidth, WindowHeight - StatusTop);
    timer_ = new QTimer(this);
    timer_->setInterval(10);

    connect(xAxis_, &QComboBox::activated, this, [this](int index) { chooseStartAxis(1, index); });
    connect(yAxis_, &QComboBox::activated, this, [this](int index) { chooseStartAxis(2, index); });
    connect(channels_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        setChannelChecked(channels_->row(item), item->checkState() == Qt::Checked);
    });
    connect(random_, &QCheckBox::clicked, this, [this](bool checked) { setRandomStart(checked); });
    connect(start_, &QPushButton::clicked, this, [this] { startOrStop(); });
    connect(placeRest_, &QPushButton::clicked, this, [this] { placeRest(); });
    connect(timer_, &QTimer::timeout, this, [this] { tick(); });
}

// ---------------------------------------------------------------- lifecycle

void DAD::Alusta(int id) {
    id_ = static_cast<int16_t>(id);
    layout_ = DadLayout();
    pan_ = DadPan();
    title_ = NoFileTitle(id, "Data Analyzing Data");
    if (WindowRecord* r = record()) {
        r->Selected = true;
        r->ShowsFile = true;
    }
    updateCaption();
    setFixedSize(WindowWidth, WindowHeight);
    if (QWidget* outer = outerWidget(); outer != this) outer->adjustSize();
    picture_ = QImage(DadPictureSize, DadPictureSize, QImage::Format_RGB32);
    picture_.fill(Qt::white);
    BuildDistanceTable();
    writeBoxes();
    initialised_ = true;
    update();
}

void DAD::LatauksenJalkeen() {
    if (closed_) return;
    stopRun();
    endLoops();
    const FileRecord& file = fileRecord(fileIndex());
    PrepareDadLayoutForFile(layout_, file);
    refillLists();
    PlaceInitial(layout_, file, DadPictureSize, DadPictureSize);
    writeBoxes();
    // File info shows the file just given, as for every file window; its
    // activation came before the file. A sheet being read refreshes File
    // info once at its end.
    if (!g.SheetLoading) FollowFileWindow(id_, true);
}

void DAD::refillLists() {
    const FileRecord& file = fileRecord(fileIndex());
    const int params = std::max(0, std::min<int>(file.ParameterCount, static_cast<int>(file.Parameters.size()) - 1));
    QSignalBlocker blockChannels(channels_), blockX(xAxis_), blockY(yAxis_);
    channels_->clear();
    xAxis_->clear();
    yAxis_->clear();
    for (int p = 1; p <= params; ++p) {
        const QString name = Latin1Text(file.Parameters[static_cast<size_t>(p)].Name);
        xAxis_->addItem(name);
        yAxis_->addItem(name);
        auto* item = new QListWidgetItem(name, channels_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    xAxis_->setCurrentIndex(layout_.StartAxisX - 1 < params ? layout_.StartAxisX - 1 : -1);
    yAxis_->setCurrentIndex(layout_.StartAxisY - 1 < params ? layout_.StartAxisY - 1 : -1);
    start_->setEnabled(false);
}

void DAD::UnloadWindow() {
    if (closed_) return;
    closed_ = true;
    endLoops();
    timer_->stop();
    layout_.Running = false;
    // A gate half drawn here can never be finished once the window is gone.
    if (g.GateInProgress && g.DraftRegion.DraftWindow == id_) {
        g.GateInProgress = false;
        g.RegionDrawMode = false;
    }
    if (WindowRecord* r = record(); r && r->Form == this) releaseWindowSlot(id_);
    ReleaseUnusedFiles();
    closeFrame();
}

void DAD::resizeEvent(QResizeEvent* event) {
    // The window keeps its designed size; its picture never changes size.
    PlotWindow::resizeEvent(event);
}

// ---------------------------------------------------------------- drawing

void DAD::forgetShownFile() { title_ = NoFileTitle(id_, "Data Analyzing Data"); }


void DAD::writeBoxes() {
    eventsBox_->setText(QString::number(layout_.SampleSize));
    iterationsBox_->setText(QString::number(layout_.IterationCount));
    deviatorBox_->setText(QString::number(layout_.Deviator));
}

void DAD::Piirra() {
    if (closed_) return;
    const int slot = fileIndex();
    if (slot == 0) return;
    const FileRecord& file = fileRecord(slot);
    title_ = "(" + std::to_string(id_) + "): Data Analyzing Data - , " + file.FileName;
    updateCaption();
    writeBoxes();
    picture_.fill(Qt::white);

    // Sampled events, each in the colour of the last population it belongs to.
    std::vector<const uint8_t*> columns;
    std::vector<QRgb> colours;
    const int32_t events = std::min<int32_t>({file.EventCount, static_cast<int32_t>(layout_.InSample.size()) - 1,
                                              static_cast<int32_t>(layout_.LayoutPosition.size()) - 1});
    for (int k = 1; k <= g.MaxPopulations && k < PopulationTableSize; ++k) {
        if (!file.Membership.contains(events, k)) continue;
        const PopulationRecord& p = g.PopulationTable[static_cast<size_t>(k)];
        columns.push_back(file.Membership.column(k));
        colours.push_back(qRgb(p.ColorRed, p.ColorGreen, p.ColorBlue));
    }
    const int W = picture_.width(), H = picture_.height();
    QPainter painter(&picture_);
    painter.setFont(PictureFont());
    for (int32_t e = 1; e <= events; ++e) {
        if (layout_.InSample[static_cast<size_t>(e)] != 1) continue;
        QRgb colour = qRgb(0, 0, 0);
        for (size_t k = columns.size(); k-- > 0;)
            if (columns[k][e] == 1) {
                colour = colours[k];
                break;
            }
        const LayoutPoint& p = layout_.LayoutPosition[static_cast<size_t>(e)];
        const int64_t x = static_cast<int64_t>(p.x) + pan_.x, y = static_cast<int64_t>(p.y) + pan_.y;
        if (x >= 0 && x < W && y >= 0 && y < H) picture_.setPixel(static_cast<int>(x), static_cast<int>(y), colour);
        if (file.HasEventNames && static_cast<size_t>(e) < file.EventNames.size()) {
            painter.setPen(QColor(colour));
            PrintAt(painter, held(static_cast<double>(x)), held(static_cast<double>(y)),
                    Latin1Text(file.EventNames[static_cast<size_t>(e)]));
        }
    }

    // The DAD gates of every DAD window, in this window's plot space.
    painter.setPen(QColor(255, 0, 0));
    painter.setBrush(Qt::NoBrush);
    for (int k = 1; k <= g.MaxPopulations && k < PopulationTableSize; ++k) {
        const PopulationRecord& p = g.PopulationTable[static_cast<size_t>(k)];
        if (p.Type != "DAD" || !p.InUse) continue;
        const int n = std::clamp<int>(p.Corners, 0, MaxCorners);
        std::vector<QPointF> corners;
        for (int c = 1; c <= n; ++c)
            corners.emplace_back(held(p.CornerX[static_cast<size_t>(c)] / 10000.0 * W + pan_.x),
                                 held(p.CornerY[static_cast<size_t>(c)] / 10000.0 * H + pan_.y));
        for (const QPointF& c : corners)
            painter.drawRect(QRectF(c.x() - HandleSize, c.y() - HandleSize, 2 * HandleSize, 2 * HandleSize));
        for (size_t c = 0; c + 1 < corners.size(); ++c) painter.drawLine(corners[c], corners[c + 1]);
        if (!corners.empty()) painter.drawLine(corners.back(), corners.front());
    }
    painter.end();
    update();
}

void DAD::paintOverlay(QPainter& painter) {
    const PopulationRecord& draft = g.DraftRegion;
    if (!g.GateInProgress || draft.DraftWindow != id_) return;
    painter.setPen(QColor(255, 0, 0));
    const int n = std::clamp<int>(draft.Corners, 0, MaxCorners);
    for (int c = 1; c <= n; ++c) {
        const QPointF p(draft.CornerX[static_cast<size_t>(c)], draft.CornerY[static_cast<size_t>(c)]);
        painter.drawRect(QRectF(p.x() - HandleSize, p.y() - HandleSize, 2 * HandleSize, 2 * HandleSize));
        if (c < n)
            painter.drawLine(p, QPointF(draft.CornerX[static_cast<size_t>(c + 1)], draft.CornerY[static_cast<size_t>(c + 1)]));
    }
    if (n > 0) painter.drawLine(QPointF(draft.CornerX[static_cast<size_t>(n)], draft.CornerY[static_cast<size_t>(n)]), pointer_);
}

void DAD::NaytaPopulaatio(int slot) {
    if (closed_) return;
    stopRun();
    endLoops();
    layout_.ShownPopulation = static_cast<int16_t>(std::clamp(slot, 0, PopulationTableSize - 1));
    layout_.TargetsStale = true;
    SelectSample(layout_, fileRecord(fileIndex()));
    Piirra();
}

// ---------------------------------------------------------------- pop-up menu and gates

void DAD::MenuValintaReaktio(int index) {
    if (index == 1) {
        CopyToClipboard();
    } else if (index == 2) {
        pan_ = DadPan();
        Piirra();
    }
}

void DAD::CheckPopulation(int slot) {
    DadCheckPopulation(slot, layout_, closed_ ? 0 : fileIndex(), picture_.width(), picture_.height());
}

void DAD::closeGate(int slot) {
    PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
    const PopulationRecord& draft = g.DraftRegion;
    const int n = std::clamp<int>(draft.Corners, 0, MaxCorners);
    const double W = picture_.width(), H = picture_.height();
    for (int c = 1; c <= n; ++c) {
        p.CornerX[static_cast<size_t>(c)] = static_cast<float>((draft.CornerX[static_cast<size_t>(c)] - pan_.x) / W * 10000.0);
        p.CornerY[static_cast<size_t>(c)] = static_cast<float>((draft.CornerY[static_cast<size_t>(c)] - pan_.y) / H * 10000.0);
    }
    p.Corners = static_cast<int16_t>(n);
    p.InUse = true;
    p.Name = DefaultGateName("DAD", slot);
    p.Type = "DAD";
    // Membership is taken from the layout as it stands now; later moves of
    // the layout leave it alone until a polygon is drawn into the slot again.
    CheckPopulation(slot);
    if (MainServices* main = mainServices()) main->PaivitaRegionLista();
}

// ---------------------------------------------------------------- mouse

bool DAD::onPicture(QPointF pos) const {
    return pos.x() >= 0 && pos.y() >= 0 && pos.x() < picture_.width() && pos.y() < picture_.height();
}

void DAD::mousePressEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (layout_.Running || closed_ || !onPicture(pos)) return;
    const bool left = event->button() == Qt::LeftButton, right = event->button() == Qt::RightButton;
    PopulationRecord& draft = g.DraftRegion;
    if (!g.RegionDrawMode) {
        if (left) {
            panning_ = true;
            lastPanX_ = NearestInt32(pos.x());
            lastPanY_ = NearestInt32(pos.y());
        } else if (right) {
            if (MainServices* main = mainServices())
                main->showWindowPopup(id_, {QStringLiteral("Copy to clipboard"), QStringLiteral("Zero moving")},
                                      event->globalPosition().toPoint());
        }
        return;
    }
    if (left) {
        if (!g.GateInProgress) {
            g.GateInProgress = true;
            draft.Corners = 1;
            draft.CornerX[1] = static_cast<float>(pos.x());
            draft.CornerY[1] = static_cast<float>(pos.y());
            draft.DraftWindow = id_;
        } else if (draft.DraftWindow == id_ && draft.Corners < MaxCorners) {
            // A click beyond the 50th corner is ignored.
            ++draft.Corners;
            draft.CornerX[static_cast<size_t>(draft.Corners)] = static_cast<float>(pos.x());
            draft.CornerY[static_cast<size_t>(draft.Corners)] = static_cast<float>(pos.y());
        }
        pointer_ = pos;
        update();
    } else if (right && draft.DraftWindow == id_) {
        if (g.GateInProgress) {
            const MainServices* main = mainServices();
            const int slot = main ? main->ValittuPopulaatio() : 0;
            // With no population row chosen the polygon has nowhere to go.
            if (slot >= 1 && slot <= g.MaxPopulations && slot < PopulationTableSize) closeGate(slot);
        }
        g.GateInProgress = false;
        g.RegionDrawMode = false;
        update();
        if (MainServices* main = mainServices()) main->PiirraKaikki();
        else Piirra();
    }
}

void DAD::mouseMoveEvent(QMouseEvent* event) {
    FilePlotWindow::mouseMoveEvent(event);
    const QPointF pos = event->position();
    if (layout_.Running || closed_) return;
    if (g.GateInProgress && g.DraftRegion.DraftWindow == id_) {
        pointer_ = pos;
        update();
        return;
    }
    if (!panning_) return;
    const int32_t X = NearestInt32(pos.x()), Y = NearestInt32(pos.y());
    auto moved = [](int32_t pan, int32_t now, int32_t last) {
        return static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(pan) + now - last, INT32_MIN, INT32_MAX));
    };
    pan_.x = moved(pan_.x, X, lastPanX_);
    pan_.y = moved(pan_.y, Y, lastPanY_);
    lastPanX_ = X;
    lastPanY_ = Y;
    Piirra();
}

void DAD::mouseReleaseEvent(QMouseEvent* event) {
    (void)event;
    if (!panning_) return;
    panning_ = false;
    if (!layout_.Running) Piirra();
}

bool DAD::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == eventsBox_ && eventsBox_->isEnabled()) askEvents();
        else if (watched == iterationsBox_ && iterationsBox_->isEnabled()) askIterations();
        else if (watched == deviatorBox_ && deviatorBox_->isEnabled()) askDeviator();
        else return FilePlotWindow::eventFilter(watched, event);
        return true;
    }
    return FilePlotWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- inputs

namespace {

// The whole number of an answer (Int of the number); nothing, after a
// message, when the answer is no number.
std::optional<double> wholeAnswer(const QString& answer, const QString& title) {
    const std::optional<double> v = ParseNumber(answer.toStdString());
    if (!v) {
        showMessage(QStringLiteral("Please give a whole number of 1 or more."), title);
        return std::nullopt;
    }
    return Int(*v);
}

}  // namespace

void DAD::askEvents() {
    const QString title = QStringLiteral("Number of events");
    const std::optional<QString> answer =
        dialogs().inputBox(QStringLiteral("Give a number of events"), title, QString::number(layout_.SampleSize));
    if (!answer || answer->isEmpty() || closed_) return;
    layout_.TargetsStale = true;
    const std::optional<double> v = wholeAnswer(*answer, title);
    if (!v) return;
    const int32_t largest = MaxDadSampleSize();
    if (*v > largest && *v <= fileEventCount()) {
        showMessage(QStringLiteral("The sample is too large: at most ") + QString::number(largest) +
                        QStringLiteral(" events."),
                    title);
        return;
    }
    if (!(*v > 0 && *v <= fileEventCount())) return;
    layout_.SampleSize = static_cast<int32_t>(*v);
    writeBoxes();
    SelectSample(layout_, fileRecord(fileIndex()));
    Piirra();
}

void DAD::askIterations() {
    const QString title = QStringLiteral("Number of iterations");
    const std::optional<QString> answer = dialogs().inputBox(QStringLiteral("Give a number of iterations"), title,
                                                             QString::number(layout_.IterationCount));
    if (!answer || answer->isEmpty() || closed_) return;
    const std::optional<double> v = wholeAnswer(*answer, title);
    if (!v || !(*v > 0) || *v >= INT32_MAX) return;
    layout_.IterationCount = static_cast<int32_t>(*v);
    writeBoxes();
}

void DAD::askDeviator() {
    const QString title = QStringLiteral("Deviator");
    const std::optional<QString> answer =
        dialogs().inputBox(QStringLiteral("Give a Deviator"), title, QString::number(layout_.Deviator));
    if (!answer || answer->isEmpty() || closed_) return;
    const std::optional<double> v = wholeAnswer(*answer, title);
    if (!v || !(*v > 0) || *v > INT32_MAX) return;
    layout_.Deviator = static_cast<int32_t>(*v);
    writeBoxes();
}

void DAD::setChannelChecked(int row, bool checked) {
    if (closed_ || row < 0) return;
    const size_t p = static_cast<size_t>(row) + 1;
    if (p >= layout_.ChannelUsed.size()) return;
    if (QListWidgetItem* item = channels_->item(row)) {
        QSignalBlocker block(channels_);
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    layout_.ChannelUsed[p] = checked ? 1 : 0;
    const auto used = std::count(layout_.ChannelUsed.begin(), layout_.ChannelUsed.end(), uint8_t{1});
    start_->setEnabled(used >= 2);
    layout_.TargetsStale = true;
}

void DAD::chooseStartAxis(int axis, int index) {
    if (closed_ || index < 0) return;
    (axis == 1 ? layout_.StartAxisX : layout_.StartAxisY) = static_cast<int16_t>(index + 1);
    QSignalBlocker block(axis == 1 ? xAxis_ : yAxis_);
    (axis == 1 ? xAxis_ : yAxis_)->setCurrentIndex(index);
    const FileRecord& file = fileRecord(fileIndex());
    SelectSample(layout_, file);
    PlaceInitial(layout_, file, picture_.width(), picture_.height());
    Piirra();
}

void DAD::setRandomStart(bool random) {
    if (closed_) return;
    layout_.RandomStart = random;
    random_->setChecked(random);
    const FileRecord& file = fileRecord(fileIndex());
    SelectSample(layout_, file);
    PlaceInitial(layout_, file, picture_.width(), picture_.height());
    Piirra();
}

void DAD::setInputsEnabled(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{channels_, iterationsBox_, deviatorBox_, eventsBox_, placeRest_,
                                                      random_, xAxis_, yAxis_})
        w->setEnabled(enabled);
}

// ---------------------------------------------------------------- runs

QString DAD::statusText() const { return status_->text(); }
bool DAD::startEnabled() const { return start_->isEnabled(); }
bool DAD::placeRestEnabled() const { return placeRest_->isEnabled(); }
QString DAD::startCaption() const { return start_->text(); }

QStringList DAD::channelNames() const {
    QStringList names;
    for (int i = 0; i < channels_->count(); ++i) names << channels_->item(i)->text();
    return names;
}

void DAD::setStatus(const QString& text) {
    status_->setText(text);
    status_->setToolTip(text);
}

DadProgress DAD::loopProgress(uint64_t generation, const char* statusPrefix) {
    return [this, generation, statusPrefix](int64_t done, int64_t total) {
        if (sincePump_.elapsed() >= eventInterval_) {
            if (statusPrefix && total > 0)
                setStatus(QString::fromLatin1(statusPrefix) +
                          QString::number(static_cast<int64_t>(std::floor(static_cast<double>(done) / total * 100))) +
                          QStringLiteral("%"));
            QCoreApplication::processEvents();
            if (onLoopEvents) onLoopEvents();
            sincePump_.restart();
        }
        return !closed_ && generation == generation_;
    };
}

void DAD::startOrStop() {
    if (layout_.Running) {
        stopRun();
        return;
    }
    SelectSample(layout_, fileRecord(fileIndex()));
    startRun();
}

void DAD::startRun() {
    if (closed_ || layout_.Running) return;
    const FileRecord& file = fileRecord(fileIndex());
    if (file.EventCount <= 0) return;
    endLoops();
    SelectSample(layout_, file);
    if (SampledEvents(layout_) != layout_.TargetSample || layout_.TargetOrder != layout_.SampleSize)
        layout_.TargetsStale = true;
    layout_.Running = true;
    start_->setText(QStringLiteral("Stop iteration"));
    setInputsEnabled(false);
    layout_.IterationCounter = 0;
    layout_.MovementLog.clear();
    if (layout_.TargetsStale) {
        const Busy before = busy_;
        busy_ = Busy::Targets;
        const uint64_t generation = generation_;
        const bool done = ComputeTargetDistances(layout_, file, picture_.width(), loopProgress(generation, "Initializing... "));
        busy_ = before;
        // Stopped, closed or overtaken by another action meanwhile.
        if (!done || closed_ || !layout_.Running || generation != generation_) return;
    }
    timer_->start();
}

void DAD::stopRun() {
    if (!layout_.Running) return;
    layout_.Running = false;
    endLoops();
    timer_->stop();
    setInputsEnabled(!closed_);
    start_->setText(QStringLiteral("Start iteration"));
}

void DAD::tick() {
    // A tick never runs inside another, nor inside any other long loop.
    if (busy_ != Busy::Idle || closed_) return;
    if (!layout_.Running) {
        timer_->stop();
        return;
    }
    const auto began = std::chrono::steady_clock::now();
    busy_ = Busy::Iterating;
    const uint64_t generation = generation_;
    const bool done = IterateOnce(layout_, loopProgress(generation, nullptr));
    busy_ = Busy::Idle;
    if (!done || closed_ || !layout_.Running || generation != generation_) return;
    Piirra();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    const double secs = Int(seconds * 100) / 100;
    setStatus(QStringLiteral("Iterating... ") + QString::number(layout_.IterationCounter) + QStringLiteral(" / ") +
              QString::number(layout_.IterationCount) + QStringLiteral(" (") +
              QString::fromStdString(NumberText(secs)) + QStringLiteral(" sec/iteration)"));
    layout_.MovementLog += MovementLogLine(layout_.IterationCounter, layout_.MeanMovement, secs);
    if (QClipboard* clip = QGuiApplication::clipboard()) {
        clip->clear();
        clip->setText(QString::fromLatin1(layout_.MovementLog.data(), static_cast<qsizetype>(layout_.MovementLog.size())));
    }
    ++layout_.IterationCounter;
    if (layout_.IterationCounter > layout_.IterationCount) {
        stopRun();
    }
}

void DAD::placeRest() {
    if (closed_) return;
    const FileRecord& file = fileRecord(fileIndex());
    if (file.EventCount <= 0) return;
    stopRun();
    endLoops();
    const Busy before = busy_;
    busy_ = Busy::PlacingRest;
    const uint64_t generation = generation_;
    const bool done = PlaceRest(layout_, file, loopProgress(generation, "Putting cells... "));
    busy_ = before;
    if (!done || closed_ || generation != generation_) return;
    setStatus(QStringLiteral("Putting cells... 100%"));
    Piirra();
    placeRest_->setEnabled(false);
}

// ---------------------------------------------------------------- settings lines

std::vector<std::string> DAD::SaveInfo() {
    const WindowFrameTwips frame = frameTwips();
    return DadSettingsLines(layout_, pan_, frame.left, frame.top, fileIndex());
}

void DAD::LoadInfo(const std::string& line) {
    applyFrameRequest(ApplyDadSettingLine(layout_, pan_, line));
    dropFileNotLoaded();
    writeBoxes();
}

}  // namespace qv
