// The running program driven by random input: the main window with its real
// window kinds, real instrument files and small generated ones, and for each
// seed a bounded run of random clicks, double clicks, drags, wheel turns and
// keys on whatever is shown, menu items, sub-window moves, resizes,
// maximising and closing, every dialog and pop-up answered at random. Part
// of the input is posted instead of sent, so it arrives while a handler that
// processes events is still running, as a fast user's clicks do.
//
// A seed fails on an exception reaching the driver, on a failed check and,
// in the sanitized build, on any address or undefined-behaviour report. Each
// action is printed before it runs, so the output of a failed seed ends with
// the action that broke it. A seed that runs past its wall-clock limit (an
// action that hangs) ends the test program at once with the seed, the step
// and the action, so a hang can never hold up a test run. More seeds by hand:
//   QV_RANDOM_SEEDS=1-500 QV_RANDOM_ACTIONS=400 app_tests --gtest_filter='RandomInputBySeedRange*'
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/MenuBar.h"
#include "app/PaaIkkuna.h"
#include "app/PlotWindow.h"
#include "app/PopulationPanel.h"
#include "app/model/ProgramFolder.h"
#include "core/SharedState.h"
#include "plots/dotplot/DotPlot.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/core/FcsTestWriter.h"

namespace qv {
namespace {

// Seeds of the default run and actions per seed.
constexpr int DefaultSeeds = 13;
constexpr int DefaultActions = 150;
// A wider range of seeds at fewer actions each, quick enough for every run:
// short runs still reach Qt's own widgets (the menu bar's extension button
// and its menu) and the program's first reactions to them.
// Run ten seeds to a test, so that test programs started once per test
// spend their time on the seeds.
constexpr int ShortRunFirstSeed = 100;
constexpr int ShortRunLastSeed = 200;
constexpr int ShortRunActions = 60;
constexpr int ShortRunSeedsPerTest = 10;

// Wall-clock limit of one seed's run (QV_RANDOM_SECONDS overrides it): far
// above what a seed takes, even sanitized, far below a test run's timeout.
std::chrono::milliseconds SeedTimeLimit() {
    const int fromEnvironment = qEnvironmentVariableIntValue("QV_RANDOM_SECONDS");
    return std::chrono::seconds(fromEnvironment > 0 ? fromEnvironment : 120);
}

// Watches one seed's run from a thread of its own. An action that hangs
// blocks the GUI thread, so no check there could fire: when the limit
// passes, the watchdog names the seed, the step and the action and ends the
// program with a failure.
class SeedWatchdog {
public:
    SeedWatchdog(std::uint64_t seed, std::chrono::milliseconds limit) : seed_(seed), limit_(limit) {
        thread_ = std::thread([this] { watch(); });
    }
    ~SeedWatchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    SeedWatchdog(const SeedWatchdog&) = delete;
    SeedWatchdog& operator=(const SeedWatchdog&) = delete;

    void starting(int step, const std::string& action) {
        std::lock_guard<std::mutex> lock(mutex_);
        step_ = step;
        action_ = action;
    }

private:
    void watch() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (wake_.wait_for(lock, limit_, [this] { return finished_; })) return;
        const std::string message = "seed " + std::to_string(seed_) + " step " + std::to_string(step_) +
                                    ": still running after " + std::to_string(limit_.count()) +
                                    " ms, hung in: " + action_ + "\n";
        std::fputs(message.c_str(), stdout);
        std::fflush(stdout);
        std::fputs(message.c_str(), stderr);
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }

