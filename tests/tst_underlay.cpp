// Tracing: the underlay toggle, loading a picture into the holder, and the canvas over it.
#include "support.h"
#include "pictureFiles.h"

#include "commandLine.h"
#include "convert/areaAverages.h"
#include "convert/cellAverages.h"
#include "convert/colours.h"
#include "convert/conversion.h"
#include "convert/underlay.h"
#include "convert/frmConvert.h"
#include "convert/threshold.h"
#include "editing/frmPalette.h"
#include "commands/commandList.h"
#include "dotImage.h"
#include "keeping/savedPicture.h"
#include "toolkit/Contrast.h"
#include "offers/pictureOffer.h"
#include "pictures/BmpTopLeft.h"
#include "toolkit/CommonDialog.h"
#include "offers/Offers.h"
#include "pictures/DecodeBudget.h"
#include "pictures/PictureFile.h"
#include "pictures/PictureJob.h"
#include "pictures/PictureLoader.h"

#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QProcess>
#include <QThread>
#include <QMimeData>
#include <QFileDialog>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QAction>
#include <QWheelEvent>
#include <QDialogButtonBox>
#include <QtTest>

namespace {

// A drop's data that counts what is asked of the drag source.
class CountingMimeData : public QMimeData
{
public:
    mutable int fetched = 0;

protected:
    QVariant retrieveData(const QString &type, QMetaType meta) const override
    {
        ++fetched;
        return QMimeData::retrieveData(type, meta);
    }
};

// A clipboard owner that offers `types` and answers, or does not, as told.
class ScriptedOffer : public OfferSource
{
public:
    std::optional<QStringList> offered;
    std::map<QString, Fetched> answers;
    QStringList asked;
    std::optional<QStringList> types() override { return offered; }
    Fetched fetch(const QString &type) override
    {
        asked << type;
        return answers.count(type) ? answers[type] : Fetched{};
    }
};

// The colour of the block of `scale` pixels at block (x, y), from its middle.
QRgb blockColour(const QImage &image, int x, int y, int scale)
{
    return image.pixel(x * scale + scale / 2, y * scale + scale / 2);
}

bool near(QRgb a, QRgb b, int tolerance = 24)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
           && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

} // namespace

class tst_underlay : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void bmpJpegAndGifLieUnscaledUnderTheCanvas_data();
    void bmpJpegAndGifLieUnscaledUnderTheCanvas();
    void dialogStartsInTheCurrentFolderEachTime();
    void switchingOffNeverAsksAndKeepsThePicture();
    void cancelKeepsTogglePictureAndCanvas();
    void firstSwitchOnCancelledShowsHolderBackground();
    void unreadableFileIsReportedAndLosesNothing();
    void droppedAndPastedImagesBecomeTheUnderlay();
    void structuredPicturesLoadTheRightWayRound_data();
    void structuredPicturesLoadTheRightWayRound();
    void transparentAndLargePicturesKeepTheirEdges();
    void croppedBmpKeepsTheTopLeftRows();
    void jpegsAreTurnedAsTheirCamerasSay_data();
    void jpegsAreTurnedAsTheirCamerasSay();
    void dropsAndPastesOfEveryKind();
    void ownersThatDoNotAnswerCostOneMessage();
    void averagesThresholdsAndDithers();
    void coloursTakeTheNearestSquareAndDitherInOklab();
    void averagesCoverExactlyTheirArea();
    void brightnessContrastAndSharpening();
    void theConversionWindowKeepsItsSettings();
    void fittedAndFilledUnderlaysFollowEveryRedraw();
    void aDiskPictureConvertsToARoundDisk();
    void commandLinePictureOpensAsTheUnderlay();
    void aPictureTooLargeToReduceLiesAsLoaded();
    void automaticThresholdSplitsThePictureNotItsMargins();
    void convertingAsLoadedFollowsTheMagnification();
    void theCommandLineConvertsAsCtrlTDoes();
    void largePicturesAreReadWhileTheWindowAnswers();
    void framingMovesAndScalesBySteps();
    void framingThroughTheWindowIsKept();
    void conversionSettingsKeptAndReadBackWithinTheirRanges();
    void aWeakUnderlayLeavesBlackDotsToBeSeen();
    void selectionOwnersOnARealServer_data();
    void selectionOwnersOnARealServer();

private:
    // Clicks the toggle with the dialog answering `answer` (nothing: cancel).
    void toggle(std::optional<QString> answer);
    // Loads a blue picture of `side` x `side` pixels, then switches the underlay off.
    void loadBlueThenSwitchOff(int side);

    frmMain *w = nullptr;
    MessageLog *log = nullptr;
    QTemporaryDir *dir = nullptr;
    int dialogs = 0;
    QString dialogFolder;
};

void tst_underlay::init()
{
    forgetSettings();
    log = new MessageLog;
    dir = new QTemporaryDir;
    w = new frmMain;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    dialogs = 0;
}

void tst_underlay::cleanup()
{
    setFileDialogRunner(nullptr);
    delete w;
    delete dir;
    delete log;
}

void tst_underlay::toggle(std::optional<QString> answer)
{
    setFileDialogRunner([this, answer](QFileDialog &d, const OPENFILENAME &) {
        ++dialogs;
        dialogFolder = d.directory().absolutePath();
        return answer;
    });
    QTest::mouseClick(w->chkTrace, Qt::LeftButton);
}

void tst_underlay::loadBlueThenSwitchOff(int side)
{
    const QString path = dir->filePath("blue.bmp");
    const QRgb blue = qRgb(0, 0, 0xFF);
    QVERIFY(pictureFiles::write(path, pictureFiles::encoded("BMP", side, side, blue, blue)));
    toggle(path);
    QCOMPARE(w->picDot->point(5, 5), 0x0000FF);
    toggle(std::nullopt);
}

void tst_underlay::bmpJpegAndGifLieUnscaledUnderTheCanvas_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    const QRgb green = qRgb(0, 0x80, 0), red = qRgb(0xFF, 0, 0);
    QTest::newRow("bmp") << "u.bmp" << pictureFiles::encoded("BMP", 30, 20, green, red);
    QTest::newRow("jpeg named .jpg") << "u.jpg" << pictureFiles::encoded("JPEG", 30, 20, green, green);
    std::vector<int> pixels(30 * 20, 1);
    pixels[0] = 2;
    QTest::newRow("gif") << "u.gif" << pictureFiles::gif(30, 20, {0, green, red}, pixels);
    QTest::newRow("png, beyond the three") << "u.png" << pictureFiles::encoded("PNG", 30, 20, green, red);
}

void tst_underlay::bmpJpegAndGifLieUnscaledUnderTheCanvas()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QString path = dir->filePath(name);
    QVERIFY(pictureFiles::write(path, bytes));
    w->DotDraw(1, 5, 5);
    toggle(path);
    QVERIFY(log->messages.isEmpty());
    QVERIFY(w->chkTrace->isChecked());
    // Lossy JPEG may shift a colour slightly; the others are exact.
    const auto near = [](Color got, Color want) {
        const QColor a = QColor::fromRgb(QRgb(got)), b = QColor::fromRgb(QRgb(want));
        return qAbs(a.red() - b.red()) < 8 && qAbs(a.green() - b.green()) < 8 && qAbs(a.blue() - b.blue()) < 8;
    };
    // Inside the picture, outside black interiors and grid lines: the picture.
    QVERIFY(near(w->picDot->point(13, 13), 0x008000));
    QVERIFY(near(w->picDot->point(29, 19), 0x008000));
    // Beyond its 30 x 20 pixels: the holder's background.
    QCOMPARE(w->picDot->point(31, 13), kWhite);
    QCOMPARE(w->picDot->point(13, 21), kWhite);
    // The black dot and the grid stay on top.
    QCOMPARE(w->picDot->point(5, 5), kBlack);
    QCOMPARE(w->picDot->point(12, 15), 0xC0C0C0);
    QCOMPARE(w->picTrace->scaleWidth(), w->picDot->scaleWidth());
}

void tst_underlay::dialogStartsInTheCurrentFolderEachTime()
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir->path());
    toggle(std::nullopt);
    QCOMPARE(dialogFolder, QDir(dir->path()).absolutePath());
    toggle(std::nullopt); // off: no dialog
    QDir::setCurrent(QDir::tempPath());
    toggle(std::nullopt);
    QCOMPARE(dialogs, 2);
    QCOMPARE(dialogFolder, QDir(QDir::tempPath()).absolutePath());
    QDir::setCurrent(before);
}

void tst_underlay::switchingOffNeverAsksAndKeepsThePicture()
{
    loadBlueThenSwitchOff(50);
    QCOMPARE(dialogs, 1);
    QVERIFY(!w->chkTrace->isChecked());
    QCOMPARE(w->picDot->point(5, 5), kWhite);
    // Right-button painting is plain white while the toggle is off.
    w->DotDraw(2, 5, 5);
    QCOMPARE(w->picDot->point(5, 5), kWhite);
    QCOMPARE(w->picTrace->point(5, 5), 0x0000FF);
}

void tst_underlay::cancelKeepsTogglePictureAndCanvas()
{
    loadBlueThenSwitchOff(60);
    const QImage canvas = w->picDot->image().copy();
    toggle(std::nullopt); // on again, and cancelled
    QCOMPARE(dialogs, 2);
    QVERIFY(w->chkTrace->isChecked());
    QCOMPARE(w->picDot->image(), canvas); // not rebuilt
    // White painting uncovers the previous picture at once, and the next rebuild shows it.
    w->DotDraw(2, 5, 5);
    QCOMPARE(w->picDot->point(5, 5), 0x0000FF);
    QCOMPARE(w->picDot->point(17, 5), kWhite);
    w->Draw();
    QCOMPARE(w->picDot->point(17, 5), 0x0000FF);
}

void tst_underlay::firstSwitchOnCancelledShowsHolderBackground()
{
    toggle(std::nullopt);
    QVERIFY(w->chkTrace->isChecked());
    // The holder is still its small layout size; blocks beyond it read as its background.
    w->DotDraw(1, 303, 303);
    w->DotDraw(2, 303, 303);
    QCOMPARE(w->picDot->point(303, 303), kWhite);
    w->Draw();
    QCOMPARE(w->picDot->point(5, 5), kWhite);
    QCOMPARE(w->picDot->point(0, 5), 0xC0C0C0);
}

