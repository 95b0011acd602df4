// The full redraw: canvas size, dots, grid, underlay and the fit of the window.
#include "support.h"

#include "convert/placement.h"
#include "editing/transforms.h"
#include "sizeEntry.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

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
    void frameArithmetic();
    void transformsOfAPictureWithStructure_data();
    void transformsOfAPictureWithStructure();
    void transformsUndoThemselves();
    void transformsThroughTheKeys();
    void turningSwapsTheSizeFields();
    void dotsHiddenByASmallerSizeComeBackWithUndo();
    void placementGeometry_data();
    void placementGeometry();
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
    w.document()->setDot(QPoint(2, 1), dots::kBlackPixel);
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
    w.document()->setDot(QPoint(0, 0), dots::kBlackPixel);
    w.document()->setDot(QPoint(1, 0), dots::kBlackPixel);
    w.Draw();
    QCOMPARE(w.picDot->point(11, 5), kBlack);
    QCOMPARE(w.picDot->point(12, 5), kWhite);
    QCOMPARE(w.picDot->point(13, 5), kBlack);
}

void tst_canvas::resizingKeepsDotsAndBringsCutDotsBack()
{
    frmMain w;
    w.document()->setDot(QPoint(3, 3), dots::kBlackPixel);
    w.document()->setDot(QPoint(30, 5), dots::kBlackPixel);
    setSize(w, "20", "32");
    w.Draw();
    QCOMPARE(blackDots(w), QStringList{"3,3"});
    QCOMPARE(w.picDot->scaleWidth(), 240);
    // Positions outside the picture are never black.
    QVERIFY(!w.document()->isBlack(30, 5));
    QVERIFY(!w.document()->isBlack(-1, 0));

    setSize(w, "40", "32");
    w.Draw();
    QCOMPARE(blackDots(w), (QStringList{"3,3", "30,5"}));
    QCOMPARE(w.picDot->point(30 * 12 + 5, 5 * 12 + 5), kBlack);
    QVERIFY(!w.document()->isBlack(35, 5));
}

