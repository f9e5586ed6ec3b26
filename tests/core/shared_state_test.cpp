#include <gtest/gtest.h>

#include "core/SharedState.h"

namespace qv {
namespace {

TEST(SharedState, StartValuesSizeTablesAndColourSlots) {
    resetSharedState();
    EXPECT_EQ(g.WindowRegistry.size(), 51u);
    EXPECT_EQ(g.FileTable.size(), 21u);
    EXPECT_EQ(g.PopulationTable[1].ColorRed, 255);
    EXPECT_EQ(g.PopulationTable[1].ColorGreen, 50);
    EXPECT_EQ(g.PopulationTable[32].ColorBlue, 120);
    EXPECT_EQ(g.PopulationTable[33].ColorRed, 0);
    EXPECT_EQ(g.FastDrawLimit, 50000);
    EXPECT_EQ(g.SelectedPrefix, "[S] ");
}

}  // namespace
}  // namespace qv
