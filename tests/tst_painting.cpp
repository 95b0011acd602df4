// Painting dots with the mouse, driven through real mouse events.
#include "support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

// Collects the regions a widget is asked to repaint.
class PaintSpy : public QObject
{
public:
    explicit PaintSpy(QWidget *w) { w->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(e)->region();
        return false;
    }
};

// Pixels of the canvas that differ between two images.
QRegion changed(const QImage &a, const QImage &b)
{
    QRegion r;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                r += QRect(x, y, 1, 1);
    return r;
}

} // namespace

class tst_painting : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void leftPressBlackensExactlyOneCell();
    void gridLinesBelongToTheCellRightAndBelow();
    void otherButtonsPaintWhiteAndModifiersChangeNothing();
    void dragPaintsEveryCellPassedAndStaysOnTheCanvas();
    void quickDragsPaintUnbrokenLines();
    void anyReleaseEndsTheStroke();
    void moveWithoutButtonsEndsTheStrokeAndPaintsNothing();
    void whitePaintingUncoversTheUnderlay();
    void onePaintRepaintsOneCell();
    void positionsNoDotCanHaveChangeNothing();
    void keyboardPaintsWhereTheCursorIs();
    void heldKeysPaintEveryDotPassedAsOneStep();
    void deleteUncoversTheUnderlay();
    void mirrorPaintsBothHalves_data();
    void mirrorPaintsBothHalves();
    void shiftClickDrawsALine();
    void aStrokeThatChangesNothingIsNoStep();
    void mouseAndKeyboardTogetherAreOneStroke();
    void eachToolThroughRealEvents();
    void theSelectionMovesCopiesClearsAndTurnsItsPart();
    void shapesAndSelectionsFromTheKeyboard();
    void thePenDropsDoubledCornersWhenAsked();

private:
    QPoint at(QPointF canvas) const { return w->picDot->mapTo(w, canvas.toPoint()); }
    // The middle of dot (x, y) on the canvas at x12.
    QPoint dot(int x, int y) const { return at(QPointF(x * 12 + 6, y * 12 + 6)); }
    // A drag with `button` from dot `from` to dot `to`, through the dots between.
    void drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {})
    {
        QTest::mousePress(win(), button, keys, dot(from.x(), from.y()));
        for (const QPoint p : {(from + to) / 2, to}) {
            // Moves with the keys held, as the window system gives them.
            const QPointF local(p.x() * 12 + 6, p.y() * 12 + 6);
            QMouseEvent move(QEvent::MouseMove, local, w->picDot->mapToGlobal(local), Qt::NoButton, button, keys);
            QApplication::sendEvent(w->picDot, &move);
        }
        QTest::mouseRelease(win(), button, keys, dot(to.x(), to.y()));
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(w->picDot, k, m); }
    QWindow *win() const { return w->windowHandle(); }

    frmMain *w = nullptr;
};

void tst_painting::init()
{
    w = new frmMain;
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
}

void tst_painting::cleanup()
{
    delete w;
    w = nullptr;
}

void tst_painting::leftPressBlackensExactlyOneCell()
{
    const QImage before = w->picDot->image().copy();
    QTest::mousePress(win(), Qt::LeftButton, {}, at({25, 3}));
    QCOMPARE(blackDots(*w), QStringList{"2,0"});
    QCOMPARE(changed(before, w->picDot->image()), QRegion(25, 1, 11, 11));
    QCOMPARE(w->picDot->point(25, 1), kBlack);
    QCOMPARE(w->picDot->point(35, 11), kBlack);
    QVERIFY(w->Painting);
    QTest::mouseRelease(win(), Qt::LeftButton, {}, at({25, 3}));
    QVERIFY(!w->Painting);
}

void tst_painting::gridLinesBelongToTheCellRightAndBelow()
{
    QTest::mouseClick(win(), Qt::LeftButton, {}, at({24, 5}));
    QTest::mouseClick(win(), Qt::LeftButton, {}, at({5, 12}));
    QCOMPARE(blackDots(*w), (QStringList{"2,0", "0,1"}));
    // The grid itself is never painted over.
    QCOMPARE(w->picDot->point(24, 5), 0xC0C0C0);
    QCOMPARE(w->picDot->point(5, 12), 0xC0C0C0);
}

