// A long message put in a box: a tool's `message:` of 64 KB and of 1 MiB
// (the longest text a tool line can build), as one word without blanks,
// as words, and as short lines. Fitting the text to the screen, building
// and showing the box as the dialog layer does, and opening its details,
// each well within a second.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>

#include <memory>

#include "bench/OffscreenBenchmarks.h"
#include "app/Dialogs.h"
#include "app/model/MessageText.h"

namespace {

using namespace qv;

enum class Shape { OneWord, Words, ShortLines };

QString LongText(qsizetype length, Shape shape) {
    QString piece;
    switch (shape) {
    case Shape::OneWord: piece = QStringLiteral("n"); break;
    case Shape::Words: piece = QStringLiteral("event "); break;
    case Shape::ShortLines: piece = QStringLiteral("plate-1-well-a.fcs -> plate-1-well-b.fcs\n"); break;
    }
    QString text;
    text.reserve(length + piece.size());
    while (text.size() < length) text += piece;
    text.truncate(length);
    return text;
}

void BM_FitToTheScreen(benchmark::State& state, Shape shape) {
    const QString text = LongText(state.range(0), shape);
    const QFontMetrics metrics(QApplication::font());
    const auto widthOf = [&metrics](const QString& line) { return metrics.horizontalAdvance(line); };
    for (auto _ : state) {
        const FittedMessage fitted = FitMessage(text, 420, 30, widthOf);
        benchmark::DoNotOptimize(fitted.shown.size());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_BoxBuiltAndShown(benchmark::State& state, Shape shape) {
    const QString text = LongText(state.range(0), shape);
    for (auto _ : state) {
        const std::unique_ptr<QMessageBox> box = makeMessageBox(text, QStringLiteral("Tool"), MsgButtons::Ok);
        box->show();
        QApplication::processEvents();
        box->close();
    }
}

// The user opens the details: the whole text laid out in the details pane.
void BM_DetailsOpened(benchmark::State& state, Shape shape) {
    const QString text = LongText(state.range(0), shape);
    for (auto _ : state) {
        const std::unique_ptr<QMessageBox> box = makeMessageBox(text, QStringLiteral("Tool"), MsgButtons::Ok);
        box->show();
        QApplication::processEvents();
        for (QAbstractButton* b : box->findChildren<QAbstractButton*>())
            if (b->text().startsWith(QStringLiteral("Show Details"))) b->click();
        QApplication::processEvents();
        box->close();
    }
}

constexpr int64_t Kb64 = 64 * 1024;
constexpr int64_t Mb1 = 1024 * 1024;

BENCHMARK_CAPTURE(BM_FitToTheScreen, OneWord, Shape::OneWord)->Arg(Kb64)->Arg(Mb1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FitToTheScreen, Words, Shape::Words)->Arg(Kb64)->Arg(Mb1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FitToTheScreen, ShortLines, Shape::ShortLines)
    ->Arg(Kb64)
    ->Arg(Mb1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BoxBuiltAndShown, OneWord, Shape::OneWord)->Arg(Kb64)->Arg(Mb1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BoxBuiltAndShown, Words, Shape::Words)->Arg(Kb64)->Arg(Mb1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BoxBuiltAndShown, ShortLines, Shape::ShortLines)
    ->Arg(Kb64)
    ->Arg(Mb1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(BM_DetailsOpened, OneWord, Shape::OneWord)->Arg(Kb64)->Arg(Mb1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DetailsOpened, Words, Shape::Words)->Arg(Kb64)->Arg(Mb1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DetailsOpened, ShortLines, Shape::ShortLines)
    ->Arg(Kb64)
    ->Arg(Mb1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return qv::bench::RunOffscreenBenchmarks(argc, argv); }
