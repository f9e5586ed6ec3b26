// The Tools menu: which files of the scripts folder it lists, their captions
// and order, and what choosing an item hands to the tool runner.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "app/MenuBar.h"
#include "app/MenuCommands.h"
#include "app/ToolsMenu.h"
#include "app/model/ScriptFolder.h"
#include "core/SharedState.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/core/SpecialFiles.h"

namespace qv {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QStringList captionsOf(const std::vector<ScriptMenuEntry>& table) {
    QStringList out;
    for (const ScriptMenuEntry& e : table) out << e.Caption;
    return out;
}

class ToolsMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        ASSERT_TRUE(dir.isValid());
        folder = dir.path() + "/scripts/";
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    QStringList menuItems() const {
        QStringList out;
        for (QAction* a : menu.MenuScript->actions()) out << a->text();
        return out;
    }
    QTemporaryDir dir;
    QString folder;
    QMainWindow window;
    MenuCommands commands;
    MainMenu menu{window, commands};
    ToolsMenu tools{*menu.MenuScript};
};

TEST_F(ToolsMenuTest, ListsScriptsAndPacksButNotOtherFiles) {
    writeFile(folder + "Count.qorscript", "a = 1\n");
    writeFile(folder + "Gate.big.QORPACK", "QorScriptPackVer1...");
    writeFile(folder + "notes.txt", "not a script");
    tools.BuildScriptMenu(folder);

    const std::vector<ScriptMenuEntry> want = {{"Count", "Count.qorscript", false},
                                               {"Gate", "Gate.big.QORPACK", true}};
    EXPECT_EQ(tools.ScriptMenuTable(), want);
    EXPECT_EQ(menuItems(), (QStringList{"Count", "Gate"}));
}

TEST_F(ToolsMenuTest, ExtensionsInAnyCaseCaptionsUpToTheFirstDotSortedByName) {
    for (const char* name : {"zeta.QorScript", "a.b.qortool", "Beta.QORTOOL", "alpha.qorpack", "Mid.qorscript.bak",
                             "qorscript", "readme", "x.qorscriptx"})
        writeFile(folder + name, "x");
    ASSERT_TRUE(QDir().mkpath(folder + "Folder.qorscript"));  // a folder is no script
    writeFile(folder + ".hidden.qorscript", "x");              // nor is a hidden file
    tools.BuildScriptMenu(folder);

    const std::vector<ScriptMenuEntry> want = {{"a", "a.b.qortool", true},
                                               {"alpha", "alpha.qorpack", true},
                                               {"Beta", "Beta.QORTOOL", true},
                                               {"zeta", "zeta.QorScript", false}};
    EXPECT_EQ(tools.ScriptMenuTable(), want);
    EXPECT_EQ(menuItems(), (QStringList{"a", "alpha", "Beta", "zeta"}));
    ASSERT_NE(tools.SkriptiLista(3), nullptr);
    EXPECT_EQ(tools.SkriptiLista(3)->text(), "zeta");
    EXPECT_EQ(tools.SkriptiLista(4), nullptr);
    EXPECT_EQ(tools.SkriptiLista(-1), nullptr);
}

TEST_F(ToolsMenuTest, MissingOrEmptyFolderListsNothing) {
    tools.BuildScriptMenu(dir.path() + "/no such folder/");
    EXPECT_TRUE(tools.ScriptMenuTable().empty());
    EXPECT_TRUE(menu.MenuScript->actions().isEmpty());
    tools.BuildScriptMenu(folder);
    EXPECT_TRUE(tools.ScriptMenuTable().empty());
    EXPECT_TRUE(menu.MenuScript->actions().isEmpty());
    EXPECT_TRUE(listScripts(QString()).empty());
    EXPECT_FALSE(menu.MenuScript->menuAction()->isEnabled()) << "nothing to choose";
    // A tool that appears enables the menu at the next build, and goes again.
    writeFile(folder + "One.qorscript", "x");
    tools.BuildScriptMenu(folder);
    EXPECT_TRUE(menu.MenuScript->menuAction()->isEnabled());
    QFile::remove(folder + "One.qorscript");
    tools.BuildScriptMenu(folder);
    EXPECT_FALSE(menu.MenuScript->menuAction()->isEnabled());
}

TEST_F(ToolsMenuTest, BuildingAgainReplacesTheItems) {
    writeFile(folder + "One.qorscript", "x");
    tools.BuildScriptMenu(folder);
    QFile::remove(folder + "One.qorscript");
    writeFile(folder + "Two.qorscript", "x");
    tools.BuildScriptMenu(folder);
    EXPECT_EQ(menuItems(), QStringList{"Two"});
}

TEST_F(ToolsMenuTest, AnAmpersandInANameIsShownAsItself) {
    writeFile(folder + "Cells & beads.qorscript", "x");
    tools.BuildScriptMenu(folder);
    ASSERT_EQ(tools.ScriptMenuTable().size(), 1u);
    EXPECT_EQ(tools.ScriptMenuTable()[0].Caption, "Cells & beads");
    EXPECT_EQ(tools.SkriptiLista(0)->text(), "Cells && beads");
    EXPECT_EQ(test::ScriptedDialogs::menuCaptions(*menu.MenuScript), QStringList{"Cells & beads"});
}

struct Launch {
    ScriptMenuEntry entry;
    QString path;
    std::string text;
};

