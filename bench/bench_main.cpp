// How long the editor takes for what the user does most: redraws, paints, the text.
// Run headless: QT_QPA_PLATFORM=offscreen build/bench/gridglyph_bench
#include "frmMain.h"
#include "commands/commandList.h"
#include "dotPicture.h"
#include "sizeEntry.h"
#include "pictureFiles.h"
#include "convert/conversion.h"
#include "convert/frmConvert.h"
#include "convert/underlay.h"
#include "dotImage.h"
#include "result/budgets.h"
#include "result/dotText.h"
#include "result/frmResult.h"
#include "result/textReading.h"
#include "toolkit/MultiLineTextBox.h"
#include "toolkit/PictureBox.h"
#include "pictures/PictureJob.h"
#include "pictures/PictureLoader.h"
#include "convert/underlayLoading.h"
#include "keeping/recovery.h"
#include "keeping/safeWrite.h"
#include "keeping/savedPicture.h"
#include "toolkit/TextBox.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QSlider>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A command beyond the panel, as its keys or the menu give it.
void run(frmMain &w, CommandList::Id id) { w.commands()->action(id)->trigger(); }

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
                w.document()->setDot(QPoint(x, y), dots::kBlackPixel);
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
        run(w, CommandList::Undo);
        QApplication::processEvents();
        state.PauseTiming();
        run(w, CommandList::Redo);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_TextBuild(benchmark::State &state)
{
    frmMain w;
    prepare(w, int(state.range(0)), 12, false);
    const auto black = [&w](int x, int y) { return w.document()->isBlack(x, y); };
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
                box.setText(box.text() + (w.document()->isBlack(x, y) ? QChar(0x25A0) : QChar(0x25A1)));
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

// One keyboard move with Space held at x12: the cursor one dot on, that dot painted (a line
// of one), its outline moved, all through real key events to the canvas.
void BM_KeyboardMoveAndPaint(benchmark::State &state)
{
    frmMain w;
    w.show();
    prepare(w, int(state.range(0)), 12, false);
    w.picDot->setFocus();
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(w.picDot, &space);
    int i = 0;
    for (auto _ : state) {
        // Along the first row and back, never stopping at an edge.
        const Qt::Key key = (i++ / 15) % 2 ? Qt::Key_Left : Qt::Key_Right;
        QKeyEvent move(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w.picDot, &move);
    }
}

// Each whole-picture change of a half-black 99 x 99 picture at x12, redraw and repaint
// included: 0 invert, 1 flip, 2 shift, 3 turn.
void BM_Transform(benchmark::State &state)
{
    frmMain w;
    w.show();
    prepare(w, 99, 12, false);
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0: run(w, CommandList::Invert); break;
        case 1: run(w, CommandList::FlipLeftRight); break;
        case 2: run(w, CommandList::ShiftRight); break;
        default: run(w, CommandList::TurnClockwise); break;
        }
        QApplication::processEvents();
    }
}

// The canvas of 99 x 99 dots at x12 painted onto a screen at a ratio of range(0) / 100: the
// whole surface, as after a redraw.
void BM_PaintCanvas(benchmark::State &state)
{
    frmMain w;
    prepare(w, 99, 12, false);
    const qreal ratio = state.range(0) / 100.0;
    const QSize device(int(w.picDot->width() * ratio), int(w.picDot->height() * ratio));
    QImage screen(device, QImage::Format_RGB32);
    screen.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        w.Draw();
        w.picDot->render(&screen);
    }
}

// The underlay the converter works from: a picture of 2000 x 1500 in shades.
QImage shadedPicture()
{
    QImage p(2000, 1500, QImage::Format_RGB32);
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            p.setPixel(x, y, qRgb((x * 255 / 2000 + y / 7) % 256, (y * 255 / 1500) % 256, ((x ^ y) / 5) % 256));
    return p;
}

