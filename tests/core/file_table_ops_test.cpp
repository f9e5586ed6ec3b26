#include <gtest/gtest.h>

#include <string>

#include "core/FileTableOps.h"
#include "core/SharedState.h"

namespace qv {
namespace {

class FileTableOps : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }

    // Puts a loaded file of `events` events and `parameters` parameters in
    // the slot; value (e, p) = 100 p + e in both matrices.
    static FileRecord& load(int slot, int32_t events, int32_t parameters) {
        FileRecord& f = g.FileTable[static_cast<size_t>(slot)];
        f = FileRecord{};
        f.Loaded = true;
        f.FileName = "file" + std::to_string(slot) + ".fcs";
        f.Folder = "/data/";
        f.FileKey = 1000 + slot;
        f.EventCount = events;
        f.EventsLoaded = events;
        f.ParameterCount = parameters;
        f.Parameters.resize(static_cast<size_t>(parameters) + 1);
        for (int32_t p = 1; p <= parameters; ++p) {
            f.Parameters[static_cast<size_t>(p)].Name = "P" + std::to_string(p);
            f.Parameters[static_cast<size_t>(p)].Range = 1024;
        }
        f.PristineData.resize(events, parameters);
        for (int32_t p = 1; p <= parameters; ++p)
            for (int32_t e = 1; e <= events; ++e) f.PristineData(e, p) = static_cast<float>(100 * p + e);
        f.WorkingData = f.PristineData;
        f.CompensationMatrix.resize(parameters, parameters);
        f.Membership.resize(events, g.membershipSlots());
        f.Membership(1, 1) = 1;
        return f;
    }
    static void show(int window, int slot) {
        g.WindowRegistry[static_cast<size_t>(window)].InUse = true;
        g.WindowRegistry[static_cast<size_t>(window)].FileIndex = static_cast<int16_t>(slot);
    }
    static void close(int window) {
        g.WindowRegistry[static_cast<size_t>(window)].InUse = false;
        g.WindowRegistry[static_cast<size_t>(window)].FileIndex = 0;
    }
    static bool isFree(int slot) { return g.FileTable[static_cast<size_t>(slot)].FileKey == 0; }
};

TEST_F(FileTableOps, ClearFileSlotFreesTheSlotAndKeepsTheRest) {
    FileRecord& f = load(3, 5, 2);
    f.Cytometer = "Instrument";
    f.EventNames.assign(6, "event");
    f.HasEventNames = true;
    ClearFileSlot(3);
    EXPECT_TRUE(isFree(3));
    EXPECT_FALSE(f.Loaded);
    EXPECT_EQ(f.FileName, "");
    EXPECT_EQ(f.EventCount, 0);
    EXPECT_EQ(f.ParameterCount, 0);
    EXPECT_EQ(f.Parameters.size(), 1u);
    EXPECT_EQ(f.Parameters[0].Name, "");
    // No event memory stays behind: a run through many large files would
    // otherwise keep every one of them.
    EXPECT_EQ(f.WorkingData.raw().size(), 1u);  // released to one element
    EXPECT_EQ(f.WorkingData.raw().capacity(), 1u);
    EXPECT_EQ(f.PristineData.raw().capacity(), 1u);
    EXPECT_EQ(f.Membership.raw().capacity(), 1u);
    EXPECT_EQ(f.EventNames.capacity(), 0u);
    EXPECT_FALSE(f.HasEventNames);
    EXPECT_EQ(f.Cytometer, "Instrument");       // other fields stay until refilled
    EXPECT_EQ(f.Folder, "/data/");

    // Slots outside the table are ignored, never touched.
    load(1, 2, 1);
    load(20, 2, 1);
    for (int slot : {0, -1, 21, 1000}) ClearFileSlot(slot);
    EXPECT_FALSE(isFree(1));
    EXPECT_FALSE(isFree(20));
}

// The release test looks at FileIndex only: a slot stays while any window
// names it, whether or not that window is marked in use.
TEST_F(FileTableOps, ReleaseUnusedFilesFreesOnlySlotsNoWindowNames) {
    for (int slot : {1, 2, 3, 4}) load(slot, 3, 1);
    show(1, 1);
    show(2, 2);
    show(5, 2);  // two windows share slot 2
    g.WindowRegistry[7].FileIndex = 3;  // not in use, but still names slot 3
    ReleaseUnusedFiles();
    EXPECT_FALSE(isFree(1));
    EXPECT_FALSE(isFree(2));
    EXPECT_FALSE(isFree(3));
    EXPECT_TRUE(isFree(4));

    close(2);
    ReleaseUnusedFiles();
    EXPECT_FALSE(isFree(2));  // window 5 still shows it
    close(5);
    ReleaseUnusedFiles();
    EXPECT_TRUE(isFree(2));

    // The freed slot is the first free one again for the next file.
    int firstFree = 0;
    for (int s = 1; s <= g.MaxFiles && !firstFree; ++s)
        if (isFree(s)) firstFree = s;
    EXPECT_EQ(firstFree, 2);

    // The last window slot counts too.
    load(6, 3, 1);
    show(g.MaxWindows, 6);
    ReleaseUnusedFiles();
    EXPECT_FALSE(isFree(6));
}

