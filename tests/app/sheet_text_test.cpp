// The analysis sheet's text: the writer's lines and order, and the reader's
// taking apart of sound, odd and damaged sheets. No window involved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/model/SheetReader.h"
#include "app/model/SheetWriter.h"
#include "core/SharedState.h"

namespace qv::test {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "a line without CR LF at " << start;
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

struct SheetTextTest : ::testing::Test {
    void SetUp() override {
        resetSharedState();
        content.versionText = "1.2.1";
        content.date = "10.12.2026";
        content.populations = &g.PopulationTable;
    }
    SheetContent content;
};

TEST_F(SheetTextTest, EmptyWorkspaceWritesEveryLineOfTheEmptySheet) {
    const std::string text = SheetText(content);
    const std::string expected =
        "# Quorvane Analysis sheet\r\n"
        "\r\n"
        "general.version:1.2.1\r\n"
        "general.date:10.12.2026\r\n"
        "\r\n"
        "# Populations\r\n"
        "general.maxnumberofpopulations:16\r\n"
        "\r\n"
        "# Definitions\r\n"
        "general.maxnumberofdefinitions:16\r\n"
        "\r\n"
        "# Files\r\n"
        "\r\n"
        "# Windows\r\n"
        "\r\n"
        "# Print view\r\n"
        "printview.visible:0\r\n"
        "\r\n"
        "# File info\r\n"
        "fileinfo.visible:0\r\n"
        "\r\n";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(linesOf(text).size(), 21u);

    // The print page's own lines follow its visible line in every mode; a
    // package adds its style line.
    content.printViewInfo = {"2", "scale:1", "window.3.x:120"};
    content.mode = SheetMode::Package;
    const std::vector<std::string> lines = linesOf(SheetText(content));
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[4], "general.style:package");
    EXPECT_EQ(lines[17], "printview.visible:0");
    EXPECT_EQ(lines[18], "printview.scale:1");
    EXPECT_EQ(lines[19], "printview.window.3.x:120");
}

TEST_F(SheetTextTest, PopulationWithFiftyCornersWritesItsLinesInOrder) {
    PopulationRecord& p = g.PopulationTable[5];
    p.InUse = true;
    p.Name = "Poly-5: #1";
    p.Type = "Polygon";
    p.AxisX = 3;
    p.AxisY = 4;
    p.ColorRed = 120;
    p.ColorGreen = 0;
    p.ColorBlue = 255;
    p.Corners = 50;
    p.Created = 2;
    p.TitleX = -15;
    p.TitleY = 40;
    p.Transparent = true;
    for (int j = 1; j <= 50; ++j) {
        p.CornerX[j] = 100.5f * j;
        p.CornerY[j] = 10000.0f - 7.25f * j;
    }
    g.PopulationTable[2].InUse = true;  // slot gaps keep their numbers
    const std::vector<std::string> lines = linesOf(SheetText(content));
    const auto first = std::find(lines.begin(), lines.end(), "population.5.name:Poly-5: #1");
    ASSERT_NE(first, lines.end());
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("population.5.", 0) == 0; }),
              112);
    const std::vector<std::string> head(first, first + 14);
    EXPECT_EQ(head, (std::vector<std::string>{
                        "population.5.name:Poly-5: #1", "population.5.type:Polygon", "population.5.axis.x:3",
                        "population.5.axis.y:4", "population.5.color.red:120", "population.5.color.green:0",
                        "population.5.color.blue:255", "population.5.corners:50", "population.5.created:2",
                        "population.5.title.x:-15", "population.5.title.y:40", "population.5.transparent:1",
                        "population.5.corner.1.x:100.5", "population.5.corner.1.y:9992.75"}));
    EXPECT_EQ(*(first + 110), "population.5.corner.50.x:5025");
    EXPECT_EQ(*(first + 111), "population.5.corner.50.y:9637.5");
    EXPECT_EQ(*(first - 12), "population.2.name:");  // slot 2 comes first, with its own number
}