// One move of a slider at 48 x 48 x12 with the conversion window open: new dots from the
// kept averages, and the canvas redrawn with them; state.range(0) 0 the threshold in black
// and white, 1 the brightness in colour, sharpened, dithered.
void BM_ThresholdSlider(benchmark::State &state)
{
    frmMain w;
    w.show();
    prepare(w, 48, 12, false);
    auto *data = new QMimeData;
    data->setImageData(shadedPicture());
    QApplication::clipboard()->setMimeData(data);
    run(w, CommandList::Paste);
    // A pasted picture is read as any other: once it is taken, Ctrl+T has it.
    while (w.underlayLoading()->busy())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    run(w, CommandList::Convert);
    if (!w.convertWindow()) {
        state.SkipWithError("the conversion window did not open");
        return;
    }
    QSlider *slider = w.convertWindow()->sldThreshold;
    if (state.range(0) == 1) {
        // In colour, sharpened, Floyd-Steinberg in OKLab: the brightness slider.
        frmConvert *c = w.convertWindow();
        c->cboColour->setCurrentIndex(1);
        c->cboDither->setCurrentIndex(c->cboDither->findData(int(Dither::FloydSteinberg)));
        c->chkSharpen->setChecked(true);
        slider = c->sldBrightness;
    }
    int i = 0;
    for (auto _ : state) {
        slider->setValue(state.range(0) == 1 ? -64 + (i++ % 128) : 64 + (i++ % 128));
        QApplication::processEvents();
    }
    state.SetLabel(state.range(0) == 1 ? "colour, brightness" : "black and white, threshold");
}

// One step of framing (state.range(0): 0 a move by a dot, 1 a scale by 1.25, alternately in
// and out) of a 12-megapixel photo on a 48 x 48 canvas at x12, with the conversion window
// open: the underlay placed anew, the dots converted from it, the canvas redrawn.
void BM_FramingStep(benchmark::State &state)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath("photo12.jpg");
    if (!QFileInfo::exists(path))
        shadedPicture().scaled(4000, 3000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(path, "JPEG", 90);
    frmMain w;
    w.show();
    prepare(w, 48, 12, false);
    w.openFromCommandLine(path);
    while (w.underlayLoading()->busy())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    run(w, CommandList::Convert);
    frmConvert *convert = w.convertWindow();
    if (!convert) {
        state.SkipWithError("the conversion window did not open");
        return;
    }
    convert->zoomBy(2.0);
    int i = 0;
    for (auto _ : state) {
        if (state.range(0) == 0)
            convert->moveBy(QPointF(i++ % 2 ? 1 : -1, 0));
        else
            convert->zoomBy(i++ % 2 ? frmConvert::kZoomStep : 1 / frmConvert::kZoomStep);
        QApplication::processEvents();
    }
    convert->reject();
}

// A 12-megapixel baseline JPEG fitted to a 48 x 48 canvas at x12 and turned into dots, from
// the file: decoding (reduced by libjpeg as it goes), placing, averaging, Otsu. The photo is
// the file GRIDGLYPH_PHOTO names (bench/peers.sh makes one and times other converters on
// it), else one made here.
void BM_FitAndConvertPhoto(benchmark::State &state)
{
    QString path = qEnvironmentVariable("GRIDGLYPH_PHOTO");
    static QTemporaryDir dir;
    if (path.isEmpty()) {
        path = dir.filePath("photo.jpg");
        if (!QFileInfo::exists(path))
            shadedPicture().scaled(4000, 3000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(path, "JPEG", 90);
    }
    for (auto _ : state) {
        Underlay underlay;
        underlay.take(OpenPicture(path, QSize(kLargestCanvas, kLargestCanvas)));
        Conversion conversion;
        benchmark::DoNotOptimize(conversion.run(underlay, QSize(48, 48), 12, ConvertSettings{}));
    }
}

// Reading a picture for the underlay as the window does, opened, weighed and decoded for
// every canvas: PNG, JPEG and BMP of a photo-like picture, `side` x `side` pixels. Up to
// the size that reads within a few milliseconds the window reads a picture at once; larger
// ones go to a worker thread.
void BM_ReadUnderlay(benchmark::State &state)
{
    static const char *const formats[] = {"PNG", "JPEG", "BMP"};
    const int side = int(state.range(1));
    const QByteArray bytes = pictureFiles::encodedImage(
        shadedPicture().scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), formats[state.range(0)]);
    const PictureRequest request = pictureFromData(bytes, QSize(kLargestCanvas, kLargestCanvas));
    for (auto _ : state)
        benchmark::DoNotOptimize(request.open(std::make_shared<DecodeWork>()));
    state.SetLabel(std::string(formats[state.range(0)]) + (request.quick ? ", at once" : ", on a worker"));
}