void tst_canvas::clearEmptiesHiddenDotsToo()
{
    frmMain w;
    w.document()->setDot(QPoint(30, 5), dots::kBlackPixel);
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
    w.document()->setDot(QPoint(4, 4), dots::kBlackPixel);
    w.txtWidth->setText(QString());
    w.DotSize = 6;
    w.Draw();
    QCOMPARE(log.messages, QStringList{kInvalidSizeMessage});
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

void tst_canvas::frameArithmetic()
{
    // A frame of 4 left, 5 right, 20 top, 3 bottom around a client at (104, 120).
    const QRect client(104, 120, 300, 200), frame(100, 100, 309, 223);
    QCOMPARE(marginsBetween(frame, client), QMargins(4, 20, 5, 3));
    QCOMPARE(clientSizeForOuter(QSize(7260, 6360), QMargins(4, 20, 5, 3)), QSize(484 - 9, 424 - 23));
    QCOMPARE(clientSizeForOuter(QSize(0, 15), QMargins(4, 20, 5, 3)), QSize(0, 0));
}

void tst_canvas::transformsOfAPictureWithStructure_data()
{
    QTest::addColumn<QStringList>("picture");
    QTest::addColumn<int>("transform");
    QTest::addColumn<QStringList>("expected");
    // Odd and even widths, no symmetry: every transform gives a picture of its own.
    const QStringList odd = {"##...", "#..#.", "....#"};
    const QStringList even = {"#..#", ".#..", "...#", "##.."};
    QTest::newRow("invert, odd") << odd << 0 << QStringList{"..###", ".##.#", "####."};
    QTest::newRow("flip left-right, odd") << odd << 1 << QStringList{"...##", ".#..#", "#...."};
    QTest::newRow("flip left-right, even") << even << 1 << QStringList{"#..#", "..#.", "#...", "..##"};
    QTest::newRow("flip top-bottom, odd") << odd << 2 << QStringList{"....#", "#..#.", "##..."};
    QTest::newRow("shift right, wrapping") << odd << 3 << QStringList{".##..", ".#..#", "#...."};
    QTest::newRow("shift up, wrapping") << even << 4 << QStringList{".#..", "...#", "##..", "#..#"};
    QTest::newRow("turn clockwise, 5 x 3 to 3 x 5") << odd << 5 << QStringList{".##", "..#", "...", ".#.", "#.."};
    QTest::newRow("turn anticlockwise, 5 x 3 to 3 x 5") << odd << 6 << QStringList{"..#", ".#.", "...", "#..", "##."};
}

void tst_canvas::transformsOfAPictureWithStructure()
{
    QFETCH(QStringList, picture);
    QFETCH(int, transform);
    QFETCH(QStringList, expected);
    const QImage p = dotPicture(picture);
    const QImage results[] = {transforms::inverted(p), transforms::flippedLeftRight(p), transforms::flippedTopBottom(p),
                              transforms::shifted(p, 1, 0), transforms::shifted(p, 0, -1),
                              transforms::turnedClockwise(p), transforms::turnedAnticlockwise(p)};
    QCOMPARE(dotRows(results[transform]), expected);
}

void tst_canvas::transformsUndoThemselves()
{
    for (const QStringList &rows : {QStringList{"##...", "#..#.", "....#"}, QStringList{"#..#", ".#..", "...#", "##.."}}) {
        const QImage p = dotPicture(rows);
        using namespace transforms;
        QCOMPARE(dotRows(flippedLeftRight(flippedLeftRight(p))), rows);
        QCOMPARE(dotRows(flippedTopBottom(flippedTopBottom(p))), rows);
        QCOMPARE(dotRows(inverted(inverted(p))), rows);
        QCOMPARE(dotRows(turnedClockwise(turnedClockwise(turnedClockwise(turnedClockwise(p))))), rows);
        QCOMPARE(dotRows(turnedAnticlockwise(turnedClockwise(p))), rows);
        QImage moved = p;
        for (int i = 0; i < p.width(); ++i)
            moved = shifted(moved, 1, 0);
        QCOMPARE(dotRows(moved), rows);
        QCOMPARE(dotRows(shifted(shifted(p, -2, 3), 2, -3)), rows);
        // Any colour but black counts as white, so the background inverts to black.
        QImage background = p;
        background.fill(qRgb(0xEE, 0xEE, 0xEE));
        QCOMPARE(dotRows(inverted(background)), QStringList(p.height(), QString(p.width(), QLatin1Char('#'))));
    }
}

void tst_canvas::transformsThroughTheKeys()
{
    MessageLog log;
    const auto w = shownEditor();
    setSize(*w, "5", "3");
    w->Draw();
    for (QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(3, 1), QPoint(4, 2)})
        w->document()->setDot(p, dots::kBlackPixel);
    w->Draw();
    const QStringList start = dotRows(*w);
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m) { QTest::keyClick(QApplication::focusWidget(), k, m); };

    key(Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), (QStringList{"..###", ".##.#", "####."}));
    QCOMPARE(w->picDot->point(4 * 12 + 5, 5), kBlack);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), start);
    key(Qt::Key_H, Qt::ShiftModifier);
    QCOMPARE(dotRows(*w), (QStringList{"...##", ".#..#", "#...."}));
    key(Qt::Key_V, Qt::ShiftModifier);
    QCOMPARE(dotRows(*w), (QStringList{"#....", ".#..#", "...##"}));
    key(Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), (QStringList{".#...", "#.#..", "#...#"}));
    key(Qt::Key_Down, Qt::ControlModifier);
    key(Qt::Key_Up, Qt::ControlModifier);
    key(Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), (QStringList{"#....", ".#..#", "...##"}));
    // One step each: six undos lead back to the start.
    for (int i = 0; i < 6; ++i)
        key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), start);
    key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), (QStringList{"...##", ".#..#", "#...."}));

    // In a size field the letters are typed, and the digit filter discards them.
    w->txtWidth->setFocus();
    key(Qt::Key_H, Qt::ShiftModifier);
    key(Qt::Key_M, Qt::NoModifier);
    QCOMPARE(w->txtWidth->text(), QStringLiteral("5"));
    QCOMPARE(dotRows(*w), (QStringList{"...##", ".#..#", "#...."}));
    QVERIFY(!w->editor()->mirror());
    QVERIFY(log.messages.isEmpty());
}