// The slot a window's next file may take: its own, unless another window
// (also one no longer in use that still names it) shows it too.
TEST_F(FileTableOps, FileSlotShownOnlyByAWindowIsItsUnsharedSlot) {
    for (int slot : {1, 2, 3}) load(slot, 3, 1);
    show(1, 1);
    show(2, 2);
    show(g.MaxWindows, 2);
    show(4, 3);
    g.WindowRegistry[5].FileIndex = 3;  // not in use, but still names slot 3
    EXPECT_EQ(FileSlotShownOnlyBy(1), 1);
    EXPECT_EQ(FileSlotShownOnlyBy(2), 0);
    EXPECT_EQ(FileSlotShownOnlyBy(g.MaxWindows), 0);
    EXPECT_EQ(FileSlotShownOnlyBy(4), 0);
    EXPECT_EQ(FileSlotShownOnlyBy(6), 0);  // shows no file
    for (int window : {0, -1, g.MaxWindows + 1}) EXPECT_EQ(FileSlotShownOnlyBy(window), 0) << window;
    close(g.MaxWindows);
    EXPECT_EQ(FileSlotShownOnlyBy(2), 2);
}

TEST_F(FileTableOps, AddParameterKeepsCompensationAndEveryStoredEvent) {
    FileRecord& f = load(2, 6, 2);
    f.CompensationOn = true;
    f.CompensationMatrix(1, 2) = 0.15f;
    f.CompensationMatrix(2, 1) = 0.02f;
    f.CompensationMatrix(2, 2) = 0.5f;
    f.EventCount = 4;  // events in use lowered below the number read

    ASSERT_TRUE(AddParameterToFile(2));
    EXPECT_EQ(f.ParameterCount, 3);
    ASSERT_EQ(f.Parameters.size(), 4u);
    EXPECT_EQ(f.Parameters[2].Name, "P2");
    EXPECT_EQ(f.Parameters[3].Name, "");
    EXPECT_FALSE(f.Parameters[3].IsLog);
    EXPECT_EQ(f.Parameters[3].Range, 0);

    ASSERT_EQ(f.CompensationMatrix.maxEvent(), 3);
    ASSERT_EQ(f.CompensationMatrix.maxColumn(), 3);
    EXPECT_EQ(f.CompensationMatrix(1, 2), 0.15f);
    EXPECT_EQ(f.CompensationMatrix(2, 1), 0.02f);
    EXPECT_EQ(f.CompensationMatrix(2, 2), 0.5f);
    for (int k = 0; k <= 3; ++k) {
        EXPECT_EQ(f.CompensationMatrix(3, k), 0.0f);
        EXPECT_EQ(f.CompensationMatrix(k, 3), 0.0f);
    }

    for (EventMatrix<float>* m : {&f.PristineData, &f.WorkingData}) {
        ASSERT_EQ(m->maxEvent(), 6);  // every event read keeps its place
        ASSERT_EQ(m->maxColumn(), 3);
        for (int32_t e = 1; e <= 6; ++e) {
            EXPECT_EQ((*m)(e, 1), 100.0f + e);
            EXPECT_EQ((*m)(e, 2), 200.0f + e);
            EXPECT_EQ((*m)(e, 3), 0.0f);
        }
    }
    EXPECT_EQ(f.Membership(1, 1), 1);
    EXPECT_EQ(f.Membership.maxColumn(), g.membershipSlots());
    EXPECT_EQ(f.EventCount, 4);
}

// After a parameter was deleted (the count lowered, the matrices not shrunk)
// the new parameter starts empty: no old value or coefficient comes back.
TEST_F(FileTableOps, AddParameterAfterADeletionStartsEmpty) {
    FileRecord& f = load(1, 3, 3);
    f.CompensationMatrix(3, 1) = 0.4f;
    f.CompensationMatrix(1, 3) = 0.3f;
    f.Parameters[3].Name = "Deleted";
    f.ParameterCount = 2;
    ASSERT_TRUE(AddParameterToFile(1));
    EXPECT_EQ(f.ParameterCount, 3);
    EXPECT_EQ(f.Parameters[3].Name, "");
    EXPECT_EQ(f.CompensationMatrix(3, 1), 0.0f);
    EXPECT_EQ(f.CompensationMatrix(1, 3), 0.0f);
    for (int32_t e = 1; e <= 3; ++e) {
        EXPECT_EQ(f.PristineData(e, 3), 0.0f);
        EXPECT_EQ(f.WorkingData(e, 3), 0.0f);
    }

    // Slots outside the table change nothing.
    for (int slot : {0, -3, 21}) EXPECT_FALSE(AddParameterToFile(slot)) << slot;
}

}  // namespace
}  // namespace qv
