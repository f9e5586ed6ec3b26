// Files written by real instruments load with the names, ranges, log flags
// and event counts their descriptions give, and their first, second and last
// events equal the stored values after this program's own transforms (log
// linearisation, compensation). Files the program cannot read are refused.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/Compensation.h"
#include "core/FcsDump.h"
#include "core/FcsReader.h"
#include "core/SharedState.h"

namespace qv {
namespace {

std::string testdata(const std::string& name) { return std::string(QV_TESTDATA_DIR) + "/" + name; }

class RealFiles : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        if (!std::filesystem::is_directory(QV_TESTDATA_DIR))
            GTEST_SKIP() << "the folder of real instrument files " << QV_TESTDATA_DIR << " is not there";
    }
    void TearDown() override { resetSharedState(); }
};

enum class Transform { None, Log256, Log340 };

struct Parameter {
    const char* name;
    int32_t range;
    bool isLog;
    Transform transform;
};

struct RealFile {
    const char* file;
    const char* version;
    const char* cytometer;
    int32_t events;
    bool compensated;
    std::vector<Parameter> parameters;
    std::vector<std::vector<double>> raw;  // events 1, 2 and the last, as stored
    double absTolerance;                   // the listed raw values are rounded
    double relTolerance;
};

Parameter lin1024(const char* name) { return {name, 1024, false, Transform::None}; }

// The SPILL of the Fortessa file in full (parameters 7 to 10).
const int kSpillParameters[4] = {7, 8, 9, 10};
const double kSpill[4][4] = {
    {1, 0, 0.15999999430400005, 0},
    {0, 1, 0, 0},
    {0.015000003206999964, 0, 1, 0},
    {0.0030000039808999713, 0, 0.014999998701599989, 1},
};

