#pragma once
// The protocol every analysis window answers. The main window, the sheet
// reader/writer and tools address windows only through these members. A kind
// overrides the members that apply to it; calling one it lacks raises
// MissingMemberError, which a tool reports as an error of its script line.
#include <QImage>
#include <QWidget>

class QTimer;

#include <stdexcept>
#include <string>
#include <vector>

namespace qv {

class MissingMemberError : public std::runtime_error {
public:
    explicit MissingMemberError(const std::string& member)
        : std::runtime_error("Object doesn't support this property or method: " + member) {}
};

// Raised by a window member for a request it cannot answer (for example a
// statistics key for a region outside the table); tools report it as an
// error of the script line.
class WindowOperationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PlotWindow : public QWidget {
    Q_OBJECT
public:
    explicit PlotWindow(QWidget* parent = nullptr);
    ~PlotWindow() override;

    // Lifecycle and drawing.
    virtual void Alusta(int id) = 0;
    virtual void LatauksenJalkeen() {}
    virtual void Piirra() = 0;
    virtual void NaytaPopulaatio(int slot) { missing("NaytaPopulaatio"); (void)slot; }
    virtual int AnnaID() const = 0;
    virtual QString AnnaOtsikko() const { missing("AnnaOtsikko"); return {}; }
    // Closes the window: frees its registry slot at once and ends with
    // discardWindow(*this) (app/WindowDisposal.h), which hides the window and
    // deletes it only back in the top-level event loop, never under a
    // handler still running inside it.
    virtual void UnloadWindow() = 0;
    // The kind's activation step. It runs each time the window becomes the
    // active child of the workspace (or, alone, the active window), its first
    // time included: the creation sequence runs it right after Alusta when
    // the new window is already the active one. A kind ignores calls that
    // come before its Alusta.
    virtual void onActivated() {}

    // Print page.
    // The window's picture (Kuva) as last drawn, which the print page shows
    // at its own size in page units; kinds without a page picture give none.
    virtual QImage Kuva() const { return {}; }
    virtual bool OnkoPreviewissa() const { return false; }
    virtual void AsetaPreviewissa(bool flag) { missing("AsetaPreviewissa"); (void)flag; }
    virtual bool OnkoStatPreviewissa() const { missing("OnkoStatPreviewissa"); return false; }
    virtual void AsetaStatPreviewissa(bool flag) { missing("AsetaStatPreviewissa"); (void)flag; }

    // Pop-up menu and clipboard.
    virtual void MenuValintaReaktio(int index) = 0;
    virtual void CopyToClipboard() = 0;

    // Gates.
    virtual void CheckPopulation(int slot) { missing("CheckPopulation"); (void)slot; }

    // Settings lines: element 0 is the count, 1..count "key:value".
    virtual std::vector<std::string> SaveInfo() = 0;
    virtual void LoadInfo(const std::string& line) = 0;

    // Statistics.
    virtual bool OnkoStatistiikkaKaytossa() const { missing("OnkoStatistiikkaKaytossa"); return false; }
    virtual void PaivitaStatistiikka() { missing("PaivitaStatistiikka"); }
    virtual double AnnaStatistiikka(const std::string& region, const std::string& stat) {
        missing("AnnaStatistiikka"); (void)region; (void)stat; return 0;
    }
    virtual std::string AnnaKokoStatistiikka(const std::string& mode) {
        missing("AnnaKokoStatistiikka"); (void)mode; return {};
    }
    virtual void LiikutaStatistiikkaLaatikkoa(const std::string& axis, const std::string& value) {
        missing("LiikutaStatistiikkaLaatikkoa"); (void)axis; (void)value;
    }
    virtual void AvaaTaiSuljeStatistics(const std::string& mode) { missing("AvaaTaiSuljeStatistics"); (void)mode; }
    virtual void UnloadStatistics() { missing("UnloadStatistics"); }
    // The statistics picture (StatKuva): an image of the statistics grid as
    // displayed, kept by the owner for the print page. Windows without
    // statistics keep none.
    virtual QImage StatKuva() const { return {}; }
    virtual void AsetaStatKuva(const QImage& picture) { (void)picture; }

    // Channels and drawing mode (tools).
    virtual std::string AnnaKanava(const std::string& axis) { missing("AnnaKanava"); (void)axis; return {}; }
    virtual void AsetaKanava(const std::string& axis, const std::string& value) {
        missing("AsetaKanava"); (void)axis; (void)value;
    }
    virtual void AsetaPiirtoMoodi(const std::string& mode) { missing("AsetaPiirtoMoodi"); (void)mode; }

    // Members of single kinds that tools call through the protocol; every
    // other kind raises MissingMemberError.
    // The 3-D plot: turn the cube, move the viewer, back to the start view,
    // the background picture ("paalla" on, "poissa" off).
    virtual void MuutaRotaatiota(const std::string& axis, const std::string& delta) {
        missing("MuutaRotaatiota"); (void)axis; (void)delta;
    }
    virtual void MuutaEtaisyytta(const std::string& delta) { missing("MuutaEtaisyytta"); (void)delta; }
    virtual void Nollaa() { missing("Nollaa"); }
    virtual void AsetaTaustaKuvanTila(const std::string& mode) { missing("AsetaTaustaKuvanTila"); (void)mode; }

private slots:
    void frameActivating() { onActivated(); }

private:
    void completePostponedDraw();

    QTimer* postponedDraw_ = nullptr;

protected:
    // Ties the activation step to the workspace frame the window is put in,
    // and ends every size change with a full picture: a kind's resizeEvent
    // draws at the new size, either fully or as a quick pass that leaves
    // g.FullRedrawPending at its ID; that full draw then follows as soon as
    // no mouse button is held (the end of an edge drag, or at once after a
    // maximise, restore or tiling), without waiting for the mouse to move.
    // A kind that overrides event() passes every event on to this one.
    bool event(QEvent* event) override;

    [[noreturn]] static void missing(const char* member) { throw MissingMemberError(member); }
};

}  // namespace qv
