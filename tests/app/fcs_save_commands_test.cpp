// "Save FCS" and "Save FCS as...": which file is written, the protection of
// instrument files, and failed writes.
#include <QFile>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/FcsSaveCommands.h"
#include "app/PlotWindow.h"
#include "core/FcsReader.h"
#include "core/FileKey.h"
#include "core/TxtReader.h"
#include "core/SharedState.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

using test::MakeFile;
using test::ScriptedDialogs;

class AnyWindow : public PlotWindow {
public:
    void Alusta(int) override {}
    void Piirra() override {}
    int AnnaID() const override { return 1; }
    void UnloadWindow() override {}
    void MenuValintaReaktio(int) override {}
    void CopyToClipboard() override {}
    std::vector<std::string> SaveInfo() override { return {"0"}; }
    void LoadInfo(const std::string&) override {}
};

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class FcsSaveCommands : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        FileRecord f = MakeFile({{"FSC", 1024}, {"SSC", 1024}}, {{1, 2}, {3, 4}, {5, 6}}, "run.fcs", folder.path());
        f.Cytometer = "FACSCanto";
        g.FileTable[2] = f;
        test::WriteBytes(folder.file("run.fcs"), "instrument bytes");
        g.WindowRegistry[1].InUse = true;
        g.WindowRegistry[1].Form = &window;
        g.WindowRegistry[1].FileIndex = 2;
        g.ActiveWindowSlot = 1;
    }
    void TearDown() override { resetSharedState(); }

    test::TempFolder folder;
    AnyWindow window;
};

TEST_F(FcsSaveCommands, AnInstrumentFileIsProtectedAndSaveAsWritesANewFile) {
    {
        ScriptedDialogs dialogs;
        dialogs.expectMessage(FileProtectionText, FileProtectionTitle, MsgButtons::Ok, MsgAnswer::Ok);
        SaveFcsOverOriginal();
    }
    EXPECT_EQ(contents(folder.file("run.fcs")), "instrument bytes");

    const std::string copy = folder.file("copy.fcs");
    {
        ScriptedDialogs dialogs;
        dialogs.expectSaveFile(QString::fromStdString(copy), "Save as FCS file");
        SaveFcsAs();
    }
    EXPECT_EQ(contents(folder.file("run.fcs")), "instrument bytes");
    FileRecord saved = ReadFcsFile(copy);
    ASSERT_TRUE(saved.Loaded) << saved.RefusalReason;
    EXPECT_EQ(saved.Cytometer, "Quorvane ver 1.2.1");
    EXPECT_EQ(saved.PristineData(3, 2), 6.0f);

    // The saved file, once loaded, may be saved over.
    saved.EventCount = 2;
    g.FileTable[2] = saved;
    {
        ScriptedDialogs dialogs;  // no message
        SaveFcsOverOriginal();
    }
    EXPECT_EQ(ReadFcsFile(copy).EventCount, 2);
}

// A parameter left without a name (a sheet's empty name line of an older
// workspace, a record built without one) is saved under its default name;
// every keyword after it survives.
TEST_F(FcsSaveCommands, AnUnnamedParameterIsSavedUnderItsDefaultName) {
    g.FileTable[2].Parameters[1].Name.clear();
    g.FileTable[2].Parameters[2].Range = 262144;
    const std::string copy = folder.file("unnamed.fcs");
    {
        ScriptedDialogs dialogs;
        dialogs.expectSaveFile(QString::fromStdString(copy), "Save as FCS file");
        SaveFcsAs();
    }
    EXPECT_EQ(contents(copy).substr(0, 3000).find("\\\\"), std::string::npos) << "an empty keyword value";
    const FileRecord saved = ReadFcsFile(copy);
    ASSERT_TRUE(saved.Loaded) << saved.RefusalReason;
    ASSERT_EQ(saved.ParameterCount, 2);
    EXPECT_EQ(saved.Parameters[1].Name, "P1");
    EXPECT_EQ(saved.Parameters[1].Range, 1024);
    EXPECT_EQ(saved.Parameters[2].Name, "SSC");
    EXPECT_EQ(saved.Parameters[2].Range, 262144);
    EXPECT_EQ(saved.PristineData(3, 1), 5.0f);
}