TEST_F(SheetTextTest, DefinitionsFilesAndWindowsAreFramedByTheirSlots) {
    PopulationRecord& d = g.PopulationTable[18];
    d.InUse = true;
    d.Name = "Poly-1 and not Poly-2";
    d.Transparent = false;
    content.files = {{3, "/data/Run #3/a.fcs", "a.fcs", 1234}};
    content.windows = {{2, "DotPlot", {"2", "location.x:15", "file:3"}}, {7, "ClipBook", {"1", ""}}};
    content.fileInfoInfo = {"1", "global:0"};  // not written while hidden
    std::vector<std::string> lines = linesOf(SheetText(content));
    const std::vector<std::string> expectSheet = {
        "definition.18.name:Poly-1 and not Poly-2", "definition.18.color.red:190", "definition.18.color.green:190",
        "definition.18.color.blue:190", "definition.18.transparent:0", "", "# Files",
        "file.3.path:/data/Run #3/a.fcs", "", "# Windows", "window.2.type:DotPlot", "window.2.location.x:15",
        "window.2.file:3", "window.7.type:ClipBook", "window.7.", ""};
    auto at = std::find(lines.begin(), lines.end(), expectSheet[0]);
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(std::vector<std::string>(at, at + static_cast<long>(expectSheet.size())), expectSheet);
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "fileinfo.global:0"), lines.end());

    content.mode = SheetMode::Package;
    content.fileInfoVisible = true;
    lines = linesOf(SheetText(content));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "file.3.name:a.fcs"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "file.3.length:1234"), lines.end());
    EXPECT_EQ(lines[lines.size() - 2], "fileinfo.global:0");
}

TEST_F(SheetTextTest, SettingsBlockThatCannotBeWrittenIsAnError) {
    const std::vector<std::vector<std::string>> bad = {{}, {"x"}, {"3", "a:1"}, {"-1"}};
    for (const auto& info : bad) {
        content.windows = {{1, "DotPlot", info}};
        EXPECT_THROW(SheetText(content), SheetWriteError) << (info.empty() ? "(empty)" : info[0]);
    }
    content.windows = {{1, "DotPlot", {"1.9", "a:1", "b:2"}}};  // the integer part of the count
    const std::vector<std::string> lines = linesOf(SheetText(content));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "window.1.a:1"), lines.end());
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "window.1.b:2"), lines.end());
}

// ---- reading ----

bool knownKind(const std::string& type) { return type == "DotPlot" || type == "Histogram"; }

ParsedSheet parse(const std::string& text) { return ParseSheet(text, SheetLimits{}, knownKind); }

TEST(SheetParseTest, CommentsAreLinesStartingWithHashAndValuesRunToTheEnd) {
    const ParsedSheet s = parse(
        "# Quorvane Analysis sheet\r\n"
        "#population.1.name:dropped\n"
        "population.1.name:Run #3: CD4+\r\n"
        "definition.17.name:Poly-1 and Poly-2\r\n"
        "file.2.path:/data/Run #3/a:b.fcs\r\n"
        "window.4.type:DotPlot\r\n"
        "window.4.location.x:15\r\n"
        "printview.visible:1\r\n"
        "printview.window.4.x:3:4\r\n"
        "fileinfo.visible:x\r\n");
    ASSERT_EQ(s.populationLines.size(), 2u);
    EXPECT_EQ(s.populationLines[0].slot, 1);
    EXPECT_EQ(s.populationLines[0].value, "Run #3: CD4+");
    EXPECT_EQ(s.populationLines[1].slot, 17);
    ASSERT_EQ(s.files.size(), 1u);
    EXPECT_EQ(s.files[0].slot, 2);
    EXPECT_EQ(s.files[0].path, "/data/Run #3/a:b.fcs");
    ASSERT_EQ(s.windows.size(), 1u);
    EXPECT_EQ(s.windows[0].lines, std::vector<std::string>{"window.4.location.x:15"});
    EXPECT_EQ(s.printViewVisible, true);
    EXPECT_EQ(s.printViewLines, std::vector<std::string>{"printview.window.4.x:3:4"});
    EXPECT_FALSE(s.fileInfoVisible.has_value());
}

// The version check against version 1.2 of the program: a later major or
// minor refuses the sheet, and so does a piece that starts with a number out
// of range; a piece that starts with no number reads as 0.
struct VersionCase {
    const char* name;
    const char* sheet;
    bool refused;
};

void PrintTo(const VersionCase& c, std::ostream* out) { *out << c.name; }

class SheetVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(SheetVersionTest, IsRefusedOnlyWhenNewerOrUnreadable) {
    EXPECT_EQ(SheetIsNewer(parse(GetParam().sheet), 1, 2), GetParam().refused) << GetParam().sheet;
}

INSTANTIATE_TEST_SUITE_P(
    Versions, SheetVersionTest,
    ::testing::Values(
        VersionCase{"LaterMinor", "general.version:1.3.0\r\n", true},
        VersionCase{"LaterMajor", "general.version:2.0.0\r\n", true},
        VersionCase{"LaterRevisionOnly", "general.version:1.2.9\r\n", false},
        VersionCase{"SameVersion", "general.version:1.2.1\r\n", false},
        VersionCase{"Older", "general.version:0.9.9\r\n", false},
        VersionCase{"NoVersionLine", "", false},
        VersionCase{"MajorAloneLater", "general.version:2\r\n", true},
        VersionCase{"MajorAloneSame", "general.version:1\r\n", false},
        VersionCase{"TwoDigitMinor", "general.version:1.10.0\r\n", true},
        VersionCase{"FirstVersionLineCounts", "general.version:1.2.1\r\ngeneral.version:9.0\r\n", false},
        VersionCase{"TextAfterTheNumber", "general.version:1.2beta\r\n", false},
        VersionCase{"MajorBeyondRange", "general.version:99999999999.0\r\n", true},
        VersionCase{"MinorBeyondRange", "general.version:1.99999999999\r\n", true},
        VersionCase{"MajorJustBeyond16Bits", "general.version:32768.0\r\n", true},
        VersionCase{"HugeExponent", "general.version:1e400.0\r\n", true},
        VersionCase{"NegativeMajor", "general.version:-1.0\r\n", true},
        VersionCase{"NegativeMinor", "general.version:1.-5\r\n", true},
        VersionCase{"Letters", "general.version:x.y\r\n", false},
        VersionCase{"LettersInMinor", "general.version:1.x\r\n", false},
        VersionCase{"EmptyValue", "general.version:\r\n", false},
        VersionCase{"EmptyMinor", "general.version:1.\r\n", false},
        VersionCase{"NotANumber", "general.version:nan.0\r\n", false},
        VersionCase{"WordsReadAsNought", "general.version:abc.def\r\n", false},
        VersionCase{"WordMinorOfALaterMajor", "general.version:2.abc\r\n", true},
        VersionCase{"WordMajorBeforeALaterMinor", "general.version:abc.3\r\n", false},
        VersionCase{"LetterBeforeTheNumber", "general.version:v9.0\r\n", false},
        VersionCase{"SignedLaterMajor", "general.version:+2.0\r\n", true},
        VersionCase{"WordAfterAnOutOfRangeNumber", "general.version:99999999999abc.0\r\n", true}),
    [](const ::testing::TestParamInfo<VersionCase>& info) { return std::string(info.param.name); });

