// The FCS 3.0 writer, checked byte by byte and through the FCS reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/FcsReader.h"
#include "core/FcsWriter.h"
#include "core/FileKey.h"
#include "core/SharedState.h"

namespace qv {
namespace {

class FcsWriter : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }
};

// A loaded record of P parameters and E events whose value (e, p) is
// e * 10 + p + 0.25, as the opening code leaves it.
FileRecord makeRecord(int32_t P, int32_t E) {
    FileRecord r;
    r.Loaded = true;
    r.ParameterCount = P;
    r.EventCount = E;
    r.EventsLoaded = E;
    r.Parameters.assign(static_cast<size_t>(P) + 1, ParameterInfo{});
    for (int32_t p = 1; p <= P; ++p) {
        r.Parameters[static_cast<size_t>(p)].Name = "FL" + std::to_string(p) + "-H";
        r.Parameters[static_cast<size_t>(p)].Range = 1024;
    }
    r.PristineData.resize(E, P);
    for (int32_t e = 1; e <= E; ++e)
        for (int32_t p = 1; p <= P; ++p) r.PristineData(e, p) = static_cast<float>(e * 10 + p) + 0.25f;
    r.WorkingData = r.PristineData;
    r.CompensationMatrix.resize(P, P);
    return r;
}

std::string headerField(const std::string& bytes, size_t at) { return bytes.substr(at, 8); }

// The TEXT split at its own first byte, read without the program's reader.
std::map<std::string, std::string> textPairs(const std::string& bytes) {
    const long begin = std::stol(headerField(bytes, 10));
    const long end = std::stol(headerField(bytes, 18));
    std::string text = bytes.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin + 1));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    const char delimiter = text[0];
    std::vector<std::string> parts;
    std::string current;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == delimiter) {
            parts.push_back(current);
            current.clear();
        } else {
            current += text[i];
        }
    }
    EXPECT_TRUE(current.empty()) << "the TEXT does not end with its delimiter";
    EXPECT_EQ(parts.size() % 2, 0u);
    std::map<std::string, std::string> pairs;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) pairs[parts[i]] = parts[i + 1];
    return pairs;
}

uint32_t bigEndianWord(const std::string& bytes, size_t at) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | uint32_t{b[3]};
}

float floatAt(const std::string& bytes, size_t at) {
    const uint32_t w = bigEndianWord(bytes, at);
    float v = 0;
    std::memcpy(&v, &w, 4);
    return v;
}

TEST_F(FcsWriter, ThreeParametersOfAThousandEventsHaveTheFixedLayout) {
    FileRecord r = makeRecord(3, 1000);
    r.Parameters[1].Name = "FSC-A";
    r.Parameters[2].Range = 262144;
    r.Parameters[3].IsLog = true;
    const std::string bytes = FcsFileBytes(r, "1.2.1");

    ASSERT_EQ(bytes.size(), 15000u);
    const std::string header = "FCS3.0         256    2999    3000   14999       0       0";
    EXPECT_EQ(bytes.substr(0, 256), header + std::string(256 - header.size(), ' '));

    const std::string text =
        "\\$BEGINANALYSIS\\0\\$ENDANALYSIS\\0\\$BEGINTEXT\\0\\$ENDTEXT\\0\\$BEGINSTEXT\\0\\$ENDSTEXT\\0"
        "\\$NEXTDATA\\0"
        "\\$BEGINDATA\\3000\\$ENDDATA\\14999\\$CYT\\Quorvane ver 1.2.1\\$BYTEORD\\4,3,2,1"
        "\\$DATATYPE\\F\\$TOT\\1000\\$MODE\\L\\$PAR\\3"
        "\\$P1N\\FSC-A\\$P1R\\1024\\$P1B\\32\\$P1E\\0,0\\P1DISPLAY\\LIN"
        "\\$P2N\\FL2-H\\$P2R\\262144\\$P2B\\32\\$P2E\\0,0\\P2DISPLAY\\LIN"
        "\\$P3N\\FL3-H\\$P3R\\1024\\$P3B\\32\\$P3E\\0,0\\P3DISPLAY\\LOG\\";
    EXPECT_EQ(bytes.substr(256, text.size()), text);
    EXPECT_EQ(bytes.substr(256 + text.size(), 2744 - text.size()), std::string(2744 - text.size(), ' '));
    // Event 1, parameter 1 first; event 1000, parameter 3 last.
    EXPECT_EQ(floatAt(bytes, 3000), 11.25f);
    EXPECT_EQ(floatAt(bytes, 3004), 12.25f);
    EXPECT_EQ(floatAt(bytes, 14996), 10003.25f);
}