// Names and values that hold a keyword's text, as a text table's columns
// may, read back as written: the reader takes a keyword only where one
// stands, never inside a value. Names holding the first delimiters the
// writer would take, and character 12, read back too.
TEST_F(FcsSaveCommands, KeywordTextsInNamesAndValuesReadBackAsWritten) {
    const std::vector<std::string> names = {"X$P2N", "Q$P2R", "SAMPLE ID", "$COM", "$P1N", "$TOT", "P1DISPLAY",
                                            "CD3\fCD8", "a\\b/c|d"};
    std::string table;
    for (const std::string& name : names) table += name + "\t";
    table.back() = '\n';
    table += "1\t2\t3\t4\t5\t6\t7\t0\t0\n8\t9\t10\t11\t12\t13\t14\t15\t16\n";
    test::WriteBytes(folder.file("table.txt"), table);
    FileRecord loaded = ReadTxtFile(folder.file("table.txt")).Record;
    ASSERT_TRUE(loaded.Loaded) << loaded.RefusalReason;
    loaded.Comment = "$P1N";
    loaded.SampleId = "$COM";
    g.FileTable[2] = loaded;

    const std::string copy = folder.file("table.fcs");
    {
        ScriptedDialogs dialogs;
        dialogs.expectSaveFile(QString::fromStdString(copy), "Save as FCS file");
        SaveFcsAs();
    }
    EXPECT_EQ(contents(copy)[256], '~');  // the delimiter: "\\", "/" and "|" are taken
    const FileRecord saved = ReadFcsFile(copy);
    ASSERT_TRUE(saved.Loaded) << saved.RefusalReason;
    ASSERT_EQ(saved.ParameterCount, static_cast<int32_t>(names.size()));
    for (size_t p = 1; p <= names.size(); ++p) {
        EXPECT_EQ(saved.Parameters[p].Name, names[p - 1]);
        EXPECT_EQ(saved.Parameters[p].Range, loaded.Parameters[p].Range);
        EXPECT_EQ(saved.PristineData(2, static_cast<int32_t>(p)), static_cast<float>(7 + p));
    }
    EXPECT_EQ(saved.Comment, "$P1N");
    EXPECT_EQ(saved.SampleId, "$COM");
    EXPECT_EQ(saved.EventCount, 2);
}

// "Save FCS as" over an existing file leaves the one question to the save
// dialog and asks nothing itself.
TEST_F(FcsSaveCommands, SaveAsOverAnExistingFileLeavesTheQuestionToTheDialog) {
    const std::string existing = folder.file("existing.fcs");
    {
        std::ofstream out(existing, std::ios::binary);
        out << "older bytes";
    }
    ScriptedDialogs dialogs;
    dialogs.expectSaveFile(QString::fromStdString(existing), "Save as FCS file");
    SaveFcsAs();
    dialogs.finish();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.shown()[0].dialogAsksOverwrite);
    EXPECT_TRUE(ReadFcsFile(existing).Loaded);
}

// A file the reader would refuse is not written by either command: the
// message names the file and the reason, and the file of that name keeps its
// bytes. (Refused here for its width, so a fault writes little.)
TEST_F(FcsSaveCommands, AFileTheReaderWouldRefuseIsNotWritten) {
    FileRecord& file = g.FileTable[2];
    file.Cytometer = "Quorvane ver 1.2.1";
    file.ParameterCount = MaxReadableParameters + 1;
    file.Parameters.resize(static_cast<size_t>(file.ParameterCount) + 1, file.Parameters[1]);
    const std::string existing = folder.file("existing.fcs");
    test::WriteBytes(existing, "older bytes");
    const QString reason = QStringLiteral("\nmore than 2048 parameters are not supported");
    {
        ScriptedDialogs dialogs;
        dialogs.expectSaveFile(QString::fromStdString(existing), "Save as FCS file");
        dialogs.expectMessage(QString::fromStdString("The file could not be written:\n" + existing) + reason,
                              "Save error", MsgAnswer::Ok);
        SaveFcsAs();
    }
    {
        ScriptedDialogs dialogs;
        dialogs.expectMessage(QString::fromStdString("The file could not be written:\n" + folder.file("run.fcs")) +
                                  reason,
                              "Save error", MsgAnswer::Ok);
        SaveFcsOverOriginal();
    }
    EXPECT_EQ(contents(existing), "older bytes");
    EXPECT_EQ(contents(folder.file("run.fcs")), "instrument bytes");
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++files;
    EXPECT_EQ(files, 2u) << "a temporary file was left";
}

TEST_F(FcsSaveCommands, NothingHappensWithoutAFileToSave) {
    ScriptedDialogs dialogs;  // no dialog may come
    for (int active : {0, 7}) {
        g.ActiveWindowSlot = static_cast<int16_t>(active);
        SaveFcsOverOriginal();
        SaveFcsAs();
    }
    g.ActiveWindowSlot = 1;
    g.WindowRegistry[1].FileIndex = 0;
    SaveFcsOverOriginal();
    SaveFcsAs();
    g.WindowRegistry[1].FileIndex = 2;
    g.WindowRegistry[1].Form = nullptr;  // the window has closed
    SaveFcsOverOriginal();
    SaveFcsAs();
    g.WindowRegistry[1].Form = &window;
    g.FileTable[2].Loaded = false;
    SaveFcsAs();
    EXPECT_EQ(contents(folder.file("run.fcs")), "instrument bytes");
}

TEST_F(FcsSaveCommands, AFailedWriteIsReportedAndCancelWritesNothing) {
    const std::string missing = folder.file("no/such/folder/x.fcs");
    {
        ScriptedDialogs dialogs;
        dialogs.expectSaveFile(QString::fromStdString(missing));
        dialogs.expectMessage(QString::fromStdString("The file could not be written:\n" + missing + "\nNo such file or directory"), "Save error",
                              MsgAnswer::Ok);
        SaveFcsAs();
    }
    {
        ScriptedDialogs dialogs;
        dialogs.expectSaveFile(std::nullopt);
        SaveFcsAs();
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(missing)));
}

}  // namespace
}  // namespace qv
