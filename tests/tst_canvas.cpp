// The full redraw: canvas size, dots, grid, underlay and the fit of the window.
#include "support.h"

#include "convert/placement.h"
#include "editing/pictureHistory.h"
#include "editing/shapes.h"
#include "editing/transforms.h"
#include "sizeEntry.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowFrame.h"

#include <QCheckBox>
#include <QPushButton>
#include <QLineEdit>
#include <QtTest>

#include <set>

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
    void ellipsesAreSymmetricThinAndUnbrokenAtEverySize();
    void linesRectanglesAndTheirConstraints();
    void theFillStopsAtALineMeetingOnlyAtACorner();
    void partsAreCutAndPlacedAtEveryEdge();
    void theHistoryKeepsTenThousandStepsSmall();
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

namespace {

// The dots of `shape` as rows of a `size` picture, "#" for a dot of it.
QStringList rowsOf(const std::vector<QPoint> &shape, QSize size)
{
    QImage picture = dots::white(size);
    for (const QPoint &p : shape)
        if (picture.rect().contains(p))
            dots::set(picture, p.x(), p.y(), true);
    return dotRows(picture);
}

} // namespace

void tst_canvas::ellipsesAreSymmetricThinAndUnbrokenAtEverySize()
{
    // Every size from 1 x 1 to 16 x 11, each way round: inside its box and touching every
    // side of it, the same mirrored either way, unbroken (each dot touches the next, at a side
    // or a corner), and, wider and higher than two, without a doubled corner (a dot touching
    // one neighbour at its side and another below or above it).
    for (int w = 1; w <= 16; ++w)
        for (int h = 1; h <= 11; ++h)
            for (const QSize size : {QSize(w, h), QSize(h, w)}) {
                const QString name = QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
                const QPoint corner(3, 2);
                // Dragged from either corner: the same ellipse.
                const std::vector<QPoint> outline = shapes::ellipse(corner, corner + QPoint(size.width() - 1, size.height() - 1), false);
                QCOMPARE(rowsOf(shapes::ellipse(corner + QPoint(size.width() - 1, 0), corner + QPoint(0, size.height() - 1), false), QSize(20, 20)),
                         rowsOf(outline, QSize(20, 20)));
                std::set<std::pair<int, int>> dots;
                for (const QPoint &p : outline)
                    dots.insert({p.x() - corner.x(), p.y() - corner.y()});
                QCOMPARE(int(dots.size()), int(outline.size()));
                int left = 99, right = -1, top = 99, bottom = -1;
                for (const auto &[x, y] : dots) {
                    QVERIFY2(dots.count({size.width() - 1 - x, y}) && dots.count({x, size.height() - 1 - y}), qPrintable(name));
                    left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
                    if (size.width() > 2 && size.height() > 2)
                        for (const int sx : {-1, 1})
                            for (const int sy : {-1, 1})
                                QVERIFY2(!(dots.count({x + sx, y}) && dots.count({x, y + sy})), qPrintable(name));
                }
                QCOMPARE(QRect(QPoint(left, top), QPoint(right, bottom)), QRect(QPoint(0, 0), size));
                std::set<std::pair<int, int>> reached{*dots.begin()};
                std::vector<std::pair<int, int>> pending{*dots.begin()};
                while (!pending.empty()) {
                    const auto [x, y] = pending.back();
                    pending.pop_back();
                    for (int dx = -1; dx <= 1; ++dx)
                        for (int dy = -1; dy <= 1; ++dy)
                            if (dots.count({x + dx, y + dy}) && reached.insert({x + dx, y + dy}).second)
                                pending.push_back({x + dx, y + dy});
                }
                QVERIFY2(reached.size() == dots.size(), qPrintable(name));
                // Filled: each row whole from its outline's leftmost dot to its rightmost.
                const QStringList filled = rowsOf(shapes::ellipse(QPoint(0, 0), QPoint(size.width() - 1, size.height() - 1), true), size);
                const QStringList rows = rowsOf(outline, size + QSize(3, 2)).mid(2);
                for (int y = 0; y < size.height(); ++y) {
                    const QString row = rows[y].mid(3);
                    QCOMPARE(filled[y].indexOf('#'), row.indexOf('#'));
                    QCOMPARE(filled[y].lastIndexOf('#'), row.lastIndexOf('#'));
                    QVERIFY(!filled[y].mid(filled[y].indexOf('#'), filled[y].lastIndexOf('#') - filled[y].indexOf('#') + 1).contains('.'));
                }
            }
    // Worked out by hand: a circle of five, and a flat ellipse whose ends are two dots high.
    QCOMPARE(rowsOf(shapes::ellipse(QPoint(0, 0), QPoint(4, 4), false), QSize(5, 5)),
             (QStringList{".###.", "#...#", "#...#", "#...#", ".###."}));
    QCOMPARE(rowsOf(shapes::ellipse(QPoint(7, 3), QPoint(0, 0), false), QSize(8, 4)),
             (QStringList{".######.", "#......#", "#......#", ".######."}));
    QCOMPARE(rowsOf(shapes::ellipse(QPoint(0, 0), QPoint(1, 3), false), QSize(2, 4)), QStringList(4, QStringLiteral("##")));
}

