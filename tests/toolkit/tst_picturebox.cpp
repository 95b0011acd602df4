// Picture surfaces and block copies.
#include "toolkit/BitBlt.h"
#include "toolkit/Contrast.h"
#include "toolkit/PictureBox.h"

#include <QPainter>
#include <QtTest>

class tst_picturebox : public QObject
{
    Q_OBJECT

private slots:
    void resizeKeepsOverlapAndFillsNewAreaWithBackground();
    void hiddenAreaComesBackOnlyWhereKept();
    void readingOutsideGivesNoColour();
    void drawingClipsAtEveryEdge();
    void fillBoxIncludesBothCornersInAnyOrder();
    void drawingRepaintsOnlyWhatChanged();
    void pictureShowsUnscaledAndSurvivesShrinking();
    void bitBltCopiesAndReadsBackgroundOutsideSource();
    void bitBltRefusesOtherOperationsAndWildCoordinates();
    void scaledScreenShowsSharpBlocks();
    void fractionalScalesShowAnEvenGrid_data();
    void fractionalScalesShowAnEvenGrid();
    void marksAreShownButNeverStored();
};

void tst_picturebox::resizeKeepsOverlapAndFillsNewAreaWithBackground()
{
    PictureBox box;
    box.setSurfaceSize(4, 4);
    box.pset(1, 1, 0x123456);
    box.pset(3, 3, 0x654321);
    box.setSurfaceSize(2, 6);
    QCOMPARE(box.size(), QSize(2, 6));
    QCOMPARE(box.point(1, 1), 0x123456);
    QCOMPARE(box.point(1, 5), kWhite);
    box.setSurfaceSize(4, 4);
    // This surface does not keep what a smaller size cut away.
    QCOMPARE(box.point(3, 3), kWhite);
}

void tst_picturebox::hiddenAreaComesBackOnlyWhereKept()
{
    PictureBox box;
    box.setKeepsHiddenArea(true);
    box.setSurfaceSize(4, 4);
    box.pset(3, 3);
    box.setSurfaceSize(2, 2);
    QCOMPARE(box.point(3, 3), kNoColor);
    box.pset(3, 3, kWhite); // clipped: the hidden pixel is not touched
    box.setSurfaceSize(4, 4);
    QCOMPARE(box.point(3, 3), kBlack);
    box.clear();
    box.setSurfaceSize(8, 8);
    QCOMPARE(box.point(3, 3), kWhite);
    QCOMPARE(box.point(7, 7), kWhite);
}

void tst_picturebox::readingOutsideGivesNoColour()
{
    PictureBox box;
    box.setSurfaceSize(3, 2);
    box.fillBox(0, 0, 2, 1, kBlack);
    QVERIFY(kNoColor != kBlack);
    for (QPoint p : {QPoint(-1, 0), QPoint(0, -1), QPoint(3, 0), QPoint(0, 2),
                     QPoint(INT32_MIN, INT32_MAX)})
        QCOMPARE(box.point(p.x(), p.y()), kNoColor);
}

void tst_picturebox::drawingClipsAtEveryEdge()
{
    PictureBox box;
    box.setSurfaceSize(10, 10);
    box.fillBox(-5, -5, 2, 2, kBlack);
    box.fillBox(8, 8, 100, 100, kBlack);
    box.fillBox(INT32_MIN + 1, 4, INT32_MAX - 1, 4, kBlack);
    box.line(-20, 6, 40, 6, kBlack);
    box.line(-3, -3, 13, 13, 0x00FF00);
    box.pset(-1, -1);
    box.pset(10, 10);
    QCOMPARE(box.point(0, 0), 0x00FF00);
    QCOMPARE(box.point(2, 2), 0x00FF00);
    QCOMPARE(box.point(1, 0), kBlack);
    QCOMPARE(box.point(3, 3), 0x00FF00);
    QCOMPARE(box.point(3, 2), kWhite);
    QCOMPARE(box.point(9, 9), 0x00FF00);
    QCOMPARE(box.point(9, 8), kBlack);
    QCOMPARE(box.point(0, 4), kBlack);
    QCOMPARE(box.point(9, 6), kBlack);
    QCOMPARE(box.point(9, 5), kWhite);
}

