// Analysis sheets in the running main window: saving, loading, packages,
// the autosave file and recovery, with real dot plots and real FCS files
// made by the tests.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/model/SheetReader.h"
#include "app/model/SheetWriter.h"
#include "core/AtomicFile.h"
#include "plots/histogram/Histogram.h"
#include "tests/app/SheetStoreFixture.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/StandInWindow.h"
#include "tests/support/core/SpecialFiles.h"

namespace qv::test {
namespace {

TEST_F(SheetStoreTest, RoundTripRestoresTablesWindowsAndMembership) {
    buildWorkspace();
    main->mainMenu().NaytaFileInfo->trigger();  // its lines are kept while it is shown
    ASSERT_TRUE(main->mainMenu().NaytaFileInfo->isChecked());
    const Workspace before = Workspace::capture();
    ASSERT_EQ(before.windows.size(), 2u);
    ASSERT_EQ(before.files.size(), 2u);
    ASSERT_EQ(before.populations.size(), 3u);
    const std::string sheet = sheetDir.file("view.quorvane");
    const std::string first = saveSheet(sheet);
    EXPECT_NE(first.find("file.2.path:" + dataDir.file("Run #3 b.fcs") + "\r\n"), std::string::npos);
    EXPECT_NE(first.find("population.3.name:Lymphs: CD4 #1\r\n"), std::string::npos);
    EXPECT_NE(first.find("fileinfo.visible:1\r\nfileinfo."), std::string::npos);

    // Something else in the workspace, which the load replaces.
    main->createFromMenu("DotPlot");
    plot(1)->AsetaKanava("y", "3");
    g.PopulationTable[5].InUse = true;
    main->mainMenu().NaytaFileInfo->trigger();

    written.clear();
    loadSheet(sheet);
    EXPECT_FALSE(g.SheetLoading);
    EXPECT_EQ(writesWhileLoading, 0);
    EXPECT_EQ(written, QStringList{"Autosave"});  // once, at the end of the load
    const Workspace after = Workspace::capture();
    EXPECT_EQ(after.populations, before.populations);
    EXPECT_EQ(after.files, before.files);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_TRUE(after.membership == before.membership);
    // The file window with the highest ID is the selected one.
    EXPECT_FALSE(g.WindowRegistry[1].Selected);
    EXPECT_TRUE(g.WindowRegistry[2].Selected);
    EXPECT_TRUE(main->mainMenu().NaytaFileInfo->isChecked());

    const std::string second = saveSheet(sheetDir.file("again.quorvane"));
    EXPECT_EQ(withoutDate(second), withoutDate(first));
    // The autosave file holds the same workspace.
    EXPECT_EQ(withoutDate(readAll(autosave())), withoutDate(first));
}

TEST_F(SheetStoreTest, LaterVersionsAreRefusedAndLeaveTheWorkspace) {
    buildWorkspace();
    const Workspace before = Workspace::capture();
    std::string text = saveSheet(sheetDir.file("base.quorvane"));
    for (const char* version : {"1.3.0", "2.0.0", "99999999999.0"}) {
        std::string newer = text;
        newer.replace(newer.find("1.2.1"), 5, version);
        WriteBytes(sheetDir.file("newer.quorvane"), newer);
        written.clear();
        ScriptedDialogs dlg;
        dlg.expectMessage("The analysis sheet you trying to open has been created with newer version of Quorvane "
                          "than you have.\rPlease, download the newest version from the address "
                          "https://quorvane.example.org/",
                          "Wrong version", MsgButtons::Ok, MsgAnswer::Ok);
        main->LataaNakyma(q(sheetDir.file("newer.quorvane")));
        dlg.finish();
        EXPECT_TRUE(Workspace::capture() == before) << version;
        EXPECT_TRUE(written.isEmpty()) << version;
    }
    // An older revision, a version of words (read as 0.0) and a sheet
    // without a version line load.
    for (const char* version : {"1.2.9", "abc.def", ""}) {
        std::string older = text;
        const size_t at = older.find("general.version:");
        older.erase(at, older.find("\r\n", at) + 2 - at);
        if (*version) older.insert(at, std::string("general.version:") + version + "\r\n");
        WriteBytes(sheetDir.file("older.quorvane"), older);
        main->createFromMenu("DotPlot");
        main->LataaNakyma(q(sheetDir.file("older.quorvane")));
        EXPECT_TRUE(Workspace::capture() == before) << version;
    }
}

TEST_F(SheetStoreTest, MissingDataFileIsReportedAndTheRestLoads) {
    WriteFcsTestFile(dataDir.file("Run #3: b.fcs"), sampleFile(5));
    const std::string sheet =
        "# Quorvane Analysis sheet\r\n\r\ngeneral.version:1.2.1\r\n\r\n"
        "population.2.name:Gate: one # two\r\npopulation.2.type:Polygon\r\n"
        "file.1.path:" + dataDir.file("gone.fcs") + "\r\n"
        "file.4.path:" + dataDir.file("Run #3: b.fcs") + "\r\n"
        "window.3.type:DotPlot\r\nwindow.3.file:4\r\nwindow.3.axis.x:2\r\n"
        "window.5.type:DotPlot\r\nwindow.5.file:1\r\n";
    WriteBytes(sheetDir.file("s.quorvane"), sheet);
    ScriptedDialogs dlg;
    dlg.expectMessage(q("The file '" + dataDir.file("gone.fcs") + "'\rwas not in its original location."), "Quorvane",
                      MsgButtons::Ok, MsgAnswer::Ok);
    main->LataaNakyma(q(sheetDir.file("s.quorvane")));
    dlg.finish();
    EXPECT_FALSE(g.FileTable[1].Loaded);
    EXPECT_TRUE(g.FileTable[4].Loaded);
    EXPECT_EQ(g.FileTable[4].FileName, "Run #3: b.fcs");
    EXPECT_EQ(g.PopulationTable[2].Name, "Gate: one # two");
    ASSERT_NE(plot(3), nullptr);
    EXPECT_EQ(g.WindowRegistry[3].FileIndex, 4);
    EXPECT_EQ(plot(3)->state().ChannelX, 2);
    ASSERT_NE(plot(5), nullptr);
    EXPECT_EQ(g.WindowRegistry[5].FileIndex, 0);
    EXPECT_TRUE(g.WindowRegistry[5].Selected);
}

TEST_F(SheetStoreTest, DamagedSheetsLoadWhatIsSoundAndCrashNothing) {
    buildWorkspace();
    const std::string sound = saveSheet(sheetDir.file("sound.quorvane"));
    std::string junk;
    std::mt19937 random(7);
    for (int i = 0; i < 3000; ++i) junk += static_cast<char>(random() & 0xff);
    std::vector<std::string> sheets;
    const size_t filesEnd = sound.find("# Windows");
    for (size_t cut = filesEnd; cut < sound.size(); cut += 97) sheets.push_back(sound.substr(0, cut));
    sheets.push_back(junk);
    sheets.push_back(sound.substr(0, filesEnd) + junk);
    sheets.push_back(sound + "window.1.axis.x:1e99\r\nwindow.1.file:99\r\nwindow.2.show:-7\r\nwindow.2.axis.y:x\r\n"
                             "window.2.location.x:nan\r\nwindow.2.size.x:1e38\r\npopulation.1.corners:9999\r\n");
    sheets.push_back("general.style:package\r\nfile.1.name:a.fcs\r\nfile.1.length:999999\r\ncontent:abc");
    for (size_t i = 0; i < sheets.size(); ++i) {
        WriteBytes(sheetDir.file("bad.quorvane"), sheets[i]);
        ScriptedDialogs dlg;
        // A package file that runs past the end is refused like a file that does not read.
        if (i + 1 == sheets.size())
            dlg.expectMessage("The file was not valid flow cytometry file", "Load error", MsgButtons::Ok, MsgAnswer::Ok);
        main->LataaNakyma(q(sheetDir.file("bad.quorvane")));
        dlg.finish();
        EXPECT_FALSE(g.SheetLoading) << i;
        EXPECT_FALSE(main->sheetStore().loading()) << i;
        main->PiirraKaikki();  // whatever was loaded draws
    }
    EXPECT_FALSE(QFileInfo::exists(q(sheetDir.file("a.fcs"))));  // no partial file
    // The sound part of a damaged sheet is there.
    WriteBytes(sheetDir.file("bad.quorvane"), sound.substr(0, sound.find("window.2.type")));
    main->LataaNakyma(q(sheetDir.file("bad.quorvane")));
    EXPECT_EQ(g.PopulationTable[3].Name, "Lymphs: CD4 #1");
    EXPECT_NE(plot(1), nullptr);
    EXPECT_EQ(plot(2), nullptr);
}

TEST_F(SheetStoreTest, MissingOrEmptySheetFileChangesNothing) {
    buildWorkspace();
    const Workspace before = Workspace::capture();
    WriteBytes(sheetDir.file("empty.quorvane"), "");
    for (const std::string& path : {sheetDir.file("empty.quorvane"), sheetDir.file("none.quorvane"), sheetDir.path()}) {
        ScriptedDialogs dlg;
        dlg.expectMessage(q("The analysis sheet could not be read:\n" + path), "Load error", MsgButtons::Ok,
                          MsgAnswer::Ok);
        main->LataaNakyma(q(path));
        dlg.finish();
        EXPECT_TRUE(Workspace::capture() == before) << path;
    }
}

TEST_F(SheetStoreTest, PackageCarriesItsFilesToAnotherFolder) {
    // Two loaded files of the same name from different folders.
    WriteFcsTestFile(dataDir.file("tube.fcs"), sampleFile(0));
    QDir().mkpath(q(dataDir.file("other")));
    WriteFcsTestFile(dataDir.file("other/tube.fcs"), sampleFile(333));
    openFile(dataDir.file("tube.fcs"));
    ASSERT_EQ(main->createFromMenu("DotPlot"), 2);
    openFile(dataDir.file("other/tube.fcs"));
    const Workspace before = Workspace::capture();

    const std::string package = saveSheet(sheetDir.file("p.quorvane"), "Paketti");
    EXPECT_NE(package.find("general.style:package\r\n"), std::string::npos);
    EXPECT_EQ(package.find("file.1.path"), std::string::npos);

    TempFolder elsewhere;
    WriteBytes(elsewhere.file("p.quorvane"), package);
    main->LataaNakyma(q(elsewhere.file("p.quorvane")));
    EXPECT_EQ(readAll(elsewhere.file("tube.fcs")), readAll(dataDir.file("tube.fcs")));
    EXPECT_EQ(readAll(elsewhere.file("tube (2).fcs")), readAll(dataDir.file("other/tube.fcs")));
    EXPECT_EQ(g.FileTable[1].fullPath(), elsewhere.file("tube.fcs"));
    EXPECT_EQ(g.FileTable[2].fullPath(), elsewhere.file("tube (2).fcs"));
    const Workspace after = Workspace::capture();
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_TRUE(after.membership == before.membership);

    // Opened again: the extracted files are reused, no other copy is written.
    const QStringList files = QDir(q(elsewhere.path())).entryList(QDir::Files);
    main->LataaNakyma(q(elsewhere.file("p.quorvane")));
    EXPECT_EQ(QDir(q(elsewhere.path())).entryList(QDir::Files), files);
    EXPECT_EQ(g.FileTable[2].fullPath(), elsewhere.file("tube (2).fcs"));
}

// Whatever holds a packed file's name beside the package keeps it: a link
// of any kind is never written through nor reused, a pipe never opened;
// the file goes to the next free name and nothing outside the folder changes.
TEST_F(SheetStoreTest, PackageWritesNothingThroughWhatHoldsAPackedName) {
    WriteFcsTestFile(dataDir.file("tube.fcs"), sampleFile(0));
    openFile(dataDir.file("tube.fcs"));
    const std::string package = saveSheet(sheetDir.file("p.quorvane"), "Paketti");
    const std::string packed = readAll(dataDir.file("tube.fcs"));

    enum class Holder { DanglingLink, LinkToTheSameBytes, LinkToOtherBytes, LinkToAFolder, Pipe };
    const struct {
        const char* name;
        Holder holder;
    } cases[] = {{"DanglingLink", Holder::DanglingLink},
                 {"LinkToTheSameBytes", Holder::LinkToTheSameBytes},
                 {"LinkToOtherBytes", Holder::LinkToOtherBytes},
                 {"LinkToAFolder", Holder::LinkToAFolder},
                 {"Pipe", Holder::Pipe}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder, outside;
        const std::string name = folder.file("tube.fcs");
        const std::string pointed = outside.file("pointed.fcs");
        const std::string linkText = c.holder == Holder::LinkToAFolder ? outside.path() : pointed;
        if (c.holder == Holder::LinkToTheSameBytes) WriteBytes(pointed, packed);
        if (c.holder == Holder::LinkToOtherBytes) WriteBytes(pointed, "the user's own file");
        if (c.holder == Holder::Pipe)
            ASSERT_TRUE(MakeSpecialFile(name, SpecialFile::Pipe));
        else
            MakeLink(linkText, name);
        const QStringList outsideBefore = QDir(q(outside.path())).entryList(QDir::AllEntries | QDir::System);
        const std::string pointedBefore = QFileInfo::exists(q(pointed)) ? readAll(pointed) : std::string();
        // A fault that opened the pipe would wait for a reader: one is held open.
        std::optional<PipeReader> reader;
        if (c.holder == Holder::Pipe) reader.emplace(name);

        WriteBytes(folder.file("p.quorvane"), package);
        main->LataaNakyma(q(folder.file("p.quorvane")));

        EXPECT_EQ(g.FileTable[1].fullPath(), folder.file("tube (2).fcs"));
        EXPECT_EQ(readAll(folder.file("tube (2).fcs")), packed);
        if (c.holder == Holder::Pipe) {
            EXPECT_TRUE(IsSpecialFile(name, SpecialFile::Pipe));
            EXPECT_EQ(reader->drain(), "");
        } else {
            EXPECT_TRUE(IsLink(name));
            EXPECT_EQ(LinkText(name), linkText);
        }
        EXPECT_EQ(QDir(q(outside.path())).entryList(QDir::AllEntries | QDir::System), outsideBefore);
        if (c.holder == Holder::LinkToTheSameBytes || c.holder == Holder::LinkToOtherBytes) {
            EXPECT_EQ(readAll(pointed), pointedBefore);
        }
    }
}

TEST_F(SheetStoreTest, PackageNamingAFileOutsideItsFolderIsRefused) {
    buildWorkspace();
    const Workspace before = Workspace::capture();
    for (const char* name : {"../evil.fcs", "/tmp/evil.fcs", "sub\\evil.fcs", ".."}) {
        WriteBytes(sheetDir.file("p.quorvane"), std::string("general.style:package\r\nfile.1.name:") + name +
                                                    "\r\nfile.1.length:3\r\n\r\ncontent:abc");
        ScriptedDialogs dlg;
        dlg.expectMessage(QString("The package names a file outside its folder:\n") + name, "Load error",
                          MsgButtons::Ok, MsgAnswer::Ok);
        main->LataaNakyma(q(sheetDir.file("p.quorvane")));
        dlg.finish();
        EXPECT_TRUE(Workspace::capture() == before) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(q(dataDir.path() + "../evil.fcs")));
}

TEST_F(SheetStoreTest, SaveDialogOverwriteQuestionAndFailures) {
    const std::string path = sheetDir.file("s.quorvane");
    {
        ScriptedDialogs dlg;  // cancelled: nothing written, nothing said
        dlg.expectSaveFile(std::nullopt);
        main->FileSaveView_Click();
    }
    EXPECT_FALSE(QFileInfo::exists(q(path)));
    WriteBytes(path, "keep");
    {
        ScriptedDialogs dlg;
        dlg.expectSaveFile(q(path));
        dlg.expectMessage("File already exists. Do you want to overwrite it?", "File already exists",
                          MsgButtons::OkCancel, MsgAnswer::Cancel);
        main->FileSaveView_Click();
    }
    EXPECT_EQ(readAll(path), "keep");
    // A save that cannot be written says so with the file and the reason,
    // leaves the old file and keeps the autosave on. A folder is no file to
    // overwrite: it is refused without the question first.
    const std::pair<std::string, const char*> failing[] = {
        {sheetDir.file("no/such/folder.quorvane"), "No such file or directory"},
        {sheetDir.path(), "Is a directory"}};
    for (const auto& [target, reason] : failing) {
        ScriptedDialogs dlg;
        dlg.expectSaveFile(q(target));
        dlg.expectMessage(saveFailed(target, reason), "Quorvane", MsgButtons::Ok, MsgAnswer::Ok);
        main->MenuSaveAnalysisPackage_Click();
        dlg.finish();
        EXPECT_TRUE(main->AutosaveEnabled);
    }
    // A package whose data file has gone cannot be written.
    WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
    openFile(dataDir.file("a.fcs"));
    QFile::remove(q(dataDir.file("a.fcs")));
    {
        ScriptedDialogs dlg;
        dlg.expectSaveFile(q(sheetDir.file("p.quorvane")));
        dlg.expectMessage(saveFailed(sheetDir.file("p.quorvane"), "data file unreadable: " + dataDir.file("a.fcs")),
                          "Quorvane", MsgButtons::Ok, MsgAnswer::Ok);
        main->MenuSaveAnalysisPackage_Click();
    }
    EXPECT_FALSE(QFileInfo::exists(q(sheetDir.file("p.quorvane"))));
    EXPECT_EQ(readAll(path), "keep");
}

// A save over an existing sheet asks one question, the program's own: the
// save dialog is told not to ask as well.
TEST_F(SheetStoreTest, SavingOverAnExistingSheetAsksOnce) {
    struct Save {
        const char* name;
        void (PaaIkkuna::*click)();
    };
    for (const Save& save : {Save{"view", &PaaIkkuna::FileSaveView_Click},
                             Save{"package", &PaaIkkuna::MenuSaveAnalysisPackage_Click}}) {
        SCOPED_TRACE(save.name);
        const std::string path = sheetDir.file(std::string(save.name) + ".quorvane");
        WriteBytes(path, "old");
        ScriptedDialogs dlg;
        dlg.expectSaveFile(q(path), "Save analysis file")
            .expectMessage("File already exists. Do you want to overwrite it?", "File already exists",
                           MsgButtons::OkCancel, MsgAnswer::Ok);
        (main.get()->*save.click)();
        dlg.finish();
        ASSERT_EQ(dlg.shown().size(), 2u);
        EXPECT_FALSE(dlg.shown()[0].dialogAsksOverwrite);
        EXPECT_NE(readAll(path), "old");
    }
}

// The failed autosave's message, naming every folder tried and the system's
// reason for each.
QString autosaveFailure(const std::vector<std::pair<std::string, const char*>>& tried) {
    std::string text = "The autosave file could not be written in the folder:";
    for (size_t i = 0; i < tried.size(); ++i)
        text += (i > 0 ? "\nnor in the folder:\n" : "\n") + tried[i].first + "\n" + tried[i].second;
    return q(text + "\nIt is written again after your next action.");
}

TEST_F(SheetStoreTest, FailedAutosaveStaysOnSaysSoOnceAndWritesAgainWhenItCan) {
    // The program folder is a file's path: nothing can be written there.
    const std::string blocked = programDir.file("blocked");
    WriteBytes(blocked, "");
    setProgramFolderOverride(q(blocked));
    main->TalletaNakyma("Autosave");
    EXPECT_TRUE(main->AutosaveEnabled);
    EXPECT_TRUE(QFileInfo::exists(q(appDataDir.file("autosave.quorvane"))));

    // The application data folder fails as well, for a reason that may pass.
    const std::string folder = appDataDir.file("blocked-too");
    setAppDataFolderOverride(q(folder));
    WriteBytes(folder, "");
    const QString bothFail = autosaveFailure({{blocked, "Not a directory"}, {folder, "Not a directory"}});
    written.clear();
    {
        ScriptedDialogs dlg;
        dlg.expectMessage(bothFail, "Save error", MsgButtons::Ok, MsgAnswer::Ok);
        main->TalletaNakyma("Autosave");
        dlg.finish();
    }
    EXPECT_TRUE(main->AutosaveEnabled);
    // Every later action tries again, without another message.
    ASSERT_EQ(main->createFromMenu("DotPlot"), 1);
    main->PiirraKaikki();
    EXPECT_TRUE(written.isEmpty());
    EXPECT_TRUE(main->AutosaveEnabled);

    // Room again: the next action writes the workspace.
    QFile::remove(q(folder));
    ASSERT_EQ(main->createFromMenu("DotPlot"), 2);
    EXPECT_EQ(written, QStringList{"Autosave"});
    EXPECT_NE(readAll(folder + "/autosave.quorvane").find("window.2.type:DotPlot\r\n"), std::string::npos);

    // A new run of failures is told again, once.
    QDir(q(folder)).removeRecursively();
    WriteBytes(folder, "");
    ScriptedDialogs dlg;
    dlg.expectMessage(bothFail, "Save error", MsgButtons::Ok, MsgAnswer::Ok);
    main->PiirraKaikki();
    main->PiirraKaikki();
    dlg.finish();
    EXPECT_TRUE(main->AutosaveEnabled);
}

// The program's own folder, when it cannot be written, is passed over for
// the application data folder; when that fails too, the message names both.
TEST_F(SheetStoreTest, AFailedAutosaveNamesTheProgramFolderItPassedOver) {
    const std::string program = programDir.file("program");  // a file: nothing can be written in it
    const std::string data = appDataDir.file("data");
    WriteBytes(program, "");
    WriteBytes(data, "");
    setProgramFolderOverride(QString());
    setExecutableFolderOverride(q(program));
    setAppDataFolderOverride(q(data));
    ScriptedDialogs dlg;
    dlg.expectMessage(autosaveFailure({{program, "Not a directory"}, {data, "Not a directory"}}), "Save error",
                      MsgButtons::Ok, MsgAnswer::Ok);
    main->TalletaNakyma("Autosave");
    dlg.finish();
    EXPECT_TRUE(main->AutosaveEnabled);
}

// A folder that does not exist is made for the autosave; when it cannot be
// made, the message gives the reason it could not be (not that the folder
// is missing), and a folder the user may not make turns the autosave off.
TEST_F(SheetStoreTest, AnAutosaveFolderThatCannotBeMadeIsToldWithItsReason) {
    const std::string locked = programDir.file("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0700), 0);
    const std::string program = locked + "/program";
    const std::string data = locked + "/data";
    setProgramFolderOverride(q(program));
    setAppDataFolderOverride(q(data));
    const LockedFolder lock(locked);
    if (!lock.locked()) GTEST_SKIP() << "this system lets the test lock no folder";
    const std::string reason = std::strerror(lock.error());
    ScriptedDialogs dlg;
    dlg.expectMessage(q("Autosave is off: the autosave file could not be written in the folder:\n" + program + "\n" +
                        reason + "\nnor in the folder:\n" + data + "\n" + reason),
                      "Save error", MsgButtons::Ok, MsgAnswer::Ok);
    main->TalletaNakyma("Autosave");
    dlg.finish();
    EXPECT_FALSE(main->AutosaveEnabled);
}

void setModified(const std::string& path, const QDateTime& when) {
    QFile file(q(path));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path;
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime)) << path;
}

// Both places fail, then the program's folder has room again: every action
// from then on lands there, whatever the second place does, and a crash
// recovers the newest workspace, not an older copy of the second place.
TEST_F(SheetStoreTest, AfterBothPlacesFailedTheAutosaveGoesBackNextToTheProgram) {
    const std::string program = programDir.file("program");
    const std::string data = appDataDir.file("data");
    setProgramFolderOverride(q(program));
    setAppDataFolderOverride(q(data));
    WriteBytes(program, "");
    WriteBytes(data, "");
    {
        ScriptedDialogs dlg;
        dlg.expectMessage(autosaveFailure({{program, "Not a directory"}, {data, "Not a directory"}}), "Save error",
                          MsgButtons::Ok, MsgAnswer::Ok);
        ASSERT_EQ(main->createFromMenu("DotPlot"), 1);
        ASSERT_EQ(main->createFromMenu("DotPlot"), 2);
        dlg.finish();
    }
    // The second place first, so that it holds an older copy.
    QFile::remove(q(data));
    ASSERT_EQ(main->createFromMenu("DotPlot"), 3);
    const std::string inData = data + "/autosave.quorvane";
    ASSERT_NE(readAll(inData).find("window.3.type:DotPlot\r\n"), std::string::npos);

    QFile::remove(q(program));
    ASSERT_TRUE(QDir().mkpath(q(program)));
    const std::string inProgram = program + "/autosave.quorvane";
    for (int w = 4; w <= 5; ++w) {
        SCOPED_TRACE(w);
        written.clear();
        ASSERT_EQ(main->createFromMenu("DotPlot"), w);
        EXPECT_EQ(written, QStringList{"Autosave"});
        EXPECT_NE(readAll(inProgram).find("window." + std::to_string(w) + ".type:DotPlot\r\n"), std::string::npos);
    }
    EXPECT_FALSE(QFileInfo::exists(q(inData)));

    // An older copy left in the second place does not win the recovery.
    WriteBytes(inData, "population.1.name:Stale\r\n");
    setModified(inData, QDateTime::currentDateTime().addSecs(-3600));
    restartWithRecovery();
    EXPECT_NE(windowAt(5), nullptr);
    EXPECT_FALSE(g.PopulationTable[1].InUse);
}

// Which of the two places a recovery takes when both hold an autosave.
struct LeftAutosaves {
    const char* name;
    int programAgeSeconds;  // -1: none there
    int dataAgeSeconds;
    const char* recovered;  // "program", "data" or ""
};

void PrintTo(const LeftAutosaves& left, std::ostream* out) { *out << left.name; }

class LeftAutosaveTest : public ::testing::TestWithParam<LeftAutosaves> {};

TEST_P(LeftAutosaveTest, TheNewerOneIsRecovered) {
    TempFolder program, data;
    setProgramFolderOverride(q(program.path()));
    setAppDataFolderOverride(q(data.path()));
    const LeftAutosaves& left = GetParam();
    const auto leave = [](const TempFolder& folder, int age) {
        if (age < 0) return;
        WriteBytes(folder.file("autosave.quorvane"), "x");
        setModified(folder.file("autosave.quorvane"), QDateTime::currentDateTime().addSecs(-age));
    };
    leave(program, left.programAgeSeconds);
    leave(data, left.dataAgeSeconds);
    const std::string expected = std::string(left.recovered) == "program" ? program.file("autosave.quorvane")
                                 : std::string(left.recovered) == "data"  ? data.file("autosave.quorvane")
                                                                         : std::string();
    EXPECT_EQ(leftAutosaveFile(), q(expected));
    setProgramFolderOverride(QString());
    setAppDataFolderOverride(QString());
}

INSTANTIATE_TEST_SUITE_P(
    Places, LeftAutosaveTest,
    ::testing::Values(LeftAutosaves{"ProgramFolderNewer", 10, 3600, "program"},
                      LeftAutosaves{"DataFolderNewer", 3600, 10, "data"},
                      LeftAutosaves{"ProgramFolderOnly", 10, -1, "program"},
                      LeftAutosaves{"DataFolderOnly", -1, 10, "data"}, LeftAutosaves{"Neither", -1, -1, ""}),
    [](const ::testing::TestParamInfo<LeftAutosaves>& info) { return std::string(info.param.name); });

TEST_F(SheetStoreTest, TemporaryFilesOfAKilledWriteAreRemovedButNotARunningOnes) {
    start();
    const std::string killed = programDir.file(WriteTemporaryName("autosave.quorvane", "a1B2c3"));
    const std::string running = programDir.file(WriteTemporaryName("autosave.quorvane", "x9Y8z7"));
    WriteBytes(killed, "half");
    WriteBytes(running, "half");
    WriteBytes(programDir.file("autosave.quorvane.backup"), "not ours");
    WriteBytes(programDir.file("autosave.quorvane.tmp-backup"), "not ours");
    // Another run still writing its autosave holds its temporary file's lock.
    const int lock = ::open(running.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    main->TalletaNakyma("Autosave");
    EXPECT_FALSE(QFileInfo::exists(q(killed)));
    EXPECT_TRUE(QFileInfo::exists(q(running)));
    EXPECT_TRUE(QFileInfo::exists(q(programDir.file("autosave.quorvane.backup"))));
    EXPECT_TRUE(QFileInfo::exists(q(programDir.file("autosave.quorvane.tmp-backup"))));
    ::close(lock);
}

TEST_F(SheetStoreTest, ALaterSaveRemovesWhatAKilledSaveOfTheSameTargetLeft) {
    buildWorkspace();
    const std::string package = sheetDir.file("ws.quorvane");
    const std::string killed = sheetDir.file(WriteTemporaryName("ws.quorvane", "Q7w2Rt"));
    const std::string another = sheetDir.file(WriteTemporaryName("other.quorvane", "Q7w2Rt"));
    WriteBytes(killed, std::string(4096, 'x'));
    WriteBytes(another, "another target's");
    saveSheet(package, "Paketti");
    EXPECT_FALSE(QFileInfo::exists(q(killed)));
    EXPECT_TRUE(QFileInfo::exists(q(another)));
    EXPECT_EQ(QDir(q(sheetDir.path())).entryList({"ws.quorvane*"}, QDir::Files), QStringList{"ws.quorvane"});
}

// After a load the window the workspace shows active is the active one for
// every command, whatever was active before: File info shows its file and
// "Save FCS as..." writes it.
TEST_F(SheetStoreTest, AfterALoadOrARecoveryTheActiveSlotNamesTheActiveWindow) {
    buildWorkspace();
    main->workspace()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(windowAt(1)->parentWidget()));
    ASSERT_EQ(g.ActiveWindowSlot, 1);
    const std::string sheet = sheetDir.file("view.quorvane");
    saveSheet(sheet);
    loadSheet(sheet);
    const auto expectActiveSlotIsActiveWindow = [&](const char* after) {
        const QMdiSubWindow* sub = main->workspace()->activeSubWindow();
        auto* active = sub ? qobject_cast<PlotWindow*>(sub->widget()) : nullptr;
        ASSERT_NE(active, nullptr) << after;
        EXPECT_EQ(g.ActiveWindowSlot, active->AnnaID()) << after;
        EXPECT_NE(g.ActiveWindowSlot, 1) << after;
        EXPECT_TRUE(g.WindowRegistry[g.ActiveWindowSlot].Selected) << after;
    };
    expectActiveSlotIsActiveWindow("a sheet load");

    restartWithRecovery();
    expectActiveSlotIsActiveWindow("a recovery");
    const std::string copy = dataDir.file("copy.fcs");
    ScriptedDialogs dlg;
    dlg.expectSaveFile(q(copy), "Save as FCS file");
    main->FileSaveFCS_Click();
    dlg.finish();
    EXPECT_TRUE(QFileInfo::exists(q(copy)));
}

// A window's file line beyond the file table leaves it with no file, not
// with the file loaded last.
TEST_F(SheetStoreTest, FileLineBeyondTheFileTableLeavesTheWindowWithoutAFile) {
    WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
    WriteBytes(sheetDir.file("s.quorvane"), "file.1.path:" + dataDir.file("a.fcs") +
                                                "\r\nwindow.2.type:DotPlot\r\nwindow.2.file:1\r\n"
                                                "window.5.type:DotPlot\r\nwindow.5.file:99\r\n");
    main->LataaNakyma(q(sheetDir.file("s.quorvane")));
    ASSERT_TRUE(g.FileTable[1].Loaded);
    ASSERT_NE(plot(2), nullptr);
    ASSERT_NE(plot(5), nullptr);
    EXPECT_EQ(g.WindowRegistry[2].FileIndex, 1);
    EXPECT_EQ(g.WindowRegistry[5].FileIndex, 0);
}

// A hand-written sheet that leaves out a gate's label offsets and colours
// gives the slot its start values, not those of the workspace before.
TEST_F(SheetStoreTest, SlotsOfTheSheetStartWholeFromTheirStartValues) {
    buildWorkspace();
    g.PopulationTable[1].TitleX = 900;
    g.PopulationTable[1].TitleY = -450;
    g.PopulationTable[1].Transparent = true;
    WriteBytes(sheetDir.file("s.quorvane"), "population.1.name:Hand\r\npopulation.1.type:Polygon\r\n"
                                            "population.1.axis.x:1\r\npopulation.1.axis.y:2\r\n");
    main->LataaNakyma(q(sheetDir.file("s.quorvane")));
    const PopulationRecord& p = g.PopulationTable[1];
    EXPECT_TRUE(p.InUse);
    EXPECT_EQ(p.Name, "Hand");
    EXPECT_EQ(p.TitleX, 0);
    EXPECT_EQ(p.TitleY, 0);
    EXPECT_EQ(p.Corners, 0);
    EXPECT_FALSE(p.Transparent);
    EXPECT_EQ(p.ColorRed, DefaultPopulationColours[1].Red);
    EXPECT_FALSE(g.PopulationTable[3].InUse);
}

// A workspace built on a text table comes back from a sheet, an autosave and
// a package: each file goes to the reader its content calls for.
TEST_F(SheetStoreTest, TextTablesAndFcsFilesComeBackThroughTheirReaders) {
    const std::string table = dataDir.file("cells.txt");
    WriteBytes(table, "FSC\tSSC\n4.35\t0.29\n1.15\t2\n3\t4\n");
    WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
    {
        ScriptedDialogs dlg;
        dlg.expectOpenFile(q(table), "Open Tabbed TXT file");
        main->FileOpenTXT_Click();
        dlg.finish();
    }
    ASSERT_TRUE(g.FileTable[1].Loaded);
    ASSERT_EQ(main->createFromMenu("DotPlot"), 2);
    openFile(dataDir.file("a.fcs"));
    const Workspace before = Workspace::capture();
    ASSERT_EQ(before.files.at(1), "cells.txt|3");

    const std::string sheet = saveSheet(sheetDir.file("s.quorvane"));
    const std::string package = saveSheet(sheetDir.file("p.quorvane"), "Paketti");
    EXPECT_NE(sheet.find("file.1.path:" + table + "\r\nfile.2.path:"), std::string::npos);  // paths only, as ever
    TempFolder elsewhere;
    WriteBytes(elsewhere.file("p.quorvane"), package);
    QGuiApplication::clipboard()->setText("the user's");
    for (const std::string& path : {sheetDir.file("s.quorvane"), elsewhere.file("p.quorvane")}) {
        main->createFromMenu("DotPlot");
        main->LataaNakyma(q(path));
        const Workspace after = Workspace::capture();
        EXPECT_EQ(after.files, before.files) << path;
        EXPECT_EQ(after.windows, before.windows) << path;
        EXPECT_EQ(g.FileTable[1].Parameters[1].Name, "FSC") << path;
        EXPECT_EQ(g.FileTable[1].FcsVersionText, "") << path;
        EXPECT_EQ(g.FileTable[2].FcsVersionText, "FCS3.0") << path;
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "the user's") << path;
    }