TEST(SheetParseTest, OutOfRangeAndMalformedLinesAreLeftOut) {
    std::array<PopulationRecord, PopulationTableSize> table{};
    table[3].ColorRed = 7;
    table[3].ColorBlue = 9;
    const ParsedSheet s = parse(
        "population.0.name:a\npopulation.17.name:b\npopulation.x.name:c\npopulation.100000000000.name:d\n"
        "definition.16.name:e\ndefinition.33.name:f\npopulation.3\n"
        "population.3.color.red:256\npopulation.3.color.green:-1\npopulation.3.color.blue:12x\n"
        "population.3.corners:51\npopulation.3.corner.0.x:5\npopulation.3.corner.51.x:5\n"
        "population.3.corner.2.x:1e40\npopulation.3.corner.2.y:12,5\npopulation.3.created:0\n"
        "population.3.created:51\npopulation.3.axis.z:4\npopulation.3.axis.x:70000\npopulation.3.transparent:yes\n"
        "file.0.path:/a\nfile.21.path:/b\nfile.q.path:/c\nfile.1.name:x.fcs\nfile.1.length:5\n"
        "window.0.type:DotPlot\nwindow.51.type:DotPlot\nwindow.-1.type:DotPlot\nwindow.x.type:DotPlot\n"
        "window.2.type:Unknown\nwindow.2.axis.x:1\nwindow.3.type:DotPlot\nwindow.3.axis.x:2\n"
        "window.4.type:Histogram\nwindow.4.file:21\nwindow.4.file:-1\nwindow.4.file:x\nwindow.4.axis.x:0\n"
        "window.4.axis.y:70000\nwindow.4.show:101\nwindow.4.show:-1\nwindow.4.file:20\nwindow.4.show:32\n"
        "window.4.axis.y:3\nwindow.3.type:Histogram\nwindow.3.axis.x:9\nwindow.2.type:DotPlot\n"
        "window\n:\n.\n\x01\x02\xff:\xfe\n");
    ApplyPopulationLines(s, table, SheetLimits{});
    const PopulationRecord& p = table[3];
    EXPECT_TRUE(p.InUse);
    // Colours that do not fit leave the slot's start colour.
    EXPECT_EQ(p.ColorRed, DefaultPopulationColours[3].Red);
    EXPECT_EQ(p.ColorGreen, DefaultPopulationColours[3].Green);
    EXPECT_EQ(p.ColorBlue, DefaultPopulationColours[3].Blue);
    EXPECT_EQ(p.Corners, 0);
    EXPECT_EQ(p.CornerX[2], 0.0f);
    EXPECT_EQ(p.CornerY[2], 12.5f);
    EXPECT_EQ(p.Created, 0);
    EXPECT_EQ(p.AxisX, 0);
    EXPECT_FALSE(p.Transparent);
    for (int slot : {0, 16, 17, 33}) EXPECT_FALSE(table[slot].InUse) << slot;
    EXPECT_TRUE(s.files.empty());  // name and length lines count only in a package

    // Window blocks: slots in range, known kinds, the first block of a slot only.
    ASSERT_EQ(s.windows.size(), 3u);
    EXPECT_EQ(s.windows[0].id, 3);
    EXPECT_EQ(s.windows[0].lines, std::vector<std::string>{"window.3.axis.x:2"});
    EXPECT_EQ(s.windows[1].id, 4);
    // Axis and show values outside their tables never reach the window; a
    // file outside the file table reaches it as no file.
    EXPECT_EQ(s.windows[1].lines,
              (std::vector<std::string>{"window.4.file:0", "window.4.file:0", "window.4.file:0", "window.4.file:20",
                                        "window.4.show:32", "window.4.axis.y:3"}));
    EXPECT_EQ(s.windows[2].id, 2);  // the unknown kind left slot 2 free
    EXPECT_EQ(s.windows[2].type, "DotPlot");

    // Longer keys under those words are a kind's own and reach it whole: a
    // bending plot's axis positions and links may well be 0 or negative.
    const std::vector<std::string> own{"window.5.axis.3.x:0", "window.5.axis.3.y:-1200", "window.5.axis.100.connected:0",
                                       "window.5.show.names:x", "window.5.file.note:"};
    std::string block = "window.5.type:DotPlot\n";
    for (const std::string& line : own) block += line + "\n";
    const ParsedSheet kindOwn = parse(block);
    ASSERT_EQ(kindOwn.windows.size(), 1u);
    EXPECT_EQ(kindOwn.windows[0].lines, own);
}

// A file line of a window that names no slot of the file table leaves the
// window with no file; one that names a slot passes as it stands.
struct FileLineCase {
    const char* name;
    const char* value;
    const char* reaches;
};

void PrintTo(const FileLineCase& c, std::ostream* out) { *out << c.name; }

class SheetWindowFileLineTest : public ::testing::TestWithParam<FileLineCase> {};

TEST_P(SheetWindowFileLineTest, ReachesTheWindow) {
    const ParsedSheet s = parse(std::string("window.5.type:DotPlot\r\nwindow.5.file:") + GetParam().value + "\r\n");
    ASSERT_EQ(s.windows.size(), 1u);
    EXPECT_EQ(s.windows[0].lines, std::vector<std::string>{std::string("window.5.file:") + GetParam().reaches});
}

INSTANTIATE_TEST_SUITE_P(
    FileLines, SheetWindowFileLineTest,
    ::testing::Values(FileLineCase{"FirstSlot", "1", "1"}, FileLineCase{"LastSlot", "20", "20"},
                      FileLineCase{"NoFile", "0", "0"}, FileLineCase{"BeyondTheTable", "99", "0"},
                      FileLineCase{"Huge", "1e300", "0"}, FileLineCase{"Negative", "-3", "0"},
                      FileLineCase{"NotANumber", "two", "0"}, FileLineCase{"Empty", "", "0"}),
    [](const ::testing::TestParamInfo<FileLineCase>& info) { return std::string(info.param.name); });

