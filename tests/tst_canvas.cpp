// The full redraw: canvas size, dots, grid, underlay and the fit of the window.
#include "support.h"

#include "sizeEntry.h"
#include "toolkit/Twips.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

class tst_canvas : public QObject
{
    Q_OBJECT

private slots:
    void startsWithEmptyGriddedCanvas();
    void windowFitsAroundCanvas_data();
    void windowFitsAroundCanvas();
    void gridOnLeftAndTopEdgeOfEveryCellOnly();
    void noGridWhenSwitchedOffOrAtOnePixel();
    void blackDotFillsExactlyItsInterior();
    void neighbouringDotsKeepASeamWithoutGrid();
    void resizingKeepsDotsAndBringsCutDotsBack();
    void clearEmptiesHiddenDotsToo();
    void leadingZerosReadAsNumbers();
    void unreadableSizeIsReportedAndLosesNothing();
    void maximizedWindowKeepsItsSize();
};

void tst_canvas::startsWithEmptyGriddedCanvas()
{
    frmMain w;
    QCOMPARE(w.DotSize, 12);
    QCOMPARE(w.Painting, false);
    QCOMPARE(w.txtWidth->text(), QStringLiteral("32"));
    QCOMPARE(w.txtHeight->text(), QStringLiteral("32"));
    QVERIFY(w.chkBar->isChecked());
    QVERIFY(!w.chkTrace->isChecked());
    QCOMPARE(w.picPreview->scaleWidth(), 32);
    QCOMPARE(w.picPreview->scaleHeight(), 32);
    QCOMPARE(w.picDot->size(), QSize(384, 384));
    QCOMPARE(w.picDot->pos(), QPoint(88, 8));
    QCOMPARE(w.picPreview->pos(), QPoint(8, 328));
    QCOMPARE(w.windowTitle(), QStringLiteral("GRIDGLYPH Ver. 1.10"));
    QVERIFY(blackDots(w).isEmpty());
    QCOMPARE(w.picDot->point(5, 5), kWhite);
}

void tst_canvas::windowFitsAroundCanvas_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<int>("dotSize");
    QTest::addColumn<int>("outerWidth");
    QTest::addColumn<int>("outerHeight");
    QTest::newRow("32x32 x12") << "32" << "32" << 12 << 7260 << 6360;
    QTest::newRow("16x16 x12 raised to the least height") << "16" << "16" << 12 << 4380 << 6165;
    QTest::newRow("48x48 x12") << "48" << "48" << 12 << 10140 << 9240;
    QTest::newRow("width 0") << "0" << "32" << 12 << 1500 << 6360;
    QTest::newRow("99x99 x2") << "99" << "99" << 2 << 4470 << 6165;
}

void tst_canvas::windowFitsAroundCanvas()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(int, dotSize);
    QFETCH(int, outerWidth);
    QFETCH(int, outerHeight);
    frmMain w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    setSize(w, width, height);
    w.DotSize = dotSize;
    w.Draw();
    QCOMPARE(w.picDot->scaleWidth(), width.toInt() * dotSize);
    QCOMPARE(w.picDot->scaleHeight(), height.toInt() * dotSize);
    QCOMPARE(w.picDot->size(), QSize(width.toInt() * dotSize, height.toInt() * dotSize));
    QCOMPARE(outerWidthTwips(&w), outerWidth);
    QCOMPARE(outerHeightTwips(&w), outerHeight);
}

void tst_canvas::gridOnLeftAndTopEdgeOfEveryCellOnly()
{
    frmMain w;
    const int D = 12;
    for (int y = 0; y < 384; y += 7) {
        for (int x = 0; x < 384; ++x) {
            const bool onGrid = x % D == 0 || y % D == 0;
            QCOMPARE(w.picDot->point(x, y), onGrid ? 0xC0C0C0 : kWhite);
        }
    }
    // No line along the right and bottom edges: the last column and row are cell pixels.
    QCOMPARE(w.picDot->point(383, 5), kWhite);
    QCOMPARE(w.picDot->point(5, 383), kWhite);
}

void tst_canvas::noGridWhenSwitchedOffOrAtOnePixel()
{
    frmMain w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.chkBar->click();
    QVERIFY(!w.chkBar->isChecked());
    for (int i = 0; i < 384; i += 5)
        QCOMPARE(w.picDot->point(i, 0), kWhite);
    QTRY_COMPARE(shownPixel(w.picDot, 5, 0), kWhite);

    w.chkBar->click();
    QCOMPARE(w.picDot->point(0, 0), 0xC0C0C0);
    // On the screen too: a redraw at an unchanged size is shown by its one repaint alone.
    QTRY_COMPARE(shownPixel(w.picDot, 5, 0), 0xC0C0C0);
    w.DotSize = 1;
    w.Draw();
    QCOMPARE(w.picDot->point(0, 0), kWhite);
}