TEST_F(ToolsMenuTest, ChoosingAnItemReadsTheFileAnewEveryTimeByteForByte) {
    writeFile(folder + "Count.qorscript", QByteArray("print \"caf\xE9\"\r\nend\r\n"));
    writeFile(folder + "Gate.big.QORPACK", QByteArray("QorScriptPackVer1\x01\x02", 19));
    tools.BuildScriptMenu(folder);
    std::vector<Launch> launches;
    tools.setLauncher([&](const ScriptMenuEntry& e, const QString& p, const std::string& t) {
        launches.push_back({e, p, t});
    });

    tools.SkriptiLista(0)->trigger();
    writeFile(folder + "Count.qorscript", "end\n");  // an edit takes effect at once
    tools.SkriptiLista(0)->trigger();
    tools.SkriptiLista(1)->trigger();

    ASSERT_EQ(launches.size(), 3u);
    EXPECT_EQ(launches[0].path, folder + "Count.qorscript");
    EXPECT_EQ(launches[0].text, std::string("print \"caf\xE9\"\r\nend\r\n"));
    EXPECT_FALSE(launches[0].entry.Packed);
    EXPECT_EQ(launches[1].text, "end\n");
    EXPECT_TRUE(launches[2].entry.Packed);
    EXPECT_EQ(launches[2].text, std::string("QorScriptPackVer1\x01\x02", 19));
}

// What became of a listed script since the menu was made.
struct ScriptReplacement {
    const char* name;
    void (*replace)(const std::string& path);
};

void PrintTo(const ScriptReplacement& change, std::ostream* out) { *out << change.name; }

class ToolsMenuChangedScriptTest : public ToolsMenuTest, public ::testing::WithParamInterface<ScriptReplacement> {};

TEST_P(ToolsMenuChangedScriptTest, GivesALoadErrorAtOnceAndRunsNothing) {
    writeFile(folder + "Gone.qorscript", "x");
    tools.BuildScriptMenu(folder);
    int launches = 0;
    tools.setLauncher([&](const ScriptMenuEntry&, const QString&, const std::string&) { ++launches; });
    const std::string path = QFile::encodeName(folder + "Gone.qorscript").toStdString();
    ASSERT_TRUE(QFile::remove(folder + "Gone.qorscript"));
    GetParam().replace(path);
    // A writer held on a pipe frees a read that waits on it after a while,
    // so such a read fails here instead of hanging the test.
    std::optional<test::PipeWriter> writer;
    if (test::IsSpecialFile(path, test::SpecialFile::Pipe)) writer.emplace(path);
    test::ScriptedDialogs dialogs;
    dialogs.expectMessage("The file could not be read:\n" + folder + "Gone.qorscript", "Load error", MsgAnswer::Ok);
    const auto start = std::chrono::steady_clock::now();
    tools.SkriptiLista(0)->trigger();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    dialogs.finish();
    EXPECT_EQ(launches, 0);
}

INSTANTIATE_TEST_SUITE_P(
    SinceStartUp, ToolsMenuChangedScriptTest,
    ::testing::Values(ScriptReplacement{"Removed", [](const std::string&) {}},
                      ScriptReplacement{"ReplacedByAPipe",
                                        [](const std::string& path) {
                                            ASSERT_TRUE(test::MakeSpecialFile(path, test::SpecialFile::Pipe));
                                        }},
                      ScriptReplacement{"ReplacedByAFolder",
                                        [](const std::string& path) { ASSERT_EQ(::mkdir(path.c_str(), 0700), 0); }},
                      ScriptReplacement{"ReplacedByADanglingLink",
                                        [](const std::string& path) { test::MakeLink("nowhere", path); }}),
    [](const ::testing::TestParamInfo<ScriptReplacement>& info) { return std::string(info.param.name); });

TEST_F(ToolsMenuTest, NothingStartsWhileAToolIsRunning) {
    writeFile(folder + "Count.qorscript", "x");
    tools.BuildScriptMenu(folder);
    int launches = 0;
    tools.setLauncher([&](const ScriptMenuEntry&, const QString&, const std::string&) { ++launches; });
    g.ScriptRunning = true;
    tools.SkriptiLista(0)->trigger();
    EXPECT_EQ(launches, 0);
    g.ScriptRunning = false;
    tools.SkriptiLista(0)->trigger();
    EXPECT_EQ(launches, 1);
    tools.SkriptiLista_Click(5);  // out of range: nothing
    EXPECT_EQ(launches, 1);
}

TEST_F(ToolsMenuTest, TheScriptsFolderIsInsideTheProgramFolder) {
    writeFile(folder + "Count.qorscript", "x");
    EXPECT_EQ(scriptsFolderIn(dir.path()), folder);
    EXPECT_EQ(scriptsFolderIn(dir.path() + "/"), folder);
    tools.BuildScriptMenu(scriptsFolderIn(dir.path()));
    EXPECT_EQ(captionsOf(tools.ScriptMenuTable()), QStringList{"Count"});
    EXPECT_EQ(tools.folder(), folder);
}

TEST(ScriptFileKind, ByTheTextAfterTheLastDot) {
    EXPECT_EQ(scriptFileIsPacked("a.qorscript"), false);
    EXPECT_EQ(scriptFileIsPacked("a.QORPACK"), true);
    EXPECT_EQ(scriptFileIsPacked("a.b.QorTool"), true);
    EXPECT_EQ(scriptFileIsPacked("a.qorscript.txt"), std::nullopt);
    EXPECT_EQ(scriptFileIsPacked("qorscript"), std::nullopt);  // no extension at all
    EXPECT_EQ(scriptFileIsPacked("a."), std::nullopt);
}

}  // namespace
}  // namespace qv