    // The same through a recovery.
    main->LataaNakyma(q(sheetDir.file("s.quorvane")));
    restartWithRecovery();
    EXPECT_EQ(Workspace::capture().files, before.files);
}

TEST_F(SheetStoreTest, AfterACrashRecoveryRestoresTheWorkspaceAndAnOrderlyExitRemovesTheFile) {
    buildWorkspace();
    const Workspace before = Workspace::capture();
    ASSERT_TRUE(QFileInfo::exists(q(autosave())));
    // The program ends without its exit: the autosave file stays.
    restartWithRecovery();
    const Workspace after = Workspace::capture();
    EXPECT_EQ(after.populations, before.populations);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_TRUE(after.membership == before.membership);

    ScriptedDialogs dlg;
    dlg.expectMessage(ExitQuestion, "Exit the program", MsgButtons::OkCancel, MsgAnswer::Ok);
    main->FileExit_Click();
    dlg.finish();
    EXPECT_FALSE(QFileInfo::exists(q(autosave())));
}

TEST_F(SheetStoreTest, PrintViewAndFileInfoBlocksGoThroughTheirHooks) {
    std::vector<std::string> printLines, infoLines;
    setSheetSection(SheetSectionKind::PrintView,
                    {[] { return std::vector<std::string>{"2", "scale:2", "window.1.left:10"}; },
                     [&](const std::string& l) { printLines.push_back(l); }, {}});
    int afterLoads = 0;
    setSheetSection(SheetSectionKind::FileInfo, {[] { return std::vector<std::string>{"1", "global:1"}; },
                                                 [&](const std::string& l) { infoLines.push_back(l); },
                                                 [&] { ++afterLoads; }});
    main->mainMenu().NaytaFileInfo->setChecked(true);
    const std::string text = saveSheet(sheetDir.file("s.quorvane"));
    EXPECT_NE(text.find("printview.visible:0\r\nprintview.scale:2\r\nprintview.window.1.left:10\r\n"), std::string::npos);
    EXPECT_NE(text.find("fileinfo.visible:1\r\nfileinfo.global:1\r\n"), std::string::npos);

    std::string shown = text;
    shown.replace(shown.find("printview.visible:0"), 19, "printview.visible:1");
    WriteBytes(sheetDir.file("s.quorvane"), shown);
    main->mainMenu().NaytaFileInfo->setChecked(false);
    main->LataaNakyma(q(sheetDir.file("s.quorvane")));
    EXPECT_EQ(printLines, (std::vector<std::string>{"printview.scale:2", "printview.window.1.left:10"}));
    EXPECT_EQ(infoLines, std::vector<std::string>{"fileinfo.global:1"});
    EXPECT_TRUE(main->mainMenu().AvaaPrintPreviewPage->isChecked());
    EXPECT_TRUE(main->mainMenu().Printtaa->isEnabled());
    EXPECT_TRUE(main->mainMenu().NaytaFileInfo->isChecked());
    EXPECT_EQ(afterLoads, 1);
    setSheetSection(SheetSectionKind::PrintView, {});
    setSheetSection(SheetSectionKind::FileInfo, {});
}

