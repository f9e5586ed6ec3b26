// The file information window: its reactions on the shown file, the plots
// and the populations, global values, and its settings lines read back over
// another workspace.
#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/FileInfo.h"
#include "app/model/CompensationGridModel.h"
#include "app/model/PopulationRecompute.h"
#include "core/SharedState.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"

namespace qv {
namespace {

using test::MakeFile;
using test::ParamSpec;
using test::PutFile;
using test::PutPolygon;
using test::ScriptedDialogs;

class CountingServices : public test::StubMainServices {
public:
    void PiirraKaikki() override { ++redraws; }
    int redraws = 0;
};

constexpr int GateSlot = 1;
constexpr int WindowId = 3;

// Two events on linear axes of range 10000 (a value is its own plot-space
// x). The gate takes x below 5000: event 1 (x 4000) is in, event 2 (x 6000)
// is out until compensation subtracts half of its parameter 2 (4000).
FileRecord shownFile() {
    FileRecord f = MakeFile({{"FSC", 10000}, {"SSC", 10000}, {"FL1", 10000}},
                            {{4000, 100, 7}, {6000, 4000, 8}}, "shown.fcs");
    f.CompensationMatrix.resize(3, 3);
    f.CompensationMatrix(2, 1) = 0.5f;
    f.Comment = "x";
    return f;
}

FileRecord otherFile() {
    FileRecord f = MakeFile({{"a", 10000}, {"b", 10000}}, {{1000, 1000}}, "other.fcs");
    f.CompensationMatrix.resize(2, 2);
    return f;
}

class FileInfoWindow : public ::testing::Test {
public:  // the reaction table's functions reach the fixture through a reference
    void SetUp() override {
        resetSharedState();
        setMainServices(&services);
        PutFile(1, shownFile());
        PutFile(2, otherFile());
        PutPolygon(GateSlot, 1, 2, {{0, 0}, {5000, 0}, {5000, 10000}, {0, 10000}});
        RecomputeAllPopulations();
        g.WindowRegistry[WindowId].InUse = true;
        g.WindowRegistry[WindowId].FileIndex = 1;
        window = std::make_unique<FileInfo>();
        window->AsetaLista(WindowId, false);
        services.redraws = 0;
    }
    void TearDown() override {
        window.reset();
        setMainServices(nullptr);
        resetSharedState();
    }

    FileRecord& file() { return g.FileTable[1]; }
    // What the compensation grid shows, as the user sees it: the window is
    // shown first, so its view is there.
    QAbstractItemModel* shownGrid() {
        if (!window->isVisible()) window->show();
        return window->grid() ? window->grid()->model() : nullptr;
    }
    QString gridCell(int row, int column) {
        QAbstractItemModel* m = shownGrid();
        return m ? m->index(row, column).data().toString() : QStringLiteral("<no grid>");
    }
    bool inGate(int slot, int e) { return g.FileTable[static_cast<size_t>(slot)].Membership(e, GateSlot) == 1; }

