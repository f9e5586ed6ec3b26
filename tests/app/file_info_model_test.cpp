// The file information window's edits and settings lines, without a window.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/model/CompensationGridModel.h"
#include "app/model/FileInfoModel.h"
#include "app/model/ToolTipText.h"
#include "core/SharedState.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

using test::MakeFile;

class FileInfoModel : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }
};

// Three parameters; event e holds e * 10 + p in parameter p.
FileRecord threeParameters(int events = 4) {
    std::vector<std::vector<float>> rows;
    for (int e = 1; e <= events; ++e) rows.push_back({e * 10.0f + 1, e * 10.0f + 2, e * 10.0f + 3});
    FileRecord f = MakeFile({{"A", 1024}, {"B", 1024, true}, {"C", 262144}}, rows, "abc.fcs");
    f.CompensationMatrix.resize(3, 3);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j)
            if (i != j) f.CompensationMatrix(i, j) = static_cast<float>(i * 10 + j) / 1000.0f;
    return f;
}

TEST_F(FileInfoModel, FactsShowTheCommentOnOneLine) {
    FileRecord f = threeParameters();
    f.BeginTime = "10:00";
    f.EndTime = "10:05";
    f.Comment = "a\rb\nc";
    EXPECT_EQ(FileFactLines(f), (std::vector<std::string>{"Name: abc.fcs", "Begin time: 10:00", "End time: 10:05",
                                                          "Comments: a, b\nc"}));
    f.Comment.clear();
    EXPECT_EQ(FileFactLines(f).size(), 3u);
    EXPECT_EQ(FileFactLines(FileRecord{}),
              (std::vector<std::string>{"Name: ", "Begin time: ", "End time: "}));
}

TEST_F(FileInfoModel, GridTextsAndEditDefaults) {
    EXPECT_EQ(CompensationCellText(0.153f), "15.3");
    EXPECT_EQ(CompensationCellText(0.0f), "0");
    EXPECT_EQ(CompensationCellText(-0.02f), "-2");
    const std::vector<std::pair<std::string, std::string>> defaults = {
        {"15.3", "15.3"}, {"-2.555", "-2.56"}, {"0", "0"}, {"12.349", "12.34"}, {"0.29", "0.29"}, {"x", "0"}};
    for (const auto& [cell, offered] : defaults) EXPECT_EQ(CompensationEditDefault(cell), offered) << cell;
    EXPECT_EQ(CompensationFromPercent("15"), 0.15f);
    EXPECT_EQ(CompensationFromPercent(" 2,5 "), 0.025f);
    EXPECT_EQ(CompensationFromPercent("abc"), std::nullopt);
    EXPECT_EQ(CompensationFromPercent(""), std::nullopt);
}