void tst_painting::otherButtonsPaintWhiteAndModifiersChangeNothing()
{
    QTest::mouseClick(win(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, at({5, 5}));
    QTest::mouseClick(win(), Qt::LeftButton, Qt::AltModifier, at({17, 5}));
    QTest::mouseClick(win(), Qt::LeftButton, {}, at({29, 5}));
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "1,0", "2,0"}));

    QTest::mouseClick(win(), Qt::RightButton, {}, at({5, 5}));
    QTest::mouseClick(win(), Qt::MiddleButton, {}, at({17, 5}));
    QCOMPARE(blackDots(*w), QStringList{"2,0"});
    QCOMPARE(w->picPreview->point(0, 0), kWhite);
    QCOMPARE(w->picDot->point(5, 5), kWhite);

    // A side button is no paint stroke at all.
    QTest::mouseClick(win(), Qt::BackButton, {}, at({29, 5}));
    QVERIFY(blackDots(*w).contains("2,0"));
    QVERIFY(!w->Painting);

    // Left and right held together is no longer "the left button": it paints white.
    QTest::mousePress(win(), Qt::LeftButton, {}, at({100, 100}));
    QTest::mousePress(win(), Qt::RightButton, {}, at({100, 100}));
    QTest::mouseMove(win(), at({29, 5}));
    QVERIFY(blackDots(*w).contains("8,8") == false);
    QVERIFY(!blackDots(*w).contains("2,0"));
    QTest::mouseRelease(win(), Qt::RightButton, {}, at({29, 5}));
    QTest::mouseRelease(win(), Qt::LeftButton, {}, at({29, 5}));
}

void tst_painting::dragPaintsEveryCellPassedAndStaysOnTheCanvas()
{
    QTest::mousePress(win(), Qt::LeftButton, {}, at({5, 5}));
    for (int x = 5; x <= 53; x += 6)
        QTest::mouseMove(win(), at({double(x), 5}));
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "1,0", "2,0", "3,0", "4,0"}));

    // Off the canvas to the left and above, over the control panel: the canvas keeps
    // the mouse, and nothing changes.
    const QImage before = w->picDot->image().copy();
    for (QPointF p : {QPointF(-1, 30), QPointF(-12, 30), QPointF(30, -0.5), QPointF(-50, -50),
                      QPointF(500, 30), QPointF(30, 500)})
        QTest::mouseMove(win(), at(p));
    QCOMPARE(changed(before, w->picDot->image()), QRegion());
    QCOMPARE(blackDots(*w).size(), 5);

    // Back over the canvas with the button still held: painting resumes.
    QTest::mouseMove(win(), at({100, 100}));
    QVERIFY(blackDots(*w).contains("8,8"));
    QTest::mouseRelease(win(), Qt::LeftButton, {}, at({100, 100}));
    QVERIFY(!w->Painting);
}

void tst_painting::quickDragsPaintUnbrokenLines()
{
    // Moves many cells apart, as the window system delivers a quick hand: every cell
    // between them is painted, ends included.
    QTest::mousePress(win(), Qt::LeftButton, {}, at({29, 29}));
    QTest::mouseMove(win(), at({305, 29}));
    QTest::mouseMove(win(), at({305, 125}));
    QCOMPARE(blackDots(*w).size(), 24 + 8);
    QVERIFY(blackDots(*w).contains("14,2") && blackDots(*w).contains("25,6"));
    // Out over the panel and back in: nothing outside, only the dot of re-entry.
    QTest::mouseMove(win(), at({-40, 125}));
    QTest::mouseMove(win(), at({101, 200}));
    QCOMPARE(blackDots(*w).size(), 33);
    QVERIFY(blackDots(*w).contains("8,16"));
    // Both buttons held: the rest of the stroke is white, the dot it starts from too.
    QTest::mousePress(win(), Qt::RightButton, {}, at({101, 200}));
    QTest::mouseMove(win(), at({29, 29}));
    QCOMPARE(blackDots(*w).size(), 32 - 1);
    QVERIFY(!blackDots(*w).contains("8,16") && !blackDots(*w).contains("2,2"));
    QTest::mouseRelease(win(), Qt::RightButton, {}, at({29, 29}));
    QTest::mouseRelease(win(), Qt::LeftButton, {}, at({29, 29}));
}

