// Every way the program saves a file, through the one safe write: a save
// over a symbolic link changes the file the link names and keeps the link,
// and what a killed save of the same file left beside it is cleared away.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>

#include <cerrno>
#include <optional>
#include <ostream>

#include "core/AtomicFile.h"
#include "plots/dotplot/model/DotPlotState.h"
#include "plots/histogram/model/HistogramState.h"
#include "plots/histogram/model/OverlayState.h"
#include "plots/modeller/model/ModellerState.h"
#include "plots/multi/model/BendPlotState.h"
#include "plots/multi/model/ThreeDState.h"
#include "plots/timeproj/ScatterDisplayWindow.h"
#include "tests/support/EveryWindowKind.h"
#include "tests/app/SheetStoreFixture.h"
#include "tests/support/core/SpecialFiles.h"
#include "tools/model/ToolOutput.h"

namespace qv::test {
namespace {

const char* const OverwriteQuestionText = "File already exists. Do you want to overwrite it?";

class SaveRouteTest;

struct SaveRoute {
    const char* name;
    const char* fileName;     // of the file the link names
    std::string (*linkPath)(SaveRouteTest&);  // where the save writes
    void (*save)(SaveRouteTest&, const QString& link);
    const char* newStart;     // how the saved content begins
    bool appends;             // adds to the file instead of replacing it (no temporary file)
};

void PrintTo(const SaveRoute& route, std::ostream* out) { *out << route.name; }

class SaveRouteTest : public SheetStoreTest, public ::testing::WithParamInterface<SaveRoute> {
public:
    using SheetStoreTest::main;
    using SheetStoreTest::plot;
    using SheetStoreTest::programDir;

    std::string linkInSheetFolder() { return sheetDir.file(std::string("link-") + GetParam().fileName); }

    // The save dialog answered with `link`, then the program's question
    // about the existing file answered OK.
    void saveAsked(const QString& link, const char* title, void (*act)(SaveRouteTest&)) {
        ScriptedDialogs dlg;
        dlg.expectSaveFile(link, title).expectMessage(OverwriteQuestionText, "File already exists",
                                                      MsgButtons::OkCancel, MsgAnswer::Ok);
        act(*this);
        dlg.finish();
    }

    TempFolder targetDir;
};

std::string sheetFolderLink(SaveRouteTest& t) { return t.linkInSheetFolder(); }
std::string autosaveLink(SaveRouteTest& t) { return t.programDir.file("autosave.quorvane"); }

const SaveRoute Routes[] = {
    {"Sheet", "view.quorvane", sheetFolderLink,
     [](SaveRouteTest& t, const QString& link) {
         t.saveAsked(link, "Save analysis file", [](SaveRouteTest& t) { t.main->FileSaveView_Click(); });
     },
     "# Quorvane Analysis sheet", false},
    {"Package", "view.quorvane", sheetFolderLink,
     [](SaveRouteTest& t, const QString& link) {
         t.saveAsked(link, "Save analysis file", [](SaveRouteTest& t) { t.main->MenuSaveAnalysisPackage_Click(); });
     },
     "# Quorvane Analysis sheet", false},
    {"Autosave", "autosave.quorvane", autosaveLink,
     [](SaveRouteTest& t, const QString&) { t.main->TalletaNakyma("Autosave"); }, "# Quorvane Analysis sheet",
     false},
    {"Fcs", "copy.fcs", sheetFolderLink,
     [](SaveRouteTest& t, const QString& link) {
         ScriptedDialogs dlg;
         dlg.expectSaveFile(link, "Save as FCS file");
         t.main->FileSaveFCS_Click();
         dlg.finish();
     },
     "FCS3.0", false},
    {"Picture", "plot.bmp", sheetFolderLink,
     [](SaveRouteTest& t, const QString& link) {
         t.saveAsked(link, "Save the image", [](SaveRouteTest& t) { t.plot(1)->MenuValintaReaktio(MenuSaveBmp); });
     },
     "BM", false},
    {"DataText", "plot.txt", sheetFolderLink,
     [](SaveRouteTest& t, const QString& link) {
         t.saveAsked(link, "Save the data", [](SaveRouteTest& t) { t.plot(1)->MenuValintaReaktio(MenuSaveData); });
     },
     "", false},
    {"Pdf", "page.pdf", sheetFolderLink,
     [](SaveRouteTest& t, const QString& link) {
         t.main->AvaaPrintPreviewPage_Click();
         ScriptedDialogs dlg;
         dlg.expectPrinterToPdf(link).expectMessage(OverwriteQuestionText, "File already exists",
                                                    MsgButtons::OkCancel, MsgAnswer::Ok);
         t.main->Printtaa_Click();
         dlg.finish();
     },
     "%PDF", false},
    {"ToolOutput", "out.txt", sheetFolderLink,
     [](SaveRouteTest&, const QString& link) {
         std::string reason;
         const std::unique_ptr<std::ostream> out = OpenToolOutput(link.toStdString(), &reason);
         ASSERT_NE(out, nullptr) << reason;
         EXPECT_TRUE(WriteToolOutputLine(*out, "line"));
     },
     "oldline\r\n", true},
};

TEST_P(SaveRouteTest, WritesThroughALinkAndClearsWhatAKilledSaveLeft) {
    const SaveRoute& route = GetParam();
    buildWorkspace();
    main->workspace()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(windowAt(1)->parentWidget()));
    ASSERT_EQ(g.ActiveWindowSlot, 1);

