// The listing a tool walk steps through: the folder as it is at every step,
// read again only when it may have changed, with the headers of unchanged
// files read once; and the one message that names the files a walk passed.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/model/PassedFiles.h"
#include "app/model/WalkListing.h"
#include "tests/support/ParamNames.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

using test::TempFolder;
using test::WriteBytes;

constexpr int64_t Hour = int64_t{3600} * 1'000'000'000;

std::vector<std::string> namesOf(const WalkListing& listing) {
    return std::vector<std::string>(listing.names.begin() + 1, listing.names.end());
}

const KeepWorking goOn = [] { return true; };

// What happens in the folder between two listings, and what the second one
// must show and cost.
struct ChangeCase {
    const char* what;
    // The clock of the listings: far after every stamp of the folder, or
    // before them (a listing made in the same tick as the folder's last
    // change, whose stamps a later change could share).
    bool listedLongAfter;
    std::function<void(const TempFolder&)> change;
    std::vector<std::string> names;  // of the second listing
    int foldersRead;                 // by both listings together
    int headersRead;
};

void PrintTo(const ChangeCase& c, std::ostream* out) { *out << c.what; }

class WalkListingChanges : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(WalkListingChanges, ShowTheFolderAsItIsAndReadOnlyWhatMayHaveChanged) {
    const ChangeCase& c = GetParam();
    TempFolder folder;
    WriteBytes(folder.file("b.fcs"), "FCS3.0 b");
    WriteBytes(folder.file("A.fcs"), "FCS2.0 a");
    WriteBytes(folder.file("notes.txt"), "not data");
    WriteBytes(folder.file(".hidden.fcs"), "FCS3.0 hidden");
    const int64_t offset = c.listedLongAfter ? Hour : -Hour;
    WalkListings listings([offset] { return WallClockNow() + offset; });

    const std::shared_ptr<const WalkListing> first = listings.current(folder.path(), goOn);
    ASSERT_TRUE(first);
    EXPECT_EQ(namesOf(*first), (std::vector<std::string>{"A.fcs", "b.fcs"}));
    c.change(folder);
    const std::shared_ptr<const WalkListing> second = listings.current(folder.path(), goOn);
    ASSERT_TRUE(second);
    EXPECT_EQ(namesOf(*second), c.names);
    for (int i = 1; i <= second->count(); ++i) EXPECT_EQ(second->placeOf(second->names[static_cast<size_t>(i)]), i);
    EXPECT_EQ(second->placeOf(".hidden.fcs"), 0);
    EXPECT_EQ(listings.foldersRead(), c.foldersRead);
    EXPECT_EQ(listings.headersRead(), c.headersRead);
    // The listing an earlier step holds stays as it was.
    EXPECT_EQ(namesOf(*first), (std::vector<std::string>{"A.fcs", "b.fcs"}));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, WalkListingChanges,
    ::testing::Values(
        ChangeCase{"nothing changed", true, [](const TempFolder&) {}, {"A.fcs", "b.fcs"}, 1, 3},
        ChangeCase{"a data file arrives", true, [](const TempFolder& f) { WriteBytes(f.file("c.fcs"), "FCS3.0 c"); },
                   {"A.fcs", "b.fcs", "c.fcs"}, 2, 4},
        ChangeCase{"another file arrives", true, [](const TempFolder& f) { WriteBytes(f.file("c.txt"), "c"); },
                   {"A.fcs", "b.fcs"}, 2, 4},
        ChangeCase{"a data file goes", true, [](const TempFolder& f) { std::remove(f.file("b.fcs").c_str()); },
                   {"A.fcs"}, 2, 3},
        ChangeCase{"a data file is replaced by another kind",
                   true,
                   [](const TempFolder& f) {
                       WriteBytes(f.file("new"), "plain text");
                       std::rename(f.file("new").c_str(), f.file("b.fcs").c_str());
                   },
                   {"A.fcs"}, 2, 4},
        ChangeCase{"listed as soon as it changed", false, [](const TempFolder&) {}, {"A.fcs", "b.fcs"}, 2, 3},
        ChangeCase{"a file grows into a data file as soon as it was listed", false,
                   [](const TempFolder& f) { WriteBytes(f.file("notes.txt"), "FCS3.0 now data"); },
                   {"A.fcs", "b.fcs", "notes.txt"}, 2, 4},
        // Written in place long after the folder last changed: the folder's
        // stamp stays, the file's own stamps tell.
        ChangeCase{"a settled file becomes a data file in place", true,
                   [](const TempFolder& f) { WriteBytes(f.file("notes.txt"), "FCS3.0 now data"); },
                   {"A.fcs", "b.fcs", "notes.txt"}, 2, 4},
        ChangeCase{"a settled file is written in place and stays no data file", true,
                   [](const TempFolder& f) { WriteBytes(f.file("notes.txt"), "still not data"); }, {"A.fcs", "b.fcs"},
                   1, 4}),
    [](const auto& info) { return test::TestNameOf(info.param.what, info.index); });