    CountingServices services;
    std::unique_ptr<FileInfo> window;
};

TEST_F(FileInfoWindow, ShowsTheFileOfTheWindow) {
    EXPECT_EQ(window->shownFileSlot(), 1);
    ASSERT_EQ(window->factsList()->count(), 4);
    EXPECT_EQ(window->factsList()->item(0)->text(), "Name: shown.fcs");
    EXPECT_EQ(window->eventsBox()->text(), "2");
    ASSERT_EQ(window->parameterList()->count(), 3);
    EXPECT_EQ(window->parameterList()->item(1)->text(), "SSC");
    ASSERT_NE(shownGrid(), nullptr);
    EXPECT_EQ(shownGrid()->rowCount(), 4);
    EXPECT_EQ(shownGrid()->columnCount(), 4);
    EXPECT_EQ(gridCell(0, 2), "SSC");
    EXPECT_EQ(gridCell(2, 0), "SSC");
    EXPECT_EQ(gridCell(2, 1), "50");
    EXPECT_FALSE(window->compensateBox()->isChecked());

    // A window without a file shows the empty facts.
    g.WindowRegistry[WindowId].FileIndex = 0;
    window->AsetaLista(WindowId, false);
    EXPECT_EQ(window->factsList()->count(), 3);
    EXPECT_EQ(window->eventsBox()->text(), "0");
    EXPECT_EQ(window->parameterList()->count(), 0);
    EXPECT_EQ(shownGrid()->rowCount(), 1);
    EXPECT_EQ(shownGrid()->columnCount(), 1);
}

// Every reaction: what it does to the record, whether the populations
// follow and how often every window is redrawn.
TEST_F(FileInfoWindow, EachReactionChangesTheRecordAndThePlots) {
    struct Case {
        const char* name;
        std::function<void(FileInfoWindow&, ScriptedDialogs&)> act;
        std::function<void(FileInfoWindow&)> check;
        int redraws;
    };
    const std::vector<Case> cases = {
        {"compensate ticked",
         [](FileInfoWindow& t, ScriptedDialogs&) { t.window->compensateBox()->setChecked(true); },
         [](FileInfoWindow& t) {
             EXPECT_TRUE(t.file().CompensationOn);
             EXPECT_EQ(t.file().WorkingData(2, 1), 4000.0f);
             EXPECT_TRUE(t.inGate(1, 2));
         },
         1},
        {"log mark",
         [](FileInfoWindow& t, ScriptedDialogs&) { t.window->parameterList()->item(0)->setCheckState(Qt::Checked); },
         [](FileInfoWindow& t) {
             EXPECT_TRUE(t.file().Parameters[1].IsLog);
             EXPECT_FALSE(t.inGate(1, 1));  // 4000 lies high on a log axis
         },
         1},
        {"rename",
         [](FileInfoWindow& t, ScriptedDialogs& d) {
             d.expectInput("Give a new name for parameter", "Rename the parameter", QString("CD3"));
             t.window->renameParameter(1);
             EXPECT_EQ(d.shown().back().defaultText, "SSC");
         },
         [](FileInfoWindow& t) {
             EXPECT_EQ(t.file().Parameters[2].Name, "CD3");
             EXPECT_EQ(t.window->parameterList()->item(1)->text(), "CD3");
             EXPECT_EQ(t.gridCell(0, 2), "CD3");
         },
         1},
        {"rename cancelled",
         [](FileInfoWindow& t, ScriptedDialogs& d) {
             d.expectInput("Give a new name for parameter", "Rename the parameter", std::nullopt);
             t.window->renameParameter(1);
         },
         [](FileInfoWindow& t) { EXPECT_EQ(t.file().Parameters[2].Name, "SSC"); }, 0},
        {"grid edit",
         [](FileInfoWindow& t, ScriptedDialogs& d) {
             t.window->compensateBox()->setChecked(true);
             t.services.redraws = 0;
             d.expectInput("Give a new value for compensation", "New compensation value", QString("25"));
             t.window->editCompensationCell(2, 1);
             EXPECT_EQ(d.shown().back().defaultText, "50");
         },
         [](FileInfoWindow& t) {
             EXPECT_EQ(t.file().CompensationMatrix(2, 1), 0.25f);
             EXPECT_EQ(t.file().WorkingData(2, 1), 5000.0f);
             EXPECT_FALSE(t.inGate(1, 2));
             EXPECT_EQ(t.gridCell(2, 1), "25");
         },
         1},
        {"grid answer that is no number",
         [](FileInfoWindow& t, ScriptedDialogs& d) {
             d.expectInput("Give a new value for compensation", "New compensation value", QString("much"));
             d.expectMessage("\"much\" is not a compensation value. Give a percentage between -3.4E+38 and 3.4E+38.",
                             "New compensation value", MsgButtons::Ok, MsgAnswer::Ok);
             t.window->editCompensationCell(2, 1);
         },
         [](FileInfoWindow& t) { EXPECT_EQ(t.file().CompensationMatrix(2, 1), 0.5f); }, 0},
        {"grid header cell", [](FileInfoWindow& t, ScriptedDialogs&) { t.window->editCompensationCell(0, 1); },
         [](FileInfoWindow&) {}, 0},
        {"events lowered",
         [](FileInfoWindow& t, ScriptedDialogs& d) {
             d.expectInput("Give the number of events which will be available\r1-2", "Number of events",
                           QString("1"));
             QTest::mouseClick(t.window->eventsBox(), Qt::LeftButton);
         },
         [](FileInfoWindow& t) {
             EXPECT_EQ(t.file().EventCount, 1);
             EXPECT_EQ(t.window->eventsBox()->text(), "1");
         },
         1},
        {"events refused",
         [](FileInfoWindow& t, ScriptedDialogs& d) {
             d.expectInput("Give the number of events which will be available\r1-2", "Number of events",
                           QString("0"));
             t.window->askEventsInUse();
         },
         [](FileInfoWindow& t) { EXPECT_EQ(t.file().EventCount, 2); }, 1},
        {"delete",
         [](FileInfoWindow& t, ScriptedDialogs& d) {
             t.window->tabs()->setCurrentIndex(1);
             t.window->parameterList()->setCurrentRow(0);
             d.expectMessage("Are you sure you want to delete parameter\rFSC", "Delete parameter",
                             MsgButtons::OkCancel, MsgAnswer::Ok);
             QTest::keyClick(t.window->parameterList(), Qt::Key_Delete);
         },
         [](FileInfoWindow& t) {
             EXPECT_EQ(t.file().ParameterCount, 2);
             EXPECT_EQ(t.file().Parameters[1].Name, "SSC");
             EXPECT_EQ(t.file().WorkingData(2, 1), 4000.0f);
             EXPECT_EQ(t.file().CompensationMatrix(1, 1), 0.0f);  // (2, 1) went with parameter 1
             EXPECT_EQ(t.window->parameterList()->count(), 2);
             // The gate now reads SSC on its first axis: both events below 5000.
             EXPECT_TRUE(t.inGate(1, 2));
         },
         1},
        {"delete cancelled",
         [](FileInfoWindow& t, ScriptedDialogs& d) {
             t.window->tabs()->setCurrentIndex(1);
             t.window->parameterList()->setCurrentRow(0);
             d.expectAnyMessage(MsgAnswer::Cancel);
             t.window->deleteSelectedParameter();
         },
         [](FileInfoWindow& t) { EXPECT_EQ(t.file().ParameterCount, 3); }, 0},
        {"delete outside the parameters tab",
         [](FileInfoWindow& t, ScriptedDialogs&) {
             t.window->parameterList()->setCurrentRow(0);
             t.window->deleteSelectedParameter();
         },
         [](FileInfoWindow& t) { EXPECT_EQ(t.file().ParameterCount, 3); }, 0},
        {"global values ticked",
         [](FileInfoWindow& t, ScriptedDialogs&) { t.window->globalBox()->setChecked(true); },
         [](FileInfoWindow&) {
             EXPECT_TRUE(g.GlobalParameterValues);
             EXPECT_EQ(g.FileTable[2].Parameters[1].Name, "FSC");
             EXPECT_EQ(g.FileTable[2].Parameters[2].Name, "SSC");
             EXPECT_EQ(g.FileTable[2].CompensationMatrix(2, 1), 0.5f);
             EXPECT_FALSE(g.FileTable[2].CompensationOn);
         },
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        {
            ScriptedDialogs dialogs;
            c.act(*this, dialogs);
        }
        c.check(*this);
        EXPECT_EQ(services.redraws, c.redraws);
        TearDown();
    }
}

TEST_F(FileInfoWindow, EditsWithoutALoadedFileDoNothing) {
    ScriptedDialogs dialogs;  // no dialog may come
    g.FileTable[1] = FileRecord{};  // released by the main window
    window->tabs()->setCurrentIndex(1);
    window->parameterList()->setCurrentRow(0);
    window->deleteSelectedParameter();
    window->renameParameter(0);
    window->askEventsInUse();
    window->editCompensationCell(1, 2);
    window->compensateBox()->setChecked(true);
    window->parameterList()->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(services.redraws, 0);
    EXPECT_FALSE(g.FileTable[1].Loaded);
}

TEST_F(FileInfoWindow, GlobalValuesFollowEveryEditAndEveryLoad) {
    window->globalBox()->setChecked(true);
    {
        ScriptedDialogs dialogs;
        dialogs.expectInput("Give a new name for parameter", "Rename the parameter", QString("CD4"));
        window->renameParameter(0);
    }
    EXPECT_EQ(g.FileTable[2].Parameters[1].Name, "CD4");
    window->compensateBox()->setChecked(true);
    EXPECT_TRUE(g.FileTable[2].CompensationOn);
    EXPECT_EQ(g.FileTable[2].WorkingData(1, 1), 500.0f);

    // A file put into a window takes the values too.
    PutFile(3, otherFile());
    g.WindowRegistry[4].InUse = true;
    g.WindowRegistry[4].FileIndex = 3;
    window->AsetaLista(4, true);
    EXPECT_EQ(g.FileTable[3].Parameters[1].Name, "CD4");
    EXPECT_TRUE(g.FileTable[3].CompensationOn);
    EXPECT_EQ(g.FileTable[3].CompensationMatrix(2, 1), 0.5f);  // the grid the window showed

    // Unticking changes no file.
    window->globalBox()->setChecked(false);
    EXPECT_FALSE(g.GlobalParameterValues);
    EXPECT_EQ(g.FileTable[2].Parameters[1].Name, "CD4");
}

// The settings block written with global values on, read back after the
// files were loaded again from disk and while the window still showed a
// workspace with other global values.
TEST_F(FileInfoWindow, GlobalValuesRoundTripThroughASheet) {
    file().Parameters[2].IsLog = true;
    window->AsetaLista(WindowId, false);
    window->globalBox()->setChecked(true);
    {
        ScriptedDialogs dialogs;
        dialogs.expectInput("Give a new name for parameter", "Rename the parameter", QString("CD8"));
        window->renameParameter(0);
    }
    window->compensateBox()->setChecked(true);
    const std::vector<std::string> lines = window->SaveInfo();
    ASSERT_EQ(lines[0], std::to_string(lines.size() - 1));
    EXPECT_EQ(lines[3], "file:1");

    // Another workspace: other names and compensation shown, global on.
    resetSharedState();
    PutFile(1, otherFile());
    g.FileTable[1].Parameters[1].Name = "OLD";
    g.WindowRegistry[WindowId].InUse = true;
    g.WindowRegistry[WindowId].FileIndex = 1;
    window->AsetaLista(WindowId, false);
    window->globalBox()->setChecked(false);
    window->globalBox()->setChecked(true);
    window->compensateBox()->setChecked(false);
    ASSERT_EQ(window->parameterList()->item(0)->text(), "OLD");

    // The sheet: its files are loaded fresh, then its block is read.
    resetSharedState();
    PutFile(1, shownFile());
    PutFile(2, otherFile());
    PutPolygon(GateSlot, 1, 2, {{0, 0}, {5000, 0}, {5000, 10000}, {0, 10000}});
    g.SheetLoading = true;
    for (size_t i = 1; i < lines.size(); ++i) window->LoadInfo("fileinfo." + lines[i]);
    g.SheetLoading = false;
    window->FileInfonAsetusLatauksenJalkeen();

    for (int slot : {1, 2}) {
        SCOPED_TRACE(slot);
        const FileRecord& f = g.FileTable[static_cast<size_t>(slot)];
        EXPECT_EQ(f.Parameters[1].Name, "CD8");
        EXPECT_EQ(f.Parameters[2].Name, "SSC");
        EXPECT_TRUE(f.Parameters[2].IsLog);
        EXPECT_TRUE(f.CompensationOn);
        EXPECT_EQ(f.CompensationMatrix(2, 1), 0.5f);
    }
    EXPECT_EQ(g.FileTable[1].WorkingData(2, 1), 4000.0f);  // applied to the data
    EXPECT_TRUE(inGate(1, 2));
    EXPECT_TRUE(g.GlobalParameterValues);
    EXPECT_TRUE(window->globalBox()->isChecked());
    EXPECT_TRUE(window->compensateBox()->isChecked());
    EXPECT_EQ(window->parameterList()->item(0)->text(), "CD8");
}

TEST_F(FileInfoWindow, CompensationRestoredWithoutGlobalValuesReachesTheData) {
    resetSharedState();
    PutFile(1, shownFile());
    PutPolygon(GateSlot, 1, 2, {{0, 0}, {5000, 0}, {5000, 10000}, {0, 10000}});
    g.SheetLoading = true;
    for (const char* line : {"fileinfo.file:1", "fileinfo.compensation.enabled:1", "fileinfo.events.show:7"})
        window->LoadInfo(line);
    // 7 events of the 2 read cannot be in use: the box shows those in use.
    EXPECT_EQ(window->eventsBox()->text(), "2");
    EXPECT_EQ(file().EventCount, 2);
    g.SheetLoading = false;
    window->FileInfonAsetusLatauksenJalkeen();
    EXPECT_TRUE(file().CompensationOn);
    EXPECT_EQ(file().WorkingData(2, 1), 4000.0f);
    EXPECT_TRUE(inGate(1, 2));
    EXPECT_EQ(window->eventsBox()->text(), "2");  // the refill shows the file's count again
}

// Scrolled to the far corner of a grid too large for the window, the
// parameter names still stand above every column and beside every row
// shown, and the names are not among the scrolled cells.
TEST_F(FileInfoWindow, TheGridNamesStayInPlaceWhileItScrolls) {
    constexpr int P = 40;
    std::vector<ParamSpec> params;
    for (int p = 1; p <= P; ++p) params.push_back({"P" + std::to_string(p) + "-A", 1024});
    FileRecord wide = MakeFile(params, {std::vector<float>(P, 1.0f)}, "wide.fcs");
    wide.CompensationMatrix.resize(P, P);
    wide.CompensationMatrix(P, P - 1) = 0.25f;
    PutFile(1, std::move(wide));
    window->AsetaLista(WindowId, false);
    shownGrid();
    window->tabs()->setCurrentIndex(2);
    QTableView* grid = window->grid();
    ASSERT_NE(grid, nullptr);
    grid->resize(300, 200);
    QCoreApplication::processEvents();
    grid->scrollTo(grid->model()->index(P, P));
    QCoreApplication::processEvents();

    EXPECT_TRUE(grid->isRowHidden(0));
    EXPECT_TRUE(grid->isColumnHidden(0));
    QHeaderView* columns = grid->horizontalHeader();
    QHeaderView* rows = grid->verticalHeader();
    ASSERT_TRUE(columns->isVisible());
    ASSERT_TRUE(rows->isVisible());
    // The headers sit outside the scrolled area, above it and left of it.
    EXPECT_LE(columns->geometry().bottom(), grid->viewport()->geometry().top());
    EXPECT_LE(rows->geometry().right(), grid->viewport()->geometry().left());

    struct Edge {
        const char* name;
        QHeaderView* header;
        int shownFirst;  // the model section at the scrolled area's first pixel
    };
    for (const Edge& edge : {Edge{"columns", columns, grid->columnAt(0)}, Edge{"rows", rows, grid->rowAt(0)}}) {
        SCOPED_TRACE(edge.name);
        EXPECT_GT(edge.shownFirst, 1) << "the grid did not scroll";
        for (const int section : {edge.shownFirst, P}) {
            EXPECT_EQ(edge.header->logicalIndexAt(edge.header->sectionViewportPosition(section)), section);
            const QString name = QString("P%1-A").arg(section);
            EXPECT_EQ(grid->model()->headerData(section, edge.header->orientation()).toString(), name);
            EXPECT_EQ(grid->model()->headerData(section, edge.header->orientation(), Qt::ToolTipRole).toString(), name);
        }
    }
    EXPECT_EQ(gridCell(P, P - 1), "25");

    // A file shown afterwards keeps its names out of the scrolled cells too.
    g.WindowRegistry[WindowId].FileIndex = 2;
    window->AsetaLista(WindowId, false);
    EXPECT_TRUE(grid->isRowHidden(0));
    EXPECT_TRUE(grid->isColumnHidden(0));
    EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), "b");
}

// A value a coefficient cannot hold is refused with a message; the cell,
// the matrix, the working data and the plots stay as they were.
TEST_F(FileInfoWindow, TheGridRefusesValuesACoefficientCannotHold) {
    window->compensateBox()->setChecked(true);
    services.redraws = 0;
    for (const char* typed : {"1e40", "-1e40", "abc", "nan", "inf", "-inf"}) {
        SCOPED_TRACE(typed);
        {
            ScriptedDialogs dialogs;
            dialogs.expectInput("Give a new value for compensation", "New compensation value", QString(typed));
            dialogs.expectMessage(QString("\"%1\" is not a compensation value. Give a percentage between -3.4E+38 "
                                          "and 3.4E+38.")
                                      .arg(typed),
                                  "New compensation value", MsgButtons::Ok, MsgAnswer::Ok);
            window->editCompensationCell(2, 1);
        }
        EXPECT_EQ(gridCell(2, 1), "50");
        EXPECT_EQ(file().CompensationMatrix(2, 1), 0.5f);
        EXPECT_EQ(file().WorkingData(2, 1), 4000.0f);
        EXPECT_TRUE(inGate(1, 2));
        EXPECT_EQ(services.redraws, 0);
    }
}

// A name from the file system is shown as the file system encodes it (here
// UTF-8), not byte by byte as Latin-1; the file's own texts stay 8-bit.
TEST_F(FileInfoWindow, ANonAsciiFileNameIsShownAsTheFileSystemEncodesIt) {
    file().FileName = "m\xC3\xA9sure.txt";
    file().Comment = "caf\xE9";  // Latin-1 text from the file itself
    window->AsetaLista(WindowId, false);
    ASSERT_EQ(window->factsList()->count(), 4);
    EXPECT_EQ(window->factsList()->item(0)->text(), QString::fromUtf8("Name: m\u00E9sure.txt"));
    EXPECT_EQ(window->factsList()->item(3)->text(), QString::fromUtf8("Comments: caf\u00E9"));
    EXPECT_EQ(file().FileName, "m\xC3\xA9sure.txt");  // the bytes are kept
}

// The events box line of a sheet puts that many events in use, and the box
// shows the number in use, before and after the refill at the end of the
// sheet.
TEST_F(FileInfoWindow, TheEventsLineOfASheetIsInForce) {
    g.SheetLoading = true;
    for (const char* line : {"fileinfo.file:1", "fileinfo.events.show:1"}) window->LoadInfo(line);
    EXPECT_EQ(file().EventCount, 1);
    EXPECT_EQ(file().EventsLoaded, 2);
    EXPECT_EQ(window->eventsBox()->text(), "1");
    g.SheetLoading = false;
    window->FileInfonAsetusLatauksenJalkeen();
    EXPECT_EQ(file().EventCount, 1);
    EXPECT_EQ(window->eventsBox()->text(), "1");
    const std::vector<std::string> lines = window->SaveInfo();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "events.show:1"), lines.end());
}

}  // namespace
}  // namespace qv
