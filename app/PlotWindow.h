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
    // Whether the pointer moving over the window (its frame included)
    // narrows the main window's panel, as it does for almost every kind.
    virtual bool pointerNarrowsPanel() const { return true; }

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
    //
    // These two members are the whole of a window kind's part in the
    // analysis sheet; the sheet code never names a kind. A new kind plugs in
    // by registering its maker under its type name (registerWindowKind,
    // app/WindowRegistry.h) and overriding these two:
    // - The writer puts "window.<ID>.type:<type name>" and then each element
    //   1..count of SaveInfo behind "window.<ID>.". Every kind begins with
    //   "location.x", "location.y" (and, but for "DAD", "size.x", "size.y");
    //   a kind that shows a file writes "file". A count that is not a number
    //   or names more lines than given fails the save with its message.
    // - The reader makes the window from the type line in the slot the sheet
    //   names, runs Alusta(ID) and hands every later line of the block to
    //   LoadInfo whole ("window.<ID>.<key>:<value>"), while g.SheetLoading is
    //   set, so LoadInfo never draws; LatauksenJalkeen and the redraw follow
    //   once the whole sheet is in. ParseWindowSettingsLine and
    //   SharedWindowSettingRequest (app/model/WindowSettingsLine.h) take a
    //   line apart and handle the keys every kind shares. Values of "file",
    //   "show" and "axis.x/y/z" that are no number
    //   or lie outside their tables are dropped before they reach LoadInfo;
    //   a kind checks every other value itself and ignores what it cannot
    //   use (a bad sheet must never crash the program).
    // - A type name that no kind has registered leaves its slot free and its
    //   block unread.
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

    // Members that tools call on the kinds that have them; a kind answers
    // only its own. Positions are plot-space units 0..10000.
    // Quadrant cross (dot plot): the position on an axis ("y" counted from
    // the bottom), storing one ("y" as stored, from the top), showing it
    // ("open", "close", else toggle) and whether it is shown.
    virtual std::string AnnaKvadrantinKoordinaatit(const std::string& axis) const {
        missing("AnnaKvadrantinKoordinaatit"); (void)axis; return {};
    }
    virtual void AsetaRegion(const std::string& axis, const std::string& value) {
        missing("AsetaRegion"); (void)axis; (void)value;
    }
    virtual void NaytaTaiPiilotaKvadrantti(const std::string& mode) { missing("NaytaTaiPiilotaKvadrantti"); (void)mode; }
    virtual bool OnkoKvadranttiKaytossa() const { missing("OnkoKvadranttiKaytossa"); return false; }
    // Histogram: the peak inside the marker of a population slot by key
    // ("paikka" position, "abskorkeus" count, "suhtkorkeus" relative height),
    // and the relative height (0..10000 of the Y maximum) at a position, which
    // is given back as the bin read.
    virtual int32_t AnnaHistonKorkeinKohta(const std::string& what, int32_t marker) {
        missing("AnnaHistonKorkeinKohta"); (void)what; (void)marker; return 0;
    }
    virtual int32_t AnnaHistonKorkeus(double& position) { missing("AnnaHistonKorkeus"); (void)position; return 0; }
    // Modeller: the relative height of the sum of the curves at a position;
    // one property of curve `curve` ("nimi", "korkeus", "paikka", "tasanne",
    // "hajontavasen", "hajontaoikea"); creating ("luo") or deleting ("poista") a curve.
    virtual int32_t AnnaSummanKorkeus(double position) { missing("AnnaSummanKorkeus"); (void)position; return 0; }
    virtual void SiirraKayraa(const std::string& what, const std::string& curve, const std::string& value) {
        missing("SiirraKayraa"); (void)what; (void)curve; (void)value;
    }
    virtual void LuoTaiPoista(const std::string& action, const std::string& curve, const std::string& name) {
        missing("LuoTaiPoista"); (void)action; (void)curve; (void)name;
    }
    // Three-dimensional plot: turning by a step about "x" or "y", the viewing
    // distance by a step, back to zero rotation, the background picture
    // ("paalla" on, "poissa" off).
    virtual void MuutaRotaatiota(const std::string& axis, const std::string& step) {
        missing("MuutaRotaatiota"); (void)axis; (void)step;
    }
    virtual void MuutaEtaisyytta(const std::string& step) { missing("MuutaEtaisyytta"); (void)step; }
    virtual void Nollaa() { missing("Nollaa"); }
    virtual void AsetaTaustaKuvanTila(const std::string& mode) { missing("AsetaTaustaKuvanTila"); (void)mode; }
    // Overlay and mirror histograms: line `line` takes the histogram of the
    // histogram window `windowId`.
    virtual void AsetaHistogram(int line, int windowId) { missing("AsetaHistogram"); (void)line; (void)windowId; }

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
