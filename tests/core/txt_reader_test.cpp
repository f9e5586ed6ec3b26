#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "core/FcsReader.h"
#include "core/FileKey.h"
#include "core/SharedState.h"
#include "core/TxtReader.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

class TxtReader : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }
};

struct Expected {
    std::vector<std::string> parameters;
    std::vector<std::string> eventNames;       // empty: no name column
    std::vector<std::vector<float>> values;    // values[e][p], from 0
    std::string clipboard;
    bool named = false;  // a name column without events
};

void expectTable(const TxtReadResult& result, const Expected& x) {
    const FileRecord& r = result.Record;
    ASSERT_TRUE(r.Loaded) << r.RefusalReason;
    ASSERT_EQ(r.ParameterCount, static_cast<int32_t>(x.parameters.size()));
    ASSERT_EQ(r.Parameters.size(), x.parameters.size() + 1);
    for (size_t p = 1; p <= x.parameters.size(); ++p) {
        EXPECT_EQ(r.Parameters[p].Name, x.parameters[p - 1]);
        EXPECT_EQ(r.Parameters[p].Range, 1023);
        EXPECT_FALSE(r.Parameters[p].IsLog);
        EXPECT_FALSE(r.Parameters[p].LogLocked);
    }
    ASSERT_EQ(r.EventCount, static_cast<int32_t>(x.values.size()));
    EXPECT_EQ(r.EventsLoaded, r.EventCount);
    EXPECT_EQ(r.PristineData.maxEvent(), r.EventCount);
    EXPECT_EQ(r.PristineData.maxColumn(), r.ParameterCount);
    for (size_t e = 1; e <= x.values.size(); ++e) {
        for (size_t p = 1; p <= x.parameters.size(); ++p) {
            const auto ei = static_cast<int32_t>(e), pi = static_cast<int32_t>(p);
            EXPECT_EQ(r.PristineData(ei, pi), x.values[e - 1][p - 1]) << "event " << e << " parameter " << p;
            EXPECT_EQ(r.WorkingData(ei, pi), r.PristineData(ei, pi));
        }
    }
    const bool named = x.named || !x.eventNames.empty();
    EXPECT_EQ(r.HasEventNames, named);
    if (named) {
        ASSERT_EQ(r.EventNames.size(), x.eventNames.size() + 1);
        for (size_t e = 1; e <= x.eventNames.size(); ++e) EXPECT_EQ(r.EventNames[e], x.eventNames[e - 1]);
    } else {
        EXPECT_TRUE(r.EventNames.empty());
    }
    EXPECT_EQ(result.ClipboardText, x.clipboard);
    EXPECT_EQ(r.VersionNumber, 0);
    EXPECT_TRUE(r.FcsVersionText.empty());
    EXPECT_FALSE(r.CompensationOn);
    EXPECT_EQ(r.CompensationMatrix.maxEvent(), r.ParameterCount);
    EXPECT_EQ(r.CompensationMatrix.maxColumn(), r.ParameterCount);
    EXPECT_EQ(r.Membership.maxEvent(), r.EventCount);
    EXPECT_EQ(r.Membership.maxColumn(), g.MaxPopulations + g.MaxDefinitions);
    EXPECT_NE(r.FileKey, 0);
}