// A slot with lines in the sheet starts whole from its start value: nothing
// the sheet leaves out comes from the workspace before. A slot without lines
// keeps what it held.
TEST(SheetParseTest, SlotsWithLinesStartFromTheirStartValue) {
    std::array<PopulationRecord, PopulationTableSize> table{};
    for (int slot : {2, 4, 18}) {
        PopulationRecord& p = table[static_cast<size_t>(slot)];
        p.Name = "old";
        p.Type = "Histogram";
        p.TitleX = 450;
        p.TitleY = -300;
        p.Corners = 3;
        p.CornerX[1] = 5.0f;
        p.AxisX = 4;
        p.Created = 7;
        p.Transparent = true;
        p.ColorRed = p.ColorGreen = p.ColorBlue = 1;
    }
    const ParsedSheet s = parse(
        "population.2.name:New\r\npopulation.2.type:Polygon\r\npopulation.2.color.red:40\r\n"
        "definition.18.name:Poly-2 and not Poly-2\r\npopulation.2.axis.y:3\r\n");
    ApplyPopulationLines(s, table, SheetLimits{});

    const PopulationRecord& gate = table[2];
    EXPECT_TRUE(gate.InUse);
    EXPECT_EQ(gate.Name, "New");
    EXPECT_EQ(gate.Type, "Polygon");
    EXPECT_EQ(gate.TitleX, 0);
    EXPECT_EQ(gate.TitleY, 0);
    EXPECT_EQ(gate.Corners, 0);
    EXPECT_EQ(gate.CornerX[1], 0.0f);
    EXPECT_EQ(gate.AxisX, 0);
    EXPECT_EQ(gate.AxisY, 3);  // a line after the reset still counts
    EXPECT_EQ(gate.Created, 0);
    EXPECT_FALSE(gate.Transparent);
    EXPECT_EQ(gate.ColorRed, 40);
    EXPECT_EQ(gate.ColorGreen, DefaultPopulationColours[2].Green);
    EXPECT_EQ(gate.ColorBlue, DefaultPopulationColours[2].Blue);

    const PopulationRecord& definition = table[18];
    EXPECT_TRUE(definition.InUse);
    EXPECT_EQ(definition.Name, "Poly-2 and not Poly-2");
    EXPECT_FALSE(definition.Transparent);
    EXPECT_EQ(definition.ColorRed, DefaultPopulationColours[18].Red);

    const PopulationRecord& untouched = table[4];
    EXPECT_EQ(untouched.Name, "old");
    EXPECT_EQ(untouched.TitleX, 450);
    EXPECT_EQ(untouched.Corners, 3);
}

TEST(SheetParseTest, DamagedSheetsNeverBreakTheParser) {
    std::string sound =
        "# Quorvane Analysis sheet\r\n\r\ngeneral.version:1.2.1\r\n# Populations\r\npopulation.1.name:A\r\n"
        "population.1.corners:2\r\npopulation.1.corner.1.x:10\r\npopulation.1.corner.2.x:20\r\n"
        "window.1.type:DotPlot\r\nwindow.1.axis.x:2\r\n";
    std::vector<std::string> damaged;
    for (size_t cut = 0; cut <= sound.size(); cut += 7) damaged.push_back(sound.substr(0, cut));
    std::string junk;
    uint32_t x = 12345;
    for (int i = 0; i < 4000; ++i) {
        x = x * 1103515245u + 12345u;
        junk += static_cast<char>(x >> 24);
    }
    damaged.push_back(junk);
    damaged.push_back(sound + junk);
    damaged.push_back(std::string("general.style:package\ncontent:") + junk);
    for (const std::string& text : damaged) {
        std::array<PopulationRecord, PopulationTableSize> table{};
        const ParsedSheet s = parse(text);
        ApplyPopulationLines(s, table, SheetLimits{});
        for (const SheetFile& f : s.files)
            if (!f.refused) {
                EXPECT_LE(f.offset + static_cast<size_t>(f.length), text.size());
            }
    }
    // What is sound in a truncated sheet still reads.
    const ParsedSheet half = parse(sound.substr(0, sound.find("population.1.corner.2")));
    std::array<PopulationRecord, PopulationTableSize> table{};
    ApplyPopulationLines(half, table, SheetLimits{});
    EXPECT_EQ(table[1].Name, "A");
    EXPECT_EQ(table[1].CornerX[1], 10.0f);
}