// A window whose settings lines cannot be written (its count names lines it
// does not give).
class BrokenLinesWindow final : public PlotWindow {
public:
    void Alusta(int id) override { id_ = id; }
    void Piirra() override {}
    int AnnaID() const override { return id_; }
    void UnloadWindow() override { releaseWindowSlot(id_); }
    void MenuValintaReaktio(int) override {}
    void CopyToClipboard() override {}
    std::vector<std::string> SaveInfo() override { return {"5", "location.x:0"}; }
    void LoadInfo(const std::string&) override {}

private:
    int id_ = 0;
};

TEST_F(SheetStoreTest, FailingSettingsLinesLeaveThePreviousFilesWhole) {
    main->TalletaNakyma("Autosave");
    const std::string before = readAll(autosave());
    WriteBytes(sheetDir.file("s.quorvane"), "older sheet");
    registerWindowKind("ClipBook", [] { return new BrokenLinesWindow(); });
    ScriptedDialogs dlg;
    const char* const broken = "window 1: the line count names more lines than were given";
    // The autosave after creating it.
    dlg.expectMessage(saveFailed(autosave(), broken), "Quorvane", MsgButtons::Ok, MsgAnswer::Ok);
    ASSERT_NE(main->createFromMenu("ClipBook"), 0);
    dlg.expectSaveFile(q(sheetDir.file("s.quorvane")));
    dlg.expectMessage("File already exists. Do you want to overwrite it?", "File already exists",
                      MsgButtons::OkCancel, MsgAnswer::Ok);
    dlg.expectMessage(saveFailed(sheetDir.file("s.quorvane"), broken), "Quorvane", MsgButtons::Ok, MsgAnswer::Ok);
    main->FileSaveView_Click();
    dlg.finish();
    registerWindowKind("ClipBook", nullptr);
    EXPECT_EQ(readAll(autosave()), before);
    EXPECT_EQ(readAll(sheetDir.file("s.quorvane")), "older sheet");
    EXPECT_TRUE(main->AutosaveEnabled);
    EXPECT_EQ(QDir(q(sheetDir.path())).entryList(QDir::Files), QStringList{"s.quorvane"});  // no temporary left
}