TEST_F(FcsWriter, OptionalKeywordsFollowTheParametersInTheirOrder) {
    FileRecord r = makeRecord(2, 3);
    r.CompensationOn = true;
    r.CompensationMatrix(1, 2) = 0.15f;
    r.CompensationMatrix(2, 1) = 0.02f;
    r.BeginTime = "10:01:02";
    r.EndTime = "10:05:00";
    r.Comment = "stained";
    r.SampleId = "A1";
    const std::string bytes = FcsFileBytes(r, "1.2.1");
    const std::string tail = "\\P2DISPLAY\\LIN\\$COMP\\2,0,-15,-2,0\\$BTIM\\10:01:02\\$ETIM\\10:05:00"
                             "\\$COM\\stained\\SAMPLE ID\\A1\\ ";
    EXPECT_NE(bytes.find(tail), std::string::npos);
    // Empty values leave their keywords out; compensation off leaves $COMP out.
    const std::string plain = FcsFileBytes(makeRecord(2, 3), "1.2.1");
    for (const char* absent : {"$COMP", "$BTIM", "$ETIM", "$COM", "SAMPLE ID"})
        EXPECT_EQ(plain.find(absent), std::string::npos) << absent;
}

TEST_F(FcsWriter, EverythingWrittenReadsBackTheSame) {
    FileRecord r = makeRecord(4, 50);
    r.Parameters[2].Name = "CD4 PE";
    r.Parameters[2].Range = 262144;
    r.Parameters[3].IsLog = true;
    r.Parameters[4].Range = 10000;
    r.Comment = "two\rlines";
    r.SampleId = "tube 7";
    r.BeginTime = "09:00:00";
    r.EndTime = "09:10:30";
    r.CompensationOn = true;
    r.CompensationMatrix(1, 2) = 0.15f;
    r.CompensationMatrix(3, 4) = -0.0273f;
    r.CompensationMatrix(4, 1) = 1.0e-7f;
    r.CompensationMatrix(2, 2) = 0.5f;
    // Values whose bits must survive exactly.
    const float special[] = {-0.0f, 1.0e-40f, 3.4e38f, -123.456f, 0.1f, 16777217.0f};
    for (int i = 0; i < 6; ++i) r.PristineData(i + 1, 2) = special[i];
    r.EventCount = 40;  // the events in use, of 50 read

    const FileRecord back = ReadFcsData(FcsFileBytes(r, "1.2.1"), "/out/saved.fcs");
    ASSERT_TRUE(back.Loaded) << back.RefusalReason;
    EXPECT_EQ(back.Cytometer, "Quorvane ver 1.2.1");
    EXPECT_EQ(back.ParameterCount, 4);
    EXPECT_EQ(back.EventCount, 40);
    EXPECT_EQ(back.EventsLoaded, 40);
    for (int p = 1; p <= 4; ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(back.Parameters[p].Name, r.Parameters[p].Name);
        EXPECT_EQ(back.Parameters[p].Range, r.Parameters[p].Range);
        EXPECT_EQ(back.Parameters[p].IsLog, r.Parameters[p].IsLog);
        for (int q = 1; q <= 4; ++q) EXPECT_EQ(back.CompensationMatrix(p, q), r.CompensationMatrix(p, q)) << q;
        for (int e = 1; e <= 40; ++e) {
            uint32_t a = 0, b = 0;
            std::memcpy(&a, &r.PristineData(e, p), 4);
            std::memcpy(&b, &back.PristineData(e, p), 4);
            ASSERT_EQ(a, b) << "event " << e;
        }
    }
    EXPECT_TRUE(back.CompensationOn);
    EXPECT_EQ(back.Comment, r.Comment);
    EXPECT_EQ(back.SampleId, r.SampleId);
    EXPECT_EQ(back.BeginTime, r.BeginTime);
    EXPECT_EQ(back.EndTime, r.EndTime);
}