void tst_underlay::unreadableFileIsReportedAndLosesNothing()
{
    loadBlueThenSwitchOff(40);
    w->DotDraw(1, 30, 30);
    const QString bad = dir->filePath("写真 bad.bmp");
    QVERIFY(pictureFiles::write(bad, "this is text, not a picture"));
    toggle(bad);
    QCOMPARE(log->messages.size(), 1);
    QVERIFY(log->messages[0].contains(QDir::toNativeSeparators(bad)));
    QVERIFY(w->chkTrace->isChecked());
    QCOMPARE(blackDots(*w), QStringList{"2,2"});
    // Rebuilt with the picture the holder kept.
    QCOMPARE(w->picDot->point(5, 5), 0x0000FF);
}

void tst_underlay::droppedAndPastedImagesBecomeTheUnderlay()
{
    // As the window system delivers a drop: entering over the canvas, dropped on the window.
    const auto drop = [this](QMimeData *data) {
        QDragEnterEvent enter(QPoint(150, 150), Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(w->picDot, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(238, 158), Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(w, &dropped);
        return true;
    };
    const QString bmp = dir->filePath("dropped.bmp"), text = dir->filePath("notes.txt");
    QVERIFY(pictureFiles::write(bmp, pictureFiles::encoded("BMP", 40, 40, qRgb(0, 0, 0xFF), qRgb(0, 0, 0xFF))));
    QVERIFY(pictureFiles::write(text, "not a picture"));
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(bmp)});
    QVERIFY(drop(&file));
    QVERIFY(w->chkTrace->isChecked());
    QCOMPARE(w->picDot->point(5, 5), 0x0000FF);

    // A file that is no picture: the one message, and the underlay stays.
    QMimeData notPicture;
    notPicture.setUrls({QUrl::fromLocalFile(text)});
    QVERIFY(drop(&notPicture));
    QCOMPARE(log->messages.size(), 1);
    QVERIFY(log->messages[0].contains(QDir::toNativeSeparators(text)));
    QCOMPARE(w->picDot->point(5, 5), 0x0000FF);
    // Text is welcome, since it may be a picture's text; other words change nothing, and
    // say so once.
    QMimeData words;
    words.setText(QStringLiteral("a few words"));
    QVERIFY(drop(&words));
    QCOMPARE(w->picDot->point(5, 5), 0x0000FF);
    QCOMPARE(log->messages.size(), 2);
    QVERIFY2(log->messages[1].startsWith(QStringLiteral("ドラッグ元のテキストは絵の文字")), qPrintable(log->messages[1]));

    // Pasted: an image on the clipboard is the underlay, text on it is nothing at all.
    QImage red(30, 30, QImage::Format_RGB32);
    red.fill(qRgb(0xFF, 0, 0));
    QApplication::clipboard()->setImage(red);
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->picDot->setFocus();
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->picDot->point(5, 5), 0xFF0000);
    QApplication::clipboard()->setText(QStringLiteral("text"));
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->picDot->point(5, 5), 0xFF0000);
    QCOMPARE(log->messages.size(), 3);
    QVERIFY2(log->messages[2].startsWith(QStringLiteral("クリップボードのテキストは絵の文字")), qPrintable(log->messages[2]));
}

void tst_underlay::structuredPicturesLoadTheRightWayRound_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("scale");
    const QImage marked = pictureFiles::markedPicture();
    QTest::newRow("bmp, odd width (rows padded)") << pictureFiles::encodedImage(marked, "BMP") << 1;
    QTest::newRow("bmp stored top down") << pictureFiles::topDownBmp(marked) << 1;
    QTest::newRow("png") << pictureFiles::encodedImage(marked, "PNG") << 1;
    QTest::newRow("gif") << pictureFiles::markedGif() << 1;
    QTest::newRow("jpeg (lossy: blocks of 16)") << pictureFiles::encodedImage(pictureFiles::markedPicture(37, 23, 16), "JPEG", 95) << 16;
    QTest::newRow("jpeg behind 60 KB of metadata")
        << pictureFiles::withSegments(pictureFiles::encodedImage(pictureFiles::markedPicture(37, 23, 16), "JPEG", 95),
                                      pictureFiles::jpegSegment(0xE1, QByteArray(60000, 'x')) + pictureFiles::comments(200000))
        << 16;
}

void tst_underlay::structuredPicturesLoadTheRightWayRound()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, scale);
    const QImage marked = pictureFiles::markedPicture();
    const LoadedPicture loaded = LoadPictureData(bytes, QSize(kLargestCanvas, kLargestCanvas));
    QCOMPARE(loaded.trouble, LoadTrouble::None);
    QCOMPARE(loaded.image.size(), marked.size() * scale);
    QCOMPARE(loaded.whole.size(), loaded.image.size());
    for (const QImage &image : {loaded.image, loaded.whole})
        for (int y = 0; y < marked.height(); ++y)
            for (int x = 0; x < marked.width(); ++x)
                QVERIFY2(near(blockColour(image, x, y, scale), marked.pixel(x, y), scale == 1 ? 0 : 24),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
}