TEST_F(SheetStoreTest, RedrawingEveryWindowWritesTheAutosaveOnce) {
    buildWorkspace();
    for (int i = 0; i < 48; ++i) ASSERT_NE(main->createFromMenu("DotPlot"), 0);
    written.clear();
    main->PiirraKaikki();
    EXPECT_EQ(written, QStringList{"Autosave"});
    const ParsedSheet saved = ParseSheet(readAll(autosave()), SheetLimits{}, [](const std::string&) { return true; });
    EXPECT_EQ(saved.windows.size(), 50u);
}

TEST_F(SheetStoreTest, NoOtherLoadStartsWhileASheetLoads) {
    registerStandInKind("Histogram", "Histogram", true);
    WriteBytes(sheetDir.file("other.quorvane"), "population.4.name:Other\r\nwindow.9.type:Histogram\r\n");
    WriteBytes(sheetDir.file("s.quorvane"), "population.2.name:Mine\r\nwindow.3.type:Histogram\r\n");
    int calls = 0;
    StandInWindow::onAlusta() = [&](int) {
        ++calls;
        main->LataaNakyma(q(sheetDir.file("other.quorvane")));
        main->TalletaNakyma("Autosave");
    };
    written.clear();
    main->LataaNakyma(q(sheetDir.file("s.quorvane")));
    StandInWindow::onAlusta() = nullptr;
    registerWindowKind("Histogram", nullptr);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(g.PopulationTable[2].InUse);
    EXPECT_FALSE(g.PopulationTable[4].InUse);
    EXPECT_EQ(windowAt(9), nullptr);
    EXPECT_EQ(writesWhileLoading, 0);
    EXPECT_EQ(written, QStringList{"Autosave"});
}