void tst_painting::anyReleaseEndsTheStroke()
{
    QTest::mousePress(win(), Qt::LeftButton, {}, at({5, 5}));
    QTest::mousePress(win(), Qt::RightButton, {}, at({17, 5}));
    QTest::mouseRelease(win(), Qt::RightButton, {}, at({17, 5}));
    QVERIFY(!w->Painting);
    QTest::mouseMove(win(), at({41, 5}));
    QTest::mouseMove(win(), at({53, 5}));
    QCOMPARE(blackDots(*w), QStringList{"0,0"});
    QTest::mouseRelease(win(), Qt::LeftButton, {}, at({53, 5}));
}

void tst_painting::moveWithoutButtonsEndsTheStrokeAndPaintsNothing()
{
    QTest::mouseClick(win(), Qt::LeftButton, {}, at({29, 29}));
    // A stroke whose release never arrived (the grab was broken by the desktop).
    w->picDot_MouseDown(1, 0, 5, 5);
    QVERIFY(w->Painting);
    QTest::mouseMove(win(), at({30, 31}));
    QVERIFY(!w->Painting);
    QTest::mouseMove(win(), at({5, 6}));
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "2,2"}));
}

void tst_painting::whitePaintingUncoversTheUnderlay()
{
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(qRgb(0x12, 0x34, 0x56));
    w->picTrace->setPicture(picture);
    w->chkTrace->setChecked(true);
    w->Draw();
    QTest::mouseClick(win(), Qt::LeftButton, {}, at({17, 17}));
    QTest::mouseClick(win(), Qt::LeftButton, {}, at({41, 41}));
    QCOMPARE(w->picDot->point(20, 20), kBlack);

    QTest::mouseClick(win(), Qt::RightButton, {}, at({17, 17}));
    QCOMPARE(w->picPreview->point(1, 1), kWhite);
    for (int y = 13; y <= 23; ++y)
        for (int x = 13; x <= 23; ++x)
            QCOMPARE(w->picDot->point(x, y), 0x123456);
    // The picture ends at 40 pixels; the rest of the cell at (3, 3) is the holder's background.
    QTest::mouseClick(win(), Qt::RightButton, {}, at({41, 41}));
    QCOMPARE(w->picDot->point(39, 39), 0x123456);
    QCOMPARE(w->picDot->point(40, 40), kWhite);
    QCOMPARE(w->picDot->point(36, 40), 0xC0C0C0);
}

void tst_painting::onePaintRepaintsOneCell()
{
    PaintSpy spy(w->picDot);
    QTest::qWait(20);
    spy.painted = QRegion();
    QTest::mousePress(win(), Qt::LeftButton, {}, at({25, 3}));
    QTRY_VERIFY(!spy.painted.isEmpty());
    QCOMPARE(spy.painted, QRegion(25, 1, 11, 11));
    QTest::mouseRelease(win(), Qt::LeftButton, {}, at({25, 3}));
}

void tst_painting::positionsNoDotCanHaveChangeNothing()
{
    const QImage before = w->picDot->image().copy();
    const float inf = std::numeric_limits<float>::infinity();
    for (float v : {std::nanf(""), inf, -inf, 3e9f, -3e9f, 1e38f})
        for (std::int16_t button : {std::int16_t(1), std::int16_t(2)}) {
            w->DotDraw(button, v, 5);
            w->DotDraw(button, 5, v);
        }
    w->DotSize = 0;
    w->DotDraw(1, 5, 5);
    QCOMPARE(changed(before, w->picDot->image()), QRegion());
    QVERIFY(blackDots(*w).isEmpty());
}

