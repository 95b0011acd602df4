// Floods of events: nothing grows, nothing breaks, the picture survives.
#include "support.h"

#include "result/frmResult.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

namespace {

long rssKb() { return procStatusKb("VmRSS"); }

// Runs `step` `count` times and returns how much resident memory grew between the end
// of the first hundred runs and the end of the last.
template<typename Step>
long growthKb(int count, Step step)
{
    long afterFirst = 0;
    for (int i = 0; i < count; ++i) {
        step(i);
        if (i == 99)
            afterFirst = rssKb();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return rssKb() - afterFirst;
}

void checkGrowth(const char *what, long kb, long limitKb = 1024)
{
    qInfo("%s: resident memory grew by %ld KiB from the first hundred to the last", what, kb);
    if (kMemoryIsMeaningful)
        QVERIFY2(kb < limitKb, what);
}

} // namespace

class tst_storms : public QObject
{
    Q_OBJECT

private slots:
    void hundredThousandMovesInOneDrag();
    void thousandResultWindowOpenings();
    void thousandRedrawsBetweenLargestAndSmallest();
    void tenThousandUndoesRedoesAndChangesInterleaved();
};

void tst_storms::hundredThousandMovesInOneDrag()
{
    frmMain w;
    w.show();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), w.picDot->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.picDot, &press);
    const long kb = growthKb(100000, [&](int i) {
        // Sweeps across the canvas and well beyond it on every side.
        const QPointF at(-600 + (i * 37) % 1600, -600 + (i * 53) % 1600);
        QMouseEvent move(QEvent::MouseMove, at, w.picDot->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.picDot, &move);
        if (i % 1000 == 0)
            QCoreApplication::processEvents();
    });
    QVERIFY(w.Painting);
    // Every dot the sweep crossed is black; none outside the picture exists.
    QVERIFY(blackDots(w).size() > 50);
    QCOMPARE(w.picDot->size(), QSize(384, 384));
    checkGrowth("moves", kb);
}

void tst_storms::thousandResultWindowOpenings()
{
    frmMain w;
    w.show();
    w.DotDraw(1, 5, 5);
    setSize(w, "99", "99");
    const long kb = growthKb(1000, [&](int) {
        w.cmdOK_Click();
        frmResult *r = w.resultWindow();
        QVERIFY(r && !w.isEnabled());
        r->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
    QVERIFY(w.isEnabled());
    QVERIFY(!w.resultWindow());
    QCOMPARE(blackDots(w), QStringList{"0,0"});
    // Qt itself keeps about 1 KiB for every top-level window ever shown (a plain QWidget
    // shown and deleted does the same). A text of 99 x 99 squares is 20 KiB: if any
    // opening kept it, this would grow by 20 MiB.
    checkGrowth("result window", kb, 2048);
}

void tst_storms::thousandRedrawsBetweenLargestAndSmallest()
{
    frmMain w;
    w.show();
    w.DotDraw(1, 5, 5);
    const long kb = growthKb(1000, [&](int i) {
        const bool large = i % 2 == 0;
        setSize(w, large ? "99" : "1", large ? "99" : "1");
        w.DotSize = large ? 12 : 2;
        w.chkTrace->setChecked(i % 4 == 0);
        w.Draw();
        if (i % 50 == 0)
            QCoreApplication::processEvents();
    });
    QCOMPARE(blackDots(w), QStringList{"0,0"});
    checkGrowth("redraws", kb);
}

void tst_storms::tenThousandUndoesRedoesAndChangesInterleaved()
{
    // Strokes, turns, inversions and text, undone and redone in a storm: the history keeps
    // every step, the picture and the size fields always agree.
    frmMain w;
    w.show();
    const long kb = growthKb(10000, [&](int i) {
        switch (i % 7) {
        case 0: w.picDot_MouseDown(1, 0, float(5 + 12 * (i % 30)), 5); w.picDot_MouseUp(1, 0, 5, 5); break;
        case 1: run(w, i % 2 == 0 ? CommandList::TurnClockwise : CommandList::TurnAnticlockwise); break;
        case 2: run(w, CommandList::Undo); break;
        case 3: run(w, CommandList::Invert); break;
        case 4: run(w, CommandList::Undo); run(w, CommandList::Undo); break;
        case 5: run(w, CommandList::Redo); break;
        default: run(w, CommandList::ShiftRight); run(w, CommandList::ShiftUp); break;
        }
        const std::optional<QSize> size = sizeOf(w.txtWidth->text(), w.txtHeight->text());
        QVERIFY(size && *size == QSize(w.picPreview->scaleWidth(), w.picPreview->scaleHeight()));
    });
    for (int i = 0; i < 200; ++i)
        run(w, CommandList::Undo);
    QCOMPARE(w.picDot->size(), QSize(32 * 12, 32 * 12));
    // Some seven thousand steps, each two pictures of 4 KiB kept compressed, and nothing
    // else kept: well under what a hundred uncompressed steps of the largest picture took.
    checkGrowth("undo storm", kb, 24 * 1024);
}

QTEST_MAIN(tst_storms)
#include "tst_storms.moc"