TEST_F(FcsWriter, TheLayoutAgreesWithItselfWithoutTheReader) {
    FileRecord r = makeRecord(5, 7);
    const std::string bytes = FcsFileBytes(r, "1.2.1");
    const auto kw = textPairs(bytes);
    EXPECT_EQ(std::stol(headerField(bytes, 26)), std::stol(kw.at("$BEGINDATA")));
    EXPECT_EQ(std::stol(headerField(bytes, 34)), std::stol(kw.at("$ENDDATA")));
    EXPECT_EQ(std::stol(kw.at("$ENDDATA")) + 1, static_cast<long>(bytes.size()));
    EXPECT_EQ(std::stol(headerField(bytes, 18)) + 1, std::stol(kw.at("$BEGINDATA")));
    EXPECT_EQ(kw.at("$TOT"), "7");
    EXPECT_EQ(kw.at("$PAR"), "5");
    EXPECT_EQ(kw.at("$BYTEORD"), "4,3,2,1");
    EXPECT_EQ(kw.at("$DATATYPE"), "F");
    EXPECT_EQ(kw.at("$P5B"), "32");
    // 32-bit big-endian: 11.25 is 0x41340000; event 7, parameter 5 ends the file.
    EXPECT_EQ(bigEndianWord(bytes, 3000), 0x41340000u);
    EXPECT_EQ(floatAt(bytes, bytes.size() - 4), 75.25f);
}

// -100 x c as the shortest text that reads back to c.
TEST_F(FcsWriter, CompensationValuesAreTheShortestTextThatReadsBack) {
    const std::vector<std::pair<float, std::string>> cases = {
        {0.15f, "-15"}, {0.02f, "-2"}, {0.0f, "0"}, {-0.0f, "0"}, {-0.005f, "0.5"},
        {0.153f, "-15.3"}, {1.0f, "-100"}, {-0.25f, "25"}, {0.123456f, "-12.3456"},
    };
    for (const auto& [c, text] : cases) EXPECT_EQ(FcsCompValueText(c), text) << c;

    std::mt19937 rng(7);
    std::uniform_real_distribution<float> any(-1.5f, 1.5f);
    for (int i = 0; i < 20000; ++i) {
        const float c = i % 3 == 0 ? any(rng) * 1e-6f : any(rng);
        const std::string text = FcsCompValueText(c);
        ASSERT_EQ(static_cast<float>(-(std::stod(text) / 100.0)), c) << text;
    }
}

TEST_F(FcsWriter, SavingAgainAndAgainNeverDriftsTheCompensation) {
    FileRecord r = makeRecord(2, 4);
    r.CompensationOn = true;
    r.CompensationMatrix(1, 2) = 0.15f;
    r.CompensationMatrix(2, 1) = 0.0333333f;
    for (int round = 0; round < 5; ++round) {
        r = ReadFcsData(FcsFileBytes(r, "1.2.1"), "/out/again.fcs");
        ASSERT_TRUE(r.Loaded);
    }
    EXPECT_EQ(r.CompensationMatrix(1, 2), 0.15f);
    EXPECT_EQ(r.CompensationMatrix(2, 1), 0.0333333f);
}

TEST_F(FcsWriter, ALongTextMovesTheDataRightBehindIt) {
    FileRecord r = makeRecord(40, 25);
    r.CompensationOn = true;
    for (int i = 1; i <= 40; ++i)
        for (int j = 1; j <= 40; ++j)
            if (i != j) r.CompensationMatrix(i, j) = 0.001f * static_cast<float>(i) + 0.0001f * static_cast<float>(j);
    const std::string bytes = FcsFileBytes(r, "1.2.1");
    const auto kw = textPairs(bytes);
    const long start = std::stol(kw.at("$BEGINDATA"));
    EXPECT_GT(start, 3000);
    EXPECT_EQ(std::stol(headerField(bytes, 26)), start);
    EXPECT_EQ(std::stol(headerField(bytes, 18)), start - 1);
    EXPECT_EQ(static_cast<long>(bytes.size()), start + 4 * 40 * 25);

    const FileRecord back = ReadFcsData(bytes, "/out/wide.fcs");
    ASSERT_TRUE(back.Loaded) << back.RefusalReason;
    EXPECT_EQ(back.ParameterCount, 40);
    EXPECT_EQ(back.Parameters[40].Name, "FL40-H");
    EXPECT_EQ(back.CompensationMatrix(40, 39), r.CompensationMatrix(40, 39));
    EXPECT_EQ(back.PristineData(1, 1), 11.25f);
    EXPECT_EQ(back.PristineData(25, 40), 290.25f);
}