// The window's answer to a click on the canvas (press and release, the dot painted and
// shown) while a 64-megapixel PNG is decoded on the worker thread. When a decoding ends
// before the clicks do, the next one starts.
void BM_ClickDuringDecode(benchmark::State &state)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath("64mp.png");
    if (!QFileInfo::exists(path))
        pictureFiles::write(path, pictureFiles::encodedImage(
                                      shadedPicture().scaled(8000, 8000, Qt::IgnoreAspectRatio, Qt::FastTransformation), "PNG", 1));
    frmMain w;
    w.show();
    prepare(w, 48, 12, false);
    int decodings = 0, during = 0, i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!w.underlayLoading()->busy()) {
            w.openFromCommandLine(path);
            ++decodings;
        }
        const QPointF at(5 + 12 * (i++ % 48), 17);
        state.ResumeTiming();
        QMouseEvent press(QEvent::MouseButtonPress, at, w.picDot->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(w.picDot, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, w.picDot->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(w.picDot, &release);
        QApplication::processEvents();
        during += w.underlayLoading()->busy();
    }
    state.counters["decodings"] = decodings;
    state.counters["clicks_while_decoding"] = during;
}

// The recovery copy of a 99 x 99 picture: what the window spends on it (the picture's text
// made and handed to the worker), and what the worker spends writing it whole to the disk.
QImage checkered99()
{
    QImage picture = dots::white(QSize(99, 99));
    for (int i = 0; i < 99 * 99; i += 3)
        dots::set(picture, i % 99, i / 99, true);
    return picture;
}

void BM_RecoveryCopyWindowPart(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QImage picture = checkered99();
    Recovery recovery(dir.path(), [&picture] { return picture; });
    for (auto _ : state) {
        recovery.writeNow();
        state.PauseTiming();
        recovery.waitForWrites();
        state.ResumeTiming();
    }
}

void BM_RecoveryCopyWrite(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QByteArray bytes = pictureText(checkered99()).toUtf8();
    const QString path = dir.filePath("copy.txt");
    for (auto _ : state)
        benchmark::DoNotOptimize(writeWhole(path, bytes, path));
    state.counters["bytes"] = double(bytes.size());
}

// The posting window's counts for a 99 x 99 picture's text, every service.
void BM_CountBudgets(benchmark::State &state)
{
    const QString text = postText(dots::white(QSize(99, 99)), PostOptions{});
    for (auto _ : state)
        benchmark::DoNotOptimize(countBudgets(text, 99));
}

// A 99 x 99 text read back into dots.
void BM_ReadText(benchmark::State &state)
{
    QImage picture = dots::white(QSize(99, 99));
    for (int i = 0; i < 99 * 99; i += 3)
        dots::set(picture, i % 99, i / 99, true);
    const QString text = postText(picture, PostOptions{});
    for (auto _ : state)
        benchmark::DoNotOptimize(readDotText(text, builtInPairs(), 99));
}

// Loading (or refusing) each of the large and hostile files the bad-input tests use. Each
// file is made the first time its benchmark runs, not when another one is asked for.
void registerLoads(const QTemporaryDir &dir)
{
    for (const pictureFiles::CorpusFile &file : pictureFiles::largeAndHostileFiles()) {
        const QString path = dir.filePath(QString::fromLatin1(file.name));
        const auto load = [file, path](benchmark::State &state) {
            if (!QFileInfo::exists(path)) {
                if (file.sparseSize > 0)
                    pictureFiles::writeSparse(path, file.make(), file.sparseSize);
                else
                    pictureFiles::write(path, file.make());
            }
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
BENCHMARK(BM_KeyboardMoveAndPaint)->Arg(16)->Arg(48)->Arg(99);
BENCHMARK(BM_Transform)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintCanvas)->Arg(100)->Arg(150)->Arg(125)->Arg(175)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ThresholdSlider)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FramingStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitAndConvertPhoto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountBudgets)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadUnderlay)->ArgsProduct({{0, 1, 2}, {362, 512, 724, 1024, 2048}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoveryCopyWindowPart)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoveryCopyWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClickDuringDecode)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_ReadText)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // The windows made here keep their recovery copies under ~/.qttest, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QTemporaryDir dir;
    registerLoads(dir);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
