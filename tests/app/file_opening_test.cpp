// Opening data files into windows and stepping through a folder, driven
// through the menu commands and the scripted dialog layer. The files are
// generated small FCS files in a temporary folder.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "app/FileOpening.h"
#include "app/PlotWindow.h"
#include "app/WindowRegistry.h"
#include "app/model/FolderListing.h"
#include "core/FcsReader.h"
#include "core/SharedState.h"
#include "core/TxtReader.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StubMainServices.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

using test::ScriptedDialogs;

// ---------------------------------------------------------------------------
// Fixture files

// A small FCS 3.0 file with 32-bit float data: `events` events of two
// parameters "FSC" and "SSC"; event e holds (seed + e, 2 * (seed + e)).
std::string fcsBytes(int events, int seed) {
    test::FcsTestFile file;
    file.param("FSC").param("SSC");
    for (int e = 1; e <= events; ++e) file.event({double(seed + e), double(2 * (seed + e))});
    return test::FcsTestBytes(file);
}

void writeBytes(const QString& path, const std::string& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
}

std::string fs(const QString& path) { return QFile::encodeName(path).toStdString(); }

// ---------------------------------------------------------------------------
// A stand-in file window under the type name "DotPlot": it does what the
// opening code relies on (its Alusta selects it and takes up the file loaded
// last) and records what it was asked to do.

class StandInPlot : public PlotWindow {
public:
    int id = 0;
    int afterLoadCalls = 0;
    int drawCalls = 0;
    std::vector<int> drawnFiles;  // FileIndex at each Piirra

    bool slotTakenAtAlusta = false;

    void Alusta(int slot) override {
        id = slot;
        WindowRecord& rec = g.WindowRegistry[slot];
        slotTakenAtAlusta = rec.InUse && rec.Form == this;
        rec.ShowsFile = true;
        rec.Selected = true;
        setWindowTitle(QString::fromStdString(g.SelectedPrefix) + AnnaOtsikko());
        if (g.LastLoadedFile != 0 && g.FileTable[g.LastLoadedFile].Loaded) {
            rec.FileIndex = g.LastLoadedFile;
            LatauksenJalkeen();
            Piirra();
        }
    }
    void LatauksenJalkeen() override { ++afterLoadCalls; }
    void Piirra() override {
        ++drawCalls;
        drawnFiles.push_back(g.WindowRegistry[id].FileIndex);
    }
    int AnnaID() const override { return id; }
    QString AnnaOtsikko() const override { return QStringLiteral("(%1): Dot Plot").arg(id); }
    void UnloadWindow() override {
        releaseWindowSlot(id);
        deleteLater();
    }
    void MenuValintaReaktio(int) override {}
    void CopyToClipboard() override {}
    std::vector<std::string> SaveInfo() override { return {"0"}; }
    void LoadInfo(const std::string&) override {}
};

// Main-window services that count autosaves and forward the stepping.
class RecordingServices : public test::StubMainServices {
public:
    int autosaves = 0;
    void TalletaNakyma(const QString& mode) override {
        if (mode == QStringLiteral("Autosave")) ++autosaves;
    }
    bool SeuraavaTiedosto(int id) override { return qv::SeuraavaTiedosto(id); }
    bool EdellinenTiedosto(int id) override { return qv::EdellinenTiedosto(id); }
};

class FileOpeningTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        resetSharedState();
        registerWindowKind("DotPlot", [] { return new StandInPlot; });
        setMainServices(&services);
    }
    void TearDown() override {
        for (int w = 1; w < static_cast<int>(g.WindowRegistry.size()); ++w)
            if (PlotWindow* win = windowAt(w)) win->UnloadWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setMainServices(nullptr);
        resetSharedState();
    }

    // Writes an FCS file into the temporary folder (or a subfolder) and gives its path.
    QString makeFcs(const QString& name, int events = 5, int seed = 0) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeBytes(path, fcsBytes(events, seed));
        return path;
    }
    QString makeFile(const QString& name, const std::string& bytes) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeBytes(path, bytes);
        return path;
    }

    // Opens `path` through "Open FCS..." as the user would.
    void openFcs(const QString& path) {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(path, QStringLiteral("Open FCS file"));
        FileOpenFCS_Click();
    }

    // A new stand-in window through the registry (it becomes the only selected one).
    StandInPlot* newPlot() {
        const int id = createWindow("DotPlot");
        EXPECT_NE(id, 0);
        return static_cast<StandInPlot*>(windowAt(id));
    }

    static int inUseWindows() {
        int n = 0;
        for (int w = 1; w <= g.MaxWindows; ++w) n += g.WindowRegistry[w].InUse ? 1 : 0;
        return n;
    }
    static int loadedFiles() {
        int n = 0;
        for (int f = 1; f <= g.MaxFiles; ++f) n += g.FileTable[f].FileKey != 0 ? 1 : 0;
        return n;
    }
    static std::string shownName(int window) {
        const int f = g.WindowRegistry[window].FileIndex;
        return f == 0 ? std::string() : g.FileTable[f].FileName;
    }

    QTemporaryDir dir;
    RecordingServices services;
};