// Around the edge of the fixed room: a TEXT of 2744 characters still ends at
// 2999; one character more moves the DATA.
TEST_F(FcsWriter, TheFixedRoomHoldsExactlyItsTextLength) {
    FileRecord r = makeRecord(1, 2);
    const size_t bare = LayoutFcsFile(r, "1.2.1").Head.find_last_not_of(' ') + 1 - 256;
    const size_t room = 2744 - bare - std::string("$COM\\\\").size();
    for (size_t extra : {room - 1, room, room + 1, room + 2, room + 500}) {
        SCOPED_TRACE(extra);
        r.Comment = std::string(extra, 'c');
        const std::string bytes = FcsFileBytes(r, "1.2.1");
        const FileRecord back = ReadFcsData(bytes, "/out/edge.fcs");
        ASSERT_TRUE(back.Loaded) << back.RefusalReason;
        EXPECT_EQ(back.Comment, r.Comment);
        EXPECT_EQ(back.PristineData(2, 1), 21.25f);
        const long start = std::stol(textPairs(bytes).at("$BEGINDATA"));
        EXPECT_EQ(start == 3000, extra <= room);
    }
}

TEST_F(FcsWriter, ADataSegmentPastEightDigitsPutsZeroInTheHeader) {
    FileRecord r = makeRecord(3, 2);
    r.EventCount = 9000000;  // 108,000,000 DATA bytes; the layout reads no values
    const FcsFileLayout layout = LayoutFcsFile(r, "1.2.1");
    EXPECT_EQ(layout.DataStart, 3000);
    EXPECT_EQ(layout.DataEnd, 108002999);
    EXPECT_EQ(headerField(layout.Head, 18), "    2999");
    EXPECT_EQ(headerField(layout.Head, 26), "       0");
    EXPECT_EQ(headerField(layout.Head, 34), "       0");
    const auto kw = textPairs(layout.Head);
    EXPECT_EQ(kw.at("$BEGINDATA"), "3000");
    EXPECT_EQ(kw.at("$ENDDATA"), "108002999");
    EXPECT_EQ(kw.at("$TOT"), "9000000");

    // The reader finds the DATA through the keywords (here cut short after
    // two events, so it takes those two).
    std::string bytes = layout.Head;
    AppendFcsEvents(r, 1, 2, bytes);
    const FileRecord back = ReadFcsData(bytes, "/out/big.fcs");
    ASSERT_TRUE(back.Loaded) << back.RefusalReason;
    EXPECT_EQ(back.EventCount, 2);
    EXPECT_EQ(back.PristineData(2, 3), 23.25f);

    // One DATA byte short of the limit still fits.
    r.EventCount = (99999999 - 2999) / 12;
    EXPECT_EQ(headerField(LayoutFcsFile(r, "1.2.1").Head, 26), "    3000");
}

TEST_F(FcsWriter, AValueHoldingTheDelimiterGetsAnotherDelimiter) {
    FileRecord r = makeRecord(2, 3);
    r.Parameters[1].Name = "FL1\\CD3";
    r.Comment = "a/b";
    const std::string bytes = FcsFileBytes(r, "1.2.1");
    EXPECT_EQ(bytes[256], '|');  // "\" and "/" are both taken
    const FileRecord back = ReadFcsData(bytes, "/out/delim.fcs");
    ASSERT_TRUE(back.Loaded) << back.RefusalReason;
    EXPECT_EQ(back.Parameters[1].Name, "FL1\\CD3");
    EXPECT_EQ(back.Comment, "a/b");
    EXPECT_EQ(back.PristineData(3, 2), 32.25f);
}

// A save is refused, before anything is written, when the reader could not
// take the file back. The layout is sized from the counts alone: the records
// here declare their events without holding them.
struct RefusalCase {
    const char* what;
    int32_t parameters;
    int64_t events;
    const char* refusal;  // a part of the reason; "" when the file reads back
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.what; }

class FcsWriteRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

// The largest number of single-parameter events whose file still opens:
// 3000 bytes of HEADER and TEXT, then 4 bytes an event.
constexpr int64_t MostSingleEvents = (MaxReadableFileBytes - 3000) / 4;

