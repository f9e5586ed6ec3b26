// The dialog layer: Qt's real boxes carry the exact text, title and buttons
// and map the button pressed to the answer; the scripted provider used by
// every GUI test answers in order and fails a test on what it did not expect.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <optional>

#include "app/Dialogs.h"
#include "tests/support/FileOpenWatch.h"
#include "tests/support/ParamNames.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/core/FcsTestWriter.h"
#include "tests/support/core/SpecialFiles.h"

namespace qv {
namespace {

using test::DialogKind;
using test::ScriptedDialogs;

// Runs `inspect` on the modal widget as soon as it is up (the real dialog's
// exec is running). The widget is marked as answered by the test, so the
// test programs' watchdog leaves it alone however long the inspection takes.
template <typename F>
void whenModalShows(F inspect) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, inspect] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            w->setProperty("qvAnsweredByTheTest", true);
            inspect(w);
        }
    });
    poll->start();
}

struct RealBoxCase {
    MsgButtons buttons;
    QStringList buttonTexts;          // as the box shows them, in any order
    QMessageBox::StandardButton press; // NoButton: closed with Escape
    MsgAnswer expected;
};
std::string describe(const RealBoxCase& c) {
    std::string pressed = "Escape";
    switch (c.press) {
    case QMessageBox::Ok: pressed = "OK"; break;
    case QMessageBox::Cancel: pressed = "Cancel"; break;
    case QMessageBox::Yes: pressed = "Yes"; break;
    case QMessageBox::No: pressed = "No"; break;
    default: break;
    }
    return c.buttonTexts.join(QLatin1Char('/')).toStdString() + " pressing " + pressed;
}
void PrintTo(const RealBoxCase& c, std::ostream* os) { *os << describe(c); }

class RealMessageBox : public ::testing::TestWithParam<RealBoxCase> {};

TEST_P(RealMessageBox, ShowsExactTextTitleButtonsAndMapsThePress) {
    const RealBoxCase c = GetParam();
    QString seenText, seenTitle;
    QStringList seenButtons;
    Qt::TextFormat seenFormat = Qt::AutoText;
    whenModalShows([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        seenText = box->text();
        seenTitle = box->windowTitle();
        seenFormat = box->textFormat();
        for (QAbstractButton* b : box->buttons()) seenButtons << b->text().remove('&');
        if (c.press == QMessageBox::NoButton)
            box->reject();
        else
            box->button(c.press)->click();
    });
    const MsgAnswer answer = qtDialogs().messageBox("<b>a.fcs</b> is 1 < 2", "My title", c.buttons);
    EXPECT_EQ(answer, c.expected);
    EXPECT_EQ(seenText, "<b>a.fcs</b> is 1 < 2");
    EXPECT_EQ(seenFormat, Qt::PlainText);
    EXPECT_EQ(seenTitle, "My title");
    seenButtons.sort();
    QStringList want = c.buttonTexts;
    want.sort();
    EXPECT_EQ(seenButtons, want);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, RealMessageBox,
    ::testing::Values(RealBoxCase{MsgButtons::Ok, {"OK"}, QMessageBox::Ok, MsgAnswer::Ok},
                      RealBoxCase{MsgButtons::Ok, {"OK"}, QMessageBox::NoButton, MsgAnswer::Ok},
                      RealBoxCase{MsgButtons::OkCancel, {"OK", "Cancel"}, QMessageBox::Ok, MsgAnswer::Ok},
                      RealBoxCase{MsgButtons::OkCancel, {"OK", "Cancel"}, QMessageBox::Cancel, MsgAnswer::Cancel},
                      RealBoxCase{MsgButtons::OkCancel, {"OK", "Cancel"}, QMessageBox::NoButton, MsgAnswer::Cancel},
                      RealBoxCase{MsgButtons::YesNo, {"Yes", "No"}, QMessageBox::Yes, MsgAnswer::Yes},
                      RealBoxCase{MsgButtons::YesNo, {"Yes", "No"}, QMessageBox::No, MsgAnswer::No},
                      RealBoxCase{MsgButtons::YesNoCancel, {"Yes", "No", "Cancel"}, QMessageBox::Cancel,
                                  MsgAnswer::Cancel}),
    [](const auto& info) { return test::TestNameOf(describe(info.param), info.index); });

