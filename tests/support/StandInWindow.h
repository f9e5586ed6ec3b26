#pragma once
// A small window kind for tests of the main window and of everything that
// reaches windows through the registry: it answers the protocol by recording
// what it was asked, without reading any file.
//
//   registerStandInKind("DotPlot", "Dot Plot", true);   // a file window
//   registerStandInKind("ClipBook", "ClipBook", false); // never selected
#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "app/PlotWindow.h"

namespace qv::test {

class StandInWindow final : public PlotWindow {
    Q_OBJECT
public:
    StandInWindow(QString kindTitle, bool showsFile);
    ~StandInWindow() override;

    void Alusta(int id) override;
    void LatauksenJalkeen() override;
    void Piirra() override;
    void NaytaPopulaatio(int slot) override;
    int AnnaID() const override { return id_; }
    QString AnnaOtsikko() const override { return title_; }
    void UnloadWindow() override;
    void onActivated() override;
    void MenuValintaReaktio(int index) override;
    void CopyToClipboard() override {}
    std::vector<std::string> SaveInfo() override { return {"0"}; }
    void LoadInfo(const std::string&) override {}

    int drawCount = 0;
    int activations = 0;  // activation steps run after Alusta
    int shownPopulation = 0;
    std::vector<int> menuChoices;

    // What every stand-in was asked, in order: "Alusta 3", "Piirra 3",
    // "UnloadWindow 3", "NaytaPopulaatio 3 17", "MenuValintaReaktio 3 2".
    static std::vector<std::string>& log();
    // Called at the start of every stand-in's Alusta / Piirra / UnloadWindow with its ID
    // (tests use them to act in the middle of a redraw or an exit).
    static std::function<void(int)>& onAlusta();
    static std::function<void(int)>& onDraw();
    static std::function<void(int)>& onUnload();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void note(const std::string& what);

    QString kindTitle_;
    bool showsFile_;
    int id_ = 0;
    QString title_;
    bool unloaded_ = false;
};

// Registers a maker of stand-ins under `type`.
void registerStandInKind(const std::string& type, const QString& kindTitle, bool showsFile);

}  // namespace qv::test
