#pragma once
// What the plot pictures share for their texts and coordinates: the
// picture font, printing a text by its top left corner as a picture box
// prints, the 7-pixels-per-character width used for centring, and turning a
// drawing coordinate into a whole pixel safely.
#include <QFont>
#include <QPainter>
#include <QString>

#include <string>

namespace qv {

// "Courier New" at 8.25 points (11 pixels at 96 dots per inch).
QFont PictureFont();

// Prints `text` with its top left corner at (x, y).
void PrintAt(QPainter& painter, double x, double y, const QString& text);

// A text held as 8-bit characters, as a picture shows it.
inline QString Latin1Text(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// Width of a text as the centring counts it: 7 pixels per character.
inline double CentringWidth(const std::string& s) { return static_cast<double>(s.size()) * 7.0; }

// A drawing coordinate as a whole pixel, rounded to nearest. Coordinates that
// are not numbers or lie far outside any picture give a value well outside
// it, so no NaN or huge number ever reaches an integer conversion.
int PixelOf(double v);

}  // namespace qv