TEST(WalkListings, AnotherFolderAndAForgottenListingAreReadAfresh) {
    TempFolder one;
    TempFolder two;
    WriteBytes(one.file("a.fcs"), "FCS3.0 a");
    WriteBytes(two.file("z.fcs"), "FCS3.0 z");
    WalkListings listings([] { return WallClockNow() + Hour; });
    EXPECT_EQ(namesOf(*listings.current(one.path(), goOn)), std::vector<std::string>{"a.fcs"});
    EXPECT_EQ(namesOf(*listings.current(two.path(), goOn)), std::vector<std::string>{"z.fcs"});
    EXPECT_EQ(namesOf(*listings.current(one.path(), goOn)), std::vector<std::string>{"a.fcs"});
    EXPECT_EQ(listings.foldersRead(), 3);
    listings.forget();
    listings.current(one.path(), goOn);
    EXPECT_EQ(listings.foldersRead(), 4);
    EXPECT_EQ(listings.headersRead(), 4);
}

// The newer of a path's two time stamps, in nanoseconds.
int64_t latestStampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0;
    const auto ns = [](const timespec& t) { return static_cast<int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec; };
    return std::max(ns(st.st_mtim), ns(st.st_ctim));
}

// A file written with its header last (as some writers do once they know
// the offsets) becomes a data file in place: the folder does not change.
TEST(WalkListings, AFileThatBecomesADataFileInPlaceIsListedThoughTheFolderKeepsItsStamp) {
    TempFolder folder;
    WriteBytes(folder.file("a.fcs"), "FCS3.0 a");
    WriteBytes(folder.file("part"), "........");
    // Written again until its stamp is newer than the folder's (a tick later).
    const int64_t folderStamp = latestStampOf(folder.path());
    for (int i = 0; i < 1'000'000 && latestStampOf(folder.file("part")) <= folderStamp; ++i)
        WriteBytes(folder.file("part"), "........");
    ASSERT_GT(latestStampOf(folder.file("part")), folderStamp);
    // Listed long after the folder's last change, but not after the file's.
    WalkListings listings([folderStamp] { return folderStamp + WalkListings::SettleNs; });
    EXPECT_EQ(namesOf(*listings.current(folder.path(), goOn)), std::vector<std::string>{"a.fcs"});
    EXPECT_EQ(listings.foldersRead(), 1);
    EXPECT_EQ(listings.headersRead(), 2);
    // Nothing changed: the listing is kept, and only that file's header is read again.
    EXPECT_EQ(namesOf(*listings.current(folder.path(), goOn)), std::vector<std::string>{"a.fcs"});
    EXPECT_EQ(listings.foldersRead(), 1);
    EXPECT_EQ(listings.headersRead(), 3);
    // The header arrives, the size the same.
    WriteBytes(folder.file("part"), "FCS3.0 p");
    ASSERT_EQ(latestStampOf(folder.path()), folderStamp);
    EXPECT_EQ(namesOf(*listings.current(folder.path(), goOn)), (std::vector<std::string>{"a.fcs", "part"}));
    EXPECT_EQ(listings.foldersRead(), 2);
}