    const std::uint64_t seed_;
    const std::chrono::milliseconds limit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool finished_ = false;
    int step_ = 0;
    std::string action_ = "(setting up)";
    std::thread thread_;
};

// Small files the run always has: a two-parameter FCS 2.0 file, a
// three-parameter FCS 3.0 file with a log parameter, an FCS file of one
// event, a damaged file and a text table.
QStringList writeGeneratedFiles(const QString& folder) {
    using test::FcsTestFile;
    QStringList paths;
    auto write = [&](const QString& name, const FcsTestFile& file) {
        const QString path = folder + name;
        test::WriteFcsTestFile(QFile::encodeName(path).toStdString(), file);
        paths << path;
    };
    FcsTestFile two;
    two.Version = "FCS2.0";
    two.DataType = "I";
    two.Bits = 16;
    two.param("FSC-H").param("SSC-H");
    for (int e = 0; e < 400; ++e) two.event({double((e * 37) % 1024), double((e * 91 + 13) % 1024)});
    write(QStringLiteral("gen_a.fcs"), two);

    FcsTestFile three;
    three.param("FSC-A", "262144").param("SSC-A", "262144").param("FL1-A", "10000", "4,1");
    for (int e = 0; e < 300; ++e)
        three.event({double(e * 811 % 262144), double(e * 577 % 262144), 1.0 + double(e * 33 % 9999)});
    write(QStringLiteral("gen_b.fcs"), three);

    FcsTestFile single;
    single.param("A").param("B");
    single.event({5, 7});
    write(QStringLiteral("gen_c.fcs"), single);

    FcsTestFile damaged = two;
    damaged.DataBytesDropped = 100;
    write(QStringLiteral("gen_d.fcs"), damaged);

    QString table = QStringLiteral("X\tY\tZ\r\n");
    for (int e = 0; e < 200; ++e) table += QStringLiteral("%1\t%2\t%3\r\n").arg(e % 17).arg(e * 3 % 101).arg(e * 0.25);
    test::WriteBytes(QFile::encodeName(folder + QStringLiteral("gen_table.txt")).toStdString(), table.toStdString());
    paths << folder + QStringLiteral("gen_table.txt");
    return paths;
}

// The folder of instrument files: next to the project, or where
// QV_TESTDATA_DIR points at run time.
QString instrumentFolder() { return qEnvironmentVariable("QV_TESTDATA_DIR", QStringLiteral(QV_TESTDATA_DIR)); }

// The instrument files, when they are there.
QStringList instrumentFiles() {
    QStringList paths;
    const QDir dir(instrumentFolder());
    for (const QFileInfo& f : dir.entryInfoList(QDir::Files, QDir::Name))
        if (f.suffix() != QStringLiteral("md")) paths << f.absoluteFilePath();
    return paths;
}

// One seed's run.
class RandomSession {
public:
    RandomSession(std::uint64_t seed, int actions) : seed_(seed), actions_(actions), random_(seed * 7919 + 17) {}

    void run() {
        SeedWatchdog watchdog(seed_, SeedTimeLimit());
        watchdog_ = &watchdog;
        runActions();
        watchdog_ = nullptr;
    }

private:
    void runActions() {
        ASSERT_TRUE(folder_.isValid());
        const QString base = folder_.path() + QChar('/');
        setProgramFolderOverride(base);
        registerDotPlotKind();
        QStringList files = writeGeneratedFiles(base);
        files << instrumentFiles() << base + QStringLiteral("missing.fcs");

        test::ScriptedDialogs dialogs;
        test::RandomAnswerChoices choices;
        choices.openPaths = files;
        choices.saveFolder = base;
        choices.inputTexts = {QString(), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("-5"),
                              QStringLiteral("3"), QStringLiteral("25"), QStringLiteral("100,000"),
                              QStringLiteral("12,5"), QStringLiteral("1e9"), QStringLiteral("abc"),
                              QStringLiteral("99999999999"), QStringLiteral("Gate A"), QStringLiteral("Poly-2"),
                              QStringLiteral(" 7 ")};
        choices.log = [this](const std::string& line) { say("    dialog: " + line); };
        dialogs.answerAtRandom(seed_, std::move(choices));

        main_ = std::make_unique<PaaIkkuna>();
        main_->setSheetWriter([](const QString&) {});
        main_->setSheetReader([](const QString&) {});
        main_->MDIForm_Load();
        main_->resize(1000, 700);
        QApplication::setActiveWindow(main_.get());

        // Every run starts with a file and its plot, so the random part has something to work on.
        guarded("Open FCS...", [&] { main_->mainMenu().FileOpenFCS->trigger(); });
        guarded("Create dot plot", [&] { main_->mainMenu().CreateDotPlot->trigger(); });
        for (step_ = 1; step_ <= actions_ && !::testing::Test::HasFatalFailure(); ++step_) {
            if (main_->exited()) break;
            randomAction();
            if (pick(2) == 0) guarded("process events", [] { QCoreApplication::processEvents(); });
            answerOpenPopup();
        }
        guarded("process events", [] { QCoreApplication::processEvents(); });
        main_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        resetSharedState();
        setProgramFolderOverride(QString());
    }