// A real message box of `text` as it was shown, answered with OK.
struct ShownBox {
    QRect frame, screen;
    QString shown, details;
};

ShownBox showRealBox(const QString& text, const QString& details = QString(), bool openDetails = false) {
    ShownBox seen;
    whenModalShows([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        QTest::qWait(20);
        if (openDetails) {
            QAbstractButton* toggle = nullptr;
            for (QAbstractButton* b : box->findChildren<QAbstractButton*>())
                if (b->text().startsWith("Show Details")) toggle = b;
            ASSERT_NE(toggle, nullptr);
            toggle->click();
            QTest::qWait(20);
        }
        seen.frame = box->frameGeometry();
        seen.screen = box->screen()->availableGeometry();
        seen.shown = box->text();
        seen.details = box->detailedText();
        box->button(QMessageBox::Ok)->click();
    });
    qtDialogs().messageBox(text, "Long", MsgButtons::Ok, details);
    return seen;
}

void expectOnTheScreen(const ShownBox& box) {
    EXPECT_TRUE(box.screen.contains(box.frame))
        << "box " << box.frame.width() << "x" << box.frame.height() << " at " << box.frame.x() << ","
        << box.frame.y() << " on a screen of " << box.screen.width() << "x" << box.screen.height();
}

// A long message wraps and the box stays on the screen, the whole text kept
// in the details: a 400-character file name and a list of 300 lines.
TEST(RealMessageBoxSize, ALongMessageWrapsAndStaysOnTheScreen) {
    QString text = QStringLiteral("The file ") + QString(400, QChar('n')) + QStringLiteral(".fcs could not be renamed.");
    for (int i = 1; i <= 300; ++i) text += QStringLiteral("\nfile%1.fcs -> new%1.fcs").arg(i);
    const ShownBox box = showRealBox(text);
    const QString& shown = box.shown;
    const QString& details = box.details;
    expectOnTheScreen(box);
    EXPECT_TRUE(shown.startsWith("The file") && shown.contains(QString(40, QChar('n'))))
        << shown.left(80).toStdString();
    EXPECT_FALSE(shown.contains(QString(400, QChar('n'))));  // the name is broken
    EXPECT_EQ(details, text);
}

// A tool's message of the longest text a tool line builds, one name
// without a blank: the box shows a screenful, and its details open at once
// with the box still on the screen.
TEST(RealMessageBoxSize, AMegabyteNameOpensItsDetailsOnTheScreen) {
    const QString text = QString(1 << 20, QChar('x'));
    const ShownBox box = showRealBox(text, QString(), true);
    expectOnTheScreen(box);
    EXPECT_TRUE(box.shown.endsWith("more lines (see the details)"));
    EXPECT_EQ(QString(box.details).remove('\n'), text);
}

// A caller's own details (a list of refused files, say) go behind the
// details button, after the whole text when the text itself was cut.
TEST(RealMessageBoxSize, GivenDetailsGoBehindTheDetailsButton) {
    const QString list = QStringLiteral("a.fcs: not an FCS file\nb.fcs: 24-bit values");
    const ShownBox shortText = showRealBox("2 files were not read.", list);
    EXPECT_EQ(shortText.shown, "2 files were not read.");
    EXPECT_EQ(shortText.details, list);

    QString longText = QStringLiteral("Not read:");
    for (int i = 1; i <= 300; ++i) longText += QStringLiteral("\nfile%1.fcs").arg(i);
    const ShownBox cut = showRealBox(longText, list);
    expectOnTheScreen(cut);
    EXPECT_EQ(cut.details, longText + "\n\n" + list);
}

// Lines the box's own label would break again (at the hyphens of long file
// names) make it taller than the lines counted: every shown line fits the
// label as it is, so the box stays on the screen however the text reads.
struct LongTextCase {
    const char* name;
    int lines;
    QString line;  // %1 takes the line number
};

void PrintTo(const LongTextCase& c, std::ostream* os) { *os << c.name; }

class RealMessageBoxFit : public ::testing::TestWithParam<LongTextCase> {};