// A tooltip shows the user's text as written: what a tooltip would take for
// markup is escaped; a cut text gets one, a text that fits none.
TEST(ToolTipText, ShowsTheTextAsWrittenAndOnlyWhereItIsCut) {
    const QFontMetrics metrics{QFont()};
    const struct {
        QString text;
        int room;  // pixels beyond the text's own width
        QString tooltip;
    } cases[] = {
        {"CD4 & CD8", -1, "CD4 & CD8"},
        {"CD4 & CD8", 0, ""},
        {"<b>gate</b>", -1, "<p style='white-space:pre'>&lt;b&gt;gate&lt;/b&gt;</p>"},
        {"<img src=/dev/zero>", -1, "<p style='white-space:pre'>&lt;img src=/dev/zero&gt;</p>"},
        {"a < b", -1, "a < b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(CutTextToolTip(c.text, metrics, metrics.horizontalAdvance(c.text) + c.room), c.tooltip);
        if (!c.tooltip.isEmpty()) {
            EXPECT_EQ(PlainToolTip(c.text), c.tooltip);
        }
    }
}

// The grid holds its own copy of the file's names and coefficients: a later
// change of the file shows only after the next fill, a typed text is what
// the cell shows and what the global values read, and a refill forgets it.
TEST_F(FileInfoModel, TheGridModelShowsItsCopyOfTheFile) {
    FileRecord f = threeParameters();
    CompensationGridModel grid;
    EXPECT_FALSE(grid.isFilled());
    EXPECT_EQ(grid.rowCount(), 0);

    grid.fill(&f);
    ASSERT_EQ(grid.rowCount(), 4);
    ASSERT_EQ(grid.columnCount(), 4);
    const std::vector<std::tuple<int, int, const char*>> cells = {
        {0, 0, ""}, {0, 2, "B"}, {3, 0, "C"}, {2, 1, "2.1"}, {1, 2, "1.2"}, {3, 3, "0"}, {4, 1, ""}, {1, -1, ""}};
    for (const auto& [row, column, text] : cells) {
        EXPECT_EQ(grid.cellText(row, column), QString(text)) << row << "," << column;
        if (row <= 3 && column >= 0) {
            EXPECT_EQ(grid.index(row, column).data().toString(), QString(text));
            EXPECT_EQ(grid.index(row, column).data(Qt::ToolTipRole).toString(), QString(text));
        }
    }

    // Row 0 and column 0 are also the views' header sections.
    for (const auto& [section, orientation, text] : std::vector<std::tuple<int, Qt::Orientation, const char*>>{
             {2, Qt::Horizontal, "B"}, {3, Qt::Vertical, "C"}, {0, Qt::Horizontal, ""}, {4, Qt::Vertical, ""}}) {
        EXPECT_EQ(grid.headerData(section, orientation).toString(), QString(text)) << section;
        EXPECT_EQ(grid.headerData(section, orientation, Qt::ToolTipRole).toString(), QString(text)) << section;
    }

    f.CompensationMatrix(2, 1) = 0.5f;
    f.Parameters[2].Name = "renamed";
    EXPECT_EQ(grid.cellText(2, 1), "2.1");
    EXPECT_EQ(grid.cellText(0, 2), "B");

    grid.setTypedText(2, 1, "33.3333333333");
    grid.setTypedText(0, 1, "not a value cell");
    EXPECT_EQ(grid.cellText(2, 1), "33.3333333333");
    EXPECT_EQ(grid.cellText(0, 1), "A");
    const auto m = grid.coefficients();
    ASSERT_EQ(m.size(), 3u);
    ASSERT_EQ(m[1].size(), 3u);
    EXPECT_EQ(m[1][0], CompensationFromPercent("33.3333333333"));
    EXPECT_EQ(m[0][1], 0.012f);
    EXPECT_EQ(m[2][2], 0.0f);

    grid.fill(&f);
    EXPECT_EQ(grid.cellText(2, 1), "50");
    EXPECT_EQ(grid.cellText(0, 2), "renamed");

    // A matrix smaller than the parameter list shows zeros beyond it.
    f.CompensationMatrix.resize(2, 2);
    f.CompensationMatrix(1, 2) = 0.25f;
    grid.fill(&f);
    EXPECT_EQ(grid.cellText(1, 2), "25");
    EXPECT_EQ(grid.cellText(3, 1), "0");
    EXPECT_EQ(grid.coefficients()[2][0], 0.0f);

    grid.fill(nullptr);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.columnCount(), 1);
    grid.clear();
    EXPECT_FALSE(grid.isFilled());
    EXPECT_EQ(grid.rowCount(), 0);
    EXPECT_TRUE(grid.coefficients().empty());
}