// ---------------------------------------------------------------------------
// Opening

TEST_F(FileOpeningTest, OneSelectedPlotTakesTheFile) {
    StandInPlot* plot = newPlot();
    const int before = services.autosaves;
    const QString path = makeFcs("one.fcs", 7);
    {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(path, QStringLiteral("Open FCS file"));
        FileOpenFCS_Click();
        ASSERT_EQ(dlg.shown().size(), 1u);
        EXPECT_EQ(dlg.shown()[0].filter, QStringLiteral("FCS files (*)"));
    }
    EXPECT_EQ(inUseWindows(), 1);  // no new window
    ASSERT_EQ(g.WindowRegistry[1].FileIndex, 1);
    const FileRecord& rec = g.FileTable[1];
    EXPECT_TRUE(rec.Loaded);
    EXPECT_EQ(rec.FileName, "one.fcs");
    EXPECT_EQ(rec.Folder + rec.FileName, fs(path));
    EXPECT_EQ(rec.EventCount, 7);
    // Compensation has filled the working data from the pristine data.
    EXPECT_FLOAT_EQ(rec.WorkingData(3, 2), 6.0f);
    EXPECT_EQ(g.LastLoadedFile, 1);
    EXPECT_EQ(plot->afterLoadCalls, 1);
    EXPECT_EQ(plot->drawnFiles, std::vector<int>{1});
    EXPECT_EQ(services.autosaves, before + 1);
    EXPECT_EQ(loadedFiles(), 1);
}

TEST_F(FileOpeningTest, TwoSelectedPlotsShareOneFileSlot) {
    StandInPlot* first = newPlot();
    StandInPlot* second = newPlot();
    g.WindowRegistry[first->id].Selected = true;  // selected together (Shift held)
    openFcs(makeFcs("shared.fcs"));
    EXPECT_EQ(inUseWindows(), 2);
    EXPECT_EQ(g.WindowRegistry[first->id].FileIndex, 1);
    EXPECT_EQ(g.WindowRegistry[second->id].FileIndex, 1);
    EXPECT_EQ(loadedFiles(), 1);
    EXPECT_EQ(first->drawnFiles, std::vector<int>{1});
    EXPECT_EQ(second->drawnFiles, std::vector<int>{1});
}

TEST_F(FileOpeningTest, NoSelectedWindowCreatesASelectedDotPlotThatShowsTheFile) {
    StandInPlot* old = newPlot();
    DeselectAllWindows();
    openFcs(makeFcs("new.fcs"));
    ASSERT_EQ(inUseWindows(), 2);
    EXPECT_EQ(g.WindowRegistry[old->id].FileIndex, 0);
    EXPECT_FALSE(g.WindowRegistry[old->id].Selected);
    const int created = old->id == 1 ? 2 : 1;
    EXPECT_EQ(g.WindowRegistry[created].Type, "DotPlot");
    EXPECT_TRUE(g.WindowRegistry[created].Selected);
    EXPECT_EQ(shownName(created), "new.fcs");
    auto* plot = static_cast<StandInPlot*>(windowAt(created));
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->slotTakenAtAlusta);
    EXPECT_EQ(plot->drawnFiles.back(), g.WindowRegistry[created].FileIndex);
}

TEST_F(FileOpeningTest, NoWindowAtAllCreatesDotPlotInSlotOne) {
    openFcs(makeFcs("first.fcs"));
    ASSERT_EQ(inUseWindows(), 1);
    EXPECT_TRUE(g.WindowRegistry[1].InUse);
    EXPECT_TRUE(g.WindowRegistry[1].Selected);
    EXPECT_EQ(shownName(1), "first.fcs");
}