TEST_P(RealMessageBoxFit, StaysOnTheScreen) {
    const LongTextCase c = GetParam();
    QString text = QStringLiteral("No file was renamed:");
    for (int i = 1; i <= c.lines; ++i) text += QLatin1Char('\n') + c.line.arg(i);
    expectOnTheScreen(showRealBox(text));
}

INSTANTIATE_TEST_SUITE_P(
    HyphenatedNames, RealMessageBoxFit,
    ::testing::Values(
        LongTextCase{"TwelveClashesOfLongNames", 12,
                     QStringLiteral("C%1-a-rather-long-file-name-for-the-renamer-message-to-wrap-in-its-box-1.fcs -> "
                                    "C%1-a-rather-long-file-name-for-the-renamer-message-to-wrap-in-its-box-01.fcs: "
                                    "C%1-a-rather-long-file-name-for-the-renamer-message-to-wrap-in-its-box-01.fcs "
                                    "exists already")},
        LongTextCase{"FortyMediumNames", 40,
                     QStringLiteral("plate-%1-well-a-b-c-d-e-f-g-h-i-j-k-l-m-n-o-p-q-r-s-t-u-v-w.fcs -> "
                                    "plate-%1-well-a-b-c-d-e-f-g-h-i-j-k-l-m-n-o-p-q-r-s-t-u-v-w-x.fcs")},
        LongTextCase{"ShortLinesOnly", 200, QStringLiteral("a%1.fcs -> b%1.fcs")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RealInputBox, PromptLinesTitleDefaultAndBothAnswers) {
    QString label, title, preset;
    whenModalShows([&](QWidget* w) {
        auto* d = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(d, nullptr);
        label = d->labelText();
        title = d->windowTitle();
        preset = d->textValue();
        d->setTextValue("12.9");
        d->accept();
    });
    EXPECT_EQ(qtDialogs().inputBox("first line\rsecond line", "Set limit", "50000"), QString("12.9"));
    EXPECT_EQ(label, "first line\nsecond line");  // a bare CR breaks the line on screen
    EXPECT_EQ(title, "Set limit");
    EXPECT_EQ(preset, "50000");

    whenModalShows([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(qtDialogs().inputBox("p", "t", "typed"), std::nullopt);
}

// A question of the longest text a tool line builds shows at once, the
// prompt cut to what the screen holds.
TEST(RealInputBox, AMegabytePromptShowsAScreenfulOnTheScreen) {
    QRect frame, screen;
    QString label;
    whenModalShows([&](QWidget* w) {
        auto* d = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(d, nullptr);
        QTest::qWait(20);
        frame = d->frameGeometry();
        screen = d->screen()->availableGeometry();
        label = d->labelText();
        d->reject();
    });
    EXPECT_EQ(qtDialogs().inputBox(QString(1 << 20, QChar('q')), "Question", ""), std::nullopt);
    EXPECT_TRUE(screen.contains(frame)) << frame.width() << "x" << frame.height();
    EXPECT_TRUE(label.startsWith(QString(20, QChar('q'))));
    EXPECT_TRUE(label.endsWith("\n..."));
}

// The file dialogs list a folder by names alone: no file is opened to learn
// its type (a device or /proc entry read that way can block for good). The
// dialog is shown without its modal loop so the listing can be waited for.
TEST(RealFileDialogs, ListAFolderWithoutOpeningItsFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"a.fcs", "noext", "table.txt"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(name == std::string("noext") ? "\x89PNG\r\n\x1a\n" : "FCS3.0    ");
    }
    for (const bool save : {false, true}) {
        const char* which = save ? "save" : "open";
        test::FileOpenWatch watch(dir.path());
        ASSERT_TRUE(watch.isWatching());
        const std::unique_ptr<QFileDialog> dialog =
            makeFileDialog(save, which, "All files (*)", dir.path() + QLatin1Char('/'));
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog)) << which;
        dialog->show();
        auto* model = dialog->findChild<QFileSystemModel*>();
        ASSERT_NE(model, nullptr) << which;
        const QModelIndex root = model->index(dir.path());
        EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(root) == 3; }, 5000)) << which;
        for (int row = 0; row < model->rowCount(root); ++row) {
            model->data(model->index(row, 0, root), Qt::DecorationRole);
            model->data(model->index(row, 2, root), Qt::DisplayRole);  // the type column
        }
        QTest::qWait(50);
        dialog->close();
        EXPECT_EQ(watch.openedFiles().join(", ").toStdString(), "") << which;
    }
}