void tst_painting::keyboardPaintsWhereTheCursorIs()
{
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->picDot));
    // No cursor until a key uses it.
    QVERIFY(!w->picDot->outline());
    for (Qt::Key k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
        QTest::keyClick(w->picDot, k);
    QCOMPARE(w->editor()->cursor(), QPoint(2, 1));
    QCOMPARE(w->picDot->outline(), std::optional<QRect>(QRect(24, 12, 13, 13)));
    QVERIFY(blackDots(*w).isEmpty());
    QTest::keyClick(w->picDot, Qt::Key_Space);
    QCOMPARE(blackDots(*w), QStringList{"2,1"});
    QCOMPARE(w->picDot->point(25, 13), kBlack);
    QCOMPARE(w->picDot->accessibleValue(), QStringLiteral("カーソル 3 列 2 行、黒"));
    // The edges: the cursor stops there.
    QTest::keyClick(w->picDot, Qt::Key_End);
    QTest::keyClick(w->picDot, Qt::Key_PageDown);
    QTest::keyClick(w->picDot, Qt::Key_Right);
    QTest::keyClick(w->picDot, Qt::Key_Down);
    QCOMPARE(w->editor()->cursor(), QPoint(31, 31));
    QTest::keyClick(w->picDot, Qt::Key_Home);
    QTest::keyClick(w->picDot, Qt::Key_PageUp);
    QCOMPARE(w->editor()->cursor(), QPoint(0, 0));
    // Left and Up each their own way, and they too stop at the edge.
    for (Qt::Key k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up})
        QTest::keyClick(w->picDot, k);
    QCOMPARE(w->editor()->cursor(), QPoint(1, 1));
    for (Qt::Key k : {Qt::Key_Left, Qt::Key_Left, Qt::Key_Up, Qt::Key_Up})
        QTest::keyClick(w->picDot, k);
    QCOMPARE(w->editor()->cursor(), QPoint(0, 0));
    // One step per key stroke.
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(blackDots(*w).isEmpty());
    // The outline is no part of the picture, and goes with the focus.
    QCOMPARE(w->picDot->point(0, 5), 0xC0C0C0);
    w->cmdClear->setFocus();
    QVERIFY(!w->picDot->outline());
}

void tst_painting::heldKeysPaintEveryDotPassedAsOneStep()
{
    // Held down: a press, repeats while the cursor moves, one release.
    QTest::keyPress(w->picDot, Qt::Key_Space);
    QTest::keyClick(w->picDot, Qt::Key_Right);
    QTest::sendKeyEvent(QTest::Press, w->picDot, Qt::Key_Space, ' ', Qt::NoModifier);
    QTest::keyClick(w->picDot, Qt::Key_Right);
    QTest::keyRelease(w->picDot, Qt::Key_Space);
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "1,0", "2,0"}));
    // Jumping to an edge paints every dot on the way.
    QTest::keyPress(w->picDot, Qt::Key_Space);
    QTest::keyClick(w->picDot, Qt::Key_PageDown);
    QTest::keyRelease(w->picDot, Qt::Key_Space);
    QCOMPARE(blackDots(*w).size(), 3 + 31);
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "1,0", "2,0"}));
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(blackDots(*w).isEmpty());
    // Moving without a key held paints nothing.
    QTest::keyClick(w->picDot, Qt::Key_Left);
    QVERIFY(blackDots(*w).isEmpty());
}

void tst_painting::deleteUncoversTheUnderlay()
{
    QImage picture(200, 200, QImage::Format_RGB32);
    picture.fill(qRgb(0x12, 0x34, 0x56));
    w->picTrace->setPicture(picture);
    w->chkTrace->setChecked(true);
    w->Draw();
    for (int i = 0; i < 3; ++i)
        w->document()->setDot(QPoint(i, 0), dots::kBlackPixel);
    w->Draw();
    QTest::keyClick(w->picDot, Qt::Key_Delete);
    QTest::keyClick(w->picDot, Qt::Key_Right);
    QTest::keyClick(w->picDot, Qt::Key_Backspace);
    QCOMPARE(blackDots(*w), QStringList{"2,0"});
    for (int x = 1; x <= 23; x += 11)
        QCOMPARE(w->picDot->point(x, 5) == 0x123456, x != 12);
    QCOMPARE(w->picPreview->point(1, 0), kWhite);
}