void tst_underlay::transparentAndLargePicturesKeepTheirEdges()
{
    // Transparent parts lie over white, whether the file says so by a palette entry (tRNS)
    // or by an alpha channel; the transparent colour itself is black.
    QImage palette(8, 8, QImage::Format_Indexed8);
    palette.setColorTable({qRgba(0, 0, 0, 0), qRgb(255, 0, 0)});
    palette.fill(0);
    palette.setPixel(0, 0, 1);
    QImage alpha(8, 8, QImage::Format_ARGB32);
    alpha.fill(qRgba(0, 0, 0, 0));
    alpha.setPixel(0, 0, qRgb(255, 0, 0));
    for (const QImage &image : {palette, alpha}) {
        const LoadedPicture loaded = LoadPictureData(pictureFiles::encodedImage(image, "PNG"), QSize(kLargestCanvas, kLargestCanvas));
        QCOMPARE(loaded.whole.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(loaded.whole.pixel(5, 5), qRgb(255, 255, 255));
        QCOMPARE(qAlpha(loaded.image.pixel(5, 5)), 0);
    }
    // A picture reduced while it is read: its last column, a block narrower than the rest,
    // keeps its colour.
    QImage large(2401, 2401, QImage::Format_RGB32);
    large.fill(Qt::white);
    for (int y = 0; y < large.height(); ++y)
        large.setPixel(2400, y, qRgb(255, 0, 0));
    const LoadedPicture reduced = LoadPictureData(pictureFiles::encodedImage(large, "PNG"), QSize(kLargestCanvas, kLargestCanvas));
    QCOMPARE(reduced.whole.size(), QSize(1188, 1188));
    const QRgb edge = reduced.whole.pixel(1187, 600);
    QVERIFY2(qRed(edge) > 200 && qGreen(edge) < 160, qPrintable(QString::number(edge, 16)));
}

void tst_underlay::croppedBmpKeepsTheTopLeftRows()
{
    const QImage marked = pictureFiles::markedPicture();
    for (const QByteArray &file : {pictureFiles::encodedImage(marked, "BMP"), pictureFiles::topDownBmp(marked)}) {
        QByteArray bytes = file;
        QBuffer device(&bytes);
        device.open(QIODevice::ReadOnly);
        QCOMPARE(bmpSize(&device), std::optional<QSize>(marked.size()));
        const std::optional<QByteArray> cropped = croppedBmp(&device, QSize(20, 22));
        QVERIFY(cropped);
        QCOMPARE(device.pos(), 0);
        const QImage kept = QImage::fromData(*cropped, "BMP").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(kept, marked.copy(0, 0, 20, 22));
    }
}

void tst_underlay::jpegsAreTurnedAsTheirCamerasSay_data()
{
    QTest::addColumn<int>("orientation");
    for (int o = 1; o <= 8; ++o)
        QTest::addRow("orientation %d", o) << o;
}

void tst_underlay::jpegsAreTurnedAsTheirCamerasSay()
{
    QFETCH(int, orientation);
    const int scale = 16;
    const QImage marked = pictureFiles::markedPicture(5, 3);
    // What each orientation asks a viewer to do to the stored picture.
    QImage shown = marked;
    switch (orientation) {
    case 2: shown = marked.mirrored(true, false); break;
    case 3: shown = marked.mirrored(true, true); break;
    case 4: shown = marked.mirrored(false, true); break;
    case 5: shown = marked.transformed(QTransform().rotate(90)).mirrored(true, false); break;
    case 6: shown = marked.transformed(QTransform().rotate(90)); break;
    case 7: shown = marked.transformed(QTransform().rotate(90)).mirrored(false, true); break;
    case 8: shown = marked.transformed(QTransform().rotate(-90)); break;
    default: break;
    }
    const QByteArray file = pictureFiles::withSegments(
        pictureFiles::encodedImage(pictureFiles::markedPicture(5, 3, scale), "JPEG", 95),
        pictureFiles::exifOrientation(orientation));
    const LoadedPicture whole = LoadPictureData(file, QSize(kLargestCanvas, kLargestCanvas));
    QCOMPARE(whole.declared, shown.size() * scale);
    // The top-left part of the picture as shown, decoded from whichever corner it is stored in.
    const LoadedPicture part = LoadPictureData(file, QSize(2 * scale, 2 * scale));
    QCOMPARE(part.image.size(), QSize(2 * scale, 2 * scale));
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            QVERIFY2(near(blockColour(whole.image, x, y, scale), shown.pixel(x, y)), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            if (x < 2 && y < 2)
                QVERIFY(near(blockColour(part.image, x, y, scale), shown.pixel(x, y)));
        }
}

void tst_underlay::dropsAndPastesOfEveryKind()
{
    const auto drop = [this](QMimeData *data) {
        QDragEnterEvent enter(QPoint(150, 150), Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(w->picDot, &enter);
        QDragMoveEvent move(QPoint(160, 150), Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(w, &move);
        QDropEvent dropped(QPointF(238, 158), Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(w, &dropped);
        return enter.isAccepted();
    };
    const QString bmp = dir->filePath("local.bmp");
    QVERIFY(pictureFiles::write(bmp, pictureFiles::encodedImage(pictureFiles::markedPicture(), "BMP")));
    // A remote file first, then a local one: the local one is taken, the remote never fetched.
    CountingMimeData files;
    files.setUrls({QUrl("https://example.org/far.png"), QUrl::fromLocalFile(bmp)});
    files.fetched = 0;
    QDragEnterEvent enter(QPoint(150, 150), Qt::CopyAction, &files, Qt::LeftButton, {});
    QApplication::sendEvent(w->picDot, &enter);
    QVERIFY(enter.isAccepted());
    QCOMPARE(files.fetched, 0); // hovering asks the drag source nothing
    QVERIFY(drop(&files));
    QVERIFY(w->chkTrace->isChecked());
    QCOMPARE(w->picTrace->point(0, 5), 0x00FF00); // the left column is green
    QCOMPARE(w->picTrace->point(36, 5), 0xFF0000); // the right one red
    // Raw bytes of an image type.
    CountingMimeData bytes;
    bytes.setData("image/png", pictureFiles::encodedImage(pictureFiles::markedPicture(37, 23, 2), "PNG"));
    QVERIFY(drop(&bytes));
    QCOMPARE(w->picTrace->point(36, 5), kWhite);
    QCOMPARE(w->picTrace->point(73, 5), 0xFF0000);
    // Remote files alone: nothing, and nothing said.
    QMimeData remote;
    remote.setUrls({QUrl("https://example.org/far.png")});
    QVERIFY(drop(&remote));
    QCOMPARE(w->picTrace->point(73, 5), 0xFF0000);
    // A picture type the program does not read.
    QMimeData webp;
    webp.setData("image/webp", QByteArray("RIFF....WEBP"));
    QVERIFY(drop(&webp));
    QCOMPARE(log->messages.size(), 1);
    QVERIFY(log->messages[0].contains("image/webp"));
}

void tst_underlay::ownersThatDoNotAnswerCostOneMessage()
{
    const QSize shown(kLargestCanvas, kLargestCanvas);
    const auto none = [](const QString &) { return false; };
    ScriptedOffer silent; // the type list never came
    TakenOffer taken = takeOffer(silent, shown, "x", "y", none);
    QCOMPARE(taken.kind, TakenOffer::Message);
    QVERIFY(taken.message.contains(QStringLiteral("応答しませんでした")));
    QVERIFY(silent.asked.isEmpty());

    // The list came, the data did not: asked once, then a message, nothing else asked.
    ScriptedOffer stalled;
    stalled.offered = QStringList{"image/png", "text/uri-list"};
    stalled.answers["image/png"] = {OfferSource::Status::NoAnswer, {}};
    taken = takeOffer(stalled, shown, "x", "y", none);
    QCOMPARE(taken.kind, TakenOffer::Message);
    QCOMPARE(stalled.asked, QStringList{"image/png"});
    ScriptedOffer huge;
    huge.offered = QStringList{"image/bmp"};
    huge.answers["image/bmp"] = {OfferSource::Status::TooLarge, {}};
    QVERIFY(takeOffer(huge, shown, "x", "y", none).message.contains(QStringLiteral("大きすぎる")));

    // Text comes first and, when it is taken, is all that is asked for.
    ScriptedOffer both;
    both.offered = QStringList{"image/png", "UTF8_STRING", "TARGETS"};
    both.answers["UTF8_STRING"] = {OfferSource::Status::Ok, QByteArray("■")};
    QCOMPARE(takeOffer(both, shown, "x", "y", [](const QString &t) { return t == QStringLiteral("■"); }).kind, TakenOffer::TextUsed);
    QCOMPARE(both.asked, QStringList{"UTF8_STRING"});
    QVERIFY(offersSomething({"UTF8_STRING"}) && offersSomething({"text/uri-list"}) && offersSomething({"image/x-foo"}));
    QVERIFY(!offersSomething({"TARGETS", "application/x-thing"}));
}

void tst_underlay::averagesThresholdsAndDithers()
{
    // Cells of 2 x 2, each of its own tone (one half black), and a ragged edge of one column
    // and one row: no cell takes a sample of its neighbour's, and a part cell is its own mean.
    QImage samples(5, 5, QImage::Format_RGB32);
    const auto paint = [&](QRect r, int grey) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                samples.setPixel(x, y, qRgb(grey, grey, grey));
    };
    paint(QRect(0, 0, 2, 2), 255), paint(QRect(2, 0, 2, 2), 200), paint(QRect(0, 2, 2, 2), 0);
    paint(QRect(2, 2, 2, 2), 255), paint(QRect(4, 2, 1, 2), 77), paint(QRect(0, 4, 2, 1), 50);
    paint(QRect(2, 4, 2, 1), 255);
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 1), QPoint(4, 0), QPoint(4, 4)})
        samples.setPixel(p, qRgb(0, 0, 0));
    samples.setPixel(4, 1, qRgb(255, 255, 255));
    QCOMPARE(cellAverages(samples, QSize(3, 3), 2), (std::vector<quint8>{128, 200, 128, 0, 255, 77, 50, 255, 0}));

    // Otsu splits two tones between them.
    std::vector<quint8> tones(100, 30);
    tones.resize(160, 200);
    const int t = otsuThreshold(tones);
    QVERIFY2(t > 30 && t <= 200, qPrintable(QString::number(t)));
    QCOMPARE(otsuThreshold(std::vector<quint8>(10, 77)), 128);

    // A 50 % grey: half the dots black under each dither, none or all without one.
    const QSize size(16, 16);
    const std::vector<quint8> grey(256, 128);
    const auto blacks = [&](const QImage &dots) {
        int n = 0;
        for (int y = 0; y < dots.height(); ++y)
            for (int x = 0; x < dots.width(); ++x)
                n += (dots.pixel(x, y) & 0xFFFFFF) == 0;
        return n;
    };
    QCOMPARE(blacks(dotsFrom(grey, size, 128, Dither::None, false)), 0);
    QCOMPARE(blacks(dotsFrom(grey, size, 129, Dither::None, false)), 256);
    for (Dither d : {Dither::FloydSteinberg, Dither::Atkinson, Dither::Bayer4})
        QCOMPARE(blacks(dotsFrom(grey, size, 128, d, false)), 128);
    // A quarter and three quarters grey: Floyd-Steinberg and Bayer give about that share of
    // black; Atkinson, which passes on only three quarters of the error, more contrast.
    const std::vector<quint8> dark(256, 64), light(256, 192);
    for (Dither d : {Dither::FloydSteinberg, Dither::Bayer4}) {
        QVERIFY(qAbs(blacks(dotsFrom(dark, size, 128, d, false)) - 192) <= 8);
        QVERIFY(qAbs(blacks(dotsFrom(light, size, 128, d, false)) - 64) <= 8);
    }
    QVERIFY(blacks(dotsFrom(dark, size, 128, Dither::Atkinson, false)) > 192 + 8);
    QVERIFY(blacks(dotsFrom(light, size, 128, Dither::Atkinson, false)) < 64 - 8);
    // Bayer's own 4 x 4 pattern, tiled: a light grey (three quarters white) blackens the dots
    // of its four highest entries.
    const QImage bayer = dotsFrom(std::vector<quint8>(64, 192), QSize(8, 8), 128, Dither::Bayer4, false);
    QCOMPARE(dotRows(bayer), (QStringList{"........", "#.#.#.#.", "........", "#.#.#.#.",
                                          "........", "#.#.#.#.", "........", "#.#.#.#."}));
    const QImage half = dotsFrom(std::vector<quint8>(16, 128), QSize(4, 4), 128, Dither::Bayer4, false);
    QCOMPARE(dotRows(half), (QStringList{".#.#", "#.#.", ".#.#", "#.#."}));
    QCOMPARE(dotRows(dotsFrom(std::vector<quint8>(16, 128), QSize(4, 4), 128, Dither::Bayer4, true)),
             (QStringList{"#.#.", ".#.#", "#.#.", ".#.#"}));
    // A threshold moved far keeps pure white white and pure black black, under every dither.
    for (Dither d : {Dither::None, Dither::FloydSteinberg, Dither::Atkinson, Dither::Bayer4}) {
        QCOMPARE(blacks(dotsFrom(std::vector<quint8>(256, 255), size, 250, d, false)), 0);
        QCOMPARE(blacks(dotsFrom(std::vector<quint8>(256, 0), size, 3, d, false)), 256);
    }
}

void tst_underlay::fittedAndFilledUnderlaysFollowEveryRedraw()
{
    // 200 x 100: its top row's halves red and green, blue at the bottom.
    const QString path = dir->filePath("wide.png");
    QVERIFY(pictureFiles::write(path, pictureFiles::encodedImage(pictureFiles::markedPicture(20, 10, 10), "PNG")));
    w->openFromCommandLine(path);
    QVERIFY(w->chkTrace->isChecked());
    QCOMPARE(w->picDot->point(5, 5), 0xFF0000); // as loaded: unscaled at the top left
    QCOMPARE(w->picDot->point(5, 101), kWhite);
    QTest::keyClick(w->picDot, Qt::Key_2, Qt::ControlModifier); // fitted: 384 x 192, centred
    QCOMPARE(placementOf(*w), Placement::Fitted);
    QCOMPARE(w->picDot->point(5, 95), kWhite);
    QVERIFY(near(QRgb(w->picDot->point(5, 105)) | 0xFF000000u, qRgb(255, 0, 0)));
    QVERIFY(near(QRgb(w->picDot->point(377, 280)) | 0xFF000000u, qRgb(0, 0, 255)));
    // White painting uncovers what a redraw shows.
    w->DotDraw(1, 377, 281);
    w->DotDraw(2, 377, 281);
    const QImage painted = w->picDot->image().copy();
    w->Draw();
    QCOMPARE(w->picDot->image(), painted);
    // It follows the magnification and the size.
    w->optSize[5]->click();
    QVERIFY(near(QRgb(w->picDot->point(5, 53)) | 0xFF000000u, qRgb(255, 0, 0)));
    QCOMPARE(w->picDot->point(5, 47), kWhite);
    QTest::keyClick(w->picDot, Qt::Key_3, Qt::ControlModifier); // filled: 384 high, cut left and right
    QVERIFY(near(QRgb(w->picDot->point(5, 5)) | 0xFF000000u, qRgb(255, 0, 0)));
    QVERIFY(near(QRgb(w->picDot->point(185, 189)) | 0xFF000000u, qRgb(0, 0, 255)));
    QTest::keyClick(w->picDot, Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(w->picDot->point(5, 101), kWhite);
    QVERIFY(log->messages.isEmpty());
}

void tst_underlay::aDiskPictureConvertsToARoundDisk()
{
    // A black disk of radius 500 in the middle of 2000 x 1500, pasted as PNG bytes.
    QImage disk(2000, 1500, QImage::Format_RGB32);
    disk.fill(Qt::white);
    for (int y = 250; y < 1250; ++y) {
        const int half = int(std::sqrt(500.0 * 500.0 - (y + 0.5 - 750) * (y + 0.5 - 750)));
        std::fill_n(reinterpret_cast<QRgb *>(disk.scanLine(y)) + 1000 - half, 2 * half, qRgb(0, 0, 0));
    }
    auto *data = new QMimeData;
    data->setData("image/png", pictureFiles::encodedImage(disk, "PNG", 0));
    QApplication::clipboard()->setMimeData(data);
    w->DotDraw(1, 5, 5);
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(underlayRead(*w));
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    frmConvert *convert = w->convertWindow();
    QVERIFY(convert);
    QCOMPARE(convert->cboPlacement->currentIndex(), int(Placement::Fitted));
    QTest::keyClick(convert, Qt::Key_Return);
    QTRY_VERIFY(!w->convertWindow());
    // 16 dots across, in the middle; round, not square.
    const QStringList rows = dotRows(*w);
    QCOMPARE(rows[15], QString(8, '.') + QString(16, '#') + QString(8, '.'));
    QCOMPARE(rows[16], rows[15]);
    QCOMPARE(rows[8].count('#') + rows[23].count('#'), rows[8].count('#') * 2);
    QVERIFY(rows[8].count('#') < 10 && rows[8].count('#') > 0);
    QCOMPARE(rows[7].count('#') + rows[24].count('#'), 0);
    QCOMPARE(QString(rows[15]).remove('.').size(), 16);
    QCOMPARE(placementOf(*w), Placement::Fitted);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    // One step back and forth.
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(blackDots(*w), QStringList{"0,0"});
    QTest::keyClick(w->picDot, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), rows);

    // Escape: every change of the preview taken back, the placement too.
    QTest::keyClick(w->picDot, Qt::Key_1, Qt::ControlModifier);
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    convert = w->convertWindow();
    QVERIFY(convert);
    convert->cboDither->setCurrentIndex(int(Dither::Atkinson));
    convert->sldThreshold->setValue(250);
    QVERIFY(!convert->chkAutomatic->isChecked());
    QVERIFY(dotRows(*w) != rows);
    QTest::keyClick(convert, Qt::Key_Escape);
    QTRY_VERIFY(!w->convertWindow());
    QCOMPARE(dotRows(*w), rows);
    QCOMPARE(placementOf(*w), Placement::AsLoaded);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(blackDots(*w), QStringList{"0,0"});
    QVERIFY(log->messages.isEmpty());
}