// Qt's save dialog asks before replacing a file only where no question of
// the program's own follows, so that every save asks once.
struct RealSaveCase {
    const char* name;
    OverwriteQuestion question;
    bool dialogAsks;
};

void PrintTo(const RealSaveCase& c, std::ostream* out) { *out << c.name; }

class RealSaveDialog : public ::testing::TestWithParam<RealSaveCase> {};

TEST_P(RealSaveDialog, AsksBeforeReplacingOnlyWhenTheCallerDoesNot) {
    const RealSaveCase c = GetParam();
    bool seen = false, confirms = false;
    QString title;
    whenModalShows([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(d, nullptr);
        seen = true;
        confirms = !d->testOption(QFileDialog::DontConfirmOverwrite);
        title = d->windowTitle();
        d->reject();
    });
    EXPECT_EQ(qtDialogs().saveFileName("Save the image", "BMP files (*.bmp)", "", c.question), std::nullopt);
    ASSERT_TRUE(seen);
    EXPECT_EQ(title, "Save the image");
    EXPECT_EQ(confirms, c.dialogAsks);
}

INSTANTIATE_TEST_SUITE_P(
    WhoAsks, RealSaveDialog,
    ::testing::Values(RealSaveCase{"ProgramAsksItself", OverwriteQuestion::ByCaller, false},
                      RealSaveCase{"DialogAsks", OverwriteQuestion::ByDialog, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Qt's printer dialog with "Print to File (PDF)" chosen, as the user leaves
// it: `fileName` typed into its file field, then `act` (pressing "Print").
// Runs while the dialog is up; the dialog is the layer's own.
template <typename F>
void whenPrinterDialogShows(const QString& fileName, F act) {
    whenModalShows([fileName, act](QWidget* w) {
        auto* dialog = qobject_cast<QPrintDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
        ASSERT_TRUE(printers && field) << "Qt's printer dialog is laid out otherwise";
        printers->setCurrentIndex(printers->count() - 1);  // "Print to File (PDF)", always the last
        ASSERT_TRUE(field->isEnabled());
        field->setText(fileName);
        act(*dialog);
    });
}

void pressPrint(QPrintDialog& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    for (QAbstractButton* b : buttons->buttons())
        if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) return b->click();
    ADD_FAILURE() << "no Print button";
}

// "Print" with a file chosen takes the file by its name alone: nothing is
// opened (a pipe would hang the program, a dangling link be replaced by an
// empty file at its target) and Qt asks nothing of its own; the program's
// write rules judge the name afterwards.
TEST(RealPrinterDialog, PrintToAFileOpensNothingAndAsksNothing) {
    enum class Kind { Pipe, DanglingLink, ExistingFile, NewFile };
    const struct {
        const char* name;
        Kind kind;
    } cases[] = {{"Pipe", Kind::Pipe},
                 {"DanglingLink", Kind::DanglingLink},
                 {"ExistingFile", Kind::ExistingFile},
                 {"NewFile", Kind::NewFile}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir, elsewhere;
        ASSERT_TRUE(dir.isValid() && elsewhere.isValid());
        const std::string path = QFile::encodeName(dir.filePath(QStringLiteral("page.pdf"))).toStdString();
        const std::string pointed = QFile::encodeName(elsewhere.filePath(QStringLiteral("t.pdf"))).toStdString();
        std::optional<test::PipeReader> reader;  // a fault then fails instead of hanging
        if (c.kind == Kind::Pipe) {
            ASSERT_TRUE(test::MakeSpecialFile(path, test::SpecialFile::Pipe));
            reader.emplace(path);
        }
        if (c.kind == Kind::DanglingLink) test::MakeLink(pointed, path);
        if (c.kind == Kind::ExistingFile) test::WriteBytes(path, "old");
        test::FileOpenWatch watch(dir.path());
        ASSERT_TRUE(watch.isWatching());

        whenPrinterDialogShows(QString::fromStdString(path), pressPrint);
        QPrinter printer(QPrinter::HighResolution);
        EXPECT_TRUE(qtDialogs().choosePrinter(printer));

        EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
        EXPECT_EQ(printer.outputFileName().toStdString(), path);
        EXPECT_EQ(watch.openedFiles().join(", ").toStdString(), "");
        if (c.kind == Kind::Pipe) {
            EXPECT_TRUE(test::IsSpecialFile(path, test::SpecialFile::Pipe));
        }
        if (c.kind == Kind::DanglingLink) {
            EXPECT_EQ(test::LinkText(path), pointed);
            EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(pointed)));
        }
        if (c.kind == Kind::ExistingFile) {
            EXPECT_EQ(QFileInfo(QString::fromStdString(path)).size(), 3);
        }
        if (c.kind == Kind::NewFile) {
            EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));
        }
    }
}