void tst_painting::mirrorPaintsBothHalves_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("axis");
    QTest::newRow("even: the axis between two dots") << 8 << 4 * 12;
    QTest::newRow("odd: the axis on the middle column") << 7 << 3 * 12 + 6;
}

void tst_painting::mirrorPaintsBothHalves()
{
    QFETCH(int, width);
    QFETCH(int, axis);
    setSize(*w, QString::number(width), "4");
    w->cmdCanvas->click();
    w->picDot->setFocus();
    QTest::keyClick(w->picDot, Qt::Key_M);
    QVERIFY(w->editor()->mirror());
    QCOMPARE(w->picDot->axis(), std::optional<int>(axis));
    // A click, then the keyboard going on from the dot clicked.
    QTest::mouseClick(win(), Qt::LeftButton, {}, at({17, 5}));
    QTest::keyClick(w->picDot, Qt::Key_Down);
    QTest::keyClick(w->picDot, Qt::Key_Left);
    QTest::keyClick(w->picDot, Qt::Key_Space);
    const QString right = QString::number(width - 2), last = QString::number(width - 1);
    QCOMPARE(blackDots(*w), (QStringList{"1,0", right + ",0", "0,1", last + ",1"}));
    // The middle column of an odd width is its own mirror.
    if (width % 2 == 1) {
        QTest::mouseClick(win(), Qt::LeftButton, {}, at({3 * 12 + 5, 3 * 12 + 5}));
        QVERIFY(blackDots(*w).contains("3,3"));
        QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    }
    // Both halves are one step.
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(blackDots(*w), (QStringList{"1,0", right + ",0"}));
    QTest::keyClick(w->picDot, Qt::Key_M);
    QVERIFY(!w->picDot->axis());
    QTest::mouseClick(win(), Qt::LeftButton, {}, at({5, 40}));
    QCOMPARE(blackDots(*w), (QStringList{"1,0", right + ",0", "0,3"}));
}

void tst_painting::shiftClickDrawsALine()
{
    QTest::mouseClick(win(), Qt::LeftButton, {}, at({17, 17}));
    QTest::mouseClick(win(), Qt::LeftButton, Qt::ShiftModifier, at({5 * 12 + 5, 3 * 12 + 5}));
    QCOMPARE(blackDots(*w), (QStringList{"1,1", "2,2", "3,2", "4,3", "5,3"}));
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(blackDots(*w), QStringList{"1,1"});
    // From the last dot painted, in the colour of the button.
    QTest::mouseClick(win(), Qt::LeftButton, {}, at({5, 5}));
    QTest::mouseClick(win(), Qt::LeftButton, Qt::ShiftModifier, at({5, 41}));
    QTest::mouseClick(win(), Qt::RightButton, Qt::ShiftModifier, at({5, 5}));
    QCOMPARE(blackDots(*w), QStringList{"1,1"});
}

void tst_painting::aStrokeThatChangesNothingIsNoStep()
{
    QTest::mouseClick(win(), Qt::LeftButton, {}, at({5, 5}));
    // White over white, black over black: nothing changes, and no step is made.
    QTest::mouseClick(win(), Qt::RightButton, {}, at({100, 100}));
    QTest::mouseClick(win(), Qt::LeftButton, {}, at({5, 5}));
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(blackDots(*w).isEmpty());
    QTest::keyClick(w->picDot, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(blackDots(*w), QStringList{"0,0"});
}

void tst_painting::mouseAndKeyboardTogetherAreOneStroke()
{
    // A drag, and Space pressed and let go on the way: one stroke, one step.
    QTest::mousePress(win(), Qt::LeftButton, {}, at({5, 5}));
    QTest::keyClick(w->picDot, Qt::Key_Right);
    QTest::keyPress(w->picDot, Qt::Key_Space);
    QTest::keyRelease(w->picDot, Qt::Key_Space);
    QTest::mouseMove(win(), at({41, 5}));
    QTest::mouseRelease(win(), Qt::LeftButton, {}, at({41, 5}));
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "1,0", "2,0", "3,0"}));
    QCOMPARE(w->picDot->accessibleValue(), QStringLiteral("カーソル 2 列 1 行、黒"));
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(blackDots(*w).isEmpty());
    QCOMPARE(w->picDot->accessibleValue(), QStringLiteral("カーソル 2 列 1 行、白"));
}