TEST_P(FcsWriteRefusalTest, RefusesWhatTheReaderWouldRefuse) {
    const RefusalCase& c = GetParam();
    FileRecord r;
    r.Loaded = true;
    r.ParameterCount = c.parameters;
    r.EventCount = static_cast<int32_t>(c.events);
    r.Parameters.assign(static_cast<size_t>(std::max(c.parameters, 0)) + 1, ParameterInfo{});
    for (int32_t p = 1; p <= c.parameters; ++p) r.Parameters[static_cast<size_t>(p)].Range = 262144;
    const std::string refusal = FcsWriteRefusal(r, "1.2.1");
    if (std::string_view(c.refusal).empty()) {
        EXPECT_EQ(refusal, "");
    } else {
        EXPECT_NE(refusal.find(c.refusal), std::string::npos) << refusal;
    }
    // The size it judges is the size the writer lays out.
    if (c.parameters >= 1 && c.parameters <= MaxReadableParameters) {
        const int64_t bytes = LayoutFcsFile(r, "1.2.1").DataEnd + 1;
        EXPECT_EQ(bytes > MaxReadableFileBytes, !std::string_view(c.refusal).empty()) << bytes;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, FcsWriteRefusalTest,
    ::testing::Values(RefusalCase{"MillionEventsOf540Parameters", 540, 1000000, "more than the 2147483647 bytes"},
                      // A 16-bit file of 1.9 GB takes twice the room as floats.
                      RefusalCase{"SixteenBitFileWidenedToFloats", 16, 60000000, "bytes a data file may have"},
                      RefusalCase{"LargestFileThatOpens", 1, MostSingleEvents, ""},
                      RefusalCase{"OneEventMore", 1, MostSingleEvents + 1, "2147483648 bytes"},
                      RefusalCase{"MillionEventsOf500Parameters", 500, 1000000, ""},
                      RefusalCase{"EveryParameterTheReaderTakes", MaxReadableParameters, 10, ""},
                      RefusalCase{"OneParameterMore", MaxReadableParameters + 1, 10, "parameters are not supported"},
                      RefusalCase{"NoParameters", 0, 10, "without parameters"}));

// Texts that hold every character a delimiter could be leave the writer no
// way to separate them.
TEST_F(FcsWriter, TextsHoldingEveryDelimiterAreRefused) {
    FileRecord r = makeRecord(2, 3);
    EXPECT_EQ(FcsWriteRefusal(r, "1.2.1"), "");
    // Every character below 128 but line feed (no value holds one) and
    // character 12 (never a delimiter of this writer).
    for (int c = 1; c < 128; ++c) r.Comment += static_cast<char>(c == 12 || c == 10 ? ' ' : c);
    EXPECT_EQ(FcsWriteRefusal(r, "1.2.1"), "the names and texts use every character that could separate them");
    r.Comment.erase(r.Comment.find('~'), 1);
    EXPECT_EQ(FcsWriteRefusal(r, "1.2.1"), "");
    const FileRecord back = ReadFcsData(FcsFileBytes(r, "1.2.1"), "/out/texts.fcs");
    ASSERT_TRUE(back.Loaded) << back.RefusalReason;
    EXPECT_EQ(back.Comment, r.Comment);
}

// A parameter without a name (an empty header cell of a text table, an
// empty name line in a sheet) is written under its default name: an empty
// value would read as an escaped delimiter and take the keywords after it.
struct UnnamedCase {
    const char* what;
    int parameters;
    std::vector<int> unnamed;  // parameter numbers left without a name
    bool compensation;
};

std::ostream& operator<<(std::ostream& os, const UnnamedCase& c) { return os << c.what; }

class FcsWriterUnnamed : public ::testing::TestWithParam<UnnamedCase> {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }
};