std::vector<RealFile> loadableFiles() {
    const Parameter fortessa[] = {
        {"FSC-A", 262144, true, Transform::None},         {"FSC-H", 262144, true, Transform::None},
        {"FSC-W", 262144, false, Transform::None},        {"SSC-A", 262144, true, Transform::None},
        {"SSC-H", 262144, true, Transform::None},         {"SSC-W", 262144, false, Transform::None},
        {"FITC-A", 262144, true, Transform::None},        {"PerCP-Cy5-5-A", 262144, true, Transform::None},
        {"AmCyan-A", 262144, true, Transform::None},      {"PE-Texas Red-A", 262144, true, Transform::None},
        {"Time", 262144, false, Transform::None},
    };
    const char* macsNames[] = {"HDR-T", "FSC-A", "FSC-H", "FSC-W", "SSC-A", "SSC-H", "SSC-W", "V2-A",
                               "V2-H",  "V2-W",  "Y2-A",  "Y2-H",  "Y2-W",  "B1-A",  "B1-H",  "B1-W"};
    std::vector<Parameter> macs2, macs3;
    for (const char* n : macsNames) {
        macs2.push_back({n, std::string(n) == "HDR-T" ? 32 : 1024, false, Transform::None});
        macs3.push_back({n, 262144, false, Transform::None});
    }
    const Parameter log256 = {"", 10000, true, Transform::Log256};
    auto calibur = [&](const char* n) { Parameter p = log256; p.name = n; return p; };
    auto coulterLog = [](const char* n) { return Parameter{n, 1024, true, Transform::Log340}; };

    return {
        {"facscalibur_fcs2_int16.fcs", "FCS2.0", "FACSCalibur", 37395, false,
         {calibur("FSC-H"), calibur("SSC-H"), calibur("FL1-H"), calibur("FL2-H"), calibur("FL3-H"),
          lin1024("FL2-A"), lin1024("FL2-W"), lin1024("Time")},
         {{71, 83, 0, 1, 0, 1, 0, 0}, {26, 223, 0, 33, 1, 0, 0, 0}, {84, 378, 0, 73, 6, 3, 0, 499}},
         0, 1e-6},
        {"coulter_fcs2_int16_le.lmd", "FCS2.0", "Cytomics FC 500", 18110, false,
         {lin1024("FS Lin"), lin1024("SS Lin"), coulterLog("FL1 Log"), coulterLog("FL2 Log"), lin1024("FL1 Lin"),
          lin1024("FL2 Lin"), lin1024("FL3 Lin"), coulterLog("FL3 Log")},
         {{59, 128, 0, 125, 0, 0, 10, 510}, {251, 369, 31, 311, 0, 1, 57, 702}, {67, 186, 0, 191, 0, 0, 17, 571}},
         0, 1e-6},
        {"fortessa_fcs3_float_spill.fcs", "FCS3.0", "LSRII", 11585, true,
         std::vector<Parameter>(std::begin(fortessa), std::end(fortessa)),
         {{1312.85, 560, 153641, 1472.64, 1424, 67774.53, 17.94, 8.58, 137.06, -36.72, 0},
          {915.53, 297, 202020.8, 324.48, 349, 60931.58, 23.4, 7.8, 165.55, 20.16, 0},
          {68172.72, 15380, 262143, 39196.56, 10308, 249203.1, 347.1, 342.42, 8282.89, 102.96, 991.9}},
         0.01, 1e-6},
        {"macsquant_fcs2_float_le.fcs", "FCS2.0", "MACSQuant", 10000, false, macs2,
         {{0.001607649, 1.465549, 2.031161, 360.7662, 1.579651, 1.907909, 413.9745, -0.3393189, 0.784086, -216.3786,
           0.2234779, 0.5517545, 202.5157, -0.2450758, 0.7516481, -164.1159},
          {0.001734216, 2.028721, 1.457442, 695.9872, 2.530754, 2.87364, 440.3395, -0.4555306, 0.5647157, -403.3274,
           0.4404595, 0.6267689, 351.3731, 0.09750547, 0.8047065, 54.16346},
          {20.62362, -0.8628153, 1.033735, -417.329, 1.875435, 2.474363, 378.9734, 0.2214586, 0.7200855, 153.7725,
           0.2009406, 0.4497518, 223.3905, -0.2314824, 0.4828246, -228.3198}},
         0, 2e-6},
        {"macsquant_fcs3_float_le.fcs", "FCS3.0", "MACSQuant", 10000, false, macs3,
         {{49.96559, -178.8849, 353.5459, -66318.97, 1533.74, 1719.344, 116922.7, -1.853082, 155.2415, -1564.577,
           76.81788, 161.9873, 62157.17, 37.42846, 123.4766, 38717.89},
          {76.52743, 852.658, 835.9753, 133687.7, 2550.609, 2268.38, 147379.8, 453.8259, 473.8835, 125524.2,
           -8.646938, 95.39934, -11880.29, 81.7031, 203.5114, 55865.16},
          {262144, -455.9509, 118.819, -502970, 2469.547, 2359.159, 137205, 384.4044, 452.6911, 111300.3, 33.15245,
           123.5147, 35180.91, -107.1866, 118.2165, -102470.6}},
         0, 2e-6},
    };
}

// The values the program shows for one listed event.
std::vector<double> expectedWorking(const RealFile& f, const std::vector<double>& raw) {
    std::vector<double> v = raw;
    for (size_t p = 0; p < v.size(); ++p) {
        if (f.parameters[p].transform == Transform::Log256) v[p] = std::pow(10.0, raw[p] / 256.0);
        if (f.parameters[p].transform == Transform::Log340) v[p] = std::pow(10.0, raw[p] / 340.0);
    }
    if (f.compensated) {
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                if (i != j) {
                    const size_t from = static_cast<size_t>(kSpillParameters[i] - 1);
                    const size_t to = static_cast<size_t>(kSpillParameters[j] - 1);
                    v[to] -= kSpill[i][j] * raw[from];
                }
    }
    return v;
}