TEST_F(FileOpeningTest, FullRegistryCreatesNothingAndSaysNothing) {
    for (int w = 1; w <= g.MaxWindows; ++w) {
        g.WindowRegistry[w].InUse = true;  // taken by windows that show no file and are not selected
        g.WindowRegistry[w].Selected = false;
    }
    const QString path = makeFcs("nowhere.fcs");
    const int before = services.autosaves;
    openFcs(path);  // no message is scripted: any would fail the test
    EXPECT_EQ(loadedFiles(), 0);
    EXPECT_EQ(services.autosaves, before + 1);
    for (int w = 1; w <= g.MaxWindows; ++w) g.WindowRegistry[w].InUse = false;
}

TEST_F(FileOpeningTest, SamePathReusesItsSlotWithoutReadingAgain) {
    StandInPlot* first = newPlot();
    const QString path = makeFcs("same.fcs");
    openFcs(path);
    ASSERT_EQ(g.WindowRegistry[first->id].FileIndex, 1);
    // A mark that a second read would overwrite.
    g.FileTable[1].Comment = "kept";
    StandInPlot* second = newPlot();
    openFcs(path);
    EXPECT_EQ(g.WindowRegistry[second->id].FileIndex, 1);
    EXPECT_EQ(g.FileTable[1].Comment, "kept");
    EXPECT_EQ(loadedFiles(), 1);
    EXPECT_EQ(g.LastLoadedFile, 1);
    // The load routine itself: a reused file with no window is not news.
    EXPECT_FALSE(TiedostonLukuToimenPiteet(fs(path), 0, 0));
    EXPECT_TRUE(TiedostonLukuToimenPiteet(fs(path), second->id, 0));
}

TEST_F(FileOpeningTest, AnotherSpellingOfALoadedFilesPathReusesItsSlot) {
    const QString path = makeFcs("same.fcs");
    makeFcs("sub/other.fcs");
    ASSERT_TRUE(TiedostonLukuToimenPiteet(fs(path), 0, 0));
    g.FileTable[1].Comment = "kept";  // a second read would overwrite it
    const std::string folder = g.FileTable[1].Folder;
    for (const std::string& spelling : {folder + "./same.fcs", folder + "/same.fcs", folder + "sub/../same.fcs"}) {
        EXPECT_FALSE(TiedostonLukuToimenPiteet(spelling, 0, 0)) << spelling;
        EXPECT_EQ(loadedFiles(), 1) << spelling;
        EXPECT_EQ(g.LastLoadedFile, 1) << spelling;
    }
    EXPECT_EQ(g.FileTable[1].Comment, "kept");
}

TEST_F(FileOpeningTest, SameContentUnderAnotherPathTakesANewSlot) {
    const QString a = makeFcs("a.fcs", 5, 3);
    const QString b = makeFcs("copy/a.fcs", 5, 3);
    EXPECT_TRUE(TiedostonLukuToimenPiteet(fs(a), 0, 0));
    EXPECT_TRUE(TiedostonLukuToimenPiteet(fs(b), 0, 0));
    EXPECT_EQ(g.FileTable[1].FileKey, g.FileTable[2].FileKey);
    EXPECT_EQ(g.FileTable[2].Folder + g.FileTable[2].FileName, fs(b));
    EXPECT_EQ(g.LastLoadedFile, 2);
}

TEST_F(FileOpeningTest, ClosingTheLastWindowOfAFileFreesItsSlotAtTheNextCommand) {
    StandInPlot* first = newPlot();
    openFcs(makeFcs("x.fcs", 5, 1));
    StandInPlot* second = newPlot();
    openFcs(makeFcs("y.fcs", 5, 2));
    ASSERT_EQ(loadedFiles(), 2);
    first->UnloadWindow();
    // Cancelling the dialog still frees what no window shows, and autosaves.
    const int before = services.autosaves;
    {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(std::nullopt, QStringLiteral("Open FCS file"));
        FileOpenFCS_Click();
    }
    EXPECT_EQ(services.autosaves, before + 1);
    EXPECT_EQ(loadedFiles(), 1);
    EXPECT_EQ(g.FileTable[1].FileKey, 0);
    EXPECT_EQ(shownName(second->id), "y.fcs");
    // The freed slot is the next one taken.
    openFcs(makeFcs("z.fcs", 5, 9));
    EXPECT_EQ(g.WindowRegistry[second->id].FileIndex, 1);
}