void tst_canvas::turningSwapsTheSizeFields()
{
    const auto w = shownEditor();
    setSize(*w, "16", "8");
    w->cmdCanvas->click();
    w->document()->setDot(QPoint(0, 0), dots::kBlackPixel);
    w->document()->setDot(QPoint(15, 0), dots::kBlackPixel);
    w->Draw();
    const int narrow = outerWidthTwips(w.get());
    QTest::keyClick(w->picDot, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(w->txtWidth->text(), QStringLiteral("8"));
    QCOMPARE(w->txtHeight->text(), QStringLiteral("16"));
    QCOMPARE(w->picDot->size(), QSize(8 * 12, 16 * 12));
    QVERIFY(outerWidthTwips(w.get()) < narrow);
    // The top row, turned clockwise, is the right column.
    QCOMPARE(blackDots(*w), (QStringList{"7,0", "7,15"}));
    QTest::keyClick(w->picDot, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(w->picDot, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "0,15"}));
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w->txtWidth->text(), QStringLiteral("16"));
    QCOMPARE(w->txtHeight->text(), QStringLiteral("8"));
    QCOMPARE(w->picDot->size(), QSize(16 * 12, 8 * 12));
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "15,0"}));
}

void tst_canvas::dotsHiddenByASmallerSizeComeBackWithUndo()
{
    const auto w = shownEditor();
    w->document()->setDot(QPoint(1, 1), dots::kBlackPixel);
    w->document()->setDot(QPoint(20, 3), dots::kBlackPixel);
    setSize(*w, "10", "10");
    w->cmdCanvas->click();
    // A change acts on the picture as shown; what the smaller size hid goes with it...
    run(*w, CommandList::Invert);
    setSize(*w, "32", "32");
    w->cmdCanvas->click();
    QVERIFY(!w->document()->isBlack(20, 3));
    QCOMPARE(blackDots(*w).size(), 99);
    // ...and comes back when the change is undone.
    run(*w, CommandList::Undo);
    QCOMPARE(blackDots(*w), (QStringList{"1,1", "20,3"}));
}

void tst_canvas::placementGeometry_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("canvas");
    QTest::addColumn<QRect>("fitted");
    QTest::addColumn<QRect>("filled");
    QTest::newRow("wide on square") << QSize(2000, 1500) << QSize(384, 384) << QRect(0, 48, 384, 288) << QRect(-64, 0, 512, 384);
    QTest::newRow("tall on square") << QSize(300, 600) << QSize(384, 384) << QRect(96, 0, 192, 384) << QRect(0, -192, 384, 768);
    QTest::newRow("square on wide") << QSize(50, 50) << QSize(240, 96) << QRect(72, 0, 96, 96) << QRect(0, -72, 240, 240);
    QTest::newRow("same aspect") << QSize(100, 50) << QSize(96, 48) << QRect(0, 0, 96, 48) << QRect(0, 0, 96, 48);
    // An odd pixel left over goes right and down.
    QTest::newRow("odd leftover") << QSize(10, 10) << QSize(7, 4) << QRect(1, 0, 4, 4) << QRect(0, -2, 7, 7);
    QTest::newRow("empty canvas") << QSize(10, 10) << QSize(0, 12) << QRect() << QRect();
}

void tst_canvas::placementGeometry()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, canvas);
    QFETCH(QRect, fitted);
    QFETCH(QRect, filled);
    QCOMPARE(placedRect(picture, canvas, Placement::Fitted), fitted);
    QCOMPARE(placedRect(picture, canvas, Placement::Filled), filled);
    QCOMPARE(placedRect(picture, canvas, Placement::AsLoaded), canvas.isEmpty() ? QRect() : QRect(QPoint(0, 0), picture));
}

QTEST_MAIN(tst_canvas)
#include "tst_canvas.moc"