void tst_underlay::commandLinePictureOpensAsTheUnderlay()
{
    // Read before any window: the answers and the exit status.
    CommandLine c = parseCommandLine({"gridglyph", "--version"}, false);
    QCOMPARE(std::make_tuple(int(c.action), c.output, c.exitCode), std::make_tuple(1, QStringLiteral("GRIDGLYPH 1.10\n"), 0));
    c = parseCommandLine({"gridglyph", "-h"}, false);
    QVERIFY(c.output.startsWith("Usage: gridglyph") && !c.toStandardError && c.exitCode == 0);
    QVERIFY(parseCommandLine({"gridglyph", "--help"}, true).output.startsWith(QStringLiteral("使い方")));
    for (const QStringList &bad : {QStringList{"gridglyph", "--bogus"}, QStringList{"gridglyph", "a.png", "b.png"},
                                   QStringList{"gridglyph", "-platform", "xcb"}}) {
        c = parseCommandLine(bad, false);
        QVERIFY(c.toStandardError && c.exitCode == 2 && c.output.contains("Usage:"));
    }
    QCOMPARE(parseCommandLine({"gridglyph"}, false).action, CommandLine::Run);
    QCOMPARE(parseCommandLine({"gridglyph", "--", "-odd name.png"}, false).file, QStringLiteral("-odd name.png"));

    const QString path = dir->filePath("named.gif");
    QVERIFY(pictureFiles::write(path, pictureFiles::markedGif()));
    w->openFromCommandLine(parseCommandLine({"gridglyph", path}, false).file);
    QVERIFY(w->chkTrace->isChecked());
    QCOMPARE(w->picTrace->point(0, 5), 0x00FF00);
    // Missing: the usual message, and the program goes on as it was.
    w->openFromCommandLine(dir->filePath("missing.png"));
    QCOMPARE(log->messages.size(), 1);
    QVERIFY(log->messages[0].contains("missing.png"));
    QCOMPARE(w->picTrace->point(0, 5), 0x00FF00);
}

void tst_underlay::aPictureTooLargeToReduceLiesAsLoaded()
{
    // 30000 x 30000: its top rows are read, the whole of it never.
    const QString path = dir->filePath("huge.png");
    QVERIFY(pictureFiles::write(path, pictureFiles::png(30000, 30000, 0, 1)));
    w->openFromCommandLine(path);
    QVERIFY(underlayRead(*w));
    QVERIFY(log->messages.isEmpty());
    QCOMPARE(w->picDot->point(5, 5), kBlack);
    QTest::keyClick(w->picDot, Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(log->messages.size(), 1);
    QVERIFY(log->messages[0].contains(QStringLiteral("全体を縮めて置くことができません")));
    QCOMPARE(placementOf(*w), Placement::Fitted); // kept for the next picture
    QCOMPARE(w->picDot->point(5, 5), kBlack);     // this one lies as loaded
    // Converting it: as loaded, the only way it can lie.
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(w->convertWindow());
    QCOMPARE(w->convertWindow()->cboPlacement->currentIndex(), int(Placement::AsLoaded));
    QTest::keyClick(w->convertWindow(), Qt::Key_Return);
    QTRY_VERIFY(!w->convertWindow());
    QCOMPARE(blackDots(*w).size(), 32 * 32);
}

void tst_underlay::automaticThresholdSplitsThePictureNotItsMargins()
{
    // Two dark tones side by side, fitted with white margins above and below: the threshold
    // falls between the two tones, not between the picture and its margins.
    QImage tones(200, 100, QImage::Format_RGB32);
    tones.fill(qRgb(120, 120, 120));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            tones.setPixel(x, y, qRgb(40, 40, 40));
    Underlay underlay;
    underlay.take(OpenPictureImage(tones, QSize(kLargestCanvas, kLargestCanvas)));
    Conversion conversion;
    const Conversion::Result r = conversion.run(underlay, QSize(8, 8), 12, ConvertSettings{});
    QVERIFY2(r.threshold > 40 && r.threshold <= 120, qPrintable(QString::number(r.threshold)));
    QCOMPARE(dotRows(r.dots), (QStringList{"........", "........", "####....", "####....",
                                           "####....", "####....", "........", "........"}));
}

void tst_underlay::convertingAsLoadedFollowsTheMagnification()
{
    // A black square of 60 pixels at the top left: at x12 five dots a side, at x6 ten.
    QImage square(200, 200, QImage::Format_RGB32);
    square.fill(Qt::white);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            square.setPixel(x, y, qRgb(0, 0, 0));
    const QString path = dir->filePath("square.bmp");
    QVERIFY(pictureFiles::write(path, pictureFiles::encodedImage(square, "BMP")));
    w->openFromCommandLine(path);
    for (int dotSize : {12, 6}) {
        w->optSize[size_t(dotSize - 1)]->click();
        run(*w, CommandList::Convert);
        frmConvert *convert = w->convertWindow();
        QVERIFY(convert);
        convert->cboPlacement->setCurrentIndex(int(Placement::AsLoaded));
        convert->chkInvert->setChecked(true);
        convert->accept();
        const int side = 60 / dotSize;
        // Inverted: the square white, everything else black.
        QCOMPARE(blackDots(*w).size(), 32 * 32 - side * side);
        QVERIFY(!w->document()->isBlack(side - 1, side - 1) && w->document()->isBlack(side, side - 1) && w->document()->isBlack(side - 1, side));
    }
}

void tst_underlay::theCommandLineConvertsAsCtrlTDoes()
{
    // A photo-like picture, wider than tall: a grey ramp behind a red disk and a blue bar,
    // with a dark frame at its edges, as a JPEG (the format most often converted), larger
    // than any canvas, so that it is decoded reduced, as photos are.
    QImage photo(2400, 1600, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x) {
            const bool frame = x < 40 || y < 40 || x >= 2360 || y >= 1560;
            const bool disk = (x - 800) * (x - 800) + (y - 800) * (y - 800) < 470 * 470;
            const bool bar = x >= 1660 && x < 2000 && y >= 260 && y < 1330;
            photo.setPixel(x, y, frame ? qRgb(20, 20, 20) : disk ? qRgb(200, 30, 30) : bar ? qRgb(30, 40, 180) : qRgb(x * 255 / 2400, x * 255 / 2400, 230));
        }
    const QString path = dir->filePath("photo.jpg");
    QVERIFY(pictureFiles::write(path, pictureFiles::encodedImage(photo, "JPEG", 92)));
    w->openFromCommandLine(path);
    QVERIFY(underlayRead(*w));

    // The same picture through the program's command line, with no display at all.
    const auto commandLine = [&](const QStringList &options, const QString &file = QString(), int *status = nullptr,
                                 QString *said = nullptr) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(GRIDGLYPH_PROGRAM),
                      QStringList{QStringLiteral("--text")} + options + QStringList{file.isEmpty() ? path : file});
        if (!program.waitForFinished(300000) || (!status && program.exitCode() != 0))
            return QString();
        if (status)
            *status = program.exitCode();
        if (said)
            *said = QString::fromUtf8(program.readAllStandardError());
        return QString::fromUtf8(program.readAllStandardOutput());
    };
    struct Case
    {
        QString width, height;
        QStringList options;
        Placement placement;
        Dither dither;
        bool invert;
        int threshold; // -1: automatic
    };
    const Case cases[] = {
        {"11", "11", {"--size", "11x11"}, Placement::Fitted, Dither::None, false, -1},
        {"48", "30", {"--size", "48x30", "--fill", "--dither", "atkinson", "--invert"}, Placement::Filled, Dither::Atkinson, true, -1},
        {"40", "27", {"--width", "40", "--dither", "ordered", "--threshold", "150"}, Placement::Fitted, Dither::Bayer4, false, 150},
        {"17", "23", {"--size", "17x23", "--dither", "floyd-steinberg"}, Placement::Fitted, Dither::FloydSteinberg, false, -1},
    };
    for (const Case &c : cases) {
        setSize(*w, c.width, c.height);
        run(*w, CommandList::Convert);
        frmConvert *convert = w->convertWindow();
        QVERIFY(convert);
        convert->cboPlacement->setCurrentIndex(int(c.placement));
        convert->cboDither->setCurrentIndex(int(c.dither));
        convert->chkInvert->setChecked(c.invert);
        // The window opens as the last conversion left it: the threshold chosen each time.
        convert->chkAutomatic->setChecked(true);
        if (c.threshold >= 0)
            convert->sldThreshold->setValue(c.threshold);
        QCOMPARE(convert->chkAutomatic->isChecked(), c.threshold < 0);
        convert->accept();
        const QStringList window = dotRows(*w);
        QCOMPARE(window.size(), c.height.toInt());
        QVERIFY2(window.join(QString()).count('#') > 10 && window.join(QString()).count('.') > 10, qPrintable(c.options.join(' ')));
        const QString text = commandLine(c.options);
        QCOMPARE(text, pictureText(dotPicture(window)));
    }
    // A plain JPEG is read and averaged by Qt Core and libjpeg alone, nothing of the window's
    // libraries loaded; another picture (the PNG of the same) by the window's readers, with
    // the same dots.
    const auto librariesLoaded = [&](const QString &file) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("libs"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(GRIDGLYPH_PROGRAM), {QStringLiteral("--text"), QStringLiteral("--size"), QStringLiteral("11x11"), file});
        program.waitForFinished(300000);
        return std::make_pair(QString::fromUtf8(program.readAllStandardOutput()), QString::fromUtf8(program.readAllStandardError()));
    };
    const auto [jpegText, jpegLibraries] = librariesLoaded(path);
    QVERIFY(jpegLibraries.contains(QStringLiteral("libjpeg")));
    QVERIFY(!jpegLibraries.contains(QStringLiteral("libQt6Gui")) && !jpegLibraries.contains(QStringLiteral("libQt6DBus")));
    const QString png = dir->filePath("photo.png");
    QVERIFY(pictureFiles::write(png, pictureFiles::encodedImage(QImage(path), "PNG")));
    const auto [pngText, pngLibraries] = librariesLoaded(png);
    QVERIFY(pngLibraries.contains(QStringLiteral("libQt6Gui")));
    QCOMPARE(pngText, jpegText);
    QCOMPARE(jpegText, commandLine({"--size", "11x11"}));

    // Pasted back, the 11 x 11 text is the picture Ctrl+T made.
    setSize(*w, "11", "11");
    run(*w, CommandList::Convert);
    w->convertWindow()->cboPlacement->setCurrentIndex(int(Placement::Fitted));
    w->convertWindow()->cboDither->setCurrentIndex(int(Dither::None));
    w->convertWindow()->chkInvert->setChecked(false);
    w->convertWindow()->accept();
    const QStringList converted = dotRows(*w);
    w->cmdClear->click();
    QVERIFY(dotRows(*w) != converted);
    QApplication::clipboard()->setText(commandLine({"--size", "11x11"}));
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), converted);
    QVERIFY(log->messages.isEmpty());

    // Cut short, as a download that stopped at 60%: what arrived, as the window shows it,
    // the rest white, and status 1 with a word on standard error, so that no script takes
    // it for the whole picture.
    const QByteArray whole = pictureFiles::encodedImage(photo, "JPEG", 92);
    const QString cut = dir->filePath("cut.jpg");
    QVERIFY(pictureFiles::write(cut, whole.left(whole.size() * 6 / 10)));
    w->openFromCommandLine(cut);
    QVERIFY(underlayRead(*w));
    run(*w, CommandList::Convert);
    w->convertWindow()->accept();
    const QStringList shown = dotRows(*w);
    QVERIFY(shown.mid(0, 5).join(QString()).count('#') > 10);
    QCOMPARE(shown.last(), QString(11, '.'));
    int status = -1;
    QString said;
    QCOMPARE(commandLine({"--size", "11x11"}, cut, &status, &said), pictureText(dotPicture(shown)));
    QCOMPARE(status, 1);
    QVERIFY2(said.contains(QStringLiteral("ends early")), qPrintable(said));
    commandLine({"--size", "11x11"}, QString(), &status, &said);
    QCOMPARE(status, 0);
    QVERIFY(said.isEmpty());
}