// Files that are no data files are looked at again in sweeps that take a
// small share of a walk's time: on a clock that moves on at every reading,
// a file written in place is not looked for at every step, yet is found
// within a few.
TEST(WalkListings, FilesThatAreNoDataFilesAreSweptForChangesAtAShareOfTheTime) {
    TempFolder folder;
    WriteBytes(folder.file("a.fcs"), "FCS3.0 a");
    WriteBytes(folder.file("placeholder.fcs"), "");
    auto now = std::make_shared<int64_t>(WallClockNow() + Hour);
    WalkListings listings([now] { return *now += 1'000'000; });
    EXPECT_EQ(namesOf(*listings.current(folder.path(), goOn)), std::vector<std::string>{"a.fcs"});
    // The step after a listing sweeps.
    EXPECT_EQ(namesOf(*listings.current(folder.path(), goOn)), std::vector<std::string>{"a.fcs"});
    WriteBytes(folder.file("placeholder.fcs"), "FCS3.0 written");
    EXPECT_EQ(namesOf(*listings.current(folder.path(), goOn)), std::vector<std::string>{"a.fcs"});
    int steps = 1;
    while (listings.current(folder.path(), goOn)->count() == 1 && steps < 4 * WalkListings::SweepShare) ++steps;
    EXPECT_LT(steps, 4 * WalkListings::SweepShare);
    EXPECT_EQ(namesOf(*listings.current(folder.path(), goOn)), (std::vector<std::string>{"a.fcs", "placeholder.fcs"}));
    EXPECT_EQ(listings.foldersRead(), 2);
    EXPECT_EQ(listings.headersRead(), 3);
}

TEST(WalkListings, AStoppedListingIsNotKept) {
    TempFolder folder;
    for (const char* name : {"a.fcs", "b.fcs", "c.fcs"}) WriteBytes(folder.file(name), "FCS3.0 x");
    WalkListings listings([] { return WallClockNow() + Hour; });
    int asked = 0;
    EXPECT_EQ(listings.current(folder.path(), [&] { return ++asked < 2; }), nullptr);
    const std::shared_ptr<const WalkListing> whole = listings.current(folder.path(), goOn);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->count(), 3);
}

TEST(WalkListings, AMissingFolderListsNothingAndIsLookedAtAgain) {
    TempFolder base;
    const std::string folder = base.file("later/");
    WalkListings listings([] { return WallClockNow() + Hour; });
    EXPECT_EQ(listings.current(folder, goOn)->count(), 0);
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    WriteBytes(folder + "a.fcs", "FCS3.0 a");
    EXPECT_EQ(listings.current(folder, goOn)->count(), 1);
}

// ---- the message naming the files a run passed ----

TEST(PassedFiles, EachFileIsNamedOnceInTheOrderMet) {
    PassedFiles passed;
    passed.note("/d/b.fcs", "$P1B is missing");
    passed.note("/d/a.fcs", "");
    passed.note("/d/b.fcs", "$P1B is missing");
    const std::vector<PassedFile> files = passed.take();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].path, "/d/b.fcs");
    EXPECT_EQ(files[1].path, "/d/a.fcs");
    EXPECT_TRUE(passed.take().empty());
    // Taken, a file may be noted again (by the next run).
    passed.note("/d/b.fcs", "x");
    EXPECT_EQ(passed.take().size(), 1u);
}

TEST(PassedFiles, TheMessageCountsThemAndGivesEachReason) {
    const struct {
        std::vector<PassedFile> files;
        const char* text;
    } cases[] = {
        {{{"/d/b.fcs", "the file is empty"}},
         "The tool passed 1 file that was not a valid flow cytometry file:\n/d/b.fcs: the file is empty"},
        {{{"/d/b.fcs", "the file is empty"}, {"/d/m\xC3\xA9sure.fcs", ""}},
         "The tool passed 2 files that were not valid flow cytometry files:\n/d/b.fcs: the file is empty\n"
         "/d/m\xC3\xA9sure.fcs"},
    };
    for (const auto& c : cases) EXPECT_EQ(PassedFilesMessage(c.files), QString::fromUtf8(c.text));
}

}  // namespace
}  // namespace qv