    size_t pick(size_t n) { return n == 0 ? 0 : static_cast<size_t>(random_() % n); }
    int between(int lo, int hi) { return lo + static_cast<int>(pick(static_cast<size_t>(hi - lo + 1))); }

    void say(const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }

    template <typename F>
    void guarded(const std::string& what, F&& action) {
        if (watchdog_) watchdog_->starting(step_, what);
        say("seed " + std::to_string(seed_) + " step " + std::to_string(step_) + ": " + what);
        try {
            action();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "seed " << seed_ << " step " << step_ << " (" << what << "): exception " << e.what();
        } catch (...) {
            ADD_FAILURE() << "seed " << seed_ << " step " << step_ << " (" << what << "): unknown exception";
        }
    }

    // ---- what a user can reach ----

    QList<QMdiSubWindow*> subWindows() const { return main_->workspace()->subWindowList(); }

    QList<QAction*> menuItems() const {
        QList<QAction*> items;
        const MainMenu& m = main_->mainMenu();
        for (QMenu* menu : {m.MenuFile, m.MenuEdit, m.MenuView, m.MenuCreate, m.MenuScript, m.MenuHelp}) {
            if (!menu || !menu->menuAction()->isVisible() || !menu->isEnabled()) continue;
            for (QAction* a : menu->actions())
                // Leaving the program is an action of its own, taken rarely.
                if (a->isVisible() && a->isEnabled() && !a->isSeparator() && !a->menu() && a != m.FileExit)
                    items << a;
        }
        return items;
    }

    // A widget the user can see, to click on: a plot most of the time.
    QWidget* someTopTarget() {
        const QList<QMdiSubWindow*> subs = subWindows();
        const size_t kind = pick(10);
        if (kind < 6 && !subs.isEmpty()) {
            QMdiSubWindow* sub = subs[static_cast<qsizetype>(pick(static_cast<size_t>(subs.size())))];
            // The window's content, or now and then its frame (title bar, buttons, edges).
            return pick(4) == 0 || !sub->widget() ? static_cast<QWidget*>(sub) : sub->widget();
        }
        if (kind < 8 && main_->panel()) return main_->panel();
        return main_.get();
    }

    // The deepest visible widget under `p` of `top` and the point in its own coordinates.
    static QWidget* deepest(QWidget* top, QPoint& p) {
        QWidget* child = top->childAt(p);
        if (!child) return top;
        p = child->mapFrom(top, p);
        return child;
    }

    QPoint pointIn(QWidget* w) {
        // Now and then a place already used on this widget (a polygon's
        // first corner, a label just dropped), else anywhere inside.
        auto& seen = hotPoints_;
        if (!seen.empty() && pick(3) == 0) {
            const auto& hp = seen[pick(seen.size())];
            if (hp.first == w) return hp.second + QPoint(between(-2, 2), between(-2, 2));
        }
        const QPoint p(between(0, std::max(0, w->width() - 1)), between(0, std::max(0, w->height() - 1)));
        seen.emplace_back(w, p);
        if (seen.size() > 24) seen.erase(seen.begin());
        return p;
    }

    Qt::KeyboardModifiers someModifiers() {
        switch (pick(8)) {
        case 0: return Qt::ShiftModifier;
        case 1: return Qt::ControlModifier;
        default: return Qt::NoModifier;
        }
    }

    // Sent at once, or posted to arrive with the next events processed (possibly inside a handler).
    void deliver(QWidget* receiver, QEvent* event, bool post) {
        if (post) {
            QCoreApplication::postEvent(receiver, event);
            return;
        }
        QPointer<QWidget> guard(receiver);
        if (guard) QApplication::sendEvent(receiver, event);
        delete event;
    }

    void mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods, bool post) {
        const QPointF local(p);
        deliver(w, new QMouseEvent(type, local, local, w->mapToGlobal(local), button, held, mods), post);
    }

    // ---- the actions ----

    void randomAction() {
        const size_t kind = pick(1000);
        if (kind < 30) return panelButtonAction();
        if (kind < 300) return clickAction();
        if (kind < 450) return dragAction();
        if (kind < 650) return menuAction();
        if (kind < 750) return keyAction();
        if (kind < 880) return subWindowAction();
        if (kind < 920) return wheelAction();
        if (kind < 960) return mainWindowResize();
        if (kind < 998) return postedCloseAction();
        return exitAction();
    }