void tst_underlay::largePicturesAreReadWhileTheWindowAnswers()
{
    // A worker held before it reads anything: the window answers meanwhile.
    std::atomic<bool> release{false};
    std::atomic<int> held{0};
    setDecodeHold([&](DecodeWork &work) {
        ++held;
        while (!release && !work.cancelled())
            QThread::msleep(1);
    });
    const auto cleanUp = qScopeGuard([] { setDecodeHold(nullptr); });
    loadBlueThenSwitchOff(40);
    QVERIFY2(!w->underlayLoading()->busy(), "a small picture is read at once");
    const QString red = dir->filePath("red.png"), green = dir->filePath("green.png");
    // One pixel a side over what is read at once.
    QVERIFY(pictureFiles::write(red, pictureFiles::encoded("PNG", 513, 512, qRgb(255, 0, 0), qRgb(255, 0, 0))));
    QVERIFY(pictureFiles::write(green, pictureFiles::encoded("PNG", 600, 600, qRgb(0, 128, 0), qRgb(0, 128, 0))));

    toggle(red);
    QVERIFY(w->underlayLoading()->busy());
    QCOMPARE(w->picDot->cursor().shape(), Qt::BusyCursor);
    QCOMPARE(w->picTrace->point(17, 5), 0x0000FF); // the underlay before it, still
    // Painting, undoing and typing go on.
    QTest::mouseClick(w->picDot, Qt::LeftButton, {}, QPoint(30, 30));
    QCOMPARE(blackDots(*w), QStringList{"2,2"});
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(blackDots(*w).isEmpty());
    QTest::keyClick(w->picDot, Qt::Key_Right);
    QCOMPARE(w->editor()->cursor(), QPoint(3, 2));
    // Past half a second, how far it got, with a way to stop it; Escape stops it.
    QTRY_VERIFY_WITH_TIMEOUT(w->underlayLoading()->panel() && w->underlayLoading()->panel()->isVisible(), 60000);
    QTest::keyClick(w->picDot, Qt::Key_Escape);
    QVERIFY(!w->underlayLoading()->busy());
    QVERIFY(!w->underlayLoading()->panel()->isVisible());
    QCOMPARE(w->picDot->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(w->chkTrace->isChecked());
    QCOMPARE(w->picDot->point(17, 5), 0x0000FF);
    QCOMPARE(w->picTrace->point(17, 5), 0x0000FF);
    QVERIFY(log->messages.isEmpty());

    // A second picture given while one is read stops the first: only the second is taken.
    w->openFromCommandLine(red);
    const std::shared_ptr<DecodeWork> first = w->underlayLoading()->lastWork();
    w->openFromCommandLine(green);
    QVERIFY(first->cancelled());
    QCOMPARE(first->pixels(), 0);
    release = true;
    QVERIFY(underlayRead(*w));
    QCOMPARE(w->picDot->point(17, 5), 0x008000);
    QCOMPARE(w->underlayLoading()->lastWork()->rows(), 600);
    QVERIFY(log->messages.isEmpty());

    // Closing the window while a picture is read: the worker stops, and nothing it read
    // reaches a window that is gone.
    release = false;
    held = 0;
    w->openFromCommandLine(red);
    const std::shared_ptr<DecodeWork> last = w->underlayLoading()->lastWork();
    QTRY_COMPARE(held.load(), 1);
    delete w;
    w = nullptr;
    QVERIFY(last->cancelled());
    QCOMPARE(last->rows(), 0);
}

namespace {

// A picture of 400 x 400 white pixels with a black disk of radius 60 in its middle.
QImage diskPicture()
{
    QImage disk(400, 400, QImage::Format_RGB32);
    disk.fill(Qt::white);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            if ((x - 199.5) * (x - 199.5) + (y - 199.5) * (y - 199.5) <= 60.0 * 60.0)
                disk.setPixel(x, y, qRgb(0, 0, 0));
    return disk;
}

// The columns and rows a picture's black dots span.
QRect blackSpan(const QImage &dots)
{
    QRect span;
    for (int y = 0; y < dots.height(); ++y)
        for (int x = 0; x < dots.width(); ++x)
            if (dots::isBlack(dots, x, y))
                span |= QRect(x, y, 1, 1);
    return span;
}

} // namespace

void tst_underlay::framingMovesAndScalesBySteps()
{
    Underlay underlay;
    underlay.take(OpenPictureImage(diskPicture(), QSize(kLargestCanvas, kLargestCanvas)));
    Conversion conversion;
    ConvertSettings s;
    s.automatic = false;
    const auto dotsOf = [&](const Framing &f) {
        s.framing = f;
        return conversion.run(underlay, QSize(40, 40), 12, s).dots;
    };
    const Framing fitted{Placement::Fitted, 1.0, {}};
    const QImage base = dotsOf(fitted);
    const QRect disk = blackSpan(base);
    // Fitted: the disk is 12 dots across (120 of 400 pixels on 40 dots), in the middle.
    QCOMPARE(disk.width(), 12);
    QCOMPARE(disk.center(), QPoint(19, 19));
    // Each + makes it 1.25 times as wide, about the middle.
    Framing f = fitted;
    double width = disk.width();
    for (int step = 1; step <= 3; ++step) {
        f = zoomedAbout(f, 1.25, {});
        width *= 1.25;
        const QRect zoomed = blackSpan(dotsOf(f));
        QVERIFY2(qAbs(zoomed.width() - width) <= 1.0, qPrintable(QStringLiteral("%1 for %2").arg(zoomed.width()).arg(width)));
        QVERIFY(qAbs(zoomed.center().x() - 19) <= 1 && qAbs(zoomed.center().y() - 19) <= 1);
    }
    // Each arrow moves it by exactly one dot, dot for dot.
    const QImage zoomed = dotsOf(f);
    const QStringList rows = dotRows(zoomed);
    const QStringList right = dotRows(dotsOf(movedBy(f, QPointF(1, 0))));
    const QStringList down = dotRows(dotsOf(movedBy(movedBy(f, QPointF(0, 1)), QPointF(0, 1))));
    for (int y = 0; y < 40; ++y) {
        QCOMPARE(right[y].mid(1), rows[y].left(39));
        if (y >= 2)
            QCOMPARE(down[y], rows[y - 2]);
    }
    // Scaled about a point: what lies under it stays there (the disk's left edge, at dot 6
    // from the middle leftwards, stays on that dot).
    const Framing about = zoomedAbout(fitted, 2.0, QPointF(-6, 0));
    QCOMPARE(blackSpan(dotsOf(about)).left(), disk.left());
    // 0: fitted again, the very dots of the fitted picture.
    QCOMPARE(dotRows(dotsOf(Framing{Placement::Fitted, 1.0, {}})), dotRows(base));
    // Moved 8 dots on the 40-dot picture, then taken at 20 x 20: the same part of the
    // picture in the middle, so 4 dots on the smaller picture; on 40 x 40 again, 8.
    Framing moved = movedBy(fitted, QPointF(8, 0));
    moved.canvas = QSize(40, 40);
    s.framing = fitted;
    const QRect small = blackSpan(conversion.run(underlay, QSize(20, 20), 12, s).dots);
    s.framing = moved;
    QCOMPARE(blackSpan(conversion.run(underlay, QSize(20, 20), 12, s).dots), small.translated(4, 0));
    QCOMPARE(blackSpan(dotsOf(moved)), disk.translated(8, 0));
    QCOMPARE(framingOn(moved, QSize(400, 400), QSize(20, 20)).shift, QPointF(4, 0));
    // Scaled too, and a wide picture on a wide canvas: the move follows the picture, the
    // scale stays its own.
    Framing zoomedMoved = movedBy(zoomedAbout(fitted, 1.5625, {}), QPointF(8, -4));
    zoomedMoved.canvas = QSize(40, 20);
    const Framing halved = framingOn(zoomedMoved, QSize(600, 300), QSize(20, 10));
    QCOMPARE(halved.shift, QPointF(4, -2));
    QCOMPARE(halved.zoom, 1.5625);
    QCOMPARE(halved.canvas, QSize(20, 10));
    // A tall and a wide picture, scaled by 1.25 about the canvas's middle and moved (2, -1)
    // dots of 12 pixels: each side of the rectangle from its own side.
    QCOMPARE(framedRect(QSize(600, 300), QSize(480, 240), Framing{Placement::Fitted, 1.25, QPointF(2, -1)}, 12),
             QRect(240 - 300 + 24, 120 - 150 - 12, 600, 300));
    QCOMPARE(framedRect(QSize(300, 600), QSize(240, 480), Framing{Placement::Fitted, 1.25, QPointF(-1, 2)}, 12),
             QRect(120 - 150 - 12, 240 - 300 + 24, 300, 600));
    // Framed while lying as loaded: nothing is framed.
    QCOMPARE(framedRect(QSize(400, 400), QSize(480, 480), Framing{Placement::AsLoaded, 2.0, QPointF(3, 3)}, 12),
             QRect(0, 0, 400, 400));
}

void tst_underlay::conversionSettingsKeptAndReadBackWithinTheirRanges()
{
    // Nothing kept: the defaults. Then three sets, each number away from its default, each
    // switch both ways and no two switches alike across them, read back as they were written.
    forgetSettings();
    const auto cleanUp = qScopeGuard([] { forgetSettings(); });
    QCOMPARE(frmConvert::remembered(), ConvertSettings());
    const auto settings = [](Placement placement, int threshold, Dither dither, int brightness, int contrast,
                             bool automatic, bool invert, bool colour, bool sharpen) {
        ConvertSettings s;
        s.framing.placement = placement;
        s.threshold = threshold;
        s.dither = dither;
        s.brightness = brightness;
        s.contrast = contrast;
        s.automatic = automatic;
        s.invert = invert;
        s.colour = colour;
        s.sharpen = sharpen;
        return s;
    };
    for (const ConvertSettings &s : {settings(Placement::Filled, 201, Dither::Atkinson, -37, 64, false, true, false, true),
                                     settings(Placement::AsLoaded, 0, Dither::Bayer4, 100, -100, true, false, true, false),
                                     settings(Placement::Fitted, 255, Dither::FloydSteinberg, -100, 100, true, true, false, false)}) {
        frmConvert::remember(s);
        QCOMPARE(frmConvert::remembered(), s);
    }
    // A settings file edited by hand or by another version: every number back in its range,
    // what does not read as a number its default's clamp.
    QSettings kept(QStringLiteral("GRIDGLYPH"), QStringLiteral("GRIDGLYPH"));
    kept.beginGroup(QStringLiteral("convert"));
    for (const auto &[key, value] : {std::pair{"placement", QVariant(7)}, std::pair{"threshold", QVariant(256)},
                                     std::pair{"dither", QVariant(-3)}, std::pair{"brightness", QVariant(101)},
                                     std::pair{"contrast", QVariant(QStringLiteral("lots"))}})
        kept.setValue(QLatin1String(key), value);
    kept.sync();
    const ConvertSettings read = frmConvert::remembered();
    QCOMPARE(read.framing.placement, Placement::Filled);
    QCOMPARE(read.threshold, 255);
    QCOMPARE(read.dither, Dither::None);
    QCOMPARE(read.brightness, 100);
    QCOMPARE(read.contrast, 0);
}

void tst_underlay::framingThroughTheWindowIsKept()
{
    auto *data = new QMimeData;
    data->setImageData(diskPicture());
    QApplication::clipboard()->setMimeData(data);
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(underlayRead(*w));
    setSize(*w, "40", "40");
    w->Draw();
    // Ctrl+T, +, +, Right, Enter: the disk larger and one dot to the right, the canvas
    // showing the underlay so.
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    frmConvert *convert = w->convertWindow();
    QVERIFY(convert);
    QTRY_VERIFY(QApplication::activeWindow() == convert);
    QCOMPARE(convert->settings().framing, (Framing{Placement::Fitted, 1.0, {}}));
    const QRect fitted = blackSpan(w->picPreview->image().copy(0, 0, 40, 40));
    for (Qt::Key k : {Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Right})
        QTest::keyClick(convert, k);
    const Framing chosen = convert->settings().framing;
    QCOMPARE(chosen.zoom, 1.5625);
    QCOMPARE(chosen.shift, QPointF(1, 0));
    QTest::keyClick(convert, Qt::Key_Return);
    QTRY_VERIFY(!w->convertWindow());
    const QRect framed = blackSpan(w->picPreview->image().copy(0, 0, 40, 40));
    QVERIFY(framed.width() >= fitted.width() * 1.5);
    QCOMPARE(placementOf(*w), Placement::Fitted);
    // The canvas shows the framed underlay: black under the disk's middle, one dot right of
    // the canvas's.
    QCOMPARE(w->picTrace->point(20 * 12 + 6, 20 * 12 + 6), kBlack);
    // The next Ctrl+T starts from that framing; the canvas's drag and wheel frame it too.
    QTRY_VERIFY(QApplication::activeWindow() == w);
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    convert = w->convertWindow();
    QVERIFY(convert);
    QTRY_VERIFY(QApplication::activeWindow() == convert);
    QCOMPARE(convert->settings().framing, chosen);
    QTest::mousePress(w->picDot, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(w->picDot, QPoint(100 + 24, 100 - 12));
    QTest::mouseRelease(w->picDot, Qt::LeftButton, {}, QPoint(100 + 24, 100 - 12));
    QCOMPARE(convert->settings().framing.shift, QPointF(3, -1));
    QVERIFY(blackDots(*w).size() > 0);
    QWheelEvent notch(QPointF(240, 240), w->picDot->mapToGlobal(QPointF(240, 240)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w->picDot, &notch);
    QCOMPARE(convert->settings().framing.zoom, 1.5625 * 1.25);
    // Every arrow a dot its own way, whatever the zoom; minus undoes a plus exactly.
    for (const auto &[key, by] : {std::pair{Qt::Key_Left, QPointF(-1, 0)}, std::pair{Qt::Key_Up, QPointF(0, -1)},
                                  std::pair{Qt::Key_Down, QPointF(0, 1)}, std::pair{Qt::Key_Right, QPointF(1, 0)}}) {
        const QPointF before = convert->settings().framing.shift;
        QTest::keyClick(convert, key);
        QCOMPARE(convert->settings().framing.shift, before + by);
    }
    QTest::keyClick(convert, Qt::Key_Minus);
    QCOMPARE(convert->settings().framing.zoom, 1.5625);
    // Escape: the framing as it was before this Ctrl+T.
    QTest::keyClick(convert, Qt::Key_Escape);
    QTRY_VERIFY(!w->convertWindow());
    QCOMPARE(w->convertWindow(), nullptr);
    // Fill chosen with Ctrl+3 is where the next Ctrl+T starts.
    QTRY_VERIFY(QApplication::activeWindow() == w);
    QTest::keyClick(w->picDot, Qt::Key_3, Qt::ControlModifier);
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(w->convertWindow());
    QTRY_VERIFY(QApplication::activeWindow() == w->convertWindow());
    QCOMPARE(w->convertWindow()->cboPlacement->currentIndex(), int(Placement::Filled));
    // 0 fits it again.
    QTest::keyClick(w->convertWindow(), Qt::Key_0);
    QCOMPARE(w->convertWindow()->settings().framing, (Framing{Placement::Fitted, 1.0, {}}));
    QTest::keyClick(w->convertWindow(), Qt::Key_Escape);
    QTRY_VERIFY(!w->convertWindow());
    QVERIFY(log->messages.isEmpty());
}

void tst_underlay::aWeakUnderlayLeavesBlackDotsToBeSeen()
{
    // A black underlay: at full strength a black dot cannot be told from it; at half and a
    // quarter it reads at 4.5:1 and more, as the canvas shows it. The conversion reads the
    // underlay whole all the same.
    QImage black(200, 200, QImage::Format_RGB32);
    black.fill(Qt::black);
    auto *data = new QMimeData;
    data->setImageData(black);
    QApplication::clipboard()->setMimeData(data);
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(underlayRead(*w));
    w->DotDraw(1, 5, 5);
    QAction *strength = w->commands()->action(CommandList::UnderlayStrength);
    const QColor dot(w->picDot->point(5, 5));
    QCOMPARE(w->picDot->point(17, 5), kBlack);
    QVERIFY(!strength->isChecked());
    QTest::keyClick(w->picDot, Qt::Key_U);
    QVERIFY(strength->isChecked() && strength->text().contains(QStringLiteral("50%")));
    QVERIFY(contrastRatio(QColor(w->picDot->point(17, 5)), dot) >= 4.5);
    QCOMPARE(w->picDot->point(17, 5), 0x7F7F7F);
    QTest::keyClick(w->picDot, Qt::Key_U);
    QCOMPARE(w->picDot->point(17, 5), 0xBFBFBF);
    // White painting uncovers the weak underlay too, as the holder holds it.
    w->DotDraw(2, 5, 5);
    QCOMPARE(w->picDot->point(5, 5), 0xBFBFBF);
    QTest::keyClick(w->picDot, Qt::Key_U);
    QCOMPARE(w->picDot->point(17, 5), kBlack);
    QVERIFY(!strength->isChecked());
    // The conversion reads it at full strength: every dot black.
    QTest::keyClick(w->picDot, Qt::Key_U);
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(w->convertWindow());
    w->convertWindow()->chkAutomatic->setChecked(false);
    w->convertWindow()->sldThreshold->setValue(100);
    QTest::keyClick(w->convertWindow(), Qt::Key_Return);
    QTRY_VERIFY(!w->convertWindow());
    QCOMPARE(blackDots(*w).size(), 32 * 32); // fitted, the black picture covers every dot
}

void tst_underlay::selectionOwnersOnARealServer_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("got");      // "text", "message", "nothing", "picture"
    QTest::addColumn<QString>("what");     // the text, or words of the message
    QTest::addColumn<int>("timeouts");     // how often the one time-out was reached
    QTest::addColumn<qint64>("mostBytes"); // the most taken in
    // Bytes taken in count the type list too: a few atoms.
    const qint64 list = 64, text = budget::kMostOfferedTextBytes;
    const QString noAnswer = QStringLiteral("応答しませんでした"), tooLarge = QStringLiteral("大きすぎる");
    QTest::newRow("silent") << "silent" << "CLIPBOARD" << "message" << noAnswer << 1 << qint64(0);
    QTest::newRow("type list, then nothing") << "stall" << "CLIPBOARD" << "message" << noAnswer << 1 << list;
    QTest::newRow("trickle") << "trickle" << "CLIPBOARD" << "message" << noAnswer << 1 << list + 8;
    QTest::newRow("type list only") << "targets" << "CLIPBOARD" << "nothing" << QString() << 0 << list;
    QTest::newRow("empty text") << "empty" << "CLIPBOARD" << "text" << QString() << 0 << list;
    QTest::newRow("text") << "text" << "CLIPBOARD" << "text" << "12" << 0 << list + 2;
    QTest::newRow("text of the primary selection") << "text" << "PRIMARY" << "text" << "12" << 0 << list + 2;
    // Refused by what the owner announces, before a byte of it is read.
    QTest::newRow("10 MB announced") << "big10" << "CLIPBOARD" << "message" << tooLarge << 0 << list;
    QTest::newRow("100 MB announced") << "flood" << "CLIPBOARD" << "message" << tooLarge << 0 << list;
    // The limit itself is taken whole; one byte more is refused.
    QTest::newRow("a text at the limit") << QStringLiteral("bytes=%1").arg(text) << "CLIPBOARD" << "text"
                                         << QString(int(text), QLatin1Char('1')) << 0 << list + text;
    QTest::newRow("a text one byte over") << QStringLiteral("bytes=%1").arg(text + 1) << "CLIPBOARD" << "message"
                                          << tooLarge << 0 << list;
    // Cut off as it arrives: no more than the limit.
    QTest::newRow("pieces that never stop") << "endless" << "CLIPBOARD" << "message" << tooLarge << 0 << list + text;
    QTest::newRow("silent drag source") << "silent" << "XdndSelection" << "message" << noAnswer << 1 << qint64(0);
    QTest::newRow("drag source that never stops") << "endless" << "XdndSelection" << "message" << tooLarge << 0 << list + text;
    QTest::newRow("a dropped file named in Latin-1") << "latin1" << "XdndSelection" << "picture" << QString() << 0 << list + 200;
}

void tst_underlay::selectionOwnersOnARealServer()
{
    // Run by the clipboard check, which starts an X server and names it here; the owners are
    // small X11 clients of its own.
    const QByteArray server = qgetenv("GRIDGLYPH_TEST_DISPLAY");
    if (server.isEmpty())
        QSKIP("needs an X server: the clipboard check runs this with one");
    QFETCH(QString, mode);
    QFETCH(QString, selection);
    QFETCH(QString, got);
    QFETCH(QString, what);
    QFETCH(int, timeouts);
    QFETCH(qint64, mostBytes);
    qputenv("DISPLAY", server);
    QString ownerMode = mode;
    if (mode == "latin1") {
        // A picture whose name is not UTF-8, as old archives and USB sticks have them.
        const QByteArray bytes = pictureFiles::encoded("PNG", 8, 8, qRgb(0, 0, 255), qRgb(0, 0, 255));
        FILE *f = std::fopen((QFile::encodeName(dir->path()) + "/caf\xe9.png").constData(), "wb");
        QVERIFY(f);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f);
        std::fclose(f);
        ownerMode = "latin1=" + dir->path();
    }
    QProcess owner;
    owner.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The file's name goes to the owner as the bytes it is.
    owner.setProgram(QStringLiteral("/usr/bin/python3"));
    owner.setArguments({QStringLiteral(GRIDGLYPH_SOURCE_DIR "/tests/screen/clipboard_owner.py"), ownerMode, selection});
    owner.start();
    QVERIFY(owner.waitForReadyRead(30000));
    QVERIFY(owner.readAll().contains("owning"));
    const auto stop = qScopeGuard([&owner] {
        owner.kill();
        owner.waitForFinished();
    });

    const std::unique_ptr<OfferSource> offer = x11SelectionOffer(selection.toLatin1().constData());
    QVERIFY(offer);
    QString outcome;
    if (mode == "latin1" || mode == "stall" || mode == "trickle") {
        const TakenOffer taken = takeOffer(*offer, QSize(kLargestCanvas, kLargestCanvas), "x", "y",
                                           [](const QString &) { return false; });
        if (taken.kind == TakenOffer::Picture) {
            const std::shared_ptr<PictureSource> picture = taken.request.open(std::make_shared<DecodeWork>());
            QCOMPARE(picture->trouble(), LoadTrouble::None);
            QCOMPARE(picture->topLeft().pixel(3, 3), qRgb(0, 0, 255));
            outcome = "picture";
        } else {
            outcome = "message:" + taken.message;
        }
    } else {
        const PastedText pasted = takeText(*offer, "x");
        outcome = !pasted.message.isEmpty() ? "message:" + pasted.message : pasted.text ? "text:" + *pasted.text : "nothing";
    }
    if (got == "text")
        QCOMPARE(outcome, "text:" + what);
    else
        QVERIFY2(outcome.startsWith(got) && outcome.contains(what), qPrintable(outcome));
    // What waiting cost is counted, not timed: the one time-out at most, and the bytes
    // taken in never more than the limit and the piece that crossed it.
    const OfferSource::Work work = offer->work();
    qInfo("%s: %d requests, %d time-outs, %lld bytes taken in", qPrintable(mode), work.requests, work.timeouts, work.bytes);
    QCOMPARE(work.timeouts, timeouts);
    QVERIFY2(work.bytes <= mostBytes, qPrintable(QString::number(work.bytes)));
    QVERIFY(work.requests <= 3);
}

void tst_underlay::averagesCoverExactlyTheirArea()
{
    // Three pixels across two dots of 2 x 2 canvas pixels: each pixel 4/3 of a canvas pixel
    // wide. Dot 0 is all of the black pixel and 2/3 of the white one: (2/3 x 255) / 2 = 85;
    // dot 1 the rest of the white and all of the grey 120: (2/3 x 255 + 4/3 x 120) / 2 = 165.
    const quint32 row[] = {0xFF000000u, 0xFFFFFFFFu, 0xFF787878u};
    for (bool backwards : {false, true}) {
        AreaAverages a(QSize(3, 2), QRect(0, 0, 4, 2), QSize(2, 1), 2, false);
        for (int y : backwards ? std::vector<int>{1, 0} : std::vector<int>{0, 1})
            a.addRow(y, row);
        QCOMPARE(a.values(), (std::vector<quint8>{85, 165}));
    }
    // One black pixel on canvas pixels 1 and 2 of four: half of each dot, the other half
    // white: 127.5, rounded up. Pure red the same way: red stays whole, green and blue half.
    AreaAverages half(QSize(1, 1), QRect(1, 0, 2, 2), QSize(2, 1), 2, true);
    const quint32 black = 0xFF000000u, red = 0xFFFF0000u;
    half.addRow(0, &black);
    QCOMPARE(half.values(), (std::vector<quint8>{128, 128}));
    AreaAverages reddish(QSize(1, 1), QRect(1, 0, 2, 2), QSize(2, 1), 2, true);
    reddish.addRow(0, &red);
    const auto linear = reddish.linear();
    QCOMPARE(linear[0][0], 1.0f);
    QCOMPARE(linear[1][1], 0.5f);
    // One pixel blown up over three dots: black in each.
    AreaAverages wide(QSize(1, 1), QRect(0, 0, 6, 2), QSize(3, 1), 2, false);
    wide.addRow(0, &black);
    QCOMPARE(wide.values(), (std::vector<quint8>{0, 0, 0}));
    // Rows beyond the canvas are not wanted; a picture moved off it leaves white.
    AreaAverages off(QSize(2, 4), QRect(0, -4, 4, 8), QSize(2, 1), 2, false);
    QVERIFY(!off.wanted(0) && !off.wanted(1) && off.wanted(2) && !off.wanted(3));
    AreaAverages gone(QSize(2, 2), QRect(10, 10, 4, 4), QSize(2, 1), 2, false);
    QCOMPARE(gone.values(), (std::vector<quint8>{255, 255}));
}

void tst_underlay::coloursTakeTheNearestSquareAndDitherInOklab()
{
    // OKLab against Björn Ottosson's published values: white, and pure red.
    const Lab white = toOklab(qRgb(255, 255, 255)), red = toOklab(qRgb(255, 0, 0));
    QVERIFY(qAbs(white.L - 1) < 1e-3 && qAbs(white.a) < 1e-3 && qAbs(white.b) < 1e-3);
    QVERIFY(qAbs(red.L - 0.62796f) < 1e-3 && qAbs(red.a - 0.22486f) < 1e-3 && qAbs(red.b - 0.12585f) < 1e-3);
    // Bars of colour: each square's own colour is itself, and the pure colours the squares a
    // person would name; the average of a cell in linear light, not in sRGB numbers.
    const auto &squares = squareColours();
    for (int i = 0; i < 9; ++i)
        QCOMPARE(nearestSquare(squares[size_t(i)], squares.data(), 9), i);
    const std::pair<QRgb, int> named[] = {{qRgb(255, 0, 0), 2}, {qRgb(255, 140, 0), 3}, {qRgb(255, 230, 0), 4}, {qRgb(0, 160, 0), 5},
                                          {qRgb(0, 0, 255), 6}, {qRgb(128, 0, 160), 7}, {qRgb(110, 60, 30), 8}, {qRgb(10, 10, 10), 0},
                                          {qRgb(250, 250, 250), 1}};
    QImage bars(9 * 2, 2, QImage::Format_RGB32);
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(nearestSquare(toOklab(named[i].first), squares.data(), 9), named[i].second);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                bars.setPixel(i * 2 + x, y, named[i].first);
    }
    const QImage barDots = squaresFrom(cellColours(bars, QSize(9, 1), 2), QSize(9, 1), Dither::None);
    for (int i = 0; i < 9; ++i)
        QCOMPARE(dots::squareOf(barDots.pixel(i, 0)), named[i].second);
    // A picture of one pixel a dot, blown up for the averages, stays one colour a cell to its
    // edges: the black square between blue, purple and white is still black.
    QImage nine(3, 3, QImage::Format_RGB32);
    for (int i = 0; i < 9; ++i)
        nine.setPixel(i % 3, i / 3, dots::kSquares[size_t(8 - i)].pixel);
    Framing fitted;
    fitted.placement = Placement::Fitted;
    for (Dither dither : {Dither::None, Dither::FloydSteinberg, Dither::Atkinson}) {
        const QImage samples = placedImage(nine, nine.size(), QSize(24, 24), fitted, 8, true);
        const QImage back = squaresFrom(cellColours(samples, QSize(3, 3), 8), QSize(3, 3), dither);
        for (int i = 0; i < 9; ++i)
            QCOMPARE(dots::squareOf(back.pixel(i % 3, i / 3)), 8 - i);
    }
    // Half black and half white pixels average to the lightness of 21.6 % grey light, not of
    // the number 128.
    QImage checks(2, 2, QImage::Format_RGB32);
    checks.fill(Qt::white);
    checks.setPixel(0, 0, qRgb(0, 0, 0));
    checks.setPixel(1, 1, qRgb(0, 0, 0));
    QVERIFY(qAbs(cellColours(checks, QSize(1, 1), 2)[0].L - toOklab(qRgb(188, 188, 188)).L) < 0.01f);

    // Floyd-Steinberg's weights worked by hand with two squares, black (L 0) and white (L 1),
    // on a 3 x 2 grey of L 0.3:
    //   (0,0) 0.3 -> black, error 0.3: right 0.13125, below-left -, below 0.09375, below-right 0.01875
    //   (1,0) 0.43125 -> black, error 0.43125: right 0.18867, below-left 0.08086, below 0.13477, below-right 0.02695
    //   (2,0) 0.48867 -> black, error 0.48867: below-left 0.09162, below 0.15271
    //   (0,1) 0.3 + 0.09375 + 0.08086 = 0.47461 -> black, error right 0.20764
    //   (1,1) 0.3 + 0.01875 + 0.13477 + 0.09162 + 0.20764 = 0.75278 -> white, error -0.24722: right -0.10816
    //   (2,1) 0.3 + 0.02695 + 0.15271 - 0.10816 = 0.3715 -> black
    const std::vector<Lab> blackWhite{Lab{0, 0, 0}, Lab{1, 0, 0}};
    const std::vector<QRgb> pixels{dots::kBlackPixel, dots::kWhitePixel};
    QCOMPARE(dotRows(squaresFrom(std::vector<Lab>(6, Lab{0.3f, 0, 0}), QSize(3, 2), Dither::FloydSteinberg, blackWhite, pixels)),
             (QStringList{"###", "#.#"}));
    // Atkinson passes on an eighth to each of six: (0,0) 0.3 black; (1,0) 0.3375 black;
    // (2,0) 0.3 + 0.0375 + 0.04219 = 0.37969 black; (0,1) 0.3 + 0.0375 + 0.04219 = 0.37969
    // black; (1,1) 0.3 + 0.0375 + 0.04219 + 0.04746 + 0.04746 = 0.47461 black; (2,1) 0.3 +
    // 0.04219 + 0.04746 + 0.05933 = 0.44898 black: all six.
    QCOMPARE(dotRows(squaresFrom(std::vector<Lab>(6, Lab{0.3f, 0, 0}), QSize(3, 2), Dither::Atkinson, blackWhite, pixels)),
             (QStringList{"###", "###"}));
    // A colour between two squares: dithered, each of them about as often as it is near.
    const Lab between{(squares[2].L + squares[3].L) / 2, (squares[2].a + squares[3].a) / 2, (squares[2].b + squares[3].b) / 2};
    const QImage mixed = squaresFrom(std::vector<Lab>(256, between), QSize(16, 16), Dither::FloydSteinberg);
    int reds = 0, oranges = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int sq = dots::squareOf(mixed.pixel(x, y));
            reds += sq == 2, oranges += sq == 3;
        }
    QVERIFY2(reds + oranges >= 240 && qAbs(reds - oranges) < 40, qPrintable(QStringLiteral("%1 red, %2 orange").arg(reds).arg(oranges)));
    // Without a dither the same colour is one of the two everywhere; ordered moves lightness
    // by the matrix, so a lighter and a darker square share a flat colour.
    const QImage flat = squaresFrom(std::vector<Lab>(16, between), QSize(4, 4), Dither::None);
    QCOMPARE(flat.pixel(0, 0), flat.pixel(3, 3));
    const Lab grey = toOklab(qRgb(128, 128, 128));
    const QImage ordered = squaresFrom(std::vector<Lab>(16, grey), QSize(4, 4), Dither::Bayer4, blackWhite, pixels);
    // Grey 128 is L 0.59987; the matrix moves it by ((entry + 0.5) / 16 - 0.5) * 0.3, below 0.5
    // (black) for the entries 0, 1 and 2 alone.
    QCOMPARE(dotRows(ordered), (QStringList{"#.#.", "....", "..#.", "...."}));
}

