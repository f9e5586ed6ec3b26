#pragma once
// Main-window services that do nothing: no redraw, no chosen row, no
// autosave, no next file, every pop-up menu dismissed. A test derives from
// it and overrides only what it watches or answers.
#include "app/MainServices.h"

namespace qv::test {

class StubMainServices : public MainServices {
public:
    void PiirraKaikki() override {}
    void PaivitaRegionLista() override {}
    int ValittuPopulaatio() const override { return 0; }
    int ValittuMaaritelma() const override { return 0; }
    void TalletaNakyma(const QString&) override {}
    bool SeuraavaTiedosto(int) override { return false; }
    bool EdellinenTiedosto(int) override { return false; }
    void showWindowPopup(int, const QStringList&, const QPoint&, bool) override {}
    void showChannelPopup(int, const QStringList&, const QPoint&) override {}
    int showStatisticsPopup(int, const QStringList&, const QPoint&, const QList<int>&) override { return -1; }
};

}  // namespace qv::test