// The PDF file's name is asked through the layer's save dialog: from the
// browse button, and on "Print" when the field names a folder (as it starts,
// with the home folder) or nothing.
TEST(RealPrinterDialog, TheFileNameIsAskedThroughTheLayersSaveDialog) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString chosen = dir.filePath(QStringLiteral("chosen.pdf"));
    const struct {
        const char* name;
        QString typed;
        bool browse;
    } cases[] = {{"BrowseButton", dir.filePath(QStringLiteral("typed.pdf")), true},
                 {"FolderNamed", dir.path() + QLatin1Char('/'), false},
                 {"NothingNamed", QString(), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialogs dlg;
        dlg.expectSaveFile(chosen, "Print To File ...");
        const bool browse = c.browse;
        whenPrinterDialogShows(c.typed, [browse](QPrintDialog& dialog) {
            if (browse) {
                auto* button = dialog.findChild<QAbstractButton*>(QStringLiteral("fileBrowser"));
                ASSERT_NE(button, nullptr);
                button->click();
            }
            pressPrint(dialog);
        });
        QPrinter printer(QPrinter::HighResolution);
        EXPECT_TRUE(qtDialogs().choosePrinter(printer));
        dlg.finish();
        EXPECT_EQ(printer.outputFileName(), chosen);
        EXPECT_FALSE(QFileInfo::exists(chosen));
    }
}

TEST(DialogShorthands, DefaultTitleAndSaveError) {
    ScriptedDialogs dlg;
    dlg.expectMessage("Hello", "Quorvane", MsgButtons::Ok, MsgAnswer::Ok);
    dlg.expectMessage("The file could not be written:\n/tmp/x/a.quorvane", "Save error", MsgButtons::Ok,
                      MsgAnswer::Ok);
    showMessage("Hello");
    showSaveError("/tmp/x/a.quorvane");
}

TEST(ScriptedDialogsScript, AnswersInOrderAndRecords) {
    ScriptedDialogs dlg;
    dlg.expectMessage("Q1", "T1", MsgAnswer::Yes)
        .expectInput("Prompt", "Title", QString("7"))
        .expectInput("Prompt", "Title", std::nullopt)
        .expectOpenFile(QString("/data/a.fcs"))
        .expectSaveFile(std::nullopt)
        .expectColour(QColor(1, 2, 3))
        .expectAnyMessage(MsgAnswer::Cancel);
    EXPECT_EQ(dialogs().messageBox("Q1", "T1", MsgButtons::YesNo), MsgAnswer::Yes);
    EXPECT_EQ(dialogs().inputBox("Prompt", "Title", "5"), QString("7"));
    EXPECT_EQ(dialogs().inputBox("Prompt", "Title", "5"), std::nullopt);
    EXPECT_EQ(dialogs().openFileName("Open", "", ""), QString("/data/a.fcs"));
    EXPECT_EQ(dialogs().saveFileName("Save", "", "", OverwriteQuestion::ByDialog), std::nullopt);
    EXPECT_EQ(dialogs().chooseColour(Qt::red), QColor(1, 2, 3));
    EXPECT_EQ(dialogs().messageBox("anything", "any", MsgButtons::OkCancel), MsgAnswer::Cancel);
    ASSERT_EQ(dlg.shown().size(), 7u);
    EXPECT_EQ(dlg.shown()[1].defaultText, "5");
    EXPECT_EQ(dlg.shown()[5].initialColour, QColor(Qt::red));
    EXPECT_EQ(dlg.messageTexts(), (QStringList{"Q1", "anything"}));
    EXPECT_EQ(dlg.pending(), 0u);
}