    const std::string target = targetDir.file(route.fileName);
    const std::string leftover = targetDir.file(WriteTemporaryName(route.fileName, "Q7w2Rt"));
    // A user's own file whose name only looks like a temporary one.
    const std::string usersOwn = target + ".tmp-backup";
    WriteBytes(usersOwn, "the user's");
    WriteBytes(target, "old");
    WriteBytes(leftover, "half of an earlier save");
    const std::string link = route.linkPath(*this);
    QFile::remove(q(link));
    MakeLink(target, link);

    route.save(*this, q(link));

    EXPECT_TRUE(IsLink(link));
    const std::string bytes = readAll(target);
    EXPECT_NE(bytes, "old");
    EXPECT_EQ(bytes.rfind(route.newStart, 0), 0u) << bytes.substr(0, 40);
    if (!route.appends) {
        EXPECT_FALSE(QFileInfo::exists(q(leftover)));
    }
    EXPECT_EQ(readAll(usersOwn), "the user's");
    // No temporary file stays: an appended file has none, and its folder
    // keeps only the one the test left.
    for (const TempFolder* folder : {&sheetDir, &targetDir}) {
        QStringList temporaries =
            QDir(q(folder->path())).entryList(QDir::Files | QDir::System | QDir::Hidden).filter("quorvane-write");
        temporaries.removeAll(q(leftover).section('/', -1));
        EXPECT_EQ(temporaries, QStringList());
    }
}

INSTANTIATE_TEST_SUITE_P(Routes, SaveRouteTest, ::testing::ValuesIn(Routes),
                         [](const ::testing::TestParamInfo<SaveRoute>& info) {
                             return std::string(info.param.name);
                         });

// A sheet or package saved onto a pipe, a socket or a device is refused at
// once (without the overwrite question) with the message naming it; the special file stays as it was and nothing is
// written into it.
class SpecialSaveTargetTest : public SheetStoreTest, public ::testing::WithParamInterface<SpecialFile> {};

TEST_P(SpecialSaveTargetTest, IsRefusedWithItsNameAndLeftAsItWas) {
    const std::string target = sheetDir.file("view.quorvane");
    if (!MakeSpecialFile(target, GetParam())) GTEST_SKIP() << "this system does not let the test make one";
    // A save that opened the pipe after all would find a reader, not hang.
    PipeReader reader(target);
    for (void (PaaIkkuna::*click)() : {&PaaIkkuna::FileSaveView_Click, &PaaIkkuna::MenuSaveAnalysisPackage_Click}) {
        ScriptedDialogs dlg;
        // Refused at once: no overwrite question about what is no file.
        dlg.expectSaveFile(q(target), "Save analysis file")
            .expectMessage(saveFailed(target, "Not a regular file (a pipe, a device or a socket)"), "Quorvane",
                           MsgButtons::Ok, MsgAnswer::Ok);
        (main.get()->*click)();
        dlg.finish();
        EXPECT_TRUE(IsSpecialFile(target, GetParam()));
        EXPECT_TRUE(main->AutosaveEnabled);
    }
    EXPECT_EQ(reader.drain(), "");
    EXPECT_EQ(QDir(q(sheetDir.path())).entryList(QDir::Files | QDir::System), QStringList{"view.quorvane"});
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialSaveTargetTest,
                         ::testing::Values(SpecialFile::Pipe, SpecialFile::Socket, SpecialFile::Device),
                         [](const ::testing::TestParamInfo<SpecialFile>& info) {
                             return std::string(SpecialFileName(info.param));
                         });

// "Print..." into a PDF file: the file named in the printer dialog is
// checked by the program's write rules before anything opens it. What
// cannot become a file is refused at once, a link stays a link and the file
// it names gets the page, an existing file asks once.
enum class PrintOnto { Pipe, Socket, Device, Folder, DanglingLink, LinkToAFile, AFileReplaced, AFileKept };

struct PrintToFile {
    const char* name;
    PrintOnto onto;
};

void PrintTo(const PrintToFile& c, std::ostream* out) { *out << c.name; }

class PrintToFileTest : public SheetStoreTest, public ::testing::WithParamInterface<PrintToFile> {
protected:
    TempFolder targetDir;
};

TEST_P(PrintToFileTest, ChecksTheFileBeforeAnythingOpensIt) {
    const PrintOnto onto = GetParam().onto;
    const std::string pdf = sheetDir.file("page.pdf");
    const std::string target = targetDir.file("target.pdf");
    const bool special = onto == PrintOnto::Pipe || onto == PrintOnto::Socket || onto == PrintOnto::Device;
    const SpecialFile kind = onto == PrintOnto::Socket   ? SpecialFile::Socket
                             : onto == PrintOnto::Device ? SpecialFile::Device
                                                         : SpecialFile::Pipe;
    const bool linked = onto == PrintOnto::DanglingLink || onto == PrintOnto::LinkToAFile;
    const bool existing =
        onto == PrintOnto::LinkToAFile || onto == PrintOnto::AFileReplaced || onto == PrintOnto::AFileKept;
    if (special && !MakeSpecialFile(pdf, kind)) GTEST_SKIP() << "this system does not let the test make one";
    if (onto == PrintOnto::Folder) {
        ASSERT_TRUE(QDir().mkpath(q(pdf)));
    }
    if (existing) WriteBytes(linked ? target : pdf, "old");
    if (linked) MakeLink(target, pdf);
    // A fault that opened the pipe finds a reader and fails instead of hanging.
    std::optional<PipeReader> reader;
    if (onto == PrintOnto::Pipe) reader.emplace(pdf);

    main->AvaaPrintPreviewPage_Click();
    ScriptedDialogs dlg;
    dlg.expectPrinterToPdf(q(pdf));
    if (special || onto == PrintOnto::Folder)
        dlg.expectMessage(q(SaveFailureText(pdf, onto == PrintOnto::Folder
                                                      ? FileWriteReason(FileWriteResult::Failed, EISDIR)
                                                      : FileWriteReason(FileWriteResult::NotAFile, 0))),
                          "Save error", MsgButtons::Ok, MsgAnswer::Ok);
    if (existing)
        dlg.expectMessage(OverwriteQuestionText, "File already exists", MsgButtons::OkCancel,
                          onto == PrintOnto::AFileKept ? MsgAnswer::Cancel : MsgAnswer::Ok);
    main->Printtaa_Click();
    dlg.finish();

    if (special) {
        EXPECT_TRUE(IsSpecialFile(pdf, kind));
    }
    if (reader) {
        EXPECT_EQ(reader->drain(), "");
    }
    if (onto == PrintOnto::Folder) {
        EXPECT_TRUE(QFileInfo(q(pdf)).isDir());
    }
    if (linked) {
        EXPECT_TRUE(IsLink(pdf));
        EXPECT_EQ(LinkText(pdf), target);
        EXPECT_EQ(readAll(target).substr(0, 4), "%PDF");
    }
    if (onto == PrintOnto::AFileReplaced) {
        EXPECT_EQ(readAll(pdf).substr(0, 4), "%PDF");
    }
    if (onto == PrintOnto::AFileKept) {
        EXPECT_EQ(readAll(pdf), "old");
    }
    EXPECT_EQ(QDir(q(sheetDir.path())).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
              QStringList{"page.pdf"});
}

INSTANTIATE_TEST_SUITE_P(
    Targets, PrintToFileTest,
    ::testing::Values(PrintToFile{"Pipe", PrintOnto::Pipe}, PrintToFile{"Socket", PrintOnto::Socket},
                      PrintToFile{"Device", PrintOnto::Device}, PrintToFile{"Folder", PrintOnto::Folder},
                      PrintToFile{"DanglingLink", PrintOnto::DanglingLink},
                      PrintToFile{"LinkToAFile", PrintOnto::LinkToAFile},
                      PrintToFile{"AFileReplaced", PrintOnto::AFileReplaced},
                      PrintToFile{"AFileKept", PrintOnto::AFileKept}),
    [](const ::testing::TestParamInfo<PrintToFile>& info) { return std::string(info.param.name); });

// A picture is written under the name exactly as typed (no extension is
// added), and the question before replacing a file is about that name.
struct PictureName {
    const char* name;
    const char* typed;
    const char* existing;  // a file there before the save ("" for none), holding "old"
    bool asked;
    MsgAnswer answer;
    const char* written;   // the file that holds the picture afterwards ("" for none)
};

void PrintTo(const PictureName& c, std::ostream* out) { *out << c.name; }

class PictureNameTest : public SheetStoreTest, public ::testing::WithParamInterface<PictureName> {};

TEST_P(PictureNameTest, KeepsTheTypedNameAndAsksAboutThatName) {
    const PictureName& c = GetParam();
    buildWorkspace();
    if (*c.existing) WriteBytes(sheetDir.file(c.existing), "old");
    ScriptedDialogs dlg;
    dlg.expectSaveFile(q(sheetDir.file(c.typed)), "Save the image");
    if (c.asked) dlg.expectMessage(OverwriteQuestionText, "File already exists", MsgButtons::OkCancel, c.answer);
    plot(1)->MenuValintaReaktio(MenuSaveBmp);
    dlg.finish();

    QStringList expected;
    if (*c.existing) expected << c.existing;
    if (*c.written && !expected.contains(c.written)) expected << c.written;
    expected.sort();
    EXPECT_EQ(QDir(q(sheetDir.path())).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    if (*c.existing && std::string(c.existing) != c.written) {
        EXPECT_EQ(readAll(sheetDir.file(c.existing)), "old");
    }
    if (*c.written) {
        EXPECT_EQ(readAll(sheetDir.file(c.written)).substr(0, 2), "BM");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, PictureNameTest,
    ::testing::Values(PictureName{"NoExtension", "picture", "", false, MsgAnswer::Ok, "picture"},
                      PictureName{"ABitmapOfTheNameWithTheExtensionIsLeftAlone", "picture", "picture.bmp", false,
                                  MsgAnswer::Ok, "picture"},
                      PictureName{"TheTypedNameKeptOnCancel", "picture", "picture", true, MsgAnswer::Cancel, ""},
                      PictureName{"TheTypedNameReplacedOnOk", "picture", "picture", true, MsgAnswer::Ok, "picture"},
                      PictureName{"ExtensionInCapitals", "dot.BMP", "", false, MsgAnswer::Ok, "dot.BMP"},
                      PictureName{"AnotherExtension", "dot.v2", "", false, MsgAnswer::Ok, "dot.v2"},
                      PictureName{"TrailingDot", "dot.", "", false, MsgAnswer::Ok, "dot."},
                      PictureName{"HiddenName", ".dot", "", false, MsgAnswer::Ok, ".dot"}),
    [](const ::testing::TestParamInfo<PictureName>& info) { return std::string(info.param.name); });

// Every window that saves its picture through the save dialog keeps the
// name typed: "picture" beside an older "picture.bmp" is written as
// "picture", without a question, and holds the window's picture.
struct PictureRoute {
    const char* kind;
    void (*save)(PlotWindow&);
};

void PrintTo(const PictureRoute& r, std::ostream* out) { *out << r.kind; }

template <int Item>
void menuItem(PlotWindow& w) {
    w.MenuValintaReaktio(Item);
}

void scatterSaveItem(PlotWindow& w) {
    auto& scatter = dynamic_cast<ScatterDisplayWindow&>(w);
    scatter.MenuValintaReaktio(scatter.view().Items.SavePicture);
}

class PictureRouteTest : public SheetStoreTest, public ::testing::WithParamInterface<PictureRoute> {
protected:
    void SetUp() override {
        SheetStoreTest::SetUp();
        registerEveryWindowKind();
    }
};

TEST_P(PictureRouteTest, WritesTheNameAsTyped) {
    WriteFcsTestFile(dataDir.file("a.fcs"), sampleFile(0));
    openFile(dataDir.file("a.fcs"));
    const int id = main->createFromMenu(GetParam().kind);
    ASSERT_GT(id, 0) << GetParam().kind;
    PlotWindow* window = windowAt(id);
    ASSERT_NE(window, nullptr);
    WriteBytes(sheetDir.file("picture.bmp"), "old");

    ScriptedDialogs dlg;
    dlg.expectSaveFile(q(sheetDir.file("picture")), "Save the image");
    GetParam().save(*window);
    dlg.finish();

    EXPECT_EQ(QDir(q(sheetDir.path())).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{"picture", "picture.bmp"}));
    EXPECT_EQ(readAll(sheetDir.file("picture.bmp")), "old");
    const QImage saved(q(sheetDir.file("picture")), "BMP");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), window->Kuva().convertToFormat(QImage::Format_RGB32));
}

INSTANTIATE_TEST_SUITE_P(Kinds, PictureRouteTest,
                         ::testing::Values(PictureRoute{"DotPlot", menuItem<MenuSaveBmp>},
                                           PictureRoute{"Histogram", menuItem<HistoMenuSaveBmp>},
                                           PictureRoute{"Overlay Histogram", menuItem<OverlayMenuSaveBmp>},
                                           PictureRoute{"BendPlot", menuItem<BendMenuSaveBmp>},
                                           PictureRoute{"Histogram Modeller", menuItem<ModellerMenuSaveBmp>},
                                           PictureRoute{"3D Plot", menuItem<ThreeDMenuSaveBmp>},
                                           PictureRoute{"FluxTracker", scatterSaveItem},
                                           PictureRoute{"Projector", scatterSaveItem},
                                           PictureRoute{"ClipBook", menuItem<5>}),
                         [](const ::testing::TestParamInfo<PictureRoute>& info) {
                             std::string name = info.param.kind;
                             std::erase(name, ' ');
                             return name;
                         });

}  // namespace
}  // namespace qv::test
