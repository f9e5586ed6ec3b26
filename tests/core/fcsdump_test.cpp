#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "core/FcsDump.h"
#include "core/SharedState.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

struct DumpRun {
    int status;
    std::string out, err;
};

DumpRun dump(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunFcsDump(args, out, err);
    return {status, out.str(), err.str()};
}

class FcsDump : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        test::FcsTestFile f;
        f.Cytometer = "Bench 2";
        f.param("FSC-A").param("SSC-A", "262144").param("FL1-A", "1024", "0,0");
        f.Parameters[2].Display = "LOG";
        // Share 0.25 of FSC-A comes off SSC-A, 0.5 of SSC-A off FSC-A.
        f.Comp = "3,0,-25,0,-50,0,0,0,0,0";
        f.event({1000, 400, 123456.789}).event({0.5, 3, 1e-5});
        test::WriteFcsTestFile(dir.file("tube.fcs"), f);
        test::WriteBytes(dir.file("table.txt"), "NAME\tA\r\nx\t1.5\r\n");
        test::WriteBytes(dir.file("bad.fcs"), "FCS3.1  not for us");
    }
    test::TempFolder dir;
};

TEST_F(FcsDump, ListsTheCompensatedValues) {
    const DumpRun r = dump({dir.file("tube.fcs")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "loaded: 1\n"
              "version: FCS3.0\n"
              "cytometer: Bench 2\n"
              "events: 2\n"
              "parameters: 3\n"
              "compensation: 1\n"
              "p1: FSC-A|1024|0\n"
              "p2: SSC-A|262144|0\n"
              "p3: FL1-A|1024|1\n"
              "data:\n"
              "800\t150\t123456.789\n"
              "-1\t2.875\t9.99999975e-06\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(FcsDump, SummarySumsTheColumnsInsteadOfListingThem) {
    const DumpRun r = dump({"--summary", dir.file("tube.fcs")});
    EXPECT_EQ(r.status, 0);
    char third[64];
    std::snprintf(third, sizeof third, "%.17g",
                  static_cast<double>(123456.789f) + static_cast<double>(1e-5f));
    const std::string head = "p3: FL1-A|1024|1\nsum.p1: 799\nsum.p2: 152.875\nsum.p3: " + std::string(third) + "\nread_ms: ";
    ASSERT_NE(r.out.find(head), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("data:"), std::string::npos);
    EXPECT_EQ(r.out.back(), '\n');
}

TEST_F(FcsDump, TextOptionUsesTheTableReader) {
    const DumpRun r = dump({"--text", dir.file("table.txt")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "loaded: 1\nversion: \ncytometer: \nevents: 1\nparameters: 1\ncompensation: 0\n"
              "p1: A|1023|0\ndata:\n1.5\n");
    // The same table is no FCS file.
    EXPECT_EQ(dump({dir.file("table.txt")}).status, 1);
}

TEST_F(FcsDump, RefusedFilesGiveTheLoadErrorAndStatusOne) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const std::string text = "loaded: 0\nerror: The file was not valid flow cytometry file\n";
    const Case cases[] = {
        {{dir.file("bad.fcs")}, text + "version FCS3.1 is not supported (only FCS2.0 and FCS3.0)\n"},
        {{"--summary", dir.file("missing.fcs")}, text + "the file could not be opened\n"},
        {{"--text", dir.path()}, text + "the path is a folder, not a file\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const DumpRun r = dump(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, c.out);
    }
}

TEST_F(FcsDump, WrongArgumentsShowTheUsage) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"--summary"}, {"--fast", dir.file("tube.fcs")},
          {dir.file("tube.fcs"), dir.file("tube.fcs")}}) {
        const DumpRun r = dump(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: fcsdump"), std::string::npos);
    }
}

}  // namespace
}  // namespace qv
