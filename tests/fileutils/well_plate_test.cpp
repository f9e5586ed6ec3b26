// Well codes found in file names and the wells a folder's names fill.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fileutils/model/WellPlate.h"

namespace qv {
namespace {

int well(const char* label) {
    const int row = label[0] - 'A' + 1;
    return WellNumber(row, std::stoi(label + 1));
}

TEST(WellPlate, WellsFoundInTheUpperCasedName) {
    struct Case {
        const char* name;
        std::vector<const char*> wells;
    };
    const Case cases[] = {
        {"sample_a1_x.fcs", {"A1"}},          // "_A1_" after upper-casing
        {"PLATE1-B07_t.fcs", {"B7"}},         // "B07_"
        {"run_C09.fcs", {"C9"}},              // "_C09"
        {"run_C10.fcs", {"C10"}},             // "_C10"
        {"X_A1.fcs", {}},                     // neither "_A1_" nor "_A01"
        {"x_A10_y.fcs", {"A10"}},             // not A1: its first form needs "_A1_"
        {"X_A12_B01_.fcs", {"A12", "B1"}},    // one file in two wells
        {"_H12_.fcs", {"H12"}},
        {"plain.fcs", {}},
        {"_I1_.fcs", {}},                     // no row I
        {"_A13_.fcs", {}},                    // no column 13
    };
    for (const Case& c : cases) {
        std::vector<int> expected;
        for (const char* label : c.wells) expected.push_back(well(label));
        EXPECT_EQ(WellsOfName(c.name), expected) << c.name;
    }
}

TEST(WellPlate, CodesAndLabels) {
    EXPECT_EQ(WellCodes(1, 1), (std::array<std::string, 3>{"_A1_", "A01_", "_A01"}));
    EXPECT_EQ(WellCodes(2, 12), (std::array<std::string, 3>{"_B12_", "B12_", "_B12"}));
    EXPECT_EQ(WellLabel(1), "A1");
    EXPECT_EQ(WellLabel(13), "B1");
    EXPECT_EQ(WellLabel(96), "H12");
    EXPECT_EQ(WellNumber(8, 12), 96);
}

TEST(WellPlate, LastListedFileWinsAWell) {
    const WellFiles files = AssignWells("/plate/", {"a_A1_.fcs", "b_A01.fcs", "c_A2_.fcs", "X_A12_B01_.fcs"});
    EXPECT_EQ(files[0], "");
    EXPECT_EQ(files[static_cast<size_t>(well("A1"))], "/plate/b_A01.fcs");
    EXPECT_EQ(files[static_cast<size_t>(well("A2"))], "/plate/c_A2_.fcs");
    EXPECT_EQ(files[static_cast<size_t>(well("A12"))], "/plate/X_A12_B01_.fcs");
    EXPECT_EQ(files[static_cast<size_t>(well("B1"))], "/plate/X_A12_B01_.fcs");
    int full = 0;
    for (const std::string& f : files) full += f.empty() ? 0 : 1;
    EXPECT_EQ(full, 4);
}

}  // namespace
}  // namespace qv