TEST_F(RealFiles, SupportedFilesLoadWithTheirValues) {
    for (const RealFile& f : loadableFiles()) {
        SCOPED_TRACE(f.file);
        FileRecord r = ReadFcsFile(testdata(f.file));
        ASSERT_TRUE(r.Loaded) << r.RefusalReason;
        ApplyCompensation(r);
        EXPECT_EQ(r.FcsVersionText, f.version);
        EXPECT_EQ(r.Cytometer, f.cytometer);
        EXPECT_EQ(r.EventCount, f.events);
        EXPECT_EQ(r.EventsLoaded, f.events);
        EXPECT_EQ(r.CompensationOn, f.compensated);
        EXPECT_NE(r.FileKey, 0);
        ASSERT_EQ(r.ParameterCount, static_cast<int32_t>(f.parameters.size()));
        for (size_t p = 1; p <= f.parameters.size(); ++p) {
            const Parameter& x = f.parameters[p - 1];
            EXPECT_EQ(r.Parameters[p].Name, x.name) << "parameter " << p;
            EXPECT_EQ(r.Parameters[p].Range, x.range) << "parameter " << p;
            EXPECT_EQ(r.Parameters[p].IsLog, x.isLog) << "parameter " << p;
        }
        const int32_t events[3] = {1, 2, f.events};
        for (int k = 0; k < 3; ++k) {
            const std::vector<double> raw = f.raw[static_cast<size_t>(k)];
            const std::vector<double> expected = expectedWorking(f, raw);
            for (size_t p = 1; p <= f.parameters.size(); ++p) {
                const auto pi = static_cast<int32_t>(p);
                const double tolerance = f.absTolerance + f.relTolerance * std::fabs(expected[p - 1]);
                EXPECT_NEAR(r.WorkingData(events[k], pi), expected[p - 1], tolerance)
                    << "event " << events[k] << " parameter " << p;
                const double pristine = f.parameters[p - 1].transform == Transform::None
                                            ? raw[p - 1]
                                            : expectedWorking(f, raw)[p - 1];
                EXPECT_NEAR(r.PristineData(events[k], pi), pristine,
                            f.absTolerance + f.relTolerance * std::fabs(pristine))
                    << "pristine, event " << events[k] << " parameter " << p;
            }
        }
    }
}

TEST_F(RealFiles, FortessaSpillFillsTheNamedParameters) {
    const FileRecord r = ReadFcsFile(testdata("fortessa_fcs3_float_spill.fcs"));
    ASSERT_TRUE(r.Loaded) << r.RefusalReason;
    for (int i = 0; i <= 11; ++i) {
        for (int j = 0; j <= 11; ++j) {
            double expected = 0.0;
            for (int a = 0; a < 4; ++a)
                for (int b = 0; b < 4; ++b)
                    if (a != b && kSpillParameters[a] == i && kSpillParameters[b] == j) expected = kSpill[a][b];
            EXPECT_FLOAT_EQ(r.CompensationMatrix(i, j), static_cast<float>(expected)) << i << ", " << j;
        }
    }
}

TEST_F(RealFiles, UnsupportedFilesAreRefusedWithAReason) {
    struct Case { const char* file; const char* reason; };
    const Case cases[] = {
        {"cyflow_fcs3_mixed_widths.fcs", "$PnB differs between parameters"},
        {"cytek_fcs3_int24.fcs", "24-bit integers are not supported"},
        {"macsquant_fcs31.fcs", "version FCS3.1 is not supported"},
        {"corrupted_10_bytes.fcs", "does not begin with FCS2.0 or FCS3.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const FileRecord r = ReadFcsFile(testdata(c.file));
        EXPECT_FALSE(r.Loaded);
        EXPECT_EQ(r.FileKey, 0);
        EXPECT_EQ(r.ParameterCount, 0);
        EXPECT_NE(r.RefusalReason.find(c.reason), std::string::npos) << r.RefusalReason;

        std::ostringstream out, err;
        EXPECT_EQ(RunFcsDump({testdata(c.file)}, out, err), 1);
        EXPECT_EQ(out.str(), "loaded: 0\nerror: The file was not valid flow cytometry file\n" + r.RefusalReason + "\n");
    }
}

TEST_F(RealFiles, DumpToolLoadsEverySupportedFile) {
    for (const RealFile& f : loadableFiles()) {
        SCOPED_TRACE(f.file);
        std::ostringstream out, err;
        EXPECT_EQ(RunFcsDump({"--summary", testdata(f.file)}, out, err), 0);
        EXPECT_NE(out.str().find("events: " + std::to_string(f.events) + "\n"), std::string::npos);
        EXPECT_NE(out.str().find("compensation: " + std::string(f.compensated ? "1" : "0") + "\n"), std::string::npos);
    }
}

}  // namespace
}  // namespace qv