TEST_F(FileOpeningTest, RefusedFileShowsTheLoadErrorWithTheReasonAndChangesNoWindow) {
    StandInPlot* plot = newPlot();
    openFcs(makeFcs("good.fcs"));
    ASSERT_EQ(g.WindowRegistry[plot->id].FileIndex, 1);
    const QString bad = makeFile("notes.fcs", "This is not flow cytometry data\n");
    {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(bad, QStringLiteral("Open FCS file"));
        dlg.expectAnyMessage(MsgAnswer::Ok);
        FileOpenFCS_Click();
        dlg.finish();
        ASSERT_EQ(dlg.shown().size(), 2u);
        const test::ShownDialog& msg = dlg.shown()[1];
        EXPECT_EQ(msg.title, QStringLiteral("Load error"));
        EXPECT_EQ(msg.buttons, MsgButtons::Ok);
        // The fixed text, the file, and the reader's reason.
        const QStringList lines = msg.text.split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 3) << msg.text.toStdString();
        EXPECT_EQ(lines[0], QStringLiteral("The file was not valid flow cytometry file"));
        EXPECT_EQ(lines[1], bad);
        EXPECT_FALSE(lines[2].isEmpty());
    }
    EXPECT_EQ(g.WindowRegistry[plot->id].FileIndex, 1);
    EXPECT_EQ(shownName(plot->id), "good.fcs");
    EXPECT_EQ(loadedFiles(), 1);
    EXPECT_EQ(g.LastLoadedFile, 1);
    EXPECT_EQ(plot->drawnFiles, std::vector<int>{1});
}

TEST_F(FileOpeningTest, MissingFileIsRefusedNotReusedAsAFreeSlot) {
    ScriptedDialogs dlg;
    dlg.expectAnyMessage(MsgAnswer::Ok);
    EXPECT_FALSE(TiedostonLukuToimenPiteet(fs(dir.filePath("gone.fcs")), 0, 0));
    dlg.finish();
    ASSERT_EQ(dlg.messageTexts().size(), 1);
    EXPECT_TRUE(dlg.messageTexts()[0].startsWith(QStringLiteral("The file was not valid flow cytometry file\n")));
    EXPECT_EQ(loadedFiles(), 0);
    EXPECT_EQ(g.LastLoadedFile, 0);
}

TEST_F(FileOpeningTest, TwentyFirstFileGivesTheTableFullMessage) {
    for (int i = 1; i <= g.MaxFiles; ++i)
        ASSERT_TRUE(TiedostonLukuToimenPiteet(fs(makeFcs(QStringLiteral("f%1.fcs").arg(i), 3, i)), 0, 0));
    ASSERT_EQ(g.LastLoadedFile, 20);
    // An already loaded file still reuses its slot when the table is full.
    EXPECT_FALSE(TiedostonLukuToimenPiteet(fs(dir.filePath("f4.fcs")), 0, 0));
    EXPECT_EQ(g.LastLoadedFile, 4);
    ScriptedDialogs dlg;
    dlg.expectMessage(QStringLiteral("Loading failed: There can be only 20 files open at a time."),
                      QStringLiteral("Too many files open"), MsgButtons::Ok, MsgAnswer::Ok);
    EXPECT_FALSE(TiedostonLukuToimenPiteet(fs(makeFcs("f21.fcs", 3, 21)), 0, 0));
    EXPECT_EQ(g.LastLoadedFile, 4);
    EXPECT_EQ(loadedFiles(), 20);
}