    void clickAction() {
        QWidget* top = someTopTarget();
        QPoint p = pointIn(top);
        QPointer<QWidget> w = deepest(top, p);
        const bool post = pick(4) == 0;
        const size_t how = pick(10);
        const Qt::MouseButton button = how < 6 ? Qt::LeftButton : (how < 9 ? Qt::RightButton : Qt::MiddleButton);
        const bool twice = pick(5) == 0;
        const Qt::KeyboardModifiers mods = someModifiers();
        guarded(std::string(twice ? "double click" : "click") + " button " + std::to_string(int(button)) + " on " +
                    describe(w) + " at " + std::to_string(p.x()) + "," + std::to_string(p.y()) +
                    (post ? " (posted)" : ""),
                [&] {
                    if (!w) return;
                    mouse(w, QEvent::MouseButtonPress, p, button, button, mods, post);
                    if (!w) return;
                    mouse(w, QEvent::MouseButtonRelease, p, button, Qt::NoButton, mods, post);
                    if (!twice || !w) return;
                    mouse(w, QEvent::MouseButtonDblClick, p, button, button, mods, post);
                    if (!w) return;
                    mouse(w, QEvent::MouseButtonRelease, p, button, Qt::NoButton, mods, post);
                });
    }

    // A button of the populations panel ("Create", "Define", "Delete", the
    // colour boxes, the row choices), which random clicks seldom hit.
    void panelButtonAction() {
        if (!main_->panel()) return;
        QList<QAbstractButton*> buttons;
        for (QAbstractButton* b : main_->panel()->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled()) buttons << b;
        if (buttons.isEmpty()) return;
        QPointer<QAbstractButton> b = buttons[static_cast<qsizetype>(pick(static_cast<size_t>(buttons.size())))];
        guarded("panel button " + describe(b) + " \"" + b->text().toStdString() + "\"", [&] {
            if (b) b->click();
        });
    }

    void dragAction() {
        QWidget* top = someTopTarget();
        QPoint from = pointIn(top);
        QPointer<QWidget> w = deepest(top, from);
        const QPoint to = pick(3) == 0 && w ? pointIn(w) : from + QPoint(between(-150, 150), between(-150, 150));
        const bool post = pick(3) == 0;
        const Qt::MouseButton button = pick(5) == 0 ? Qt::RightButton : Qt::LeftButton;
        const int moves = between(1, 6);
        guarded("drag on " + describe(w) + " from " + std::to_string(from.x()) + "," + std::to_string(from.y()) +
                    " to " + std::to_string(to.x()) + "," + std::to_string(to.y()) + (post ? " (posted)" : ""),
                [&] {
                    if (!w) return;
                    mouse(w, QEvent::MouseButtonPress, from, button, button, {}, post);
                    for (int i = 1; i <= moves && w; ++i)
                        mouse(w, QEvent::MouseMove, from + (to - from) * i / moves, Qt::NoButton, button, {}, post);
                    if (w) mouse(w, QEvent::MouseButtonRelease, to, button, Qt::NoButton, {}, post);
                    // The pointer goes on moving with no button held.
                    if (w && pick(2) == 0) mouse(w, QEvent::MouseMove, to + QPoint(3, 3), Qt::NoButton, {}, {}, post);
                });
    }

    void menuAction() {
        const QList<QAction*> items = menuItems();
        if (items.isEmpty()) return;
        QPointer<QAction> a = items[static_cast<qsizetype>(pick(static_cast<size_t>(items.size())))];
        const bool post = pick(5) == 0;
        guarded("menu " + a->text().remove(QChar('&')).toStdString() + (post ? " (posted)" : ""), [&] {
            if (post)
                QMetaObject::invokeMethod(a, [a] { if (a) a->trigger(); }, Qt::QueuedConnection);
            else
                a->trigger();
        });
    }