TEST(ScriptedDialogsScript, RestoresThePreviousProvider) {
    DialogProvider* before = currentDialogProvider();
    {
        ScriptedDialogs dlg;
        EXPECT_EQ(&dialogs(), &dlg);
    }
    EXPECT_EQ(currentDialogProvider(), before);
}

// Each of these is a fault the scripted provider must report, and the answer
// it gives so that the code under test goes on without a user.
TEST(ScriptedDialogsFailures, UnexpectedDialogFailsAndRefuses) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dlg;
            EXPECT_EQ(dialogs().messageBox("Really?", "Exit", MsgButtons::OkCancel), MsgAnswer::Cancel);
        },
        "Unexpected message box \"Really?\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dlg;
            EXPECT_EQ(dialogs().messageBox("Recover?", "Recovery", MsgButtons::YesNo), MsgAnswer::No);
        },
        "Unexpected message box \"Recover?\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dlg;
            EXPECT_EQ(dialogs().inputBox("Name?", "Rename", "x"), std::nullopt);
        },
        "Unexpected input box \"Name?\"");
}

TEST(ScriptedDialogsFailures, WrongKindTextTitleOrButtons) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dlg;
            dlg.expectInput("p", "t", QString("1"));
            dialogs().messageBox("Box", "T", MsgButtons::Ok);
            dialogs().inputBox("p", "t", "");
        },
        "while expecting input box");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dlg;
            dlg.expectMessage("Right text", "T", MsgAnswer::Ok);
            dialogs().messageBox("Wrong text", "T", MsgButtons::Ok);
        },
        "text differs");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dlg;
            dlg.expectMessage("Text", "Right title", MsgAnswer::Ok);
            dialogs().messageBox("Text", "Wrong title", MsgButtons::Ok);
        },
        "title differs");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dlg;
            dlg.expectMessage("Text", "T", MsgButtons::OkCancel, MsgAnswer::Ok);
            dialogs().messageBox("Text", "T", MsgButtons::Ok);
        },
        "has buttons Ok, expected OkCancel");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dlg;
            dlg.expectAnyMessage(MsgAnswer::Yes);
            EXPECT_EQ(dialogs().messageBox("Text", "T", MsgButtons::OkCancel), MsgAnswer::Cancel);
        },
        "scripted answer is not one of them");
}

TEST(ScriptedDialogsFailures, DialogThatNeverCame) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dlg;
            dlg.expectMessage("Max", "Max number of windows", MsgAnswer::Ok);
        },
        "Expected message box \"Max\" titled \"Max number of windows\" that never came");
}

// The test programs' watchdog closes a modal pop-up left open. Qt's own
// menus, opened by a click without the program asking (the menu bar's
// extension button runs its menu modally), are closed and the test goes
// on; a menu of the program's own run around the dialog layer still fails.
TEST(TestWatchdog, ClosesQtsOwnMenusWithoutFailingTheTest) {
    QWidget window;
    auto* bar = new QMenuBar(&window);
    for (const char* title : {"File", "Edit", "View", "Create", "Tools", "Help"}) bar->addMenu(title)->addAction("Item");
    window.resize(90, 60);
    bar->setGeometry(0, 0, 90, 25);
    window.show();
    QTest::qWait(20);
    auto* extension = bar->findChild<QToolButton*>();
    ASSERT_NE(extension, nullptr);
    ASSERT_TRUE(extension->isVisible()) << "the menus fit: no extension button to try";
    extension->showMenu();  // returns once the watchdog closed the menu
    EXPECT_FALSE(HasFailure());
}

TEST(TestWatchdog, AProgramMenuRunAroundTheDialogLayerFails) {
    EXPECT_NONFATAL_FAILURE(
        {
            QMenu menu;
            menu.addAction("Poly-1");
            menu.exec(QPoint(10, 10));
        },
        "was shown outside the dialog layer");
}

