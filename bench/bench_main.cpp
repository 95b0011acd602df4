// How long the editor takes for what the user does most: redraws, paints, the text.
// Run headless: QT_QPA_PLATFORM=offscreen build/bench/gridglyph_bench
#include "frmMain.h"
#include "sizeEntry.h"
#include "pictureFiles.h"
#include "result/dotText.h"
#include "result/frmResult.h"
#include "toolkit/MultiLineTextBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/PictureLoader.h"
#include "toolkit/TextBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A window showing `dots` x `dots` with every other dot black.
void prepare(frmMain &w, int dots, int dotSize, bool underlay)
{
    const QString n = QString::number(dots);
    w.txtWidth->setText(n);
    w.txtHeight->setText(n);
    w.DotSize = dotSize;
    w.Draw();
    for (int y = 0; y < dots; ++y)
        for (int x = 0; x < dots; ++x)
            if ((x + y) % 2 == 0)
                w.picPreview->pset(x, y);
    if (underlay) {
        QImage picture(kLargestCanvas, kLargestCanvas, QImage::Format_RGB32);
        picture.fill(qRgb(0x40, 0x80, 0xC0));
        w.picTrace->setPicture(picture);
    }
    w.chkTrace->setChecked(underlay);
}

void redraw(benchmark::State &state, bool underlay)
{
    frmMain w;
    w.show();
    prepare(w, int(state.range(0)), int(state.range(1)), underlay);
    for (auto _ : state) {
        w.Draw();
        // Let the window system take the repaint too, as it would after a click.
        QApplication::processEvents();
    }
}

void BM_Redraw(benchmark::State &state) { redraw(state, false); }
void BM_RedrawUnderlay(benchmark::State &state) { redraw(state, true); }

// A drag at x12 whose i-th move goes to at(i): one real mouse event to the canvas each.
template<typename At>
void drag(benchmark::State &state, int dots, At at)
{
    frmMain w;
    w.show();
    prepare(w, dots, 12, false);
    w.picDot_MouseDown(1, 0, 5, 5);
    int i = 0;
    for (auto _ : state) {
        const QPointF to = at(i++);
        QMouseEvent move(QEvent::MouseMove, to, w.picDot->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.picDot, &move);
    }
    state.counters["painting"] = w.Painting;
}

// A slow drag across the first row: each move one cell further.
void BM_PaintEvent(benchmark::State &state)
{
    drag(state, int(state.range(0)), [](int i) { return QPointF(5 + 12 * (i % 16), 5); });
}

// A quick drag: each move lands 99 cells from the last, and the line between is painted.
void BM_StrokeMove(benchmark::State &state)
{
    drag(state, 99, [](int i) { return QPointF(i % 2 ? 5 : 5 + 12 * 98, 5); });
}

// Undoing a clear of a full 99 x 99 picture at x12: the picture back and the canvas redrawn.
void BM_UndoClear(benchmark::State &state)
{
    frmMain w;
    w.show();
    prepare(w, 99, 12, false);
    w.cmdClear_Click();
    for (auto _ : state) {
        w.undo();
        QApplication::processEvents();
        state.PauseTiming();
        w.redo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_TextBuild(benchmark::State &state)
{
    frmMain w;
    prepare(w, int(state.range(0)), 12, false);
    const auto black = [&w](int x, int y) { return w.isBlackDot(x, y); };
    for (auto _ : state)
        benchmark::DoNotOptimize(dotText(w.txtWidth->text(), w.txtHeight->text(), black));
}

// The way the text was first meant to be built: every character appended through the text
// box, reading and writing its whole text each time.
void BM_TextBuildPerCharAppend(benchmark::State &state)
{
    frmMain w;
    prepare(w, int(state.range(0)), 12, false);
    MultiLineTextBox box;
    for (auto _ : state) {
        box.setText(QString());
        const int H = w.txtHeight->text().toInt();
        for (int y = 0; y < H; ++y) {
            const int W = w.txtWidth->text().toInt();
            for (int x = 0; x < W; ++x)
                box.setText(box.text() + (w.isBlackDot(x, y) ? QChar(0x25A0) : QChar(0x25A1)));
            box.setText(box.text() + QStringLiteral("\r\n"));
        }
        benchmark::DoNotOptimize(box.text());
    }
}

void BM_ResultWindowOpen(benchmark::State &state)
{
    frmMain w;
    w.show();
    prepare(w, int(state.range(0)), 12, false);
    for (auto _ : state) {
        w.cmdOK_Click();
        w.resultWindow()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Loading (or refusing) each of the large and hostile files the bad-input tests use. Each
// file is made the first time its benchmark runs, not when another one is asked for.
void registerLoads(const QTemporaryDir &dir)
{
    for (const pictureFiles::CorpusFile &file : pictureFiles::largeAndHostileFiles()) {
        const QString path = dir.filePath(QString::fromLatin1(file.name));
        const auto load = [file, path](benchmark::State &state) {
            if (!QFileInfo::exists(path))
                pictureFiles::write(path, file.make());
            for (auto _ : state)
                benchmark::DoNotOptimize(
                    LoadPicture(path, QSize(kLargestCanvas, kLargestCanvas)));
        };
        benchmark::RegisterBenchmark((std::string("BM_LoadPicture/") + file.name).c_str(), load)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
}

} // namespace

BENCHMARK(BM_Redraw)->ArgsProduct({{16, 32, 48, 99}, {2, 12}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedrawUnderlay)->ArgsProduct({{16, 32, 48, 99}, {2, 12}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintEvent)->Arg(16)->Arg(48)->Arg(99);
BENCHMARK(BM_StrokeMove)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoClear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextBuild)->Arg(32)->Arg(48)->Arg(99)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextBuildPerCharAppend)->Arg(32)->Arg(48)->Arg(99)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResultWindowOpen)->Arg(32)->Arg(48)->Arg(99)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QTemporaryDir dir;
    registerLoads(dir);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