void tst_underlay::brightnessContrastAndSharpening()
{
    // By hand: the middle grey unmoved; contrast -50 halves the distance from it, +50 doubles
    // it; brightness +100 adds 128; every result within 0 to 255.
    QCOMPARE(adjusted(128, 0, 0), 128);
    QCOMPARE(adjusted(200, 0, -50), 164);
    QCOMPARE(adjusted(200, 0, 50), 255);
    QCOMPARE(adjusted(100, 0, 50), 73);
    QCOMPARE(adjusted(100, 100, 0), 228);
    QCOMPARE(adjusted(100, -100, 0), 0);
    QCOMPARE(adjusted(0, 0, -100), 128);
    QCOMPARE(adjusted(127, 0, 99), 78);
    // An unsharp mask on a step from 100 to 200: the side of each pushed away from the other,
    // far from it nothing changes; a flat picture stays as it is.
    QImage step(8, 1, QImage::Format_RGB32);
    for (int x = 0; x < 8; ++x)
        step.setPixel(x, 0, x < 4 ? qRgb(100, 100, 100) : qRgb(200, 200, 200));
    const QImage sharp = sharpened(step, 1);
    QCOMPARE(qRed(sharp.pixel(0, 0)), 100);
    QCOMPARE(qRed(sharp.pixel(3, 0)), 2 * 100 - (100 + 100 + 200) / 3);
    QCOMPARE(qRed(sharp.pixel(4, 0)), 2 * 200 - (100 + 200 + 200) / 3);
    QCOMPARE(qRed(sharp.pixel(7, 0)), 200);
    QImage flatGrey(6, 6, QImage::Format_RGB32);
    flatGrey.fill(qRgb(77, 77, 77));
    QCOMPARE(sharpened(flatGrey, 2), flatGrey);
}