// A sheet of windows on a million events makes every pass over the events a
// wait: its load draws each window once, at its end, whether File info (which
// brings its file in line with the sheet first) is shown or not, and the
// populations come back whole.
class SheetDrawsOnceTest : public SheetStoreTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SheetDrawsOnceTest, EveryWindowIsDrawnOnceAndThePopulationsComeBack) {
    registerHistogramKind();
    registerStandInKind("ClipBook", "ClipBook", false);
    buildWorkspace();
    const int histogram = main->createFromMenu("Histogram");
    const int standIn = main->createFromMenu("ClipBook");
    ASSERT_NE(histogram, 0);
    ASSERT_NE(standIn, 0);
    main->mainMenu().NaytaFileInfo->setChecked(GetParam());
    const Workspace before = Workspace::capture();
    const std::string sheet = sheetDir.file("view.quorvane");
    saveSheet(sheet);

    // The load replaces a workspace whose memberships are wrong.
    for (int slot : {1, 3}) g.PopulationTable[static_cast<size_t>(slot)].CornerX[1] = 9999;
    RecomputeAllPopulations();
    StandInWindow::log().clear();
    loadSheet(sheet);

    const std::vector<std::string>& log = StandInWindow::log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Piirra " + std::to_string(standIn)), 1);
    const auto* restored = dynamic_cast<const Histogram*>(windowAt(histogram));
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->fullDrawCount(), 1);
    EXPECT_EQ(main->mainMenu().NaytaFileInfo->isChecked(), GetParam());
    const Workspace after = Workspace::capture();
    EXPECT_EQ(after.populations, before.populations);
    EXPECT_TRUE(after.membership == before.membership);
    main.reset();
    registerWindowKind("Histogram", nullptr);
    registerWindowKind("ClipBook", nullptr);
}