void tst_canvas::linesRectanglesAndTheirConstraints()
{
    // A line in each of the eight directions: both ends, one dot a step along the longer
    // side, each touching the next.
    for (const QPoint to : {QPoint(9, 3), QPoint(3, 9), QPoint(-3, 9), QPoint(-9, 3), QPoint(-9, -3), QPoint(-3, -9),
                            QPoint(3, -9), QPoint(9, -3)}) {
        const std::vector<QPoint> line = shapes::line(QPoint(10, 10), QPoint(10, 10) + to);
        QCOMPARE(int(line.size()), 10);
        QCOMPARE(line.front(), QPoint(10, 10));
        QCOMPARE(line.back(), QPoint(10, 10) + to);
        for (size_t i = 1; i < line.size(); ++i)
            QVERIFY(std::abs(line[i].x() - line[i - 1].x()) <= 1 && std::abs(line[i].y() - line[i - 1].y()) <= 1);
    }
    // Shift: within 22.5 degrees of an axis along it, else at 45 degrees as far as the
    // longer side, each way round.
    QCOMPARE(shapes::snapped(QPoint(0, 0), QPoint(10, 4)), QPoint(10, 0));
    QCOMPARE(shapes::snapped(QPoint(0, 0), QPoint(10, 5)), QPoint(10, 10));
    QCOMPARE(shapes::snapped(QPoint(0, 0), QPoint(-4, 10)), QPoint(0, 10));
    QCOMPARE(shapes::snapped(QPoint(0, 0), QPoint(-5, -10)), QPoint(-10, -10));
    QCOMPARE(shapes::snapped(QPoint(5, 5), QPoint(5, -3)), QPoint(5, -3));
    QCOMPARE(shapes::squared(QPoint(2, 2), QPoint(10, 5)), QPoint(10, 10));
    QCOMPARE(shapes::squared(QPoint(2, 2), QPoint(-1, 9)), QPoint(-5, 9));
    QCOMPARE(shapes::squared(QPoint(2, 2), QPoint(0, -4)), QPoint(-4, -4));
    QCOMPARE(shapes::squared(QPoint(2, 2), QPoint(9, 0)), QPoint(9, -5));
    // A rectangle dragged from any corner to the opposite one: the same 32-dot outline of
    // 9 x 9 dots, or the 81 dots filled.
    const QPoint a(2, 2), b(10, 10);
    for (const auto &[from, to] : {std::pair{a, b}, std::pair{b, a}, std::pair{QPoint(2, 10), QPoint(10, 2)}, std::pair{QPoint(10, 2), QPoint(2, 10)}}) {
        const std::vector<QPoint> outline = shapes::rectangle(from, to, false);
        QCOMPARE(int(outline.size()), 32);
        QCOMPARE(rowsOf(outline, QSize(12, 12)), rowsOf(shapes::rectangle(a, b, false), QSize(12, 12)));
        QCOMPARE(int(shapes::rectangle(from, to, true).size()), 81);
    }
    QCOMPARE(rowsOf(shapes::rectangle(QPoint(0, 0), QPoint(2, 1), false), QSize(3, 2)), (QStringList{"###", "###"}));
    // The pen's corner rule: only a dot between two that touch at a corner, touching both at
    // a side.
    QVERIFY(shapes::isDoubledCorner(QPoint(0, 0), QPoint(1, 0), QPoint(1, 1)));
    QVERIFY(shapes::isDoubledCorner(QPoint(1, 1), QPoint(0, 1), QPoint(0, 0)));
    QVERIFY(!shapes::isDoubledCorner(QPoint(0, 0), QPoint(1, 0), QPoint(2, 0)));
    QVERIFY(!shapes::isDoubledCorner(QPoint(0, 0), QPoint(1, 1), QPoint(2, 1)));
    QVERIFY(!shapes::isDoubledCorner(QPoint(0, 0), QPoint(1, 0), QPoint(2, 1)));
}