class ScriptedMenu : public ::testing::Test {
protected:
    void SetUp() override {
        sub = menu.addMenu("Show populations");
        all = sub->addAction("All events");
        poly = sub->addAction("Poly-1");
        first = menu.addAction("&Dot plot");
        menu.addSeparator();
        hidden = menu.addAction("Hidden");
        hidden->setVisible(false);
        disabled = menu.addAction("Disabled");
        disabled->setEnabled(false);
        QObject::connect(first, &QAction::triggered, [this] { ++triggered; });
    }
    QMenu menu;
    QMenu* sub = nullptr;
    QAction *all = nullptr, *poly = nullptr, *first = nullptr, *hidden = nullptr, *disabled = nullptr;
    int triggered = 0;
};

TEST_F(ScriptedMenu, ChoosesByCaptionPathOrIndexAndTriggers) {
    ScriptedDialogs dlg;
    dlg.expectMenuChoice("Dot plot")
        .expectMenuChoice("Show populations/Poly-1")
        .expectMenuChoice("All events")
        .expectMenuChoice(1)
        .expectMenuDismiss();
    EXPECT_EQ(dialogs().execMenu(menu, {}), first);
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(dialogs().execMenu(menu, {}), poly);
    EXPECT_EQ(dialogs().execMenu(menu, {}), all);
    EXPECT_EQ(dialogs().execMenu(menu, {}), first);
    EXPECT_EQ(dialogs().execMenu(menu, {}), nullptr);
    EXPECT_EQ(dlg.shown()[0].menuItems,
              (QStringList{"Show populations", "Show populations/All events", "Show populations/Poly-1",
                           "Dot plot", "Disabled"}));
}

TEST_F(ScriptedMenu, ItemsAUserCouldNotChooseFail) {
    for (const char* caption : {"Hidden", "Disabled", "Show populations", "Nowhere"}) {
        SCOPED_TRACE(caption);
        EXPECT_NONFATAL_FAILURE(
            {
                ScriptedDialogs dlg;
                dlg.expectMenuChoice(QString(caption));
                EXPECT_EQ(dialogs().execMenu(menu, {}), nullptr);
            },
            "");
    }
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dlg;
            dialogs().execMenu(menu, {});
        },
        "Unexpected pop-up menu");
}

// Random answers: the same seed gives the same answers, every answer is one
// a user could give (a button of the box, a listed path or text, the preset
// text, Cancel, an item that is shown and enabled), and no dialog fails.
TEST_F(ScriptedMenu, RandomAnswersAreRepeatableAndAlwaysOnesAUserCouldGive) {
    auto answers = [this](std::uint64_t seed) {
        ScriptedDialogs dlg;
        test::RandomAnswerChoices choices;
        choices.openPaths = {"/data/a.fcs", "/data/b.fcs"};
        choices.saveFolder = "/out/";
        choices.inputTexts = {"12,5", "abc"};
        dlg.answerAtRandom(seed, choices);
        QStringList out;
        for (int i = 0; i < 40; ++i) {
            const MsgAnswer yesNo = dialogs().messageBox("Q", "T", MsgButtons::YesNo);
            EXPECT_TRUE(yesNo == MsgAnswer::Yes || yesNo == MsgAnswer::No);
            EXPECT_EQ(dialogs().messageBox("Q", "T", MsgButtons::Ok), MsgAnswer::Ok);
            const auto input = dialogs().inputBox("P", "T", "5");
            EXPECT_TRUE(!input || QStringList({"5", "12,5", "abc"}).contains(*input)) << input->toStdString();
            const auto open = dialogs().openFileName("Open", "", "");
            EXPECT_TRUE(!open || choices.openPaths.contains(*open));
            const auto save = dialogs().saveFileName("Save", "FCS files (*.fcs)", "", OverwriteQuestion::ByCaller);
            EXPECT_TRUE(!save || (save->startsWith("/out/") && save->endsWith(".fcs"))) << save->toStdString();
            QAction* chosen = dialogs().execMenu(menu, {});
            EXPECT_TRUE(chosen == nullptr || chosen == all || chosen == poly || chosen == first);
            out << QString::number(int(yesNo)) << input.value_or("-") << open.value_or("-") << save.value_or("-")
                << (chosen ? chosen->text() : "-");
        }
        return out;
    };
    const QStringList first7 = answers(7);
    EXPECT_EQ(answers(7), first7);
    EXPECT_NE(answers(8), first7);
    EXPECT_GT(triggered, 0);  // a chosen item triggers, as a click does
}

}  // namespace
}  // namespace qv