void tst_painting::eachToolThroughRealEvents()
{
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    // R, a drag from dot (2, 2) to (10, 10): its 32-dot outline, one step, named.
    key(Qt::Key_R);
    QCOMPARE(w->editor()->tool(), CanvasEditor::Tool::Rectangle);
    QCOMPARE(w->picDot->cursor().shape(), Qt::CrossCursor);
    drag(QPoint(2, 2), QPoint(10, 10));
    QCOMPARE(blackDots(*w).size(), 32);
    QVERIFY(w->document()->isBlack(2, 2) && w->document()->isBlack(10, 10) && w->document()->isBlack(2, 10));
    QVERIFY(!w->document()->isBlack(3, 3) && !w->document()->isBlack(11, 11));
    QCOMPARE(w->commands()->action(CommandList::Undo)->text(), QStringLiteral("元に戻す（四角）"));
    // G and a click at (5, 5): its inside, 7 x 7, and nothing outside.
    key(Qt::Key_G);
    QTest::mouseClick(win(), Qt::LeftButton, {}, dot(5, 5));
    QCOMPARE(blackDots(*w).size(), 81);
    QVERIFY(!w->document()->isBlack(1, 1) && !w->document()->isBlack(11, 5));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(blackDots(*w).size(), 32);
    // The right button fills white: the rectangle's wall goes, as one region.
    QTest::mouseClick(win(), Qt::RightButton, {}, dot(2, 6));
    QVERIFY(blackDots(*w).isEmpty());
    key(Qt::Key_Z, Qt::ControlModifier);
    // A diagonal line of one dot stops a fill: G on one side leaves the other.
    w->cmdClear->click();
    key(Qt::Key_L);
    drag(QPoint(0, 8), QPoint(8, 0));
    QCOMPARE(blackDots(*w).size(), 9);
    key(Qt::Key_G);
    QTest::mouseClick(win(), Qt::LeftButton, {}, dot(1, 1));
    QCOMPARE(blackDots(*w).size(), 9 + 36);
    QVERIFY(!w->document()->isBlack(5, 5));
    // L with Shift: 45 degrees.
    w->cmdClear->click();
    key(Qt::Key_L);
    drag(QPoint(1, 1), QPoint(9, 6), Qt::LeftButton, Qt::ShiftModifier);
    QVERIFY(w->document()->isBlack(9, 9) && w->document()->isBlack(5, 5));
    QCOMPARE(blackDots(*w).size(), 9);
    // O and a drag: an ellipse symmetric in its box, gone entirely with one Ctrl+Z.
    w->cmdClear->click();
    const int steps = int(w->commands()->action(CommandList::Undo)->isEnabled());
    key(Qt::Key_O);
    drag(QPoint(3, 4), QPoint(16, 12));
    QStringList rows = dotRows(*w);
    for (int y = 4; y <= 12; ++y)
        for (int x = 3; x <= 16; ++x)
            QCOMPARE(rows[y][x], rows[16 - y][19 - x]);
    QVERIFY(w->document()->isBlack(3, 8) && w->document()->isBlack(16, 8) && !w->document()->isBlack(3, 4));
    key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(blackDots(*w).isEmpty());
    QCOMPARE(int(w->commands()->action(CommandList::Undo)->isEnabled()), steps);
    // Shift+O: filled, and a circle with Shift; Escape during the drag leaves nothing.
    key(Qt::Key_O, Qt::ShiftModifier);
    QTest::mousePress(win(), Qt::LeftButton, {}, dot(2, 2));
    QTest::mouseMove(win(), dot(9, 5));
    QVERIFY(w->document()->isBlack(5, 3));
    key(Qt::Key_Escape);
    QVERIFY(blackDots(*w).isEmpty());
    QTest::mouseRelease(win(), Qt::LeftButton, {}, dot(9, 5));
    QVERIFY(blackDots(*w).isEmpty());
    drag(QPoint(2, 2), QPoint(8, 3), Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(dotRows(*w)[5].mid(2, 7), QStringLiteral("#######"));
    // A shape dragged off the canvas is cut at its edge.
    w->cmdClear->click();
    key(Qt::Key_R);
    drag(QPoint(3, 3), QPoint(-3, -3));
    QCOMPARE(blackDots(*w), (QStringList{"3,0", "3,1", "3,2", "0,3", "1,3", "2,3", "3,3"}));
    // Mirror drawing with a tool: the rectangle's mirror image too.
    w->cmdClear->click();
    key(Qt::Key_M);
    drag(QPoint(0, 0), QPoint(1, 1));
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "1,0", "30,0", "31,0", "0,1", "1,1", "30,1", "31,1"}));
    key(Qt::Key_M);
    // B: the pen again, painting as it always did.
    key(Qt::Key_B);
    QCOMPARE(w->picDot->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(win(), Qt::LeftButton, {}, dot(20, 20));
    QVERIFY(w->document()->isBlack(20, 20));
}