TEST_F(FileOpeningTest, ExplicitSlotReadsIntoThatSlotForTheSheetReader) {
    const QString path = makeFcs("sheet.fcs");
    EXPECT_FALSE(TiedostonLukuToimenPiteet(fs(path), 0, 5));  // no window: not news
    EXPECT_TRUE(g.FileTable[5].Loaded);
    EXPECT_NE(g.FileTable[5].FileKey, 0);
    EXPECT_EQ(g.LastLoadedFile, 5);
    EXPECT_EQ(loadedFiles(), 1);
    // Slots outside the table are not written (nor is anything else).
    EXPECT_FALSE(TiedostonLukuToimenPiteet(fs(path), 0, 21));
    EXPECT_FALSE(TiedostonLukuToimenPiteet(fs(path), 0, -1));
    EXPECT_EQ(g.LastLoadedFile, 5);
    // A refused file leaves its slot free.
    const QString bad = makeFile("bad.fcs", "FCS3.0");
    ScriptedDialogs dlg;
    dlg.expectAnyMessage(MsgAnswer::Ok);
    EXPECT_FALSE(TiedostonLukuToimenPiteet(fs(bad), 0, 6));
    EXPECT_EQ(g.FileTable[6].FileKey, 0);
    EXPECT_EQ(g.LastLoadedFile, 5);
}

TEST_F(FileOpeningTest, OpenTxtReadsTheTableAndPutsItsCopyOnTheClipboard) {
    StandInPlot* plot = newPlot();
    const QString path = makeFile("table.txt", "FSC\tSSC\n1\t2\n3\t4\n5,5\t6\n");
    QApplication::clipboard()->setText(QStringLiteral("before"));
    {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(path, QStringLiteral("Open Tabbed TXT file"));
        FileOpenTXT_Click();
        ASSERT_EQ(dlg.shown().size(), 1u);
        EXPECT_EQ(dlg.shown()[0].filter, QStringLiteral("Tabbed TXT files (*.txt)"));
    }
    ASSERT_EQ(g.WindowRegistry[plot->id].FileIndex, 1);
    EXPECT_EQ(g.FileTable[1].VersionNumber, 0);
    EXPECT_EQ(g.FileTable[1].EventCount, 3);
    EXPECT_EQ(g.FileTable[1].ParameterCount, 2);
    EXPECT_TRUE(LoadFileType().empty());  // only while the command runs
    EXPECT_NE(QApplication::clipboard()->text(), QStringLiteral("before"));
    const std::string copy = ReadTxtFile(fs(path)).ClipboardText;
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromLatin1(copy));
    // Opened again through "Open FCS...", the table already loaded under that
    // path and key is shared, not handed to the FCS reader.
    StandInPlot* other = newPlot();
    ScriptedDialogs dlg;
    dlg.expectOpenFile(path);
    FileOpenFCS_Click();
    EXPECT_EQ(g.WindowRegistry[other->id].FileIndex, 1);
}

TEST_F(FileOpeningTest, OpenTxtOfAnEmptyTableStillReplacesTheClipboardAndARefusedOneDoesNot) {
    StandInPlot* plot = newPlot();
    // Only a header without a name column: the copy of the table is empty,
    // and what was on the clipboard before must not pass for the table.
    const QString empty = makeFile("empty.txt", "FSC\tSSC\r\n");
    QApplication::clipboard()->setText(QStringLiteral("before"));
    {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(empty, QStringLiteral("Open Tabbed TXT file"));
        FileOpenTXT_Click();
    }
    ASSERT_EQ(g.WindowRegistry[plot->id].FileIndex, 1);
    EXPECT_EQ(g.FileTable[1].EventCount, 0);
    EXPECT_EQ(QApplication::clipboard()->text(), QString());

    const QString bad = makeFile("bad.txt", "FSC\tSSC\r\n1\r\n");
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(bad, QStringLiteral("Open Tabbed TXT file"));
        dlg.expectAnyMessage(MsgAnswer::Ok);
        FileOpenTXT_Click();
    }
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
}

// ---------------------------------------------------------------------------
// Listing a folder and stepping through it

class FolderSteppingTest : public FileOpeningTest {
protected:
    void SetUp() override {
        FileOpeningTest::SetUp();
        // Three FCS files whose byte order differs from their order by name
        // without regard to case, and entries that are not FCS files.
        a = makeFcs("steps/a.fcs", 4, 10);
        b = makeFcs("steps/B.fcs", 4, 20);
        c = makeFcs("steps/c.fcs", 4, 30);
        makeFile("steps/aa_short.fcs", "FCS3.");
        makeFile("steps/ab_other.fcs", "FCS4.0 and more bytes");
        makeFile("steps/notes.txt", "FSC\tSSC\n1\t2\n");
        makeFile("steps/.hidden.fcs", fcsBytes(3, 40));
        QDir().mkpath(dir.filePath("steps/bb_folder.fcs"));
        folder = fs(dir.filePath("steps")) + "/";
    }
    QString a, b, c;
    std::string folder;
};