void tst_picturebox::fillBoxIncludesBothCornersInAnyOrder()
{
    PictureBox box;
    box.setSurfaceSize(6, 6);
    box.fillBox(4, 3, 1, 1, kBlack);
    int black = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            black += box.point(x, y) == kBlack;
    QCOMPARE(black, 4 * 3);
    QCOMPARE(box.point(1, 1), kBlack);
    QCOMPARE(box.point(4, 3), kBlack);
}

// Records the regions it is asked to repaint.
class RecordingBox : public PictureBox
{
public:
    QRegion painted;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        painted += event->region();
        PictureBox::paintEvent(event);
    }
};

void tst_picturebox::drawingRepaintsOnlyWhatChanged()
{
    RecordingBox box;
    box.setSurfaceSize(100, 100);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTRY_VERIFY(!box.painted.isEmpty());
    box.painted = QRegion();
    box.fillBox(25, 13, 35, 23, kBlack);
    QTRY_VERIFY(!box.painted.isEmpty());
    QCOMPARE(box.painted, QRegion(25, 13, 11, 11));
}

void tst_picturebox::pictureShowsUnscaledAndSurvivesShrinking()
{
    PictureBox box;
    box.setKeepsHiddenArea(true);
    box.setSurfaceSize(4, 4);
    QImage picture(6, 2, QImage::Format_ARGB32);
    picture.fill(QColor(0, 0, 255));
    box.setPicture(picture);
    QCOMPARE(box.point(3, 1), 0x0000FF);
    QCOMPARE(box.point(3, 2), kWhite);
    box.setSurfaceSize(2, 2);
    box.setSurfaceSize(8, 3);
    QCOMPARE(box.point(5, 1), 0x0000FF);
    QCOMPARE(box.point(6, 1), kWhite);
    QCOMPARE(box.point(0, 2), kWhite);

    // Transparent pixels show the background; half-transparent ones lie over it.
    picture.setPixelColor(0, 0, QColor(0, 0, 0, 0));
    picture.setPixelColor(1, 0, QColor(0, 0, 0, 128));
    box.setPicture(picture);
    QCOMPARE(box.point(0, 0), kWhite);
    QCOMPARE(box.point(1, 0), 0x7F7F7F);
}

void tst_picturebox::bitBltCopiesAndReadsBackgroundOutsideSource()
{
    PictureBox src, dest;
    src.setBackColor(0x0000FF);
    src.setSurfaceSize(3, 3);
    src.fillBox(0, 0, 2, 2, 0x00FF00);
    dest.setSurfaceSize(6, 6);
    dest.clear();
    QVERIFY(BitBlt(&dest, 1, 1, 5, 5, &src, 0, 0, SRCCOPY));
    QCOMPARE(dest.point(0, 0), kWhite);  // outside the block
    QCOMPARE(dest.point(1, 1), 0x00FF00);
    QCOMPARE(dest.point(3, 3), 0x00FF00);
    QCOMPARE(dest.point(4, 4), 0x0000FF); // beyond the source: its background
    QCOMPARE(dest.point(5, 1), 0x0000FF);
}

void tst_picturebox::bitBltRefusesOtherOperationsAndWildCoordinates()
{
    PictureBox src, dest;
    src.setSurfaceSize(3, 3);
    src.clear();
    dest.setSurfaceSize(3, 3);
    dest.fillBox(0, 0, 2, 2, kBlack);
    QVERIFY(!BitBlt(&dest, 0, 0, 3, 3, &src, 0, 0, 0x00EE0086 /* SRCPAINT */));
    QCOMPARE(dest.point(1, 1), kBlack);
    QVERIFY(BitBlt(&dest, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX, &src, INT32_MIN, 0, SRCCOPY));
    QVERIFY(BitBlt(&dest, -2, -2, 3, 3, &src, INT32_MAX - 1, INT32_MIN, SRCCOPY));
    QCOMPARE(dest.point(0, 0), kWhite);
    QCOMPARE(dest.point(1, 1), kBlack);
}

void tst_picturebox::scaledScreenShowsSharpBlocks()
{
    PictureBox box;
    box.setSurfaceSize(4, 1);
    box.pset(1, 0, kBlack);
    QImage shown(8, 2, QImage::Format_RGB32);
    shown.setDevicePixelRatio(2);
    box.render(&shown);
    for (int x = 0; x < 8; ++x) {
        const QRgb want = x / 2 == 1 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        QCOMPARE(shown.pixel(x, 0), want);
        QCOMPARE(shown.pixel(x, 1), want);
    }
}