// A coefficient must stay a finite 32-bit float whose percentage the grid
// can show; anything else would turn the compensated values into infinities.
TEST_F(FileInfoModel, GridValuesOutsideWhatACoefficientHoldsAreRefused) {
    struct Case {
        const char* typed;
        std::optional<float> taken;
    };
    const Case cases[] = {
        {"1e40", std::nullopt},   {"-1e40", std::nullopt}, {"3.5e38", std::nullopt}, {"1e309", std::nullopt},
        {"abc", std::nullopt},    {"nan", std::nullopt},   {"inf", std::nullopt},    {"-inf", std::nullopt},
        {"3.4e38", 3.4e36f},      {"-1e30", -1e28f},       {"1e-50", 0.0f},          {"150", 1.5f},
    };
    for (const Case& c : cases) EXPECT_EQ(CompensationFromPercent(c.typed), c.taken) << c.typed;
    EXPECT_EQ(CompensationCoefficient(1e38), std::nullopt);  // its percentage is no float
    EXPECT_EQ(CompensationCoefficient(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(CompensationCoefficient(0.15), 0.15f);
}

TEST_F(FileInfoModel, EventsInUseAnswers) {
    struct Case {
        const char* answer;
        std::optional<int32_t> taken;
    };
    const Case cases[] = {
        {"2.5", 2}, {"3.5", 4}, {"1e3", 1000}, {"1 000", 1000}, {"120000", 120000}, {"120001", std::nullopt},
        {"0", std::nullopt}, {"-5", std::nullopt}, {"abc", std::nullopt}, {"", std::nullopt},
        {"0.4", std::nullopt}, {"0.6", 1}, {"12abc", 12},
    };
    for (const Case& c : cases) EXPECT_EQ(EventsInUseFromAnswer(c.answer, 120000), c.taken) << c.answer;
}

TEST_F(FileInfoModel, DeletingAParameterKeepsEverythingInLine) {
    for (int deleted = 1; deleted <= 3; ++deleted) {
        SCOPED_TRACE(deleted);
        FileRecord f = threeParameters(5);
        f.EventCount = 3;  // the events beyond those in use go along too
        const FileRecord before = f;
        ASSERT_TRUE(DeleteParameter(f, deleted));
        EXPECT_EQ(f.ParameterCount, 2);
        ASSERT_EQ(f.Parameters.size(), 3u);
        std::vector<int> kept;
        for (int p = 1; p <= 3; ++p)
            if (p != deleted) kept.push_back(p);
        for (int k = 1; k <= 2; ++k) {
            const int old = kept[static_cast<size_t>(k - 1)];
            EXPECT_EQ(f.Parameters[k].Name, before.Parameters[old].Name);
            EXPECT_EQ(f.Parameters[k].IsLog, before.Parameters[old].IsLog);
            for (int e = 1; e <= 5; ++e) {
                EXPECT_EQ(f.PristineData(e, k), before.PristineData(e, old));
                EXPECT_EQ(f.WorkingData(e, k), before.WorkingData(e, old));
            }
            for (int l = 1; l <= 2; ++l)
                EXPECT_EQ(f.CompensationMatrix(k, l), before.CompensationMatrix(old, kept[static_cast<size_t>(l - 1)]));
        }
        EXPECT_EQ(f.PristineData.maxColumn(), 2);
        EXPECT_EQ(f.CompensationMatrix.maxEvent(), 2);
        EXPECT_EQ(f.CompensationMatrix.maxColumn(), 2);
    }
}

TEST_F(FileInfoModel, TheLastParameterAndStrangeNumbersAreNotDeleted) {
    FileRecord f = threeParameters();
    for (int p : {0, 4, -1}) EXPECT_FALSE(DeleteParameter(f, p)) << p;
    ASSERT_TRUE(DeleteParameter(f, 1));
    ASSERT_TRUE(DeleteParameter(f, 2));
    EXPECT_FALSE(DeleteParameter(f, 1));
    EXPECT_EQ(f.ParameterCount, 1);
    EXPECT_EQ(f.Parameters[1].Name, "B");
    EXPECT_EQ(f.PristineData(2, 1), 22.0f);
}

TEST_F(FileInfoModel, ImposedValuesReachEveryLoadedFileUpToItsOwnCount) {
    std::vector<FileRecord> table(4);
    table[1] = threeParameters();
    table[2] = MakeFile({{"X", 1024}}, {{100.0f}}, "one.fcs");
    table[2].CompensationMatrix.resize(1, 1);
    FileRecord four = MakeFile({{"P", 1024}, {"Q", 1024}, {"R", 1024}, {"S", 1024}}, {{100, 200, 300, 400}});
    four.CompensationMatrix.resize(4, 4);
    four.CompensationMatrix(4, 1) = 0.5f;
    table[3] = four;

    ParameterValueSet set;
    set.Parameters = {{"FSC", false}, {"SSC", true}, {"FL1", true}};
    set.CompensationOn = true;
    set.Matrix = {{0.0f, 0.1f, std::nullopt}, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}};
    ImposeParameterValues(set, table, 3);

    EXPECT_EQ(table[1].Parameters[2].Name, "SSC");
    EXPECT_TRUE(table[1].Parameters[3].IsLog);
    EXPECT_EQ(table[1].CompensationMatrix(1, 2), 0.1f);
    EXPECT_EQ(table[1].CompensationMatrix(1, 3), 0.013f);  // a cell without a number keeps the file's
    EXPECT_EQ(table[1].CompensationMatrix(2, 1), 0.0f);
    // Working data follow: parameter 2 loses 10% of parameter 1.
    EXPECT_FLOAT_EQ(table[1].WorkingData(1, 2), 12.0f - 1.1f);

    EXPECT_EQ(table[2].ParameterCount, 1);
    EXPECT_EQ(table[2].Parameters[1].Name, "FSC");
    EXPECT_TRUE(table[2].CompensationOn);

    EXPECT_EQ(table[3].Parameters[3].Name, "FL1");
    EXPECT_EQ(table[3].Parameters[4].Name, "S");              // beyond the set's length
    EXPECT_EQ(table[3].CompensationMatrix(4, 1), 0.5f);       // beyond it as well
    EXPECT_FLOAT_EQ(table[3].WorkingData(1, 1), 100.0f - 0.5f * 400.0f);
}

TEST_F(FileInfoModel, SettingsLinesWithoutAndWithGlobalValues) {
    FileInfoSettings s;
    s.Left = 1500;
    s.Top = 300;
    s.ShownFileSlot = 2;
    s.EventsText = "5000";
    EXPECT_EQ(FileInfoSettingsLines(s, nullptr),
              (std::vector<std::string>{"5", "location.x:1500", "location.y:300", "file:2", "global.enabled:0",
                                        "events.show:5000"}));

    FileRecord f = MakeFile({{"FSC-H", 1024, true}, {"SSC-H", 1024}}, {{1, 2}});
    f.CompensationMatrix.resize(2, 2);
    f.CompensationMatrix(1, 2) = 0.15f;
    s.Global = true;
    s.CompensateTicked = true;
    const std::vector<std::string> lines = FileInfoSettingsLines(s, &f);
    EXPECT_EQ(lines, (std::vector<std::string>{"11", "location.x:1500", "location.y:300", "file:2",
                                               "global.enabled:1", "events.show:5000", "parameter.1.name:FSC-H",
                                               "parameter.1.log:1", "parameter.2.name:SSC-H", "parameter.2.log:0",
                                               "compensation.enabled:1", "compensation.table.1.2:0.15"}));
}

TEST_F(FileInfoModel, ABlockOfTwentyParametersIsNotCapped) {
    std::vector<test::ParamSpec> params;
    for (int p = 1; p <= 20; ++p) params.push_back({"P" + std::to_string(p), 1024});
    FileRecord f = MakeFile(params, {std::vector<float>(20, 1.0f)});
    f.CompensationMatrix.resize(20, 20);
    for (int i = 1; i <= 20; ++i)
        for (int j = 1; j <= 20; ++j)
            if (i != j) f.CompensationMatrix(i, j) = 0.01f;
    FileInfoSettings s;
    s.Global = true;
    const std::vector<std::string> lines = FileInfoSettingsLines(s, &f);
    ASSERT_EQ(lines.size(), 1u + 5 + 40 + 1 + 380);
    EXPECT_EQ(lines[0], "426");
    EXPECT_EQ(lines.back(), "compensation.table.20.19:0.01");
}

// Each line read back into the shown record, with what it asks of the window.
TEST_F(FileInfoModel, SettingLinesReadBack) {
    using Kind = FileInfoSettingRequest::Kind;
    g.FileTable[2] = threeParameters();
    struct Case {
        const char* line;
        Kind kind;
        double number = 0;
        bool flag = false;
    };
    const Case requests[] = {
        {"fileinfo.location.x:1500", Kind::Left, 1500},
        {"fileinfo.location.y:2,5", Kind::Top, 2.5},
        {"fileinfo.location.y:abc", Kind::None},
        {"fileinfo.file:2", Kind::File, 2},
        {"fileinfo.file:3", Kind::None},     // not loaded
        {"fileinfo.file:0", Kind::None},
        {"fileinfo.file:21", Kind::None},    // beyond MaxFiles
        {"fileinfo.file:99999", Kind::None},
        {"fileinfo.global.enabled:1", Kind::Global, 0, true},
        {"fileinfo.global.enabled:0", Kind::Global, 0, false},
        {"fileinfo.global.enabled:true", Kind::None},
        {"fileinfo.events.show:12:30", Kind::EventsInUse},
        {"fileinfo.compensation.enabled:1", Kind::Compensate, 0, true},
        {"fileinfo.visible:1", Kind::None},
        {"fileinfo.unknown.key:1", Kind::None},
        {"no colon here", Kind::None},
    };
    for (const Case& c : requests) {
        SCOPED_TRACE(c.line);
        const FileInfoSettingRequest r = ApplyFileInfoSettingLine(c.line, &g.FileTable[2], g.FileTable, g.MaxFiles);
        EXPECT_EQ(r.kind, c.kind);
        if (c.kind == Kind::Left || c.kind == Kind::Top || c.kind == Kind::File) {
            EXPECT_EQ(r.number, c.number);
        }
        EXPECT_EQ(r.flag, c.flag);
    }

    FileRecord& f = g.FileTable[2];
    const FileRecord before = f;
    for (const char* line : {"fileinfo.parameter.1.name:CD3: FITC", "fileinfo.parameter.2.name:CD4.PE",
                             "fileinfo.parameter.1.log:1", "fileinfo.parameter.2.log:0", "fileinfo.parameter.3.log:x",
                             "fileinfo.parameter.4.name:nope", "fileinfo.parameter.0.name:nope",
                             "fileinfo.compensation.table.1.2:0.15", "fileinfo.compensation.table.3.3:-0.5",
                             "fileinfo.compensation.table.2.4:0.3", "fileinfo.compensation.table.2.1:abc",
                             "fileinfo.compensation.table.3.1:1e37", "fileinfo.compensation.table.3.2:inf",
                             "fileinfo.compensation.enabled:0"})
        EXPECT_EQ(ApplyFileInfoSettingLine(line, &f, g.FileTable, g.MaxFiles).kind == Kind::Compensate,
                  std::string(line).find("enabled") != std::string::npos);
    EXPECT_EQ(f.Parameters[1].Name, "CD3: FITC");  // the value is everything after the first colon
    EXPECT_EQ(f.Parameters[2].Name, "CD4.PE");
    EXPECT_EQ(f.Parameters[3].Name, "C");
    EXPECT_TRUE(f.Parameters[1].IsLog);
    EXPECT_FALSE(f.Parameters[2].IsLog);
    EXPECT_FALSE(f.Parameters[3].IsLog);
    EXPECT_EQ(f.CompensationMatrix(1, 2), 0.15f);
    EXPECT_EQ(f.CompensationMatrix(3, 3), -0.5f);
    EXPECT_EQ(f.CompensationMatrix(2, 1), before.CompensationMatrix(2, 1));
    EXPECT_EQ(f.CompensationMatrix(3, 1), before.CompensationMatrix(3, 1));
    EXPECT_EQ(f.CompensationMatrix(3, 2), before.CompensationMatrix(3, 2));
    EXPECT_FALSE(f.CompensationOn);

    // An empty name line gives the parameter its default name: no parameter
    // is ever left without one.
    ApplyFileInfoSettingLine("fileinfo.parameter.2.name:", &f, g.FileTable, g.MaxFiles);
    EXPECT_EQ(f.Parameters[2].Name, "P2");

    // Without a shown record the file lines change nothing and ask nothing.
    EXPECT_EQ(ApplyFileInfoSettingLine("fileinfo.compensation.enabled:1", nullptr, g.FileTable, g.MaxFiles).kind,
              Kind::None);
}

// The events box line of a sheet puts that many events in use, read like an
// answer of the box; a number the box would refuse leaves the file as it is.
TEST_F(FileInfoModel, TheEventsLineOfASheetSetsTheEventsInUse) {
    using Kind = FileInfoSettingRequest::Kind;
    struct Case {
        const char* line;
        int32_t inUse;  // of 8 read, 8 in use before the line
    };
    const Case cases[] = {
        {"fileinfo.events.show:5", 5},  {"fileinfo.events.show:8", 8},    {"fileinfo.events.show:1", 1},
        {"fileinfo.events.show:2.5", 2}, {"fileinfo.events.show: 6 ", 6}, {"fileinfo.events.show:9", 8},
        {"fileinfo.events.show:0", 8},  {"fileinfo.events.show:-3", 8},   {"fileinfo.events.show:abc", 8},
        {"fileinfo.events.show:", 8},   {"fileinfo.events.show:1e30", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        g.FileTable[2] = threeParameters(8);
        const FileInfoSettingRequest r = ApplyFileInfoSettingLine(c.line, &g.FileTable[2], g.FileTable, g.MaxFiles);
        EXPECT_EQ(r.kind, Kind::EventsInUse);
        EXPECT_EQ(g.FileTable[2].EventCount, c.inUse);
        EXPECT_EQ(g.FileTable[2].EventsLoaded, 8);
    }

    // Events taken back into use get the file's compensated values.
    FileRecord& f = g.FileTable[2];
    f = threeParameters(8);
    f.EventCount = 3;
    f.CompensationOn = true;
    f.WorkingData(6, 2) = -1.0f;  // stale: not in use
    ApplyFileInfoSettingLine("fileinfo.events.show:7", &f, g.FileTable, g.MaxFiles);
    EXPECT_EQ(f.EventCount, 7);
    EXPECT_NE(f.WorkingData(6, 2), -1.0f);
    EXPECT_NE(f.WorkingData(6, 2), f.PristineData(6, 2));  // compensated
}

}  // namespace
}  // namespace qv
