#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/FcsReader.h"
#include "core/FileKey.h"
#include "core/SharedState.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

using namespace std::string_literals;
using test::FcsDataOffsets;
using test::FcsTestBytes;
using test::FcsTestFile;

class FcsReader : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }
};

FcsTestFile twoParameterFile() {
    FcsTestFile f;
    f.param("FSC-H").param("SSC-H");
    f.event({1, 2}).event({3, 4}).event({5, 6});
    return f;
}

FileRecord read(const FcsTestFile& f, const std::string& path = "/data/run/sample.fcs") {
    return ReadFcsData(FcsTestBytes(f), path);
}

// Every supported storage gives back the values written, in parameter-major
// storage, with index 0 of both dimensions left empty. Each range lets every
// bit of its width count.
TEST_F(FcsReader, DecodesEveryStorageTheFileCanDeclare) {
    struct Case {
        const char* what;
        const char* type;
        const char* order;
        int bits;
        const char* range;
        std::vector<double> values;  // one event of three parameters
    };
    const Case cases[] = {
        {"float big-endian", "F", "4,3,2,1", 32, "1024", {1.5, -2.25, 1.0e6}},
        {"float little-endian", "F", "1,2,3,4", 32, "1024", {1.5, -2.25, 262143.0}},
        {"16-bit most significant first", "I", "4,3,2,1", 16, "65536", {0, 1023, 65535}},
        {"16-bit \"2,1\"", "I", "2,1", 16, "65536", {1, 258, 40000}},
        {"16-bit least significant first", "I", "1,2", 16, "65536", {1, 258, 40000}},
        {"16-bit \"1,2,3,4\"", "I", "1,2,3,4", 16, "65536", {7, 256, 65534}},
        // All four bytes count, unsigned.
        {"32-bit big-endian", "I", "4,3,2,1", 32, "4294967296", {16909060, 4000000000.0, 16777216}},
        {"32-bit little-endian", "I", "1,2,3,4", 32, "4294967296", {16909060, 4000000000.0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FcsTestFile f;
        f.DataType = c.type;
        f.ByteOrder = c.order;
        f.Bits = c.bits;
        f.param("A", c.range).param("B", c.range).param("C", c.range);
        f.event(c.values).event({9, 8, 7});
        const FileRecord r = read(f);
        ASSERT_TRUE(r.Loaded) << r.RefusalReason;
        ASSERT_EQ(r.EventCount, 2);
        EXPECT_EQ(r.BitsPerValue, c.bits);
        for (int p = 1; p <= 3; ++p) {
            EXPECT_EQ(r.PristineData(1, p), static_cast<float>(c.values[static_cast<size_t>(p - 1)])) << "p" << p;
            EXPECT_EQ(r.PristineData(2, p), static_cast<float>(10 - p)) << "p" << p;
            EXPECT_EQ(r.WorkingData(1, p), r.PristineData(1, p));
            EXPECT_EQ(r.PristineData(0, p), 0.0f);
        }
        for (int e = 0; e <= 2; ++e) {
            EXPECT_EQ(r.PristineData(e, 0), 0.0f);
            EXPECT_EQ(r.WorkingData(e, 0), 0.0f);
        }
        EXPECT_EQ(r.PristineData.maxEvent(), 2);
        EXPECT_EQ(r.PristineData.maxColumn(), 3);
        EXPECT_EQ(r.PristineData.column(2) + r.PristineData.stride(), r.PristineData.column(3));
    }
}

TEST_F(FcsReader, FillsTheRecordFromTheKeywords) {
    FcsTestFile f = twoParameterFile();
    f.Version = "FCS2.0";
    f.Delimiter = '|';
    f.Cytometer = "Cell Sorter 9";
    f.Keywords = {{"$COM", "two tubes"}, {"SAMPLE ID", "A1 well"}, {"$BTIM", "10:01:02"}, {"$ETIM", "10:05:00"}};
    f.Parameters[0].Range = "262144";
    const FileRecord r = read(f, "/data/run 1/tube.fcs");
    ASSERT_TRUE(r.Loaded) << r.RefusalReason;
    EXPECT_EQ(r.FcsVersionText, "FCS2.0");
    EXPECT_EQ(r.VersionNumber, 2);
    EXPECT_EQ(r.Cytometer, "Cell Sorter 9");
    EXPECT_EQ(r.Comment, "two tubes");
    EXPECT_EQ(r.SampleId, "A1 well");
    EXPECT_EQ(r.BeginTime, "10:01:02");
    EXPECT_EQ(r.EndTime, "10:05:00");
    EXPECT_EQ(r.DataType, "F");
    EXPECT_EQ(r.ByteOrder, "4,3,2,1");
    EXPECT_EQ(r.Folder, "/data/run 1/");
    EXPECT_EQ(r.FileName, "tube.fcs");
    EXPECT_EQ(r.TextStart, 58);
    // The TEXT is kept as the file holds it, its own delimiter first.
    EXPECT_EQ(r.TextSegment, FcsTestBytes(f).substr(58, r.TextSegment.size()));
    EXPECT_EQ(r.TextSegment.front(), '|');
    EXPECT_EQ(r.ParameterCount, 2);
    ASSERT_EQ(r.Parameters.size(), 3u);
    EXPECT_EQ(r.Parameters[1].Name, "FSC-H");
    EXPECT_EQ(r.Parameters[1].Range, 262144);
    EXPECT_EQ(r.Parameters[2].Range, 1024);
    EXPECT_FALSE(r.Parameters[1].IsLog);
    EXPECT_FALSE(r.Parameters[1].LogLocked);
    EXPECT_EQ(r.EventCount, 3);
    EXPECT_EQ(r.EventsLoaded, 3);
    EXPECT_FALSE(r.CompensationOn);
    EXPECT_EQ(r.CompensationMatrix.maxColumn(), 2);
    EXPECT_EQ(r.Membership.maxEvent(), 3);
    EXPECT_EQ(r.Membership.maxColumn(), g.MaxPopulations + g.MaxDefinitions);
    EXPECT_EQ(r.PristineData(3, 2), 6.0f);
    EXPECT_NE(r.FileKey, 0);
    EXPECT_EQ(r.FileKey, ComputeFileKeyOfData(FcsTestBytes(f)));
    EXPECT_TRUE(r.RefusalReason.empty());
}

// A parameter the file leaves without $PnN is called by its number, as the
// program lists and saves it.
TEST_F(FcsReader, AParameterWithoutANameGetsItsDefaultName) {
    FcsTestFile f = twoParameterFile();
    f.Overrides = {{"$P2N", std::nullopt}};
    const FileRecord r = read(f, "/data/unnamed.fcs");
    ASSERT_TRUE(r.Loaded) << r.RefusalReason;
    EXPECT_EQ(r.Parameters[1].Name, "FSC-H");
    EXPECT_EQ(r.Parameters[2].Name, "P2");
    EXPECT_EQ(r.Parameters[2].Range, 1024);
    EXPECT_EQ(r.PristineData(3, 2), 6.0f);
}

// Log data stored as channels is turned back into values; three instruments
// store 256 channels per decade whatever their range says.
TEST_F(FcsReader, LinearisesLogParameters) {
    struct Case {
        const char* what;
        const char* version;
        const char* cytometer;
        const char* range;
        const char* exponent;
        const char* display;
        bool isLog;
        int32_t range_;
        double channel, value;
    };
    const double c340 = std::pow(10.0, 512.0 / 340.0);
    const Case cases[] = {
        {"LSRII FCS 2.0", "FCS2.0", "LSRII", "1024", "4,0", "", true, 10000, 512, 100},
        {"LSRII FCS 3.0", "FCS3.0", "LSRII", "1024", "4,0", "", true, 1024, 512, c340},
        {"FACScan", "FCS3.0", "FACScan", "1024", "4,0", "", true, 10000, 256, 10},
        {"FACSCalibur", "FCS2.0", "FACSCalibur", "1024", "4,0", "", true, 10000, 768, 1000},
        {"other instrument", "FCS2.0", "Other", "1024", "4,0", "", true, 1024, 512, c340},
        {"exponent 4,1", "FCS3.0", "", "1024", "4,1", "", true, 1024, 0, 1},
        {"decades in a decimal text", "FCS2.0", "", "1024", " 4.0,0.1024", "", true, 1024, 340, 10},
        {"linear", "FCS3.0", "", "1024", "0,0", "", false, 1024, 512, 512},
        {"display LOG marks the axis only", "FCS3.0", "", "1024", "0,0", "LOG", true, 1024, 512, 512},
        {"display LIN after a log exponent", "FCS3.0", "", "1024", "4,0", "LIN", false, 1024, 512, c340},
        {"display of another text", "FCS3.0", "", "1024", "0,0", "Logicle", false, 1024, 512, 512},
        {"instrument not log", "FCS2.0", "FACSCalibur", "1024", "0,0", "", false, 1024, 512, 512},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FcsTestFile f;
        f.Version = c.version;
        f.Cytometer = c.cytometer;
        f.DataType = "I";
        f.Bits = 16;
        f.param("FL1-H", c.range, c.exponent);
        f.Parameters[0].Display = c.display;
        f.event({c.channel});
        const FileRecord r = read(f);
        ASSERT_TRUE(r.Loaded) << r.RefusalReason;
        EXPECT_EQ(r.Parameters[1].IsLog, c.isLog);
        EXPECT_EQ(r.Parameters[1].Range, c.range_);
        EXPECT_FLOAT_EQ(r.PristineData(1, 1), static_cast<float>(c.value));
    }
}

// Float channels are linearised like integer ones, and stop at the largest
// float as they do: a channel beyond it never becomes infinite.
TEST_F(FcsReader, LinearisesLogFloatData) {
    FcsTestFile f;
    f.param("FL1", "1024", "4,0").event({340.0}).event({-340.0}).event({1e30}).event({-1e30});
    f.event({std::numeric_limits<double>::infinity()});
    const FileRecord r = read(f);
    ASSERT_TRUE(r.Loaded) << r.RefusalReason;
    EXPECT_FLOAT_EQ(r.PristineData(1, 1), 10.0f);
    EXPECT_FLOAT_EQ(r.PristineData(2, 1), 0.1f);
    EXPECT_EQ(r.PristineData(3, 1), std::numeric_limits<float>::max());
    EXPECT_EQ(r.PristineData(4, 1), 0.0f);
    EXPECT_EQ(r.PristineData(5, 1), std::numeric_limits<float>::max());
}

// Large 16-bit columns are linearised through a table; every channel must
// come out as the formula gives it: all 16 bits of a 65536 range, only the
// low ten of a 1024 range (the bits above are flags).
TEST_F(FcsReader, LinearisesLargeIntegerColumnsLikeSmallOnes) {
    FcsTestFile f;
    f.DataType = "I";
    f.Bits = 16;
    f.param("FL1", "65536", "4,0").param("FL2", "1024", "4,0");
    for (int e = 0; e < 70000; ++e) {
        const double channel = (e * 7) % 65536;
        f.event({channel, channel});
    }
    const FileRecord r = read(f);
    ASSERT_TRUE(r.Loaded) << r.RefusalReason;
    ASSERT_EQ(r.EventCount, 70000);
    const double wide = std::nearbyint(65536 / std::log10(65536.0));
    for (int e = 1; e <= 70000; ++e) {
        const int channel = ((e - 1) * 7) % 65536;
        ASSERT_EQ(r.PristineData(e, 1), static_cast<float>(std::pow(10.0, channel / wide))) << "event " << e;
        ASSERT_EQ(r.PristineData(e, 2), static_cast<float>(std::pow(10.0, (channel & 1023) / 340.0))) << "event " << e;
    }
}

// An integer keeps only the bits its declared range needs (the smallest
// all-ones mask covering range - 1): instruments keep flags above them, and
// a value beyond its range would make a log parameter infinite. A range too
// large for the record is held at the largest it keeps, with every bit of
// the value counting.
struct RangeCase {
    const char* what;
    const char* dataType;
    int bits;
    const char* cytometer;
    const char* range;
    const char* exponent;
    double stored;
    double value;      // as read, after any log linearisation
    int32_t heldRange;
};

void PrintTo(const RangeCase& c, std::ostream* out) { *out << c.what; }

class FcsIntegerRange : public ::testing::TestWithParam<RangeCase> {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }
};

TEST_P(FcsIntegerRange, KeepsTheBitsTheRangeNeeds) {
    const RangeCase& c = GetParam();
    FcsTestFile f;
    f.DataType = c.dataType;
    f.Bits = c.bits;
    f.Cytometer = c.cytometer;
    f.param("FL1-H", c.range, c.exponent).param("Time", "1024");
    f.event({c.stored, 3}).event({7, 1000});
    const FileRecord r = read(f);
    ASSERT_TRUE(r.Loaded) << r.RefusalReason;
    EXPECT_EQ(r.Parameters[1].Range, c.heldRange);
    EXPECT_FLOAT_EQ(r.PristineData(1, 1), static_cast<float>(c.value));
    EXPECT_TRUE(std::isfinite(r.PristineData(1, 1)));
    EXPECT_EQ(r.PristineData(1, 2), 3.0f);
    EXPECT_EQ(r.PristineData(2, 2), 1000.0f);
}

constexpr int32_t HeldRange = 2147483647;
const float LargestFloat = std::numeric_limits<float>::max();

INSTANTIATE_TEST_SUITE_P(
    Values, FcsIntegerRange,
    ::testing::Values(
        RangeCase{"FlagsAboveAPowerOfTwo", "I", 16, "", "1024", "0,0", 16912, 528, 1024},
        RangeCase{"WithinTheRange", "I", 16, "", "1024", "0,0", 1023, 1023, 1024},
        RangeCase{"RangeBelowAPowerOfTwo", "I", 16, "", "1000", "0,0", 17936, 528, 1000},
        RangeCase{"RangeJustAboveAPowerOfTwo", "I", 16, "", "1025", "0,0", 17936, 1552, 1025},
        RangeCase{"FullSixteenBits", "I", 16, "", "65536", "0,0", 65535, 65535, 65536},
        RangeCase{"RangeWiderThanSixteenBits", "I", 16, "", "1000000", "0,0", 65535, 65535, 1000000},
        RangeCase{"RangeOne", "I", 16, "", "1", "0,0", 16912, 0, 1},
        RangeCase{"RangeZeroSaysNothing", "I", 16, "", "0", "0,0", 16912, 16912, 0},
        RangeCase{"ThirtyTwoBitsOfATwentyFourBitRange", "I", 32, "", "16777216", "0,0", 305419896, 3430008,
                  16777216},
        RangeCase{"ThirtyTwoBitStandardRange", "I", 32, "", "4294967296", "0,0", 4000000000.0, 4000000000.0,
                  HeldRange},
        RangeCase{"RangeBeyondThirtyTwoBits", "I", 32, "", "1e12", "0,0", 4000000000.0, 4000000000.0, HeldRange},
        RangeCase{"LogChannelWithFlags", "I", 16, "", "1024", "4,0", 16912, std::pow(10.0, 528 / 340.0), 1024},
        RangeCase{"LogChannelOfAThirtyTwoBitRange", "I", 32, "", "4294967296", "4,0", 4294967295.0,
                  std::pow(10.0, 4294967295.0 / std::nearbyint(HeldRange / std::log10(double{HeldRange}))),
                  HeldRange},
        RangeCase{"FixedDecadeInstrumentWithFlags", "I", 16, "FACScan", "1024", "4,0", 16912,
                  std::pow(10.0, 528 / 256.0), 10000},
        RangeCase{"FixedDecadeInstrumentBeyondTheFloats", "I", 16, "FACScan", "65536", "4,0", 65535, LargestFloat,
                  10000},
        RangeCase{"FloatsAreNotMasked", "F", 32, "", "1024", "0,0", 16912.5, 16912.5, 1024}));

// A keyword is found only where a keyword stands: the search text takes a
// whole keyword of the TEXT (with a "$" in front when the search text has
// none), never a keyword's text inside a value or inside a longer keyword.
// The first such keyword with a value of one character or more, without a
// line feed, wins. Each TEXT begins with its own delimiter.
struct KeywordCase {
    const char* what;
    std::string text;
    const char* search;
    std::string value;
};

void PrintTo(const KeywordCase& c, std::ostream* out) { *out << c.what; }

class FcsKeywordSearch : public ::testing::TestWithParam<KeywordCase> {};

TEST_P(FcsKeywordSearch, FindsTheKeywordOnlyWhereAKeywordStands) {
    const KeywordCase& c = GetParam();
    EXPECT_EQ(FcsKeywordValue(c.text, c.search), c.value);
    // The one-pass lookup of the parameter keywords agrees.
    const std::string_view search = c.search;
    const FcsParameterKeywords keys = FindFcsParameterKeywords(SplitFcsText(c.text), 2);
    if (search == "\\$P2N") {
        EXPECT_EQ(keys.Name[2], c.value);
    }
    if (search == "\\$P2R") {
        EXPECT_EQ(keys.Range[2], c.value);
    }
    if (search == "P1E") {
        EXPECT_EQ(keys.Exponent[1], c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FcsKeywordSearch,
    ::testing::Values(
        KeywordCase{"DollarKeyword", "\f$P1N\fFSC\f$P11N\fOther\f", "\\$P1N", "FSC"},
        KeywordCase{"LongerNumberIsAnotherKeyword", "\f$P11N\fOther\f$P1N\fFSC\f", "\\$P1N", "FSC"},
        KeywordCase{"AbsentKeyword", "\f$P1N\fFSC\f", "\\$P2N", ""},
        KeywordCase{"SearchWithoutDollarTakesTheDollarKeyword", "\f$P1E\f4,0\f", "P1E", "4,0"},
        KeywordCase{"SearchWithoutDollarTakesTheBareKeyword", "\fP1E\f4,0\f", "P1E", "4,0"},
        KeywordCase{"LongerKeywordEndingInTheSearchText", "\fXP1E\f0,0\f$P1E\f4,0\f", "P1E", "4,0"},
        KeywordCase{"PrefixedInstrumentKeyword", "\fBD$P2N\fwrong\f$P2N\fSSC\f", "\\$P2N", "SSC"},
        KeywordCase{"SecondDollarIsAnotherKeyword", "\f$$P2R\f5\f", "\\$P2R", ""},
        KeywordCase{"NameEndingInAKeyword", "\f$P1N\fX$P2N\f$P2N\fSSC\f", "\\$P2N", "SSC"},
        KeywordCase{"NameEndingInARange", "\f$P2N\fQ$P2R\f$P2R\f1024\f", "\\$P2R", "1024"},
        KeywordCase{"NameThatIsAKeyword", "\f$P1N\f$COM\f$COM\fremark\f", "\\$COM", "remark"},
        KeywordCase{"NameThatIsTheSampleKeyword", "\f$P1N\fSAMPLE ID\fSAMPLE ID\ftube 3\f", "\\SAMPLE ID",
                    "tube 3"},
        KeywordCase{"ValueThatIsAKeywordsText", "\f$COM\f$P1N\f$P1N\fFSC\f", "\\$P1N", "FSC"},
        KeywordCase{"AnyNonBlankBeforeTheSampleText", "\fXAMPLE ID\fa\f", "\\SAMPLE ID", "a"},
        KeywordCase{"BlankBeforeTheSampleText", "\f AMPLE ID\fa\f", "\\SAMPLE ID", ""},
        KeywordCase{"CaseCounts", "\f$com\fa\f", "\\$COM", ""},
        KeywordCase{"FirstOfTwoWins", "\f$COM\ffirst\f$COM\fsecond\f", "\\$COM", "first"},
        KeywordCase{"ValueWithALineFeedIsPassedOver", "\f$COM\fa\nb\f$COM\fc\f", "\\$COM", "c"},
        // A last value no delimiter closes is kept, without trailing blanks.
        KeywordCase{"ValueNoDelimiterCloses", "\f$COM\fabc", "\\$COM", "abc"},
        KeywordCase{"LastNameNoDelimiterCloses", "/$P1N/FSC/$P2N/SSC", "\\$P2N", "SSC"},
        KeywordCase{"UnclosedLastValueBeforeBlanks", "/$P1N/FSC/$P2N/SSC  \0 "s, "\\$P2N", "SSC"},
        KeywordCase{"UnclosedLastKeywordHasNoValue", "/$P2N/SSC/$COM", "\\$COM", ""},
        KeywordCase{"BlanksAfterTheLastDelimiter", "\f$TOT\f5\f     ", "\\$TOT", "5"},
        // The TEXT is split at its own delimiter only; character 12 is text.
        KeywordCase{"CharacterTwelveInAValue", "/$COM/a\fb/$P2N/SSC/", "\\$P2N", "SSC"},
        KeywordCase{"CharacterTwelveKeptInTheValue", "/$COM/a\fb/$P2N/SSC/", "\\$COM", "a\fb"},
        KeywordCase{"CharacterTwelveAsTheDelimiter", "\f$COM\fa/b\f$P2N\fSSC\f", "\\$P2N", "SSC"},
        // A doubled delimiter right after a keyword is an empty value (FCS
        // 2.0), which never takes the keyword after it.
        KeywordCase{"EmptyValueBeforeAName", "/&5Prefix//$P2N/SSC/", "\\$P2N", "SSC"},
        KeywordCase{"EmptyValueIsNoValue", "/&5Prefix//$P2N/SSC/", "\\&5Prefix", ""},
        KeywordCase{"TwoEmptyValuesInARow", "/A//B//$P2R/1024/", "\\$P2R", "1024"},
        // Keywords that hold the delimiter, escaped, are found unescaped.
        KeywordCase{"DelimiterBeginningEveryKeyword", "$$$P1N$FSC$$$P2N$SSC$", "\\$P2N", "SSC"},
        KeywordCase{"DelimiterBeginningAKeywordAfterAnEmptyValue", "$$$A$$$$P2N$SSC$", "\\$P2N", "SSC"},
        KeywordCase{"DelimiterEndingEveryName", "N$P1NNNFSCN$P2NNNSSCN", "\\$P2N", "SSC"},
        KeywordCase{"DelimiterEndingAKeyword", "E$P1EEE4,0E", "P1E", "4,0"},
        KeywordCase{"EscapedDelimiterEndingAValue", "/$COM/a///$P2N/SSC/", "\\$COM", "a/"},
        KeywordCase{"KeywordAfterAValueEndingInADelimiter", "/$COM/a///$P2N/SSC/", "\\$P2N", "SSC"},
        // A doubled delimiter is an escaped one and belongs to the text it is
        // in; after a keyword it makes the keyword longer.
        KeywordCase{"EscapedDelimiterInsideAValue", "\f$COM\fa\f\fb\f$CYT\fX\f", "\\$COM", "a\fb"},
        KeywordCase{"KeywordAfterAnEscapedDelimiter", "\f$COM\fa\f\f$CYT\f$CYT\fX\f", "\\$CYT", "X"},
        KeywordCase{"DoubledDelimiterAfterAKeyword", "\f$COM\f\fx\f", "\\$COM", ""}));

// An escaped delimiter reads back as the file's own delimiter.
TEST_F(FcsReader, AnEscapedDelimiterIsTheFilesDelimiterInTheValue) {
    FcsTestFile f = twoParameterFile();
    f.Keywords = {{"$COM", "before//after"}, {"SAMPLE ID", "tube//3"}};
    f.Parameters[1].Name = "CD3//CD8";
    const FileRecord r = read(f);
    ASSERT_TRUE(r.Loaded) << r.RefusalReason;
    EXPECT_EQ(r.Comment, "before/after");
    EXPECT_EQ(r.SampleId, "tube/3");
    EXPECT_EQ(r.Parameters[2].Name, "CD3/CD8");
    EXPECT_EQ(r.Parameters[2].Range, 1024);
    EXPECT_EQ(r.PristineData(3, 2), 6.0f);
}

// Whole files whose TEXT holds what FCS allows around its delimiter: each
// opens with every name, range and value in place.
TEST_F(FcsReader, ReadsEveryNameWhateverTheTextHoldsAroundItsDelimiter) {
    struct Case {
        const char* what;
        std::function<void(FcsTestFile&)> shape;
        std::string comment;  // $COM as read, when the shape sets one
    };
    const Case cases[] = {
        {"character 12 in a comment before the parameters",
         [](FcsTestFile& f) { f.LeadingKeywords = {{"$COM", "a\fb"}}; }, "a\fb"},
        {"character 12 in a comment after them", [](FcsTestFile& f) { f.Keywords = {{"$COM", "\f\f"}}; },
         "\f\f"},
        {"character 12 as the delimiter", [](FcsTestFile& f) { f.Delimiter = '\f'; }, ""},
        {"delimiter beginning every keyword, escaped",
         [](FcsTestFile& f) {
             f.Delimiter = '$';
             f.EscapeDelimiters = true;
         },
         ""},
        {"delimiter ending every name, escaped",
         [](FcsTestFile& f) {
             f.Delimiter = 'N';
             f.EscapeDelimiters = true;
         },
         ""},
        {"delimiter inside values, escaped",
         [](FcsTestFile& f) {
             f.Delimiter = ',';
             f.EscapeDelimiters = true;
             f.ByteOrder = "1,2,3,4";
             f.Keywords = {{"$COM", "x,y"}};
         },
         "x,y"},
        {"FCS 2.0 empty values",
         [](FcsTestFile& f) {
             f.Version = "FCS2.0";
             f.Delimiter = '\\';
             f.LeadingKeywords = {{"&5Data File Prefix Part #1", ""}, {"&6Empty", ""}};
             f.Keywords = {{"$COM", "c"}, {"&7", ""}};
         },
         "c"},
        {"no delimiter after the last name",
         [](FcsTestFile& f) {
             f.Overrides = {{"$P2N", std::nullopt}, {"$P2N", "SSC-H"}};
             f.TextUnclosed = true;
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FcsTestFile f = twoParameterFile();
        f.Parameters[1].Range = "262144";
        c.shape(f);
        const FileRecord r = read(f);
        ASSERT_TRUE(r.Loaded) << r.RefusalReason;
        EXPECT_EQ(r.Parameters[1].Name, "FSC-H");
        EXPECT_EQ(r.Parameters[2].Name, "SSC-H");
        EXPECT_EQ(r.Parameters[1].Range, 1024);
        EXPECT_EQ(r.Parameters[2].Range, 262144);
        EXPECT_EQ(r.Comment, c.comment);
        EXPECT_EQ(r.EventCount, 3);
        EXPECT_EQ(r.PristineData(3, 1), 5.0f);
        EXPECT_EQ(r.PristineData(3, 2), 6.0f);
    }
}

// Keywords and values of any text, written with their delimiters escaped,
// split back into the same pairs: empty values too, and delimiters inside a
// value.
TEST_F(FcsReader, SplitsEscapedPairsBackIntoThePairsWritten) {
    std::mt19937 rng(11);
    const std::string letters = "$PN1/ a\f\n";
    std::uniform_int_distribution<size_t> letter(0, letters.size() - 1);
    std::uniform_int_distribution<int> length(0, 5), count(1, 12);
    // Texts without the delimiter "/"; a value longer than two characters
    // gets one inside (at either end it would join the delimiters around it).
    const auto randomText = [&] {
        std::string t;
        for (int n = length(rng); n > 0; --n) t += letters[letter(rng)];
        std::replace(t.begin(), t.end(), '/', 'x');
        return t;
    };
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::pair<std::string, std::string>> written;
        std::string text = "/";
        for (int n = count(rng); n > 0; --n) {
            std::string key = randomText(), value = randomText();
            if (key.empty()) key = "K";
            if (value.size() > 2) value[1] = '/';
            written.emplace_back(key, value);
            for (const std::string* part : {&key, &value}) {
                for (const char ch : *part) text += ch == '/' ? std::string("//") : std::string(1, ch);
                text += '/';
            }
        }
        SCOPED_TRACE(::testing::PrintToString(text));
        const FcsTextPairs pairs = SplitFcsText(text);
        ASSERT_EQ(pairs.size(), written.size());
        for (size_t i = 0; i < written.size(); ++i) {
            EXPECT_EQ(UnescapeFcsText(pairs.rawKey(i), '/'), written[i].first);
            EXPECT_EQ(UnescapeFcsText(pairs.rawValue(i), '/'), written[i].second);
        }
    }
}

TEST_F(FcsReader, RegexFirstSubmatchTakesTheLeftmostMatch) {
    EXPECT_EQ(RegexFirstSubmatch("a(.+?)c", "xxabbcbc"), "bb");
    EXPECT_EQ(RegexFirstSubmatch("a(.+)c", "xxabbcbc"), "bbcb");
    EXPECT_EQ(RegexFirstSubmatch("a(\\d+)", "a1 a22"), "1");
    EXPECT_EQ(RegexFirstSubmatch("a(.+?)c", "abd"), "");
    EXPECT_EQ(RegexFirstSubmatch("[a](.+)", "abc"), "");  // outside the shapes handled
}

// The one-pass lookup of the per-parameter keywords must agree with the
// search texts on any TEXT, including ones built to confuse it.
TEST_F(FcsReader, ParameterKeywordPassAgreesWithTheSearch) {
    const std::vector<std::string> pieces = {
        "\x0c", "\x0c", "\x0c", "$P1N", "$P2N", "$P12N", "P1E", "$P1E", "$P01R", "P2DISPLAY", "$P1B",
        "$P2R", "x", "12", "1", "\n", "FSC", "$P", "N", "DISPLAY", "$P10R", "$$P1R", "P2B",
    };
    std::mt19937 rng(7);
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(1, 40);
    for (int round = 0; round < 3000; ++round) {
        std::string t;
        const int n = length(rng);
        for (int k = 0; k < n; ++k) t += pieces[pick(rng)];
        const FcsParameterKeywords keys = FindFcsParameterKeywords(SplitFcsText(t), 12);
        for (int p = 1; p <= 12; ++p) {
            const std::string number = std::to_string(p);
            SCOPED_TRACE(testing::Message() << "text " << ::testing::PrintToString(t) << " parameter " << p);
            ASSERT_EQ(std::string(keys.Name[static_cast<size_t>(p)]), FcsKeywordValue(t, "\\$P" + number + "N"));
            ASSERT_EQ(std::string(keys.Range[static_cast<size_t>(p)]), FcsKeywordValue(t, "\\$P" + number + "R"));
            ASSERT_EQ(std::string(keys.Bits[static_cast<size_t>(p)]), FcsKeywordValue(t, "\\$P" + number + "B"));
            ASSERT_EQ(std::string(keys.Exponent[static_cast<size_t>(p)]), FcsKeywordValue(t, "P" + number + "E"));
            ASSERT_EQ(std::string(keys.Display[static_cast<size_t>(p)]), FcsKeywordValue(t, "P" + number + "DISPLAY"));
        }
    }
}

TEST_F(FcsReader, ReadsSpillAndComp) {
    struct Entry { int i, j; float value; };
    struct Case {
        const char* what;
        std::string spill;
        std::string apply;  // APPLY COMPENSATION value when spill is set
        std::string comp;
        bool on;
        std::vector<Entry> entries;  // every other element stays 0
    };
    const Case cases[] = {
        {"SPILL by name, diagonal skipped", "2,FL1-H,FL2-H,1,0.15,0.02,1", "TRUE", "", true,
         {{3, 4, 0.15f}, {4, 3, 0.02f}}},
        {"SPILL not applied", "2,FL1-H,FL2-H,1,0.15,0.02,1", "FALSE", "", false, {}},
        {"SPILL names an unknown parameter", "2,FL1-H,PE-Cy7,1,0.15,0.02,1", "TRUE", "", true, {}},
        {"SPILL with negative shares", "2,FSC,SSC,1,-0.5,0.25,1", "TRUE", "", true, {{1, 2, -0.5f}, {2, 1, 0.25f}}},
        {"$COMP by number", "", "", "2,0,-15,-2,0", true, {{1, 2, 0.15f}, {2, 1, 0.02f}}},
        {"$COMP sets the diagonal too", "", "", "1,-10", true, {{1, 1, 0.1f}}},
        {"$COMP cut by a writer", "", "", "2,0,-15.0001,0,0", true, {{1, 2, 0.150001f}}},
        {"$COMP over SPILL", "2,FL1-H,FL2-H,1,0.15,0.02,1", "TRUE", "4,0,0,0,0,0,0,0,0,0,0,0,-30,0,0,0,0", true,
         {{3, 4, 0.30f}, {4, 3, 0.0f}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FcsTestFile f;
        f.param("FSC").param("SSC").param("FL1-H").param("FL2-H").event({1, 2, 3, 4});
        f.Spill = c.spill;
        f.Comp = c.comp;
        if (!c.spill.empty()) f.Overrides.push_back({"APPLY COMPENSATION", c.apply});
        const FileRecord r = read(f);
        ASSERT_TRUE(r.Loaded) << r.RefusalReason;
        EXPECT_EQ(r.CompensationOn, c.on);
        for (int i = 0; i <= 4; ++i) {
            for (int j = 0; j <= 4; ++j) {
                float expected = 0.0f;
                for (const Entry& e : c.entries)
                    if (e.i == i && e.j == j) expected = e.value;
                EXPECT_FLOAT_EQ(r.CompensationMatrix(i, j), expected) << "(" << i << ", " << j << ")";
            }
        }
        // The reader never compensates.
        EXPECT_EQ(r.WorkingData(1, 4), 4.0f);
    }
}

TEST_F(FcsReader, LoadsOnlyTheCompleteEventsOfAShortDataSegment) {
    struct Case { size_t dropped; int32_t events; };
    const Case cases[] = {{0, 3}, {1, 2}, {7, 2}, {8, 2}, {9, 1}, {24, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dropped);
        FcsTestFile f = twoParameterFile();
        f.DataBytesDropped = c.dropped;
        const FileRecord r = read(f);
        ASSERT_TRUE(r.Loaded) << r.RefusalReason;
        EXPECT_EQ(r.EventCount, c.events);
        EXPECT_EQ(r.EventsLoaded, c.events);
        EXPECT_EQ(r.PristineData.maxEvent(), c.events);
        for (int e = 1; e <= c.events; ++e) EXPECT_EQ(r.PristineData(e, 2), 2.0f * static_cast<float>(e));
    }
}

TEST_F(FcsReader, CapsTheEventsAtTheLoadLimit) {
    g.MaxEventsLoaded = 2;
    const FileRecord r = read(twoParameterFile());
    ASSERT_TRUE(r.Loaded);
    EXPECT_EQ(r.EventCount, 2);
    EXPECT_EQ(r.EventsLoaded, 2);
    EXPECT_EQ(r.PristineData(2, 1), 3.0f);
}

TEST_F(FcsReader, ZeroEventsLoadAnEmptyFile) {
    FcsTestFile f = twoParameterFile();
    f.Events.clear();
    const FileRecord r = read(f);
    ASSERT_TRUE(r.Loaded) << r.RefusalReason;
    EXPECT_EQ(r.EventCount, 0);
    EXPECT_EQ(r.ParameterCount, 2);
    EXPECT_EQ(r.PristineData.maxEvent(), 0);
}

// Files too large for the HEADER's eight digits put 0 or 99999999 there
// and give DATA's place in $BEGINDATA; any other HEADER value holds.
TEST_F(FcsReader, LocatesDataByBeginDataOnlyWhenTheHeaderCannotSay) {
    for (FcsDataOffsets offsets : {FcsDataOffsets::HeaderZero, FcsDataOffsets::HeaderNines}) {
        FcsTestFile f = twoParameterFile();
        f.Offsets = offsets;
        const FileRecord r = read(f);
        ASSERT_TRUE(r.Loaded) << r.RefusalReason;
        EXPECT_EQ(r.PristineData(1, 1), 1.0f);
        EXPECT_EQ(r.PristineData(3, 2), 6.0f);
        EXPECT_GT(r.DataStart, 58);
    }
    // $ENDDATA bounds the events in that case. The new value has as many
    // digits as the old one, so DATA stays where it was.
    FcsTestFile bounded = twoParameterFile();
    bounded.Offsets = FcsDataOffsets::HeaderZero;
    bounded.Trailer = std::string(64, '\0');
    const FileRecord full = read(bounded);
    ASSERT_TRUE(full.Loaded) << full.RefusalReason;
    EXPECT_EQ(full.EventCount, 3);
    const int32_t begin = full.DataStart;
    ASSERT_EQ(std::to_string(begin + 15).size(), std::to_string(begin + 23).size());
    bounded.Overrides.push_back({"$ENDDATA", std::to_string(begin + 15)});
    const FileRecord cut = read(bounded);
    ASSERT_TRUE(cut.Loaded) << cut.RefusalReason;
    EXPECT_EQ(cut.DataStart, begin);
    EXPECT_EQ(cut.EventCount, 2);

    // A HEADER offset that is not 0 or 99999999 wins over the keyword.
    FcsTestFile f = twoParameterFile();
    f.Overrides.push_back({"$BEGINDATA", "0"});
    const FileRecord r = read(f);
    ASSERT_TRUE(r.Loaded) << r.RefusalReason;
    EXPECT_EQ(r.PristineData(1, 1), 1.0f);
    EXPECT_EQ(r.PristineData(3, 2), 6.0f);
}

// Every malformed file is refused with a short reason, keeps nothing but the
// HEADER's version and offsets, and never takes a FileTable slot.
TEST_F(FcsReader, RefusesMalformedFiles) {
    auto with = [](auto change) {
        FcsTestFile f = twoParameterFile();
        change(f);
        return FcsTestBytes(f);
    };
    auto over = [&](const char* key, std::optional<std::string> value) {
        return with([&](FcsTestFile& f) { f.Overrides.push_back({key, value}); });
    };
    const std::string good = FcsTestBytes(twoParameterFile());
    std::string bigText = with([](FcsTestFile& f) {
        f.Overrides.push_back({"$PAR", "3000"});
        f.Keywords.push_back({"$COM", std::string(40000, 'x')});
    });
    struct Case {
        const char* what;
        std::string bytes;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"empty", "", "empty"},
        {"ten bytes of something else", "oi21j08cn\n", "does not begin with"},
        {"text table", "FSC\tSSC\r\n1\t2\r\n", "does not begin with"},
        {"FCS 3.1", with([](FcsTestFile& f) { f.Version = "FCS3.1"; }), "FCS3.1"},
        {"FCS 1.0", with([](FcsTestFile& f) { f.Version = "FCS1.0"; }), "FCS1.0"},
        {"header cut short", good.substr(0, 40), "too short"},
        {"TEXT start beyond the file", with([](FcsTestFile& f) { f.HeaderTextStart = "99999990"; }), "outside"},
        {"TEXT end beyond the file", with([](FcsTestFile& f) { f.HeaderTextEnd = "9999999"; }), "outside"},
        {"TEXT end before start", with([](FcsTestFile& f) { f.HeaderTextEnd = "40"; }), "ends before"},
        {"negative TEXT start", with([](FcsTestFile& f) { f.HeaderTextStart = "-5"; }), "outside"},
        {"$PAR missing", over("$PAR", std::nullopt), "$PAR is missing"},
        {"$PAR zero", over("$PAR", "0"), "$PAR"},
        {"$PAR negative", over("$PAR", "-2"), "$PAR"},
        {"$PAR not a number", over("$PAR", "two"), "$PAR is not a number"},
        {"$PAR beyond the TEXT", over("$PAR", "1000000"), "larger than the file"},
        {"$PAR beyond 32 bits", over("$PAR", "99999999999"), "$PAR"},
        {"$PAR above the parameter limit", bigText, "parameters are not supported"},
        {"$PAR above the parameters described", over("$PAR", "3"), "$P3R is missing"},
        {"$TOT missing", over("$TOT", std::nullopt), "$TOT is missing"},
        {"$TOT not a number", over("$TOT", "many"), "$TOT is not a number"},
        {"$TOT negative", over("$TOT", "-1"), "$TOT is negative"},
        {"$PnR missing", over("$P2R", std::nullopt), "$P2R is missing"},
        {"$PnR not a number", over("$P1R", "wide"), "$P1R is not a number"},
        {"$PnR far below 32 bits", over("$P1R", "-1e12"), "$P1R is out of range"},
        {"$PnB missing", over("$P1B", std::nullopt), "$P1B is missing"},
        {"$PnB differ", with([](FcsTestFile& f) {
             f.DataType = "I";
             f.Bits = 16;
             f.Parameters[1].Bits = 32;
         }),
         "differs between parameters"},
        {"24-bit integers", with([](FcsTestFile& f) { f.DataType = "I"; f.Bits = 24; }),
         "24-bit integers are not supported"},
        {"8-bit integers", with([](FcsTestFile& f) { f.DataType = "I"; f.Bits = 8; }),
         "8-bit integers are not supported"},
        {"64-bit floats", with([](FcsTestFile& f) { f.Bits = 64; }), "64-bit floats are not supported"},
        {"doubles", with([](FcsTestFile& f) { f.DataType = "D"; f.Bits = 64; }), "data type \"D\""},
        {"ASCII", with([](FcsTestFile& f) { f.DataType = "A"; }), "data type \"A\""},
        {"no data type", over("$DATATYPE", std::nullopt), "data type"},
        {"byte order of a mixed machine", over("$BYTEORD", "3,4,1,2"), "byte order"},
        {"no byte order", over("$BYTEORD", std::nullopt), "byte order"},
        {"log range 1", with([](FcsTestFile& f) { f.Parameters[0].Range = "1"; f.Parameters[0].Exponent = "4,0"; }),
         "logarithmic"},
        {"log range 0", with([](FcsTestFile& f) { f.Parameters[1].Range = "0"; f.Parameters[1].Exponent = "4,0"; }),
         "logarithmic"},
        {"SPILL shorter than its count", with([](FcsTestFile& f) { f.Spill = "2,FSC-H,SSC-H,1,0.1,0.2"; }),
         "SPILL is shorter"},
        {"SPILL count negative", with([](FcsTestFile& f) { f.Spill = "-3,FSC-H"; }), "SPILL"},
        {"SPILL of 101 names", with([](FcsTestFile& f) { f.Spill = "101," + std::string(20000, ','); }),
         "more than 100"},
        {"SPILL count beyond 32 bits", with([](FcsTestFile& f) { f.Spill = "1e12,FSC-H"; }), "SPILL"},
        {"$COMP shorter than its count", with([](FcsTestFile& f) { f.Comp = "2,0,-15,-2"; }), "$COMP is shorter"},
        {"$COMP count above $PAR", with([](FcsTestFile& f) { f.Comp = "3,0,0,0,0,0,0,0,0,0"; }), "more rows"},
        {"$COMP count negative", with([](FcsTestFile& f) { f.Comp = "-1,5"; }), "$COMP"},
        {"DATA start beyond the file", with([](FcsTestFile& f) { f.HeaderDataStart = "9999999"; }), "outside"},
        {"DATA start negative", with([](FcsTestFile& f) { f.HeaderDataStart = "-100"; }), "outside"},
        {"HEADER offset beyond 32 bits", with([](FcsTestFile& f) { f.HeaderDataStart = "9e99"; }), "out of range"},
        {"HEADER 0 without $BEGINDATA", with([](FcsTestFile& f) {
             f.Offsets = FcsDataOffsets::HeaderZero;
             f.Overrides.push_back({"$BEGINDATA", std::nullopt});
         }),
         "$BEGINDATA is missing"},
        {"$BEGINDATA beyond the file", with([](FcsTestFile& f) {
             f.Offsets = FcsDataOffsets::HeaderNines;
             f.Overrides.push_back({"$BEGINDATA", "5000000"});
         }),
         "outside"},
        {"$ENDDATA before $BEGINDATA", with([](FcsTestFile& f) {
             f.Offsets = FcsDataOffsets::HeaderZero;
             f.Overrides.push_back({"$ENDDATA", "3"});
         }),
         "ends before"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FileRecord r = ReadFcsData(c.bytes, "/x/bad.fcs");
        EXPECT_FALSE(r.Loaded);
        EXPECT_EQ(r.FileKey, 0);
        EXPECT_NE(r.RefusalReason.find(c.reason), std::string::npos) << r.RefusalReason;
        EXPECT_LT(r.RefusalReason.size(), 80u);
        EXPECT_EQ(r.ParameterCount, 0);
        EXPECT_EQ(r.EventCount, 0);
        EXPECT_TRUE(r.Parameters.empty());
        EXPECT_TRUE(r.PristineData.empty());
        EXPECT_TRUE(r.WorkingData.empty());
        EXPECT_EQ(LoadErrorMessage(r), std::string(LoadErrorText) + "\n" + r.RefusalReason);
    }
}

TEST_F(FcsReader, RefusesPathsThatAreNoReadableFile) {
    test::TempFolder dir;
    test::WriteBytes(dir.file("empty.fcs"), "");
    struct Case { std::string path; const char* reason; };
    const Case cases[] = {
        {dir.path(), "folder"},
        {dir.file("missing.fcs"), "could not be opened"},
        {dir.file("empty.fcs"), "empty"},
        {"", "could not be opened"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const FileRecord r = ReadFcsFile(c.path);
        EXPECT_FALSE(r.Loaded);
        EXPECT_EQ(r.FileKey, 0);
        EXPECT_NE(r.RefusalReason.find(c.reason), std::string::npos) << r.RefusalReason;
    }
}

TEST_F(FcsReader, ReadsAFileFromDisk) {
    test::TempFolder dir;
    FcsTestFile f = twoParameterFile();
    test::WriteFcsTestFile(dir.file("tube 1.fcs"), f);
    const FileRecord r = ReadFcsFile(dir.file("tube 1.fcs"));
    ASSERT_TRUE(r.Loaded) << r.RefusalReason;
    EXPECT_EQ(r.Folder, dir.path());
    EXPECT_EQ(r.FileName, "tube 1.fcs");
    EXPECT_EQ(r.fullPath(), dir.file("tube 1.fcs"));
    EXPECT_EQ(r.FileKey, ComputeFileKey(dir.file("tube 1.fcs")));
    EXPECT_EQ(r.PristineData(3, 1), 5.0f);
    EXPECT_EQ(r.WorkingData(3, 1), 5.0f);
}

TEST_F(FcsReader, TellsFcsFilesByTheirFirstSixBytes) {
    test::TempFolder dir;
    struct Case { const char* bytes; bool fcs; };
    const Case cases[] = {
        {"FCS3.0", true}, {"FCS2.0    rest", true}, {"FCS3.1    ", false}, {"FCS3.", false},
        {"fcs3.0", false}, {"", false}, {" FCS3.0", false},
    };
    int k = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const std::string path = dir.file("f" + std::to_string(k++));
        test::WriteBytes(path, c.bytes);
        EXPECT_EQ(IsFcsFile(path), c.fcs);
    }
    EXPECT_FALSE(IsFcsFile(dir.path()));
    EXPECT_FALSE(IsFcsFile(dir.file("missing")));
}

// The key sums every second byte of the first 80000 divided by 100 in a
// 32-bit float; a readable file never gets 0, the mark of a free slot.
TEST_F(FcsReader, ComputesTheFileKey) {
    test::TempFolder dir;
    std::string big(100000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 37 + 11) & 0xff);
    float sum = 0.0f;
    for (size_t i = 1; i < 80000; i += 2)
        sum = static_cast<float>(static_cast<double>(sum) + static_cast<unsigned char>(big[i]) / 100.0);
    test::WriteBytes(dir.file("big"), big);
    EXPECT_EQ(ComputeFileKey(dir.file("big")), static_cast<int32_t>(std::floor(sum)));
    // Bytes beyond the first 80000 do not count.
    std::string changedTail = big;
    changedTail[80001] = 'x';
    test::WriteBytes(dir.file("tail"), changedTail);
    EXPECT_EQ(ComputeFileKey(dir.file("tail")), ComputeFileKey(dir.file("big")));

    struct Case { std::string bytes; int32_t key; };
    const Case cases[] = {
        {"a", 1},            // nothing summed: the key would be 0
        {"a\n", 1},          // 0.1
        {"xdxd", 2},         // 'd' is 100
        {"x\xff", 2},        // 2.55
        {"\xff" "a", 1},     // 0.97: the first byte never counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        test::WriteBytes(dir.file("small"), c.bytes);
        EXPECT_EQ(ComputeFileKey(dir.file("small")), c.key);
        EXPECT_EQ(ComputeFileKeyOfData(c.bytes), c.key);
    }
    test::WriteBytes(dir.file("empty"), "");
    EXPECT_EQ(ComputeFileKey(dir.file("empty")), 0);
    EXPECT_EQ(ComputeFileKey(dir.file("missing")), 0);
    EXPECT_EQ(ComputeFileKey(dir.path()), 0);
}

}  // namespace
}  // namespace qv