void tst_canvas::theFillStopsAtALineMeetingOnlyAtACorner()
{
    // A ragged room whose wall has a diagonal step: the fill stays inside, the dots outside
    // the wall untouched; from outside, the rest and nothing of the room.
    const QImage room = dotPicture({"########", "#......#", "#...####", "#..#....", "#.#.....", "##......"});
    std::vector<QPoint> inside = shapes::region(room, QPoint(1, 1));
    QCOMPARE(int(inside.size()), 6 + 3 + 2 + 1);
    QCOMPARE(rowsOf(inside, room.size()), (QStringList{"........", ".######.", ".###....", ".##.....", ".#......", "........"}));
    std::vector<QPoint> outside = shapes::region(room, QPoint(7, 5));
    QCOMPARE(int(outside.size()), 4 + 5 + 6);
    // The wall itself, black, is a region of its own; nothing outside the picture is.
    QCOMPARE(int(shapes::region(room, QPoint(0, 0)).size()), 8 + 4 + 1 + 2 + 2 + 2 + 1 - 1);
    QVERIFY(shapes::region(room, QPoint(8, 0)).empty());
    QVERIFY(shapes::region(room, QPoint(0, -1)).empty());
    // Colours apart: a red dot is no part of a white region.
    QImage coloured = dots::white(QSize(3, 1));
    dots::put(coloured, 1, 0, dots::kSquares[2].pixel);
    QCOMPARE(int(shapes::region(coloured, QPoint(0, 0)).size()), 1);
}

void tst_canvas::partsAreCutAndPlacedAtEveryEdge()
{
    const QImage picture = dotPicture({"#..#", ".##.", "#..#"});
    QCOMPARE(dotRows(shapes::part(picture, QRect(1, 0, 2, 2))), (QStringList{"..", "##"}));
    // Partly outside: only what lies inside.
    QCOMPARE(dotRows(shapes::part(picture, QRect(-1, 2, 3, 5))), QStringList{"#."});
    QCOMPARE(dotRows(shapes::emptied(picture, QRect(2, -1, 9, 2))), (QStringList{"#...", ".##.", "#..#"}));
    // Placed at each edge and beyond it: what falls outside is cut.
    const QImage part = dotPicture({"##", "#."});
    const QImage blank = dots::white(QSize(4, 3));
    QCOMPARE(dotRows(shapes::placed(blank, part, QPoint(-1, -1))), (QStringList{"....", "....", "...."}));
    QCOMPARE(dotRows(shapes::placed(blank, part, QPoint(-1, 0))), (QStringList{"#...", "....", "...."}));
    QCOMPARE(dotRows(shapes::placed(blank, part, QPoint(3, 2))), (QStringList{"....", "....", "...#"}));
    QCOMPARE(dotRows(shapes::placed(blank, part, QPoint(0, 1))), (QStringList{"....", "##..", "#..."}));
    // White in the part covers what was under it.
    QCOMPARE(dotRows(shapes::placed(picture, part, QPoint(2, 1))), (QStringList{"#..#", ".###", "#.#."}));
}

void tst_canvas::theHistoryKeepsTenThousandStepsSmall()
{
    DotPicture picture;
    picture.resize(QSize(48, 48));
    QLineEdit width(QStringLiteral("48")), height(QStringLiteral("48"));
    PictureHistory history(&picture, &width, &height);
    // Ten thousand strokes of three dots, and one more: the oldest goes, every step is kept
    // as the dots it changed.
    for (int i = 0; i <= PictureHistory::kSteps; ++i) {
        std::vector<DotChange> changes;
        for (int d = 0; d < 3; ++d) {
            const QPoint p((i + d) % 48, (i / 48 + d) % 48);
            changes.push_back({quint16(p.x()), quint16(p.y()), picture.dot(p), picture.dot(p) ^ 0xFFFFFFu});
            picture.setDot(p, picture.dot(p) ^ 0xFFFFFFu);
        }
        history.changedDots(QStringLiteral("描画"), changes);
    }
    QCOMPARE(history.steps(), PictureHistory::kSteps);
    QVERIFY2(history.bytesKept() < qint64(PictureHistory::kSteps) * 200, qPrintable(QString::number(history.bytesKept())));
    // Whole pictures replaced: each kept compressed, a few hundred bytes, not 9,216.
    const qint64 before = history.bytesKept();
    for (int i = 0; i < 100; ++i)
        history.replace(QStringLiteral("白黒反転"), transforms::inverted(picture.image()));
    QVERIFY2(history.bytesKept() - before < 100 * 2 * 2000, qPrintable(QString::number(history.bytesKept() - before)));
    // Undone all the way back, the picture is as it began: white.
    const QImage last = picture.image();
    while (history.stack()->canUndo())
        history.undo();
    QVERIFY(!picture.hasDots() || history.steps() == PictureHistory::kSteps);
    while (history.stack()->canRedo())
        history.redo();
    QCOMPARE(picture.image(), last);
}

QTEST_MAIN(tst_canvas)
#include "tst_canvas.moc"
