#pragma once
// The about box ("About"): the program's logo, its version and release date
// and the terms of use; "Close" hides it.
#include "fileutils/UtilityWindow.h"

class QLabel;
class QPushButton;

namespace qv {

class AboutLaatikko final : public UtilityWindow {  // "about box"
    Q_OBJECT
public:
    explicit AboutLaatikko(QWidget* parent = nullptr);
    int AnnaID() const { return 0; }

    QLabel* versioTeksti() const { return versioTeksti_; }     // version line
    QLabel* tekijaLaatikko() const { return tekijaLaatikko_; } // terms of use
    QPushButton* suljeNappi() const { return suljeNappi_; }    // "Close"

protected:
    // Escape closes the box as "Close" does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* logo_ = nullptr;
    QLabel* versioTeksti_ = nullptr;
    QLabel* tekijaLaatikko_ = nullptr;
    QPushButton* suljeNappi_ = nullptr;
};

// "Version " & version & ", released " & the release date in the system's
// short date form. A date text that cannot be read stands as it is.
QString VersionLine(const std::string& versionText, const std::string& releaseDate);

}  // namespace qv