TEST_F(FolderSteppingTest, ListingHoldsOnlyFcsFilesSortedByNameWithoutRegardToCase) {
    EXPECT_EQ(ListFcsFiles(folder), (std::vector<std::string>{"a.fcs", "B.fcs", "c.fcs"}));
    EXPECT_EQ(TeeLista(folder), 3);
    EXPECT_EQ(FolderFileList(), (std::vector<std::string>{"", "a.fcs", "B.fcs", "c.fcs"}));
    // The folder text may lack its final "/".
    EXPECT_EQ(ListFcsFiles(folder.substr(0, folder.size() - 1)).size(), 3u);
    // Each listing replaces the last; a missing or empty folder lists nothing.
    EXPECT_EQ(TeeLista(folder + "missing/"), 0);
    EXPECT_EQ(FolderFileList(), std::vector<std::string>{""});
    EXPECT_EQ(TeeLista(""), 0);
}

TEST_F(FolderSteppingTest, NamesThatAreNotValidTextStillListAndOpen) {
    // "\xe9t\xe9.fcs" is Latin-1, not UTF-8: the name must travel as bytes.
    const std::string odd = "\xe9t\xe9.fcs";
    test::WriteBytes(folder + odd, fcsBytes(3, 50));
    const std::vector<std::string> names = ListFcsFiles(folder);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names.back(), odd);
    StandInPlot* plot = newPlot();
    openFcs(c);
    EXPECT_TRUE(SeuraavaTiedosto(plot->id));
    EXPECT_EQ(shownName(plot->id), odd);
    EXPECT_TRUE(g.FileTable[g.WindowRegistry[plot->id].FileIndex].Loaded);
}

TEST_F(FileOpeningTest, InstrumentFilesFolderListsItsFcsFilesAndOpensOne) {
    const QString data = QStringLiteral(QV_TESTDATA_DIR);
    if (!QDir(data).exists()) GTEST_SKIP() << "no instrument files at " << QV_TESTDATA_DIR;
    const std::string folder = fs(QDir(data).absolutePath()) + "/";
    // What the listing must hold, found here by reading each file's start.
    std::vector<std::string> expected;
    for (const QString& name : QDir(data).entryList(QDir::Files)) {
        QFile f(QDir(data).filePath(name));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray head = f.read(6);
        if (head == "FCS3.0" || head == "FCS2.0") expected.push_back(fs(name));
    }
    std::sort(expected.begin(), expected.end(), FolderNameLess);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ListFcsFiles(folder), expected);

    const std::string calibur = "facscalibur_fcs2_int16.fcs";
    if (std::find(expected.begin(), expected.end(), calibur) == expected.end())
        GTEST_SKIP() << calibur << " is not in " << QV_TESTDATA_DIR;
    StandInPlot* plot = newPlot();
    openFcs(QString::fromStdString(folder + calibur));
    ASSERT_EQ(shownName(plot->id), calibur);
    const FileRecord& rec = g.FileTable[g.WindowRegistry[plot->id].FileIndex];
    EXPECT_EQ(rec.ParameterCount, 8);
    EXPECT_EQ(rec.EventCount, 37395);
}

TEST(FolderNameOrder, CaseDecidesOnlyBetweenOtherwiseEqualNames) {
    struct Case { const char* a; const char* b; bool less; };
    const Case cases[] = {
        {"a.fcs", "B.fcs", true}, {"B.fcs", "a.fcs", false}, {"A.fcs", "a.fcs", true},
        {"a.fcs", "A.fcs", false}, {"a.fcs", "a.fcs", false}, {"x10.fcs", "X2.fcs", true},
    };
    for (const Case& k : cases) EXPECT_EQ(FolderNameLess(k.a, k.b), k.less) << k.a << " < " << k.b;
}

