#pragma once
// The running main window with analysis sheets, for the sheet tests: a
// program folder and application data folder of their own, real dot plots
// on real FCS files written by the tests, a workspace built through the
// windows' own members, and a capture of everything a sheet must bring back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/MenuBar.h"
#include "app/PaaIkkuna.h"
#include "app/SheetSections.h"
#include "app/SheetStore.h"
#include "app/WindowRegistry.h"
#include "app/model/PopulationRecompute.h"
#include "app/model/ProgramFolder.h"
#include "core/AtomicFile.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv::test {


inline const char* const SaveFailed = "An error occured during the saving!";
inline const char* const RecoveryQuestion = "Quorvane was not closed properly. You want to recover the view?";
inline const char* const ExitQuestion = "Do you really want to exit? All unsaved data will be lost.";

inline QString q(const std::string& s) { return QString::fromStdString(s); }

// The message of a failed save: the text, the file and the system's reason.
inline QString saveFailed(const std::string& path, const std::string& reason) {
    return q(std::string(SaveFailed) + "\n" + path + "\n" + reason);
}

inline std::string readAll(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    return bytes;
}

// The sheet without its date line.
inline std::string withoutDate(std::string text) {
    const size_t at = text.find("general.date:");
    if (at != std::string::npos) text.erase(at, text.find("\r\n", at) - at);
    return text;
}

// Everything a sheet must bring back.
struct Workspace {
    std::vector<std::string> populations;
    std::map<int, std::string> files;
    std::map<int, std::vector<std::string>> windows;
    std::map<int, std::vector<std::vector<uint8_t>>> membership;

    static Workspace capture() {
        Workspace w;
        for (int s = 1; s <= 32; ++s) {
            const PopulationRecord& p = g.PopulationTable[s];
            if (!p.InUse) continue;
            std::string text = std::to_string(s) + "|" + p.Name + "|" + p.Type + "|" + std::to_string(p.AxisX) + "|" +
                               std::to_string(p.AxisY) + "|" + std::to_string(p.ColorRed) + "," +
                               std::to_string(p.ColorGreen) + "," + std::to_string(p.ColorBlue) + "|" +
                               std::to_string(p.Created) + "|" + std::to_string(p.Transparent) + "|" +
                               std::to_string(p.TitleX) + "," + std::to_string(p.TitleY);
            for (int j = 1; j <= p.Corners; ++j)
                text += "|" + std::to_string(p.CornerX[j]) + ";" + std::to_string(p.CornerY[j]);
            w.populations.push_back(text);
        }
        for (int f = 1; f <= g.MaxFiles; ++f) {
            const FileRecord& r = g.FileTable[f];
            if (!r.Loaded) continue;
            w.files[f] = r.FileName + "|" + std::to_string(r.EventCount);
            auto& columns = w.membership[f];
            for (int c = 0; c <= r.Membership.maxColumn(); ++c)
                columns.emplace_back(r.Membership.column(c), r.Membership.column(c) + r.Membership.stride());
        }
        for (int id = 1; id <= g.MaxWindows; ++id)
            if (PlotWindow* win = windowAt(id)) w.windows[id] = win->SaveInfo();
        return w;
    }
    bool operator==(const Workspace&) const = default;
};

inline FcsTestFile sampleFile(double shift) {
    FcsTestFile f;
    f.param("FSC-H").param("SSC-H").param("FL1-H");
    for (int i = 0; i < 200; ++i)
        f.event({std::fmod(i * 37.0 + shift, 1000.0), std::fmod(i * 91.0 + 2 * shift, 1000.0), std::fmod(i * 13.0, 1000.0)});
    return f;
}

class SheetStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolderOverride(q(programDir.path()));
        setAppDataFolderOverride(q(appDataDir.path()));
        setSheetSection(SheetSectionKind::PrintView, {});
        setSheetSection(SheetSectionKind::FileInfo, {});
        registerDotPlotKind();
        start();
    }
    void TearDown() override {
        main.reset();
        setProgramFolderOverride(QString());
        setExecutableFolderOverride(QString());
        setAppDataFolderOverride(QString());
        resetSharedState();
    }

    void start() {
        main.reset();
        main = std::make_unique<PaaIkkuna>();
        main->sheetStore().onWritten = [this](const QString& mode, const QString&) {
            written << mode;
            if (main->sheetStore().loading() || g.SheetLoading) ++writesWhileLoading;
        };
        main->MDIForm_Load();
        QApplication::setActiveWindow(main.get());
    }

    std::string autosave() const { return programDir.file("autosave.quorvane"); }

    // A new run of the program after a crash whose offer of recovery the
    // user declines: nothing of the last workspace is left in memory.
    void restartWithoutRecovery() {
        main.reset();
        resetSharedState();
        ScriptedDialogs dlg;
        if (QFileInfo::exists(q(autosave())))
            dlg.expectMessage(RecoveryQuestion, "Recovery", MsgButtons::YesNo, MsgAnswer::No);
        start();
        dlg.finish();
    }

    // A new run of the program after a crash whose offer of recovery the
    // user accepts.
    void restartWithRecovery() {
        main.reset();
        resetSharedState();
        ScriptedDialogs dlg;
        dlg.expectMessage(RecoveryQuestion, "Recovery", MsgButtons::YesNo, MsgAnswer::Yes);
        start();
        dlg.finish();
    }

    DotPlot* plot(int id) { return dynamic_cast<DotPlot*>(windowAt(id)); }

    void openFile(const std::string& path) {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(q(path), "Open FCS file");
        main->FileOpenFCS_Click();
    }

    // Two files, two dot plots with changed axes and a quadrant, two gates,
    // a definition and changed colours, all through the windows' own members.
    void buildWorkspace() {
        WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
        WriteFcsTestFile(dataDir.file("Run #3 b.fcs"), sampleFile(250));
        openFile(dataDir.file("a.fcs"));
        ASSERT_NE(plot(1), nullptr);
        ASSERT_EQ(main->createFromMenu("DotPlot"), 2);
        openFile(dataDir.file("Run #3 b.fcs"));
        ASSERT_EQ(g.WindowRegistry[2].FileIndex, 2);
        plot(2)->AsetaKanava("x", "3");
        plot(2)->NaytaTaiPiilotaKvadrantti("open");
        plot(2)->AsetaRegion("x", "3100");
        // Fast drawing is taken only by a file above the limit.
        const int32_t limit = g.FastDrawLimit;
        g.FastDrawLimit = 100;
        plot(1)->AsetaPiirtoMoodi("fast");
        g.FastDrawLimit = limit;
        windowAt(1)->parentWidget()->move(30, 45);

        const float corners[][2] = {{1000, 1000}, {6000, 1200}, {5000, 7000}, {1500, 6000}};
        for (int slot : {1, 3}) {
            PopulationRecord& p = g.PopulationTable[slot];
            p.InUse = true;
            p.Name = slot == 1 ? "Poly-1" : "Lymphs: CD4 #1";
            p.Type = "Polygon";
            p.AxisX = slot == 1 ? 1 : 3;
            p.AxisY = 2;
            p.Created = static_cast<int16_t>(slot == 1 ? 1 : 2);
            p.Corners = 4;
            for (int j = 1; j <= 4; ++j) {
                p.CornerX[j] = corners[j - 1][0] + 0.5f * slot;
                p.CornerY[j] = corners[j - 1][1];
            }
            windowAt(p.Created)->CheckPopulation(slot);
        }
        g.PopulationTable[3].ColorRed = 12;
        g.PopulationTable[3].Transparent = true;
        PopulationRecord& d = g.PopulationTable[17];
        d.InUse = true;
        d.Name = "Poly-1 or not Poly-1";
        d.ColorBlue = 99;
        RecomputeAllPopulations();
        plot(1)->NaytaPopulaatio(3);
        main->PiirraKaikki();
    }

    std::string saveSheet(const std::string& path, const char* mode = "Sheet") {
        ScriptedDialogs dlg;
        dlg.expectSaveFile(q(path), "Save analysis file");
        main->TalletaNakyma(mode);
        dlg.finish();
        return readAll(path);
    }

    void loadSheet(const std::string& path) {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(q(path), "Open analysis file");
        main->FileOpenView_Click();
        dlg.finish();
    }

    TempFolder programDir, appDataDir, dataDir, sheetDir;
    std::unique_ptr<PaaIkkuna> main;
    QStringList written;
    int writesWhileLoading = 0;
};

}  // namespace qv::test