void tst_underlay::theConversionWindowKeepsItsSettings()
{
    auto *data = new QMimeData;
    data->setImageData(diskPicture());
    QApplication::clipboard()->setMimeData(data);
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(underlayRead(*w));
    // Ctrl+T, Atkinson, contrast +40, Enter: the next Ctrl+T shows them, and so does the
    // window of the next start.
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    frmConvert *convert = w->convertWindow();
    QVERIFY2(convert, qPrintable(log->messages.join('|')));
    QTRY_VERIFY(QApplication::activeWindow() == convert);
    QCOMPARE(convert->cboDither->currentData().toInt(), int(Dither::None));
    convert->cboDither->setCurrentIndex(convert->cboDither->findData(int(Dither::Atkinson)));
    convert->sldContrast->setValue(40);
    convert->sldBrightness->setValue(-10);
    convert->chkSharpen->setChecked(true);
    QTest::keyClick(convert, Qt::Key_Return);
    QTRY_VERIFY(!w->convertWindow());
    QTRY_VERIFY(QApplication::activeWindow() == w);
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    convert = w->convertWindow();
    QVERIFY(convert);
    QCOMPARE(convert->cboDither->currentData().toInt(), int(Dither::Atkinson));
    QCOMPARE(convert->sldContrast->value(), 40);
    QCOMPARE(convert->sldBrightness->value(), -10);
    QVERIFY(convert->chkSharpen->isChecked());
    // A cancel keeps nothing of what was changed.
    convert->sldContrast->setValue(-70);
    convert->reject();
    QTRY_VERIFY(!w->convertWindow());
    QCOMPARE(frmConvert::remembered().contrast, 40);
    QCOMPARE(frmConvert::remembered().dither, Dither::Atkinson);
    // With the dither list chosen (Alt+D), Down changes the dither and leaves the framing;
    // with the OK button chosen, Down moves the picture a dot.
    QTRY_VERIFY(QApplication::activeWindow() == w);
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    convert = w->convertWindow();
    QTRY_VERIFY(QApplication::activeWindow() == convert);
    const Framing before = convert->settings().framing;
    QTest::keyClick(convert, Qt::Key_D, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(convert->cboDither));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(convert->cboDither->currentData().toInt(), int(Dither::Bayer4));
    QCOMPARE(convert->settings().framing, before);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(convert->cboDither->currentData().toInt(), int(Dither::Atkinson));
    convert->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(convert->settings().framing.shift, QPointF(0, 1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(convert->settings().framing.shift, QPointF(0, 0));
    convert->reject();
    QTRY_VERIFY(!w->convertWindow());
    // In colour: a red disk on blue in the nine squares, kept in colour, the window in colour
    // from then on (its palette shown, its text the squares).
    QImage redOnBlue = diskPicture();
    for (int y = 0; y < redOnBlue.height(); ++y)
        for (int x = 0; x < redOnBlue.width(); ++x)
            redOnBlue.setPixel(x, y, dots::isBlack(redOnBlue, x, y) ? qRgb(230, 20, 20) : qRgb(20, 90, 230));
    data = new QMimeData;
    data->setImageData(redOnBlue);
    QApplication::clipboard()->setMimeData(data);
    QTRY_VERIFY(QApplication::activeWindow() == w);
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(underlayRead(*w));
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    convert = w->convertWindow();
    QVERIFY(convert);
    convert->cboColour->setCurrentIndex(convert->cboColour->findData(true));
    QVERIFY(!w->commands()->action(CommandList::Colour)->isChecked());
    convert->accept();
    QTRY_VERIFY(!w->convertWindow());
    QCOMPARE(dots::squareOf(w->document()->dot(16, 16)), 2);
    QCOMPARE(dots::squareOf(w->document()->dot(0, 0)), 6);
    QVERIFY(w->commands()->action(CommandList::Colour)->isChecked());
    QVERIFY(w->paletteWindow() && w->paletteWindow()->isVisible());
    QTest::keyClick(w->picDot, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("🟦🟦")));
    QCOMPARE(frmConvert::remembered().colour, true);
    forgetSettings();
    QCOMPARE(frmConvert::remembered().dither, Dither::None);
}

QTEST_MAIN(tst_underlay)
#include "tst_underlay.moc"