INSTANTIATE_TEST_SUITE_P(FileInfo, SheetDrawsOnceTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Shown" : "Hidden");
                         });

// The writer killed at random moments while it autosaves in a loop: the file
// on disk is always one whole sheet.
TEST(AutosaveCrashTest, KilledWriterAlwaysLeavesAWholeSheet) {
    resetSharedState();
    for (int s = 1; s <= 16; ++s) {
        PopulationRecord& p = g.PopulationTable[s];
        p.InUse = true;
        p.Name = "Poly-" + std::to_string(s);
        p.Corners = 50;
        for (int j = 1; j <= 50; ++j) p.CornerX[j] = p.CornerY[j] = 123.25f * j;
    }
    SheetContent c;
    c.versionText = "1.2.1";
    c.populations = &g.PopulationTable;
    for (int w = 1; w <= 50; ++w) c.windows.push_back({w, "DotPlot", {"1", "axis.x:3"}});
    TempFolder folder;
    const std::string path = folder.file("autosave.quorvane");
    std::mt19937 random(11);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (long n = 0;; ++n) {
                c.date = std::to_string(1000000 + n % 9000000);  // same width, new text every time
                if (WriteFileAtomically(path, SheetText(c), false) != FileWriteResult::Ok) _exit(3);
            }
        }
        usleep(static_cast<useconds_t>(2000 + random() % 30000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";
        std::string text;
        if (!ReadWholeFile(path, text)) continue;  // killed before its first write
        c.date = text.substr(text.find("general.date:") + 13, 7);
        ASSERT_EQ(text, SheetText(c)) << "round " << round;
        const ParsedSheet parsed = ParseSheet(text, SheetLimits{}, [](const std::string&) { return true; });
        EXPECT_EQ(parsed.windows.size(), 50u);
    }
}

}  // namespace
}  // namespace qv::test