TEST_F(TxtReader, ReadsTablesAndBuildsTheClipboardText) {
    struct Case {
        const char* what;
        std::string text;
        Expected expected;
    };
    const std::vector<Case> cases = {
        {"name column, CR LF",
         "NAME\tFSC\tSSC\r\na\t1\t2\r\nb\t3\t4\r\n",
         {{"FSC", "SSC"}, {"a", "b"}, {{1, 2}, {3, 4}}, "\tFSC\tSSC\t\na\t1\t2\t\nb\t3\t4\t\n"}},
        {"no final line end: the last line is read too",
         "NAME\tFSC\tSSC\r\na\t1\t2\r\nb\t3\t4",
         {{"FSC", "SSC"}, {"a", "b"}, {{1, 2}, {3, 4}}, "\tFSC\tSSC\t\na\t1\t2\t\nb\t3\t4\t\n"}},
        {"one event and no line end at all", "FSC\tSSC\n5\t6", {{"FSC", "SSC"}, {}, {{5, 6}}, "5\t6\t\n"}},
        {"a header without a line end", "FSC\tSSC", {{"FSC", "SSC"}, {}, {}, ""}},
        {"a TAB ending every line leaves no empty parameter",
         "FSC\tSSC\t\r\n1\t2\t\r\n3\t4\t\r\n",
         {{"FSC", "SSC"}, {}, {{1, 2}, {3, 4}}, "1\t2\t\n3\t4\t\n"}},
        {"the empty last column may lack its TAB in some lines",
         "NAME\tFSC\t\na\t1\nb\t2\t\n",
         {{"FSC"}, {"a", "b"}, {{1}, {2}}, "\tFSC\t\na\t1\t\nb\t2\t\n"}},
        {"an empty last header cell over a used column is a parameter named by its number",
         "A\t\r\n1\t2\r\n3\t4\r\n",
         {{"A", "P2"}, {}, {{1, 2}, {3, 4}}, "1\t2\t\n3\t4\t\n"}},
        {"empty lines at the end are ignored",
         "FSC\r\n1\r\n2\r\n\r\n\n\r\n",
         {{"FSC"}, {}, {{1}, {2}}, "1\t\n2\t\n"}},
        {"a UTF-8 byte-order mark is no part of the first name",
         "\xEF\xBB\xBFName\tFSC\r\nq\t5\r\n",
         {{"FSC"}, {"q"}, {{5}}, "\tFSC\t\nq\t5\t\n"}},
        {"CR CR LF line ends leave no CR in a name or a value",
         "FSC\tSSC\r\r\n1\t2\r\r\n",
         {{"FSC", "SSC"}, {}, {{1, 2}}, "1\t2\t\n"}},
        {"one decimal comma throughout", "A\tB\r\n1,5\t2\r\n1,234\t0,5\r\n",
         {{"A", "B"}, {}, {{1.5f, 2}, {1.234f, 0.5f}}, "1.5\t2\t\n1.234\t0.5\t\n"}},
        {"no name column: no clipboard header",
         "FSC\tSSC\r\n1\t2\r\n3\t4\r\n",
         {{"FSC", "SSC"}, {}, {{1, 2}, {3, 4}}, "1\t2\t\n3\t4\t\n"}},
        {"Name and name are name columns",
         "Name\tX\r\nq\t5\r\n",
         {{"X"}, {"q"}, {{5}}, "\tX\t\nq\t5\t\n"}},
        {"lower-case name", "name\tX\r\nq\t5\r\n", {{"X"}, {"q"}, {{5}}, "\tX\t\nq\t5\t\n"}},
        {"NAMES names a parameter", "NAMES\tX\r\n1\t2\r\n", {{"NAMES", "X"}, {}, {{1, 2}}, "1\t2\t\n"}},
        {"nAme names a parameter", "nAme\tX\r\n1\t2\r\n", {{"nAme", "X"}, {}, {{1, 2}}, "1\t2\t\n"}},
        {"header only", "FSC\tSSC\r\n", {{"FSC", "SSC"}, {}, {}, ""}},
        {"header only with a name column", "NAME\tFSC\r\n", {{"FSC"}, {}, {}, "\tFSC\t\n", true}},
        {"LF line ends", "FSC\tSSC\n1\t2\n3\t4\n", {{"FSC", "SSC"}, {}, {{1, 2}, {3, 4}}, "1\t2\t\n3\t4\t\n"}},
        {"mixed line ends", "FSC\r\n1\n2\r\n", {{"FSC"}, {}, {{1}, {2}}, "1\t\n2\t\n"}},
        {"decimal point, blanks, exponent, sign",
         "A\tB\tC\r\n 1.5 \t-0.25\t2.5E3\r\n",
         {{"A", "B", "C"}, {}, {{1.5f, -0.25f, 2500}}, "1.5\t-0.25\t2500\t\n"}},
        {"decimal comma, blanks, exponent, sign",
         "A\tB\tC\r\n 1,5 \t-0,25\t2,5E3\t\r\n",
         {{"A", "B", "C"}, {}, {{1.5f, -0.25f, 2500}}, "1.5\t-0.25\t2500\t\n"}},
        {"seven significant digits on the clipboard",
         "A\tB\r\n1.23456789\t0.000012345678\r\n",
         {{"A", "B"}, {}, {{1.23456789f, 0.000012345678f}}, "1.234568\t1.234568E-05\t\n"}},
        {"cells beyond the header are not read",
         "A\r\n1\t2\t3\r\n",
         {{"A"}, {}, {{1}}, "1\t\n"}},
        {"empty event name", "NAME\tA\r\n\t7\r\n", {{"A"}, {""}, {{7}}, "\tA\t\n\t7\t\n"}},
        {"an empty header cell names its parameter by number", "A\t\tC\r\n1\t2\t3\r\n",
         {{"A", "P2", "C"}, {}, {{1, 2, 3}}, "1\t2\t3\t\n"}},
        {"an empty header cell behind a name column", "NAME\t\tB\r\nq\t1\t2\r\n",
         {{"P1", "B"}, {"q"}, {{1, 2}}, "\tP1\tB\t\nq\t1\t2\t\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        expectTable(ReadTxtData(c.text, "/data/table.txt"), c.expected);
    }
}

TEST_F(TxtReader, ReadsATableFromDisk) {
    test::TempFolder dir;
    const std::string path = dir.file("export 1.txt");
    test::WriteBytes(path, "NAME\tFSC\tSSC\r\na\t1\t2\r\nb\t3\t4\r\n");
    const TxtReadResult result = ReadTxtFile(path);
    const FileRecord& r = result.Record;
    ASSERT_TRUE(r.Loaded) << r.RefusalReason;
    EXPECT_EQ(r.Folder, dir.path());
    EXPECT_EQ(r.FileName, "export 1.txt");
    EXPECT_EQ(r.FileKey, ComputeFileKey(path));
    EXPECT_EQ(r.PristineData(2, 2), 4.0f);
}

// A table whose key sums to less than 1 would look like a free slot.
TEST_F(TxtReader, ATinyTableDoesNotGetTheFreeSlotKey) {
    const TxtReadResult result = ReadTxtData("a\n", "a.txt");
    ASSERT_TRUE(result.Record.Loaded) << result.Record.RefusalReason;
    EXPECT_EQ(result.Record.FileKey, 1);
}

TEST_F(TxtReader, RefusesMalformedTables) {
    std::string wide;
    for (int k = 0; k <= MaxReadableParameters; ++k) wide += "P\t";
    wide += "\r\n";
    struct Case {
        const char* what;
        std::string text;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"empty", "", "empty"},
        {"empty header line", "\r\n1\r\n", "header line is empty"},
        {"empty lines only", "\r\n\n\r\n", "header line is empty"},
        {"a byte-order mark only", "\xEF\xBB\xBF", "header line is empty"},
        {"a bad last line without a line end", "A\r\n1\r\nnot a number", "line 3, column 1 is not a number"},
        {"mixed decimal points", "A\tB\r\n1.5\t2\r\n3\t1,234\r\n",
         "line 3, column 2 uses \",\" as decimal point, but line 2, column 1 uses \".\""},
        {"mixed decimal points, comma first", "A\r\n0,5\r\n7\r\n2.5E3\r\n",
         "line 4, column 1 uses \".\" as decimal point, but line 2, column 1 uses \",\""},
        {"an empty line before the end", "A\r\n1\r\n\r\n2\r\n", "line 3, column 1 is not a number"},
        {"the first fault is reported, not the shortest line", "A\tB\r\n1\tx\r\n3\r\n",
         "line 2, column 2 is not a number"},
        {"name column only", "NAME\r\na\r\n", "no parameter columns"},
        {"too few cells", "A\tB\r\n1\t2\r\n3\r\n", "line 3 has fewer cells"},
        {"too few cells with a name column", "NAME\tA\tB\r\nx\t1\r\n", "line 2 has fewer cells"},
        {"empty line among the data", "A\tB\r\n1\t2\r\n\r\n3\t4\r\n", "line 3 has fewer cells"},
        {"empty cell", "A\tB\r\n1\t\r\n", "line 2, column 2 is not a number"},
        {"letters", "A\tB\r\n1\tx\r\n", "is not a number"},
        {"number with trailing letters", "A\r\n12abc\r\n", "is not a number"},
        {"two decimal points", "A\r\n1.2.3\r\n", "is not a number"},
        {"two decimal commas", "A\r\n1,5,5\r\n", "is not a number"},
        {"beyond a 32-bit float", "A\r\n1e39\r\n", "too large"},
        {"infinity", "A\r\ninf\r\n", "is not a number"},
        {"too many columns", wide, "parameters are not supported"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TxtReadResult result = ReadTxtData(c.text, "/x/bad.txt");
        const FileRecord& r = result.Record;
        EXPECT_FALSE(r.Loaded);
        EXPECT_EQ(r.FileKey, 0);
        EXPECT_NE(r.RefusalReason.find(c.reason), std::string::npos) << r.RefusalReason;
        EXPECT_EQ(r.ParameterCount, 0);
        EXPECT_EQ(r.EventCount, 0);
        EXPECT_TRUE(r.PristineData.empty());
        EXPECT_TRUE(result.ClipboardText.empty());
        EXPECT_EQ(LoadErrorMessage(r), std::string(LoadErrorText) + "\n" + r.RefusalReason);
    }
}

// A large table is read in parts at once; the fault reported is still the
// table's first, whichever part found it, and the parts join up in order.
TEST_F(TxtReader, LargeTablesReportTheirFirstFault) {
    constexpr int Lines = 120000;
    auto table = [](std::initializer_list<std::pair<int, const char*>> cells) {
        std::vector<std::string> rows(Lines + 1);
        rows[0] = "NAME\tA";
        for (int k = 1; k <= Lines; ++k) rows[static_cast<size_t>(k)] = "e" + std::to_string(k) + "\t" + std::to_string(k % 1000);
        for (const auto& [line, cell] : cells) rows[static_cast<size_t>(line - 1)] = "x\t" + std::string(cell);
        std::string text;
        for (const std::string& row : rows) text += row + "\n";
        return text;
    };
    const TxtReadResult whole = ReadTxtData(table({{60001, "2.5"}}), "big.txt");
    ASSERT_TRUE(whole.Record.Loaded) << whole.Record.RefusalReason;
    ASSERT_EQ(whole.Record.EventCount, Lines);
    EXPECT_EQ(whole.Record.PristineData(1, 1), 1.0f);
    EXPECT_EQ(whole.Record.PristineData(60000, 1), 2.5f);
    EXPECT_EQ(whole.Record.EventNames[60000], "x");
    EXPECT_EQ(whole.Record.PristineData(Lines, 1), static_cast<float>(Lines % 1000));
    EXPECT_EQ(whole.ClipboardText.substr(0, 16), "\tA\t\ne1\t1\t\ne2\t2\t\n");
    EXPECT_EQ(whole.ClipboardText.substr(whole.ClipboardText.size() - 11), "e120000\t0\t\n");
    EXPECT_NE(whole.ClipboardText.find("\nx\t2.5\t\ne60001\t1\t\n"), std::string::npos);

    struct Case {
        const char* what;
        std::string text;
        const char* reason;
    };
    const Case cases[] = {
        {"mixed points far apart, before a bad cell", table({{30001, "1,5"}, {90001, "2.5"}, {100001, "y"}}),
         "line 90001, column 2 uses \".\" as decimal point, but line 30001, column 2 uses \",\""},
        {"a bad cell before the mixed points", table({{20001, "y"}, {30001, "1,5"}, {90001, "2.5"}}),
         "line 20001, column 2 is not a number"},
        {"two bad cells: the first", table({{110001, "z"}, {50001, "y"}}), "line 50001, column 2 is not a number"},
        {"a short line late in the table", table({{5, "1"}, {115000, ""}}), "line 115000, column 2 is not a number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TxtReadResult result = ReadTxtData(c.text, "big.txt");
        EXPECT_FALSE(result.Record.Loaded);
        EXPECT_NE(result.Record.RefusalReason.find(c.reason), std::string::npos) << result.Record.RefusalReason;
    }
}

// The event lines are cut into runs read side by side; wherever the cuts
// fall (inside a number, a name, a CR LF, a long line), the table reads the
// same as in one run: values to the bit, names, clipboard text, refusals.
TEST_F(TxtReader, ReadsTheSameWhereverTheRunsAreCut) {
    const std::string longLine = [] {
        std::string line = "long";
        for (int p = 1; p <= 3; ++p) line += "\t" + std::string(40, '0') + "12.5";
        return line;
    }();
    const std::vector<std::pair<const char*, std::string>> tables = {
        {"names, CR LF, mixed line ends",
         "NAME\tA\tB\r\ne1\t123456.78\t-0.05\r\ne2\t1.5\t7\ne3\t-262143.99\t0.000012345678\r\r\ne4\t42\t+3.\r\n"},
        {"exponents and blanks", "A\tB\n1.5E3\t 2 \n-2.5e-3\t1e+2\n3E0\t.5\n"},
        {"long digit runs and a long line",
         "NAME\tA\tB\tC\r\nshort\t1\t2\t3\r\n" + longLine + "\r\nx\t123456789012345678\t0.1234567890123456789\t9\r\n"},
        {"decimal commas", "A\tB\r\n1,5\t2\r\n1,234\t0,5\r\n-0,25\t12345,678\r\n"},
        {"empty last column", "NAME\tA\t\na\t1\t\nb\t2\nc\t3,5\t\n"},
        {"a used empty last header cell", "A\t\n1\t2\n3\t4\n5\t6\n"},
        {"no final line end, CRs at the end", "A\tB\n1\t2\n3\t4\r\r"},
        {"mixed decimal points", "A\tB\r\n1\t2\r\n3\t4\r\n5,5\t6\r\n7\t8.5\r\n9\t1\r\n"},
        {"a bad cell late", "A\tB\n1\t2\n3\t4\n5\t6\n7\tseven\n9\t1\n"},
        {"a short line late", "A\tB\n10\t20\n30\t40\n50\t60\n70\n90\t10\n"},
        {"an empty line inside", "A\tB\n10\t20\n30\t40\n\n90\t10\n"},
        {"too large late", "A\n1\n2\n3\n4e38\n5\n"},
    };
    for (const auto& [what, text] : tables) {
        SCOPED_TRACE(what);
        const TxtReadResult whole = ReadTxtDataInRuns(text, "/t/cut.txt", 1);
        const FileRecord& w = whole.Record;
        // Up to a run per byte: cuts fall on every line, most runs empty.
        std::vector<size_t> runCounts = {text.size() + 2};
        for (size_t runs = 2; runs <= 16; ++runs) runCounts.push_back(runs);
        for (const size_t runs : runCounts) {
            SCOPED_TRACE("runs " + std::to_string(runs));
            const TxtReadResult cut = ReadTxtDataInRuns(text, "/t/cut.txt", runs);
            const FileRecord& c = cut.Record;
            ASSERT_EQ(c.Loaded, w.Loaded);
            ASSERT_EQ(c.RefusalReason, w.RefusalReason);
            ASSERT_EQ(cut.ClipboardText, whole.ClipboardText);
            ASSERT_EQ(c.EventNames, w.EventNames);
            ASSERT_EQ(c.ParameterCount, w.ParameterCount);
            ASSERT_EQ(c.EventCount, w.EventCount);
            ASSERT_EQ(c.PristineData.raw().size(), w.PristineData.raw().size());
            for (size_t k = 0; k < w.PristineData.raw().size(); ++k)
                ASSERT_EQ(std::bit_cast<uint32_t>(c.PristineData.raw()[k]), std::bit_cast<uint32_t>(w.PristineData.raw()[k]))
                    << "value " << k;
        }
    }
    // The cases hold what the table says of them.
    const TxtReadResult names = ReadTxtDataInRuns(tables[0].second, "/t/cut.txt", 5);
    ASSERT_TRUE(names.Record.Loaded) << names.Record.RefusalReason;
    EXPECT_EQ(names.ClipboardText,
              "\tA\tB\t\ne1\t123456.8\t-0.05\t\ne2\t1.5\t7\t\ne3\t-262144\t1.234568E-05\t\ne4\t42\t3\t\n");
    const TxtReadResult digits = ReadTxtDataInRuns(tables[2].second, "/t/cut.txt", 7);
    ASSERT_TRUE(digits.Record.Loaded) << digits.Record.RefusalReason;
    EXPECT_EQ(digits.Record.PristineData(2, 1), 12.5f);
    EXPECT_EQ(digits.Record.PristineData(3, 1), 123456789012345678.0f);
    EXPECT_EQ(digits.Record.PristineData(3, 2), 0.1234567890123456789f);
    EXPECT_NE(ReadTxtDataInRuns(tables[7].second, "/t/cut.txt", 3).Record.RefusalReason.find(
                  "line 5, column 2 uses \".\" as decimal point, but line 4, column 1 uses \",\""),
              std::string::npos);
    EXPECT_NE(ReadTxtDataInRuns(tables[9].second, "/t/cut.txt", 4).Record.RefusalReason.find("line 5 has fewer cells"),
              std::string::npos);
    EXPECT_NE(ReadTxtDataInRuns(tables[11].second, "/t/cut.txt", 4).Record.RefusalReason.find("line 5, column 1 is too large"),
              std::string::npos);
}

TEST_F(TxtReader, RefusesPathsThatAreNoReadableFile) {
    test::TempFolder dir;
    for (const std::string& path : {dir.path(), dir.file("missing.txt")}) {
        SCOPED_TRACE(path);
        const TxtReadResult result = ReadTxtFile(path);
        EXPECT_FALSE(result.Record.Loaded);
        EXPECT_EQ(result.Record.FileKey, 0);
        EXPECT_FALSE(result.Record.RefusalReason.empty());
        EXPECT_TRUE(result.ClipboardText.empty());
    }
}

}  // namespace
}  // namespace qv