    void keyAction() {
        static const int keys[] = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Delete, Qt::Key_Backspace,
                                   Qt::Key_Tab,    Qt::Key_Left,   Qt::Key_Right,  Qt::Key_Up,
                                   Qt::Key_Down,   Qt::Key_Space,  Qt::Key_A,      Qt::Key_C,
                                   Qt::Key_N,      Qt::Key_P,      Qt::Key_1,      Qt::Key_Minus,
                                   Qt::Key_Shift,  Qt::Key_Control, Qt::Key_F1,    Qt::Key_Comma};
        const int key = keys[pick(std::size(keys))];
        const Qt::KeyboardModifiers mods = someModifiers();
        QPointer<QWidget> w = QApplication::focusWidget();
        if (!w || pick(3) == 0) {
            QWidget* top = someTopTarget();
            QPoint p = pointIn(top);
            w = deepest(top, p);
        }
        const bool post = pick(4) == 0;
        QString text;
        if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde && !(mods & Qt::ControlModifier))
            text = QChar(key).toLower();
        guarded("key " + std::to_string(key) + " mods " + std::to_string(int(mods)) + " on " + describe(w) +
                    (post ? " (posted)" : ""),
                [&] {
                    if (w) deliver(w, new QKeyEvent(QEvent::KeyPress, key, mods, text), post);
                    if (w) deliver(w, new QKeyEvent(QEvent::KeyRelease, key, mods, text), post);
                });
    }

    void wheelAction() {
        QWidget* top = someTopTarget();
        QPoint p = pointIn(top);
        QPointer<QWidget> w = deepest(top, p);
        const int delta = pick(2) == 0 ? 120 : -120;
        guarded("wheel " + std::to_string(delta) + " on " + describe(w), [&] {
            if (!w) return;
            QWheelEvent ev(QPointF(p), w->mapToGlobal(QPointF(p)), QPoint(), QPoint(0, delta), Qt::NoButton,
                           Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(w, &ev);
        });
    }

    void subWindowAction() {
        const QList<QMdiSubWindow*> subs = subWindows();
        QMdiArea* mdi = main_->workspace();
        const size_t what = pick(10);
        if (what == 0) return guarded("tile windows", [mdi] { mdi->tileSubWindows(); });
        if (what == 1) return guarded("cascade windows", [mdi] { mdi->cascadeSubWindows(); });
        if (subs.isEmpty()) return;
        QPointer<QMdiSubWindow> sub = subs[static_cast<qsizetype>(pick(static_cast<size_t>(subs.size())))];
        const std::string name = describe(sub);
        switch (what) {
        case 2: return guarded("activate " + name, [&] { if (sub) mdi->setActiveSubWindow(sub); });
        case 3: return guarded("maximise " + name, [&] { if (sub) sub->showMaximized(); });
        case 4: return guarded("restore " + name, [&] { if (sub) sub->showNormal(); });
        case 5: return guarded("minimise " + name, [&] { if (sub) sub->showMinimized(); });
        case 6: return guarded("close box of " + name, [&] { if (sub) sub->close(); });
        case 7: {
            const QSize size(between(20, 900), between(20, 700));
            return guarded("resize " + name + " to " + std::to_string(size.width()) + "x" +
                               std::to_string(size.height()),
                           [&] { if (sub) sub->resize(size); });
        }
        default: {
            const QPoint to(between(-300, 1100), between(-300, 800));
            return guarded("move " + name + " to " + std::to_string(to.x()) + "," + std::to_string(to.y()),
                           [&] { if (sub) sub->move(to); });
        }
        }
    }

    void mainWindowResize() {
        const QSize size(between(150, 1400), between(120, 1000));
        guarded("main window to " + std::to_string(size.width()) + "x" + std::to_string(size.height()),
                [&] { main_->resize(size); });
    }

    // A click on a close box that arrives while the current handler runs.
    void postedCloseAction() {
        const QList<QMdiSubWindow*> subs = subWindows();
        if (subs.isEmpty()) return;
        QPointer<QMdiSubWindow> sub = subs[static_cast<qsizetype>(pick(static_cast<size_t>(subs.size())))];
        guarded("close box of " + describe(sub) + " (posted)", [&] {
            if (sub) QMetaObject::invokeMethod(sub, [sub] { if (sub) sub->close(); }, Qt::QueuedConnection);
        });
    }

    // A menu that Qt's own widgets open without waiting (a sub-window's
    // system menu from its title bar icon) stays open until the user picks
    // an item or clicks elsewhere.
    void answerOpenPopup() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        QList<QAction*> items;
        for (QAction* a : menu->actions())
            if (a->isVisible() && a->isEnabled() && !a->isSeparator() && !a->menu()) items << a;
        QPointer<QAction> chosen = items.isEmpty() || pick(4) == 0
                                       ? nullptr
                                       : items[static_cast<qsizetype>(pick(static_cast<size_t>(items.size())))];
        guarded("pop-up menu of Qt: " + (chosen ? chosen->text().remove(QChar('&')).toStdString() : "closed"), [&] {
            menu->close();
            if (chosen) chosen->trigger();
        });
    }

    void exitAction() {
        guarded("menu Exit", [&] { main_->mainMenu().FileExit->trigger(); });
    }

    static std::string describe(const QWidget* w) {
        if (!w) return "(gone)";
        std::string out = w->metaObject()->className();
        if (!w->objectName().isEmpty()) out += " " + w->objectName().toStdString();
        const QWidget* titled = w;
        while (titled && titled->windowTitle().isEmpty()) titled = titled->parentWidget();
        if (titled && titled != w) out += " in";
        if (titled) out += " \"" + titled->windowTitle().toStdString() + "\"";
        return out;
    }

    std::uint64_t seed_;
    int actions_;
    int step_ = 0;
    std::mt19937_64 random_;
    QTemporaryDir folder_;
    std::unique_ptr<PaaIkkuna> main_;
    std::vector<std::pair<QWidget*, QPoint>> hotPoints_;
    SeedWatchdog* watchdog_ = nullptr;
};

