#include "tools/Skripti.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include "app/Dialogs.h"
#include "app/TypedText.h"
#include "app/WorkspacePlacement.h"
#include "core/SharedState.h"
#include "core/picture/PictureText.h"
#include "tools/ToolCommands.h"
#include "tools/model/ScriptPack.h"

namespace qv {

namespace {

constexpr int TwipsPerPixel = 15;

// The large layout, in pixels: the window's design size, the margin, the
// variable pane's width and the row of buttons along the bottom.
constexpr int DesignWidth = 560;
constexpr int DesignHeight = 400;
constexpr int Margin = 8;
constexpr int PaneWidth = 180;
constexpr int ButtonWidth = 90;
constexpr int ButtonHeight = 28;
constexpr int RowBoxLeft = Margin + ButtonWidth + Margin;
// The small layout: 1800 x 900 twips, the controls at top 10 twips.
constexpr int SmallWidth = 1800 / TwipsPerPixel;
constexpr int SmallHeight = 900 / TwipsPerPixel;
constexpr int SmallTop = (10 + TwipsPerPixel / 2) / TwipsPerPixel;

const QString ExecuteCaption = QStringLiteral("Execute");
const QString StopCaption = QStringLiteral("Stop");

}  // namespace

Skripti::Skripti(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Skripti"));
    setWindowTitle(QStringLiteral("Tool running"));

    Teksti = new QPlainTextEdit(this);
    Teksti->setObjectName(QStringLiteral("Teksti"));
    Teksti->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    Teksti->setFont(mono);

    MuuttujatLabel = new QLabel(QStringLiteral("Variable values"), this);
    Muuttujat = new QPlainTextEdit(this);
    Muuttujat->setObjectName(QStringLiteral("Muuttujat"));
    Muuttujat->setReadOnly(true);
    Muuttujat->setLineWrapMode(QPlainTextEdit::NoWrap);
    Muuttujat->setFont(mono);

    KursorinPaikka = new QLineEdit(QStringLiteral("Row: 1"), this);
    KursorinPaikka->setObjectName(QStringLiteral("KursorinPaikka"));
    KursorinPaikka->setReadOnly(true);
    Toteuta = new QPushButton(ExecuteCaption, this);
    Toteuta->setObjectName(QStringLiteral("Toteuta"));
    Tyhjenna = new QPushButton(QStringLiteral("Clear"), this);
    Tyhjenna->setObjectName(QStringLiteral("Tyhjenna"));
    MuutaKokoa = new QPushButton(QStringLiteral("Minimize"), this);
    MuutaKokoa->setObjectName(QStringLiteral("MuutaKokoa"));

    connect(Toteuta, &QPushButton::clicked, this, &Skripti::Toteuta_Click);
    connect(Tyhjenna, &QPushButton::clicked, this, &Skripti::Tyhjenna_Click);
    connect(MuutaKokoa, &QPushButton::clicked, this, &Skripti::MuutaKokoa_Click);
    connect(Teksti, &QPlainTextEdit::cursorPositionChanged, this, &Skripti::updateRow);

    host_.onRunStarted = [this] { Toteuta->setText(StopCaption); };
    host_.onRunEnded = [this] { Toteuta->setText(ExecuteCaption); };
    host_.onVariables = [this](const std::string& pane) { Muuttujat->setPlainText(Latin1Text(pane)); };
    host_.onShowToolWindow = [this] { MuutaSkriptiKoko(QStringLiteral("iso")); };
    installToolCommands(interpreter_);

    // Pointer moves over the panes are reported as moves over the window.
    setMouseTracking(true);
    for (QPlainTextEdit* pane : {Teksti, Muuttujat}) {
        pane->viewport()->setMouseTracking(true);
        pane->viewport()->installEventFilter(this);
    }

    resize(DesignWidth, DesignHeight);
    placeLargeControls();
}

Skripti::~Skripti() {
    // A run can only be inside this window's own event handling; it must
    // not go on with a host that is gone.
    if (interpreter_.busy()) g.ScriptRunning = false;
}

QWidget* Skripti::frame() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

void Skripti::updateRow() {
    KursorinPaikka->setText(QStringLiteral("Row: ") + QString::number(Teksti->textCursor().blockNumber() + 1));
}

void Skripti::CopyToClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    const QString selected = Teksti->textCursor().selectedText();
    // A selection across lines holds U+2029 where the lines break.
    QString text = selected.isEmpty() ? Teksti->toPlainText() : selected;
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    clipboard->setText(text);
}

// ---- layouts ----

void Skripti::placeLargeControls() {
    const int w = width();
    const int h = height();
    const int paneLeft = std::max(Margin, w - Margin - PaneWidth);
    const int rowTop = std::max(Margin, h - Margin - ButtonHeight);
    Teksti->setGeometry(Margin, Margin, std::max(0, paneLeft - 2 * Margin), std::max(0, rowTop - 2 * Margin));
    MuuttujatLabel->setGeometry(paneLeft, Margin, PaneWidth, 18);
    Muuttujat->setGeometry(paneLeft, Margin + 20, PaneWidth, std::max(0, rowTop - 3 * Margin - 12));
    Toteuta->setGeometry(Margin, rowTop, ButtonWidth, ButtonHeight);
    KursorinPaikka->setGeometry(RowBoxLeft, rowTop + 2, ButtonWidth, ButtonHeight - 4);
    Tyhjenna->setGeometry(RowBoxLeft + ButtonWidth + Margin, rowTop, ButtonWidth, ButtonHeight);
    MuutaKokoa->setGeometry(std::max(Margin, w - Margin - ButtonWidth), rowTop, ButtonWidth, ButtonHeight);
}