void tst_canvas::blackDotFillsExactlyItsInterior()
{
    frmMain w;
    w.picPreview->pset(2, 1);
    w.Draw();
    // Dot (2, 1) owns pixels 24..35 x 12..23; its interior starts one in.
    for (int y = 10; y < 26; ++y)
        for (int x = 22; x < 38; ++x) {
            const bool interior = x >= 25 && x <= 35 && y >= 13 && y <= 23;
            const bool grid = x % 12 == 0 || y % 12 == 0;
            const Color want = interior ? kBlack : grid ? 0xC0C0C0 : kWhite;
            QVERIFY2(w.picDot->point(x, y) == want, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
}

void tst_canvas::neighbouringDotsKeepASeamWithoutGrid()
{
    frmMain w;
    w.chkBar->setChecked(false);
    w.picPreview->pset(0, 0);
    w.picPreview->pset(1, 0);
    w.Draw();
    QCOMPARE(w.picDot->point(11, 5), kBlack);
    QCOMPARE(w.picDot->point(12, 5), kWhite);
    QCOMPARE(w.picDot->point(13, 5), kBlack);
}

void tst_canvas::resizingKeepsDotsAndBringsCutDotsBack()
{
    frmMain w;
    w.picPreview->pset(3, 3);
    w.picPreview->pset(30, 5);
    setSize(w, "20", "32");
    w.Draw();
    QCOMPARE(blackDots(w), QStringList{"3,3"});
    QCOMPARE(w.picDot->scaleWidth(), 240);
    // Positions outside the picture are never black.
    QVERIFY(!w.isBlackDot(30, 5));
    QVERIFY(!w.isBlackDot(-1, 0));

    setSize(w, "40", "32");
    w.Draw();
    QCOMPARE(blackDots(w), (QStringList{"3,3", "30,5"}));
    QCOMPARE(w.picDot->point(30 * 12 + 5, 5 * 12 + 5), kBlack);
    QVERIFY(!w.isBlackDot(35, 5));
}

void tst_canvas::clearEmptiesHiddenDotsToo()
{
    frmMain w;
    w.picPreview->pset(30, 5);
    setSize(w, "20", "32");
    w.Draw();
    w.cmdClear->click();
    setSize(w, "32", "32");
    w.Draw();
    QVERIFY(blackDots(w).isEmpty());
}

void tst_canvas::leadingZerosReadAsNumbers()
{
    frmMain w;
    setSize(w, "07", "7");
    w.Draw();
    QCOMPARE(w.picPreview->scaleWidth(), 7);
    QCOMPARE(w.picPreview->scaleHeight(), 7);
    QCOMPARE(w.txtWidth->text(), QStringLiteral("07"));
    setSize(w, "00", "7");
    w.Draw();
    QCOMPARE(w.picDot->scaleWidth(), 0);

    // Only what two digits can say is a size.
    QCOMPARE(sizeValue("99"), std::optional<int>(99));
    QCOMPARE(sizeValue("100"), std::nullopt);
    QCOMPARE(sizeValue("99999999999999999999"), std::nullopt);
}

void tst_canvas::unreadableSizeIsReportedAndLosesNothing()
{
    MessageLog log;
    frmMain w;
    w.picPreview->pset(4, 4);
    w.txtWidth->setText(QString());
    w.DotSize = 6;
    w.Draw();
    QCOMPARE(log.messages, QStringList{"サイズには0から99までの数字を入力してください"});
    // The picture keeps its size and dots; the canvas follows the new magnification.
    QCOMPARE(w.picPreview->scaleWidth(), 32);
    QCOMPARE(blackDots(w), QStringList{"4,4"});
    QCOMPARE(w.picDot->size(), QSize(192, 192));
    QCOMPARE(w.picDot->point(4 * 6 + 2, 4 * 6 + 2), kBlack);
}

void tst_canvas::maximizedWindowKeepsItsSize()
{
    frmMain w;
    w.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_VERIFY(w.isMaximized());
    const QSize before = w.frameGeometry().size();
    w.optSize[1]->click();
    QCOMPARE(w.DotSize, 2);
    QCOMPARE(w.picDot->size(), QSize(64, 64));
    QCOMPARE(w.frameGeometry().size(), before);
}

QTEST_MAIN(tst_canvas)
#include "tst_canvas.moc"