class RandomInput : public ::testing::TestWithParam<int> {};

TEST_P(RandomInput, RunsWithoutFault) {
    if (!QFileInfo::exists(instrumentFolder()))
        std::printf("Instrument files not found at %s: the run uses the generated files only\n",
                    qPrintable(instrumentFolder()));
    RandomSession(static_cast<std::uint64_t>(GetParam()), DefaultActions).run();
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomInput, ::testing::Range(1, DefaultSeeds + 1),
                         [](const ::testing::TestParamInfo<int>& info) { return "Seed" + std::to_string(info.param); });

// The seeds from `first` to the next test's first, the last test taking
// the range's last seed too.
int lastSeedFrom(int first) {
    return first + 2 * ShortRunSeedsPerTest > ShortRunLastSeed + 1 ? ShortRunLastSeed
                                                                    : first + ShortRunSeedsPerTest - 1;
}

class RandomInputShortRun : public ::testing::TestWithParam<int> {};

TEST_P(RandomInputShortRun, RunsWithoutFault) {
    for (int seed = GetParam(); seed <= lastSeedFrom(GetParam()) && !HasFailure(); ++seed)
        RandomSession(static_cast<std::uint64_t>(seed), ShortRunActions).run();
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomInputShortRun,
                         ::testing::Range(ShortRunFirstSeed, ShortRunLastSeed, ShortRunSeedsPerTest),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Seeds" + std::to_string(info.param) + "To" +
                                    std::to_string(lastSeedFrom(info.param));
                         });

// A seed whose action hangs ends the program with the seed, step and action
// instead of holding up the test run.
TEST(RandomInputWatchdog, AHungActionEndsTheRunNamingSeedStepAndAction) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SeedWatchdog watchdog(7, std::chrono::milliseconds(50));
            watchdog.starting(3, "menu Open FCS...");
            std::this_thread::sleep_for(std::chrono::seconds(30));
        },
        ::testing::ExitedWithCode(EXIT_FAILURE), "seed 7 step 3: still running after 50 ms, hung in: menu Open FCS");
    // A run that ends in time is left alone.
    { SeedWatchdog watchdog(8, std::chrono::milliseconds(60000)); }
}

// Seeds and actions from the environment, for longer searches by hand.
TEST(RandomInputBySeedRange, RunsWithoutFault) {
    const char* range = std::getenv("QV_RANDOM_SEEDS");
    if (!range) GTEST_SKIP() << "Set QV_RANDOM_SEEDS=first-last (and QV_RANDOM_ACTIONS) to run chosen seeds";
    int first = 0, last = 0;
    if (std::sscanf(range, "%d-%d", &first, &last) != 2) last = first = std::atoi(range);
    const char* actions = std::getenv("QV_RANDOM_ACTIONS");
    const int count = actions ? std::atoi(actions) : DefaultActions;
    for (int seed = first; seed <= last && !HasFailure(); ++seed)
        RandomSession(static_cast<std::uint64_t>(seed), count).run();
}

}  // namespace
}  // namespace qv