TEST_F(FolderSteppingTest, NextAndPreviousStopAtTheEndsAndSkipOtherFiles) {
    StandInPlot* plot = newPlot();
    openFcs(a);
    const int id = plot->id;
    ASSERT_EQ(shownName(id), "a.fcs");
    EXPECT_FALSE(EdellinenTiedosto(id));  // first of the folder
    EXPECT_EQ(shownName(id), "a.fcs");

    const char* forward[] = {"B.fcs", "c.fcs"};
    for (const char* name : forward) {
        const int before = services.autosaves;
        EXPECT_TRUE(SeuraavaTiedosto(id)) << name;
        EXPECT_EQ(shownName(id), name);
        EXPECT_GE(services.autosaves, before + 1);
        EXPECT_EQ(loadedFiles(), 1) << "the file left behind is freed";
    }
    EXPECT_FALSE(SeuraavaTiedosto(id));  // no wrap-around
    EXPECT_EQ(shownName(id), "c.fcs");
    EXPECT_TRUE(EdellinenTiedosto(id));
    EXPECT_EQ(shownName(id), "B.fcs");
    EXPECT_TRUE(EdellinenTiedosto(id));
    EXPECT_EQ(shownName(id), "a.fcs");
    EXPECT_FALSE(EdellinenTiedosto(id));
    EXPECT_EQ(shownName(id), "a.fcs");
}

TEST_F(FolderSteppingTest, MenuCommandsStepEverySelectedWindowFromItsOwnFile) {
    StandInPlot* p1 = newPlot();
    openFcs(a);
    StandInPlot* p2 = newPlot();
    openFcs(b);
    StandInPlot* idle = newPlot();  // selected but shows no file... then deselected
    StandInPlot* unselected = newPlot();
    openFcs(a);
    g.WindowRegistry[p1->id].Selected = true;
    g.WindowRegistry[p2->id].Selected = true;
    g.WindowRegistry[idle->id].Selected = true;
    g.WindowRegistry[idle->id].FileIndex = 0;
    g.WindowRegistry[unselected->id].Selected = false;

    FileNextFile_Click();
    EXPECT_EQ(shownName(p1->id), "B.fcs");
    EXPECT_EQ(shownName(p2->id), "c.fcs");
    EXPECT_EQ(g.WindowRegistry[idle->id].FileIndex, 0);
    EXPECT_EQ(shownName(unselected->id), "a.fcs");
    // Two windows on the same file share its slot.
    FileNextFile_Click();
    EXPECT_EQ(shownName(p1->id), "c.fcs");
    EXPECT_EQ(shownName(p2->id), "c.fcs");
    EXPECT_EQ(g.WindowRegistry[p1->id].FileIndex, g.WindowRegistry[p2->id].FileIndex);
    FilePreviousFile_Click();
    EXPECT_EQ(shownName(p1->id), "B.fcs");
    EXPECT_EQ(shownName(p2->id), "B.fcs");
    EXPECT_EQ(loadedFiles(), 2);  // B (two windows) and a (the unselected one)
}

TEST_F(FolderSteppingTest, TextTableStepsForwardToTheFirstFcsFileAndNotBack) {
    StandInPlot* plot = newPlot();
    {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(dir.filePath("steps/notes.txt"));
        FileOpenTXT_Click();
    }
    ASSERT_EQ(shownName(plot->id), "notes.txt");
    EXPECT_FALSE(EdellinenTiedosto(plot->id));
    EXPECT_EQ(shownName(plot->id), "notes.txt");
    EXPECT_TRUE(SeuraavaTiedosto(plot->id));
    EXPECT_EQ(shownName(plot->id), "a.fcs");
}

TEST_F(FolderSteppingTest, SingleFileFolderAndWindowsWithoutFilesStepNowhere) {
    const QString lone = makeFcs("lone/only.fcs");
    StandInPlot* plot = newPlot();
    openFcs(lone);
    EXPECT_FALSE(SeuraavaTiedosto(plot->id));
    EXPECT_FALSE(EdellinenTiedosto(plot->id));
    EXPECT_EQ(shownName(plot->id), "only.fcs");
    // A window without a file, a free slot and an impossible slot: nothing
    // is loaded, but the command still ends with its autosave.
    StandInPlot* empty = newPlot();
    g.WindowRegistry[empty->id].FileIndex = 0;
    const int before = services.autosaves;
    EXPECT_FALSE(SeuraavaTiedosto(empty->id));
    EXPECT_FALSE(EdellinenTiedosto(0));
    EXPECT_FALSE(SeuraavaTiedosto(99));
    EXPECT_EQ(services.autosaves, before + 3);
    EXPECT_EQ(g.WindowRegistry[empty->id].FileIndex, 0);
}