TEST_P(FcsWriterUnnamed, RoundTripsWithEveryKeywordIntact) {
    const UnnamedCase& c = GetParam();
    FileRecord r = makeRecord(c.parameters, 6);
    for (int p = 1; p <= c.parameters; ++p) r.Parameters[static_cast<size_t>(p)].Range = 100 * p + 23;
    r.Parameters[static_cast<size_t>(c.parameters)].IsLog = true;
    for (const int p : c.unnamed) r.Parameters[static_cast<size_t>(p)].Name.clear();
    r.CompensationOn = c.compensation;
    if (c.compensation) r.CompensationMatrix(1, c.parameters) = 0.15f;
    r.SampleId = "tube 3";

    const std::string bytes = FcsFileBytes(r, "1.2.1");
    const auto kw = textPairs(bytes);
    for (const auto& [key, value] : kw) EXPECT_FALSE(value.empty()) << key << " is written empty";
    EXPECT_EQ(kw.at("$BEGINSTEXT"), "0");
    EXPECT_EQ(kw.at("$ENDSTEXT"), "0");
    EXPECT_EQ(kw.at("$PAR"), std::to_string(c.parameters));
    for (int p = 1; p <= c.parameters; ++p) {
        const std::string n = std::to_string(p);
        EXPECT_EQ(kw.at("$P" + n + "R"), std::to_string(100 * p + 23));
        EXPECT_EQ(kw.at("$P" + n + "B"), "32");
        EXPECT_EQ(kw.at("$P" + n + "E"), "0,0");
        EXPECT_EQ(kw.at("P" + n + "DISPLAY"), p == c.parameters ? "LOG" : "LIN");
    }

    const FileRecord back = ReadFcsData(bytes, "/out/unnamed.fcs");
    ASSERT_TRUE(back.Loaded) << back.RefusalReason;
    ASSERT_EQ(back.ParameterCount, c.parameters);
    for (int p = 1; p <= c.parameters; ++p) {
        SCOPED_TRACE(p);
        const bool unnamed = std::find(c.unnamed.begin(), c.unnamed.end(), p) != c.unnamed.end();
        EXPECT_EQ(back.Parameters[p].Name, unnamed ? "P" + std::to_string(p) : r.Parameters[p].Name);
        EXPECT_EQ(back.Parameters[p].Range, 100 * p + 23);
        EXPECT_EQ(back.Parameters[p].IsLog, p == c.parameters);
        EXPECT_EQ(back.PristineData(6, p), r.PristineData(6, p));
    }
    EXPECT_EQ(back.CompensationOn, c.compensation);
    if (c.compensation) {
        EXPECT_EQ(back.CompensationMatrix(1, c.parameters), 0.15f);
    }
    EXPECT_EQ(back.SampleId, "tube 3");
    EXPECT_EQ(back.EventCount, 6);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FcsWriterUnnamed,
    ::testing::Values(UnnamedCase{"FirstOfThree", 3, {1}, false}, UnnamedCase{"MiddleOfThree", 3, {2}, false},
                      UnnamedCase{"LastOfThreeWithCompensation", 3, {3}, true},
                      UnnamedCase{"EveryOneOfTwo", 2, {1, 2}, true}, UnnamedCase{"TheOnlyOne", 1, {1}, false}),
    [](const ::testing::TestParamInfo<UnnamedCase>& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// An instrument's file saved by this program reads back with the same
// values, names, ranges, display marks and compensation.
TEST(FcsWriterRealFile, TheFortessaFileReadsBackTheSame) {
    const std::string path = std::string(QV_TESTDATA_DIR) + "/fortessa_fcs3_float_spill.fcs";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "the folder of real instrument files " << QV_TESTDATA_DIR << " is not there";
    resetSharedState();
    const FileRecord original = ReadFcsFile(path);
    ASSERT_TRUE(original.Loaded) << original.RefusalReason;
    ASSERT_TRUE(original.CompensationOn);
    const FileRecord back = ReadFcsData(FcsFileBytes(original, "1.2.1"), "/out/fortessa.fcs");
    ASSERT_TRUE(back.Loaded) << back.RefusalReason;
    ASSERT_EQ(back.ParameterCount, original.ParameterCount);
    ASSERT_EQ(back.EventCount, original.EventCount);
    EXPECT_TRUE(back.CompensationOn);
    for (int p = 1; p <= original.ParameterCount; ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(back.Parameters[p].Name, original.Parameters[p].Name);
        EXPECT_EQ(back.Parameters[p].Range, original.Parameters[p].Range);
        EXPECT_EQ(back.Parameters[p].IsLog, original.Parameters[p].IsLog);
        for (int q = 1; q <= original.ParameterCount; ++q)
            EXPECT_EQ(back.CompensationMatrix(p, q), original.CompensationMatrix(p, q));
        EXPECT_EQ(0, std::memcmp(back.PristineData.column(p) + 1, original.PristineData.column(p) + 1,
                                 sizeof(float) * static_cast<size_t>(original.EventCount)));
    }
    resetSharedState();
}

}  // namespace
}  // namespace qv
