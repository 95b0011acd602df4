// The picture as text, and the result window that shows it.
#include "support.h"

#include "result/dotText.h"
#include "result/frmResult.h"
#include "toolkit/MultiLineTextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

namespace {

const QChar B(0x25A0);
const QChar W(0x25A1);

QString line(const QString &squares) { return squares + QStringLiteral("\r\n"); }

frmResult *openResult(frmMain &w)
{
    w.cmdOK->click();
    return w.resultWindow();
}

} // namespace

class tst_result : public QObject
{
    Q_OBJECT

private slots:
    void textFollowsTheDotsRowByRow();
    void textSizesComeFromTheFields();
    void heightZeroNeverReadsTheWidth();
    void onlyExactBlackIsABlackSquare();
    void windowDisablesMainExactlyWhileLoaded();
    void eachOpeningBuildsAnew();
    void previewClickOpensItToo();
    void boxFillsTheClientArea();
    void copiedTextKeepsCrLf();
    void squaresShareOneWidthInAJapaneseFont();
    void unreadableSizeGivesMessageAndNoWindow();
    void mainWindowRefusesToCloseWhileDisabled();
};

void tst_result::textFollowsTheDotsRowByRow()
{
    // Black, white, black over white, white, black.
    const auto black = [](int x, int y) { return y == 0 ? x != 1 : x == 2; };
    const QString text = *dotText("3", "2", black);
    QCOMPARE(text, QString() + B + W + B + "\r\n" + W + W + B + "\r\n");
    QCOMPARE(text.size(), 10);
}

void tst_result::textSizesComeFromTheFields()
{
    const auto none = [](int, int) { return false; };
    QCOMPARE(dotText("32", "32", none)->size(), 1088);
    QCOMPARE(dotText("48", "48", none)->size(), 2400);
    QCOMPARE(dotText("99", "99", none)->size(), 9999);
    QCOMPARE(*dotText("0", "3", none), QStringLiteral("\r\n\r\n\r\n"));
    QCOMPARE(*dotText("07", "1", none), line(QString(7, W)));

    // Typed but not applied: the text follows the fields, not the picture.
    frmMain w;
    w.picPreview->pset(31, 0);
    w.txtWidth->setText("40");
    frmResult *r = openResult(w);
    const QStringList lines = r->txtDot->text().split("\r\n");
    QCOMPARE(lines.size(), 33);
    QCOMPARE(lines[0], QString(31, W) + B + QString(8, W));
    QCOMPARE(lines[1], QString(40, W));
    r->close();
}

void tst_result::heightZeroNeverReadsTheWidth()
{
    const auto none = [](int, int) { return false; };
    QCOMPARE(*dotText("", "0", none), QString());
    QCOMPARE(*dotText("ab", "00", none), QString());
    QVERIFY(!dotText("", "1", none));
    QVERIFY(!dotText("3", "", none));
}

void tst_result::onlyExactBlackIsABlackSquare()
{
    frmMain w;
    setSize(w, "4", "1");
    w.Draw();
    w.picPreview->pset(0, 0, 0x000000);
    w.picPreview->pset(1, 0, 0x000001);
    w.picPreview->pset(2, 0, 0x010000);
    w.picPreview->pset(3, 0, kWhite);
    frmResult *r = openResult(w);
    QCOMPARE(r->txtDot->text(), line(QString() + B + W + W + W));
    r->close();
}

void tst_result::windowDisablesMainExactlyWhileLoaded()
{
    frmMain w;
    w.show();
    QVERIFY(w.isEnabled());
    QPointer<frmResult> r = openResult(w);
    QVERIFY(r);
    QVERIFY(r->isVisible());
    QVERIFY(!w.isEnabled());
    QCOMPARE(r->windowTitle(), QStringLiteral("(´ω｀)b"));
    QCOMPARE(r->cursor().shape(), Qt::ArrowCursor);
    // Disabled: a second request through the real button does nothing.
    QTest::mouseClick(w.cmdOK, Qt::LeftButton);
    QCOMPARE(w.resultWindow(), r.data());
    // Escape closes it like the close box.
    QTest::keyClick(r->txtDot, Qt::Key_Escape);
    QVERIFY(w.isEnabled());
    QTRY_VERIFY(!r);
}

