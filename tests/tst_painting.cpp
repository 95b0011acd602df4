// Painting dots with the mouse, driven through real mouse events.
#include "support.h"

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

private:
    QPoint at(QPointF canvas) const { return w->picDot->mapTo(w, canvas.toPoint()); }
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

QTEST_MAIN(tst_painting)
#include "tst_painting.moc"