// A file the reader refuses between B and c: the first step shows its load
// error and keeps the window's file, the next goes on past it (and back
// again); with two windows on the same file the error comes once.
TEST_F(FolderSteppingTest, RefusedFileInTheMiddleIsPassedOnTheSecondStep) {
    makeFile("steps/bz_damaged.fcs", "FCS3.0    not a header at all");
    StandInPlot* p1 = newPlot();
    openFcs(b);
    StandInPlot* p2 = newPlot();
    openFcs(b);
    g.WindowRegistry[p1->id].Selected = true;
    ASSERT_EQ(TeeLista(folder), 4);

    struct StepCase {
        bool next;
        int loadErrors;
        const char* shown;
    };
    const StepCase steps[] = {
        {true, 1, "B.fcs"},   // refused: the error once for both windows
        {true, 0, "c.fcs"},   // past it
        {false, 1, "c.fcs"},  // back onto it
        {false, 0, "B.fcs"},
        {true, 1, "B.fcs"},
        {false, 0, "a.fcs"},  // the other way: from the file the window shows
        {true, 0, "B.fcs"},
    };
    for (const StepCase& c : steps) {
        ScriptedDialogs dlg;
        for (int i = 0; i < c.loadErrors; ++i) dlg.expectAnyMessage(MsgAnswer::Ok);
        if (c.next)
            FileNextFile_Click();
        else
            FilePreviousFile_Click();
        dlg.finish();
        for (const test::ShownDialog& shown : dlg.shown()) EXPECT_EQ(shown.title, QStringLiteral("Load error"));
        EXPECT_EQ(shownName(p1->id), c.shown);
        EXPECT_EQ(shownName(p2->id), c.shown);
    }
}

// Stepping with Ctrl+N onto a refused file: the box says which file it was,
// with its name as the file system encodes it, and why the reader refused it.
TEST_F(FolderSteppingTest, LoadErrorOfAStepNamesTheRefusedFileAndTheReason) {
    const QString damaged = makeFile(QStringLiteral("steps/b\u00e9_damaged.fcs"), "FCS3.0    not a header at all");
    StandInPlot* plot = newPlot();
    openFcs(b);
    g.WindowRegistry[plot->id].Selected = true;
    ScriptedDialogs dlg;
    dlg.expectAnyMessage(MsgAnswer::Ok);
    FileNextFile_Click();
    dlg.finish();
    ASSERT_EQ(dlg.shown().size(), 1u);
    EXPECT_EQ(dlg.shown()[0].title, QStringLiteral("Load error"));
    const QStringList lines = dlg.shown()[0].text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3) << dlg.shown()[0].text.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("The file was not valid flow cytometry file"));
    EXPECT_EQ(lines[1], damaged);
    EXPECT_EQ(lines[2], QString::fromStdString(ReadFcsFile(fs(damaged)).RefusalReason));
    EXPECT_EQ(shownName(plot->id), "B.fcs");
}

TEST_F(FolderSteppingTest, SteppingPastAFileThatVanishedStartsFromTheFirst) {
    StandInPlot* plot = newPlot();
    openFcs(b);
    ASSERT_TRUE(QFile::remove(b));
    EXPECT_TRUE(SeuraavaTiedosto(plot->id));
    EXPECT_EQ(shownName(plot->id), "a.fcs");
}

TEST_F(FolderSteppingTest, FirstFileOfAFolderForTools) {
    StandInPlot* plot = newPlot();
    const int before = services.autosaves;
    EXPECT_TRUE(EnsimmainenTiedostoHakemisto(plot->id, folder));
    EXPECT_EQ(shownName(plot->id), "a.fcs");
    EXPECT_GE(services.autosaves, before + 1);
    // Without the final "/" the same folder is meant.
    EXPECT_TRUE(EnsimmainenTiedostoHakemisto(plot->id, folder.substr(0, folder.size() - 1)));
    QDir().mkpath(dir.filePath("emptyfolder"));
    EXPECT_FALSE(EnsimmainenTiedostoHakemisto(plot->id, fs(dir.filePath("emptyfolder")) + "/"));
    EXPECT_EQ(shownName(plot->id), "a.fcs");
}

}  // namespace
}  // namespace qv