TEST(SheetParseTest, PackageDataStartsAtTheMarkerLineAndLengthsAreChecked) {
    const std::string head =
        "general.style:package\r\n"
        "file.1.name:content:.fcs\r\nfile.1.length:4\r\n"
        "file.3.name:b.fcs\r\nfile.3.length:3\r\n\r\n";
    // Data that looks like sheet lines is never read as sheet lines.
    const std::string data = "ABCD\npopulation.1.name:X\n";
    ParsedSheet s = parse(head + "content:" + data);
    ASSERT_EQ(s.files.size(), 2u);
    EXPECT_EQ(s.dataOffset, head.size() + 8);
    EXPECT_FALSE(s.files[0].refused);
    EXPECT_EQ(s.files[0].offset, head.size() + 8);
    EXPECT_EQ(s.files[1].offset, head.size() + 12);
    EXPECT_TRUE(s.populationLines.empty());

    struct Case {
        const char* lengths;
        bool firstRefused, secondRefused;
    } cases[] = {
        {"file.1.length:-1\r\nfile.3.length:3\r\n", true, true},
        {"file.1.length:26\r\nfile.3.length:0\r\n", true, true},  // the data holds 25 bytes
        {"file.1.length:23\r\nfile.3.length:3\r\n", false, true},
        {"file.1.length:22\r\nfile.3.length:3\r\n", false, false},
        {"file.1.length:x\r\nfile.3.length:1\r\n", true, true},
        {"file.1.length:1e300\r\nfile.3.length:1\r\n", true, true},
    };
    for (const Case& c : cases) {
        s = parse(std::string("general.style:package\r\nfile.1.name:a.fcs\r\nfile.3.name:b.fcs\r\n") + c.lengths +
                  "content:" + data);
        ASSERT_EQ(s.files.size(), 2u) << c.lengths;
        EXPECT_EQ(s.files[0].refused, c.firstRefused) << c.lengths;
        EXPECT_EQ(s.files[1].refused, c.secondRefused) << c.lengths;
    }
    // Without the marker nothing can be taken out.
    s = parse("general.style:package\r\nfile.1.name:a.fcs\r\nfile.1.length:0\r\n");
    ASSERT_EQ(s.files.size(), 1u);
    EXPECT_TRUE(s.files[0].refused);
}

TEST(SheetParseTest, PackageNamesMustBePlainFileNames) {
    for (const char* name : {"../x.fcs", "/etc/passwd", "a\\b.fcs", ".", "..", "sub/a.fcs"}) {
        const ParsedSheet s = parse(std::string("general.style:package\nfile.1.name:") + name +
                                    "\nfile.1.length:0\ncontent:");
        EXPECT_EQ(UnsafePackageName(s), std::optional<std::string>(name));
    }
    for (const char* name : {"a.fcs", "..a.fcs", "Run #3.fcs", "a b"}) {
        const ParsedSheet s = parse(std::string("general.style:package\nfile.1.name:") + name +
                                    "\nfile.1.length:0\ncontent:");
        EXPECT_EQ(UnsafePackageName(s), std::nullopt) << name;
    }
    // Outside a package the path lines name full paths.
    EXPECT_EQ(UnsafePackageName(parse("file.1.path:/data/a.fcs\n")), std::nullopt);
}

TEST(SheetParseTest, CopyNamesBesideAnExistingFile) {
    EXPECT_EQ(PackageCopyName("a.fcs", 1), "a.fcs");
    EXPECT_EQ(PackageCopyName("a.fcs", 2), "a (2).fcs");
    EXPECT_EQ(PackageCopyName("run.1.fcs", 3), "run.1 (3).fcs");
    EXPECT_EQ(PackageCopyName("LMD", 2), "LMD (2)");
    EXPECT_EQ(PackageCopyName(".hidden", 2), ".hidden (2)");
}

}  // namespace
}  // namespace qv::test
