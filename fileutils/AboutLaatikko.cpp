#include "fileutils/AboutLaatikko.h"

#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/SharedState.h"

namespace qv {
namespace {

const QColor Background(34, 30, 31);
const QColor LabelText(255, 255, 255);
const QColor ButtonFace(220, 220, 220);

const char* const TermsOfUse =
    "Quorvane is provided as it is, without warranty of any kind. The results it gives are to be "
    "checked by the user before they are relied on in research or reports. The program may be used "
    "and copied freely; it may not be sold.";

QPixmap drawLogo() {
    QPixmap logo(96, 96);
    logo.fill(Background);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    // A few dots of a scatter, in the colours of populations.
    const QColor colours[] = {QColor(220, 60, 60), QColor(60, 180, 90), QColor(70, 120, 220)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        p.drawEllipse(QPointF(30 + 18 * i, 62 - 16 * i), 14, 14);
    }
    return logo;
}

void paint(QWidget& w, const QColor& background, const QColor& text) {
    w.setAutoFillBackground(true);
    QPalette p = w.palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::Button, background);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::ButtonText, Qt::black);
    w.setPalette(p);
}

}  // namespace

QString VersionLine(const std::string& versionText, const std::string& releaseDate) {
    const QString dateText = QString::fromLatin1(releaseDate.c_str());
    // The stored date is written day, English month name, year.
    const QDate date = QDate::fromString(dateText, QStringLiteral("d MMMM yyyy"));
    const QString shown = date.isValid() ? QLocale::system().toString(date, QLocale::ShortFormat) : dateText;
    return QStringLiteral("Version ") + QString::fromLatin1(versionText.c_str()) + QStringLiteral(", released ") + shown;
}

AboutLaatikko::AboutLaatikko(QWidget* parent) : UtilityWindow(parent) {
    setWindowTitle(QStringLiteral("About"));
    paint(*this, Background, LabelText);
    logo_ = new QLabel(this);
    logo_->setPixmap(drawLogo());
    versioTeksti_ = new QLabel(VersionLine(g.VersionText, g.ReleaseDate), this);
    tekijaLaatikko_ = new QLabel(QString::fromLatin1(TermsOfUse), this);
    tekijaLaatikko_->setWordWrap(true);
    suljeNappi_ = new QPushButton(QStringLiteral("Close"), this);
    for (QLabel* label : {logo_, versioTeksti_, tekijaLaatikko_}) paint(*label, Background, LabelText);
    paint(*suljeNappi_, ButtonFace, LabelText);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(logo_, 0, Qt::AlignHCenter);
    layout->addWidget(versioTeksti_);
    layout->addWidget(tekijaLaatikko_);
    layout->addWidget(suljeNappi_, 0, Qt::AlignRight);
    setFixedWidth(360);
    connect(suljeNappi_, &QPushButton::clicked, this, &QWidget::hide);
    watchMouseMoves();
}

void AboutLaatikko::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    UtilityWindow::keyPressEvent(event);
}

}  // namespace qv