void tst_picturebox::fractionalScalesShowAnEvenGrid_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("pitch");
    for (double ratio : {1.25, 1.5, 1.75})
        for (int pitch : {12, 9, 7, 5, 3, 2})
            QTest::addRow("%g, x%d", ratio, pitch) << ratio << pitch;
}

void tst_picturebox::fractionalScalesShowAnEvenGrid()
{
    QFETCH(double, ratio);
    QFETCH(int, pitch);
    // A canvas of 11 x 3 cells: grid lines, black cells in a checkerboard, the rest white.
    const int cells = 11;
    PictureBox box;
    box.setPitch(pitch);
    box.setSurfaceSize(cells * pitch, 3 * pitch);
    for (int c = 0; c < cells; ++c)
        for (int r = 0; r < 3; ++r)
            if ((c + r) % 2 == 0)
                box.fillBox(c * pitch + 1, r * pitch + 1, c * pitch + pitch - 1, r * pitch + pitch - 1, kBlack);
    for (int c = 0; c <= cells; ++c)
        box.line(c * pitch, 0, c * pitch, 3 * pitch, 0xC0C0C0);
    for (int r = 0; r <= 3; ++r)
        box.line(0, r * pitch, cells * pitch, r * pitch, 0xC0C0C0);
    // As many device pixels as the surface covers whole: the screen shows no part of one.
    const QSize device(int(cells * pitch * ratio + 1e-9), int(3 * pitch * ratio + 1e-9));
    QImage shown(device, QImage::Format_RGB32);
    shown.fill(qRgb(1, 2, 3));
    shown.setDevicePixelRatio(ratio);
    box.render(&shown);

    // Along a row through the middle of the first row of cells: runs of grey one pixel wide,
    // runs of cell colour between them that differ by one pixel at most, no other colour.
    const int y = 1;
    QList<int> cellRuns;
    int run = 0;
    QRgb previous = 0;
    for (int x = 0; x <= device.width(); ++x) {
        const QRgb c = x < device.width() ? shown.pixel(x, y) : 0;
        if (x > 0 && c != previous) {
            if (previous == qRgb(192, 192, 192))
                QCOMPARE(run, 1);
            else
                cellRuns << run;
            run = 0;
        }
        QVERIFY2(x == device.width() || c == qRgb(192, 192, 192) || c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255),
                 qPrintable(QString::number(c, 16)));
        previous = c;
        ++run;
    }
    QCOMPARE(int(cellRuns.size()), cells);
    const auto [shortest, longest] = std::minmax_element(cellRuns.begin(), cellRuns.end());
    QVERIFY2(*longest - *shortest <= 1, qPrintable(QString::number(*longest) + " " + QString::number(*shortest)));

    // Every grid line has its device pixel, in order, and no cell strays far from where the
    // unscaled canvas has it.
    int previousPixel = -1;
    for (int x = 0; x < device.width(); ++x) {
        const int pixel = surfacePixel(x, cells * pitch, pitch, ratio);
        QVERIFY(pixel >= previousPixel);
        QVERIFY(qAbs(pixel / pitch - int(std::floor(x / ratio / pitch))) <= 1);
        previousPixel = pixel;
    }
}

void tst_picturebox::marksAreShownButNeverStored()
{
    PictureBox box;
    box.setSurfaceSize(36, 24);
    box.setOutline(QRect(12, 0, 13, 13));
    box.setAxis(18);
    QImage shown(36, 24, QImage::Format_RGB32);
    box.render(&shown);
    // The cursor's two rings: the outer one reads at 4.5:1 on the grey grid and on white,
    // the inner one on a black cell.
    const QColor outer = shown.pixel(12, 5), inner = shown.pixel(13, 5);
    for (const QColor &under : {QColor(192, 192, 192), QColor(Qt::white)})
        QVERIFY2(contrastRatio(outer, under) >= 4.5, qPrintable(outer.name() + " on " + under.name()));
    QVERIFY(contrastRatio(inner, Qt::black) >= 4.5);
    QCOMPARE(QColor(shown.pixel(18, 20)), QColor(0, 120, 255));
    QCOMPARE(box.point(12, 5), kWhite);
    QCOMPARE(box.point(18, 20), kWhite);
    box.setOutline(std::nullopt);
    box.setAxis(std::nullopt);
    box.render(&shown);
    QCOMPARE(shown.pixel(12, 5), qRgb(255, 255, 255));
}

QTEST_MAIN(tst_picturebox)
#include "tst_picturebox.moc"