void tst_result::eachOpeningBuildsAnew()
{
    frmMain w;
    setSize(w, "2", "1");
    w.Draw();
    frmResult *r = openResult(w);
    r->txtDot->setText("edited");
    r->close();
    w.picPreview->pset(1, 0);
    r = openResult(w);
    QCOMPARE(r->txtDot->text(), line(QString() + W + B));
    r->close();
}

void tst_result::previewClickOpensItToo()
{
    frmMain w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    setSize(w, "1", "1");
    w.Draw();
    QTest::mouseClick(w.picPreview, Qt::LeftButton, {}, QPoint(0, 0));
    QVERIFY(w.resultWindow());
    QCOMPARE(w.resultWindow()->txtDot->text(), line(W));
    w.resultWindow()->close();
}

void tst_result::boxFillsTheClientArea()
{
    frmMain w;
    frmResult *r = openResult(w);
    QVERIFY(QTest::qWaitForWindowExposed(r));
    QCOMPARE(r->size(), QSize(449, 332));
    QCOMPARE(r->txtDot->geometry(), QRect(0, 0, 449, 332));
    r->resize(300, 500);
    QTRY_COMPARE(r->txtDot->geometry(), QRect(0, 0, 300, 500));
    QCOMPARE(r->txtDot->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(r->txtDot->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(r->txtDot->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    r->close();
}

void tst_result::copiedTextKeepsCrLf()
{
    frmMain w;
    setSize(w, "3", "2");
    w.Draw();
    w.picPreview->pset(0, 0);
    w.picPreview->pset(2, 1);
    frmResult *r = openResult(w);
    const QString expected = QString() + B + W + W + "\r\n" + W + W + B + "\r\n";
    QCOMPARE(r->txtDot->text(), expected);

    QApplication::clipboard()->clear();
    r->txtDot->setFocus();
    QTest::keyClick(r->txtDot, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(r->txtDot, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), expected);

    // A selection inside the text, as dragged out with the mouse.
    QTextCursor c = r->txtDot->textCursor();
    c.setPosition(2);
    c.setPosition(6, QTextCursor::KeepAnchor);
    r->txtDot->setTextCursor(c);
    r->txtDot->copy();
    QCOMPARE(QApplication::clipboard()->text(), QString() + W + "\r\n" + W + W);
    r->close();
}

void tst_result::squaresShareOneWidthInAJapaneseFont()
{
    frmMain w;
    frmResult *r = openResult(w);
    const QFont font = r->txtDot->font();
    QCOMPARE(font.pointSize(), 12);
    const QFontMetrics m(font);
    QVERIFY(m.inFont(B) && m.inFont(W));
    QCOMPARE(m.horizontalAdvance(B), m.horizontalAdvance(W));
    const QString family = QFontInfo(font).family();
    QVERIFY2(family.contains("Gothic", Qt::CaseInsensitive) || family.contains("CJK"),
             qPrintable(family));
    r->close();
}

void tst_result::unreadableSizeGivesMessageAndNoWindow()
{
    MessageLog log;
    frmMain w;
    w.show();
    w.txtWidth->setText("");
    QPointer<frmResult> r = openResult(w);
    QCOMPARE(log.messages, QStringList{"サイズには0から99までの数字を入力してください"});
    QVERIFY(!r || !r->isVisible());
    QVERIFY(w.isEnabled());
    QTRY_VERIFY(!w.resultWindow());

    // Height 0 needs no width at all.
    w.txtHeight->setText("0");
    r = openResult(w);
    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(r->txtDot->text(), QString());
    r->close();
}

void tst_result::mainWindowRefusesToCloseWhileDisabled()
{
    frmMain w;
    w.show();
    QPointer<frmResult> r = openResult(w);
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    r->close();
    QVERIFY(w.close());
}

QTEST_MAIN(tst_result)
#include "tst_result.moc"