void tst_painting::theSelectionMovesCopiesClearsAndTurnsItsPart()
{
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    key(Qt::Key_R);
    drag(QPoint(2, 2), QPoint(5, 4));
    const QStringList before = dotRows(*w);
    // S, a drag around it, a drag inside: moved three right and two down, the place it left
    // white, one step.
    key(Qt::Key_S);
    drag(QPoint(1, 1), QPoint(6, 5));
    QCOMPARE(w->editor()->selection(), std::optional<QRect>(QRect(1, 1, 6, 5)));
    QVERIFY(w->picDot->selection().has_value());
    drag(QPoint(3, 3), QPoint(6, 5));
    QCOMPARE(w->editor()->selection(), std::optional<QRect>(QRect(4, 3, 6, 5)));
    QVERIFY(!w->document()->isBlack(2, 2) && w->document()->isBlack(5, 4) && w->document()->isBlack(8, 6));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), before);
    // Ctrl+C copies the selection's rows alone; Ctrl+X cuts them.
    drag(QPoint(2, 2), QPoint(5, 3));
    key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("■■■■\r\n■□□■\r\n"));
    // The arrows move it a dot; Delete clears it.
    key(Qt::Key_Right);
    QCOMPARE(w->editor()->selection(), std::optional<QRect>(QRect(3, 2, 4, 2)));
    QVERIFY(!w->document()->isBlack(2, 2) && w->document()->isBlack(6, 2));
    key(Qt::Key_Left);
    QCOMPARE(dotRows(*w), before);
    key(Qt::Key_Delete);
    QCOMPARE(blackDots(*w), (QStringList{"2,4", "3,4", "4,4", "5,4"}));
    key(Qt::Key_Z, Qt::ControlModifier);
    drag(QPoint(2, 2), QPoint(5, 3));
    key(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("■■■■\r\n■□□■\r\n"));
    QCOMPARE(blackDots(*w).size(), 4);
    key(Qt::Key_Z, Qt::ControlModifier);
    // Turned, flipped and inverted: the selection alone, each one step.
    drag(QPoint(2, 2), QPoint(5, 3));
    key(Qt::Key_V, Qt::ShiftModifier);
    QCOMPARE(dotRows(*w).mid(2, 2), (QStringList{"..#..#" + QString(26, '.'), "..####" + QString(26, '.')}));
    key(Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(dotRows(*w)[2].left(7), QStringLiteral("...##.."));
    key(Qt::Key_R, Qt::ControlModifier);
    // A part of 4 x 2 turned is 2 x 4 at the same corner: its right column what was its left
    // end, the rectangle's last row beside it untouched.
    QCOMPARE(w->editor()->selection(), std::optional<QRect>(QRect(2, 2, 2, 4)));
    QCOMPARE(blackDots(*w), (QStringList{"3,3", "3,4", "4,4", "5,4"}));
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), before);
    // A picture's text pasted while the selection is chosen lies over the picture at the
    // selection's corner, to move; Enter puts it down, one step.
    drag(QPoint(10, 10), QPoint(12, 12));
    QApplication::clipboard()->setText(QStringLiteral("■■\r\n■□\r\n"));
    key(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(w->editor()->floating());
    QVERIFY(w->document()->isBlack(10, 10) && w->document()->isBlack(10, 11) && !w->document()->isBlack(11, 11));
    key(Qt::Key_Down);
    QVERIFY(w->document()->isBlack(10, 12) && !w->document()->isBlack(11, 10));
    QCOMPARE(w->txtWidth->text(), QStringLiteral("32"));
    key(Qt::Key_Return);
    QVERIFY(!w->editor()->floating());
    QVERIFY(w->document()->isBlack(10, 11));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), before);
    // Escape during a drag of the part: back where it was, nothing changed.
    drag(QPoint(2, 2), QPoint(5, 4));
    QTest::mousePress(win(), Qt::LeftButton, {}, dot(3, 3));
    QTest::mouseMove(win(), dot(9, 9));
    key(Qt::Key_Escape);
    QTest::mouseRelease(win(), Qt::LeftButton, {}, dot(9, 9));
    QCOMPARE(dotRows(*w), before);
    // Another tool drops the selection.
    key(Qt::Key_B);
    QVERIFY(!w->editor()->selection());
}