void Skripti::layoutLarge() {
    g.ToolWindowSmall = false;
    QWidget* f = frame();
    if (f == this)
        resize(DesignWidth, DesignHeight);
    else
        f->resize(f->size() - size() + QSize(DesignWidth, DesignHeight));
    Teksti->show();
    Muuttujat->show();
    MuuttujatLabel->show();
    MuutaKokoa->setText(QStringLiteral("Minimize"));
    MuutaKokoa->show();
    Tyhjenna->show();
    KursorinPaikka->show();
    placeLargeControls();
}

void Skripti::layoutSmall() {
    g.ToolWindowSmall = true;
    frame()->resize(SmallWidth, SmallHeight);
    Teksti->hide();
    Muuttujat->hide();
    MuuttujatLabel->hide();
    Toteuta->setGeometry(Margin, SmallTop, ButtonWidth, ButtonHeight);
    KursorinPaikka->move(KursorinPaikka->x(), SmallTop);
    Tyhjenna->move(Tyhjenna->x(), SmallTop);
    MuutaKokoa->move(RowBoxLeft, SmallTop);
    MuutaKokoa->setText(QStringLiteral("Maximize"));
    MuutaKokoa->hide();
    Tyhjenna->hide();
    KursorinPaikka->hide();
}

void Skripti::MuutaSkriptiKoko(const QString& mode) {
    if (mode == QLatin1String("iso")) g.ToolWindowSmall = true;
    if (mode == QLatin1String("pieni")) g.ToolWindowSmall = false;
    const bool joining = placer_ && frame() == this;
    if (joining) placer_(*this);
    QWidget* f = frame();
    // A layout sets the size of the window in its normal state: a frame
    // left maximised or minimised comes back first, or the maximised one
    // would stay maximised at the layout's size, its title bar gone.
    if (f != this && (f->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) f->showNormal();
    f->show();
    if (f != this) show();
    f->raise();
    if (g.ToolWindowSmall)
        layoutLarge();
    else
        layoutSmall();
    // Either layout lies in the workspace's view: the first one where a new
    // window opens, a later one grown or shrunk where the window is and
    // then moved the shortest way in.
    if (f == this) return;
    if (joining)
        keepInsideWorkspace(*this);
    else
        fitIntoView(*f);
}

void Skripti::startSmallAndHidden() {
    layoutSmall();
    frame()->hide();
}

void Skripti::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!g.ToolWindowSmall) placeLargeControls();
}

void Skripti::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    if (mouseMoved_) mouseMoved_();
}

bool Skripti::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && mouseMoved_) mouseMoved_();
    return QWidget::eventFilter(watched, event);
}

// ---- running ----

void Skripti::AjaOhjelma(const std::string& text, bool showVariables) {
    interpreter_.AjaOhjelma(text, showVariables);
}

void Skripti::Toteuta_Click() {
    if (g.ScriptRunning) {
        ScriptInterpreter::stop();
        Toteuta->setText(ExecuteCaption);
        return;
    }
    // A run that Stop has ended may still be finishing its line.
    if (interpreter_.busy()) return;
    // A tool is 8-bit text, as its files are: a typed character Latin-1
    // cannot hold stops the run before it starts, by name.
    const std::optional<std::string> text =
        AcceptLatin1Text(Teksti->toPlainText(), QString::fromLatin1(DefaultMessageTitle));
    if (!text) return;
    AjaOhjelma(*text + "\r\n", true);
}

void Skripti::Tyhjenna_Click() { Teksti->clear(); }

void Skripti::MuutaKokoa_Click() { MuutaSkriptiKoko(QString()); }

void Skripti::runScriptFile(const ScriptMenuEntry& entry, const QString& path, const std::string& text) {
    if (interpreter_.busy() || g.ScriptRunning) return;
    std::string plain = text;
    if (entry.Packed) {
        std::optional<std::string> unpacked = UnpackScriptPack(text);
        if (!unpacked) {
            showMessage(Latin1Text(DamagedPackMessage({})) + path, QString::fromLatin1(DamagedPackTitle));
            return;
        }
        plain = std::move(*unpacked);
    }
    MuutaSkriptiKoko(QStringLiteral("pieni"));
    AjaOhjelma(plain, false);
    if (g.ToolWindowSmall && !g.ProgramClosing) frame()->hide();
}

void Skripti::closeEvent(QCloseEvent* event) {
    if (g.ProgramClosing) {
        if (interpreter_.busy()) g.ScriptRunning = false;
        event->accept();
        return;
    }
    event->ignore();
    frame()->hide();
}

}  // namespace qv