void tst_painting::shapesAndSelectionsFromTheKeyboard()
{
    w->picDot->setFocus();
    // A rectangle: Space marks the first corner, the arrows go to the other, Space draws.
    key(Qt::Key_R);
    key(Qt::Key_Space);
    for (int i = 0; i < 3; ++i) {
        key(Qt::Key_Right);
        key(Qt::Key_Down);
    }
    QCOMPARE(blackDots(*w).size(), 12);
    key(Qt::Key_Space);
    QCOMPARE(blackDots(*w).size(), 12);
    key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(blackDots(*w).isEmpty());
    // Shift and the arrows mark a selection from the cursor.
    key(Qt::Key_S);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(w->editor()->selection(), std::optional<QRect>(QRect(3, 3, 2, 2)));
    // G and Space fill where the cursor is; Delete fills white.
    key(Qt::Key_G);
    key(Qt::Key_Space);
    QCOMPARE(blackDots(*w).size(), 32 * 32);
    key(Qt::Key_Delete);
    QVERIFY(blackDots(*w).isEmpty());
}

void tst_painting::thePenDropsDoubledCornersWhenAsked()
{
    // Right, then down: a corner dot too many, unless 角を整える is on.
    const auto stroke = [this] {
        QTest::mousePress(win(), Qt::LeftButton, {}, dot(1, 1));
        QTest::mouseMove(win(), dot(2, 1));
        QTest::mouseMove(win(), dot(2, 2));
        QTest::mouseMove(win(), dot(3, 2));
        QTest::mouseMove(win(), dot(3, 3));
        QTest::mouseRelease(win(), Qt::LeftButton, {}, dot(3, 3));
    };
    stroke();
    QCOMPARE(blackDots(*w), (QStringList{"1,1", "2,1", "2,2", "3,2", "3,3"}));
    w->cmdClear->click();
    w->commands()->action(CommandList::SmoothCorners)->trigger();
    QVERIFY(w->editor()->smoothCorners());
    stroke();
    QCOMPARE(blackDots(*w), (QStringList{"1,1", "2,2", "3,3"}));
    // A dot already black before the stroke stays black.
    w->cmdClear->click();
    w->document()->setDot(QPoint(2, 1), dots::kBlackPixel);
    stroke();
    QVERIFY(w->document()->isBlack(2, 1));
}

QTEST_MAIN(tst_painting)
#include "tst_painting.moc"
