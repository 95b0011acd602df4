// The picture as text, and the result window that shows it.
#include "support.h"
#include "pictureFiles.h"

#include "commands/commandList.h"
#include "result/budgets.h"
#include "dotImage.h"
#include "result/dotText.h"
#include "result/frmPost.h"
#include "result/frmResult.h"
#include "result/textReading.h"
#include "keeping/savedPicture.h"
#include "pictures/PictureFile.h"
#include "result/textPairs.h"
#include "toolkit/CommonDialog.h"
#include "offers/Offers.h"
#include "offers/boundedPaste.h"
#include "toolkit/MultiLineTextBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QScrollBar>
#include <QFontMetrics>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QChar B(0x25A0);
const QChar W(0x25A1);

QString line(const QString &squares) { return squares + QStringLiteral("\r\n"); }

// What a clipboard owner was asked during one paste: the list of types, and each type.
struct Asked
{
    int lists = 0;
    QStringList types;
};

// A clipboard owner that answers as it is told, and tells what it was asked when the paste
// is over.
class ScriptedOwner : public OfferSource
{
public:
    explicit ScriptedOwner(std::vector<Asked> *record) : record_(record) {}
    ~ScriptedOwner() override { record_->push_back(asked_); }
    std::optional<QStringList> offered;
    Fetched answer;
    std::optional<QStringList> types() override
    {
        ++asked_.lists;
        return offered;
    }
    Fetched fetch(const QString &type) override
    {
        asked_.types << type;
        return answer;
    }

private:
    std::vector<Asked> *record_;
    Asked asked_;
};

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
    void everyPairWritesAndReadsBack_data();
    void everyPairWritesAndReadsBack();
    void textFromOtherProgramsReads_data();
    void textFromOtherProgramsReads();
    void badTextIsNamedWhereItIs();
    void budgetsCountAsTheServicesDo();
    void typedPairsAreWeighed();
    void copyAndPasteTheTextThroughTheWindow();
    void postingWindowLeavesThePictureAlone();
    void postingWindowShowsTheWholePicture();
    void everyBoxPastesThroughTheBoundedReader_data();
    void everyBoxPastesThroughTheBoundedReader();
    void brailleBothWays();
    void squareArtInOtherCharacters();
    void savedPicturesReadBackDotForDot_data();
    void savedPicturesReadBackDotForDot();
    void savedImagesAreReadOnePixelADot();
    void theTypeSavedFollowsTheNameFirst();
    void savingAndOpeningThroughTheWindow();
    void savingAsksBeforeReplacingTheNameItWrites();
    void textIntakeReadsWhatOtherProgramsMadeOfIt();
    void swappedPostingTextIsReadTheRightWayRound();
    void colourPicturesAreCountedWrittenAndReadBack();
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
    w.document()->setDot(QPoint(31, 0), dots::kBlackPixel);
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
    w.document()->setDot(QPoint(0, 0), 0xFF000000u | QRgb(0x000000));
    w.document()->setDot(QPoint(1, 0), 0xFF000000u | QRgb(0x000001));
    w.document()->setDot(QPoint(2, 0), 0xFF000000u | QRgb(0x010000));
    w.document()->setDot(QPoint(3, 0), 0xFF000000u | QRgb(kWhite));
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
    w.document()->setDot(QPoint(1, 0), dots::kBlackPixel);
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
    w.document()->setDot(QPoint(0, 0), dots::kBlackPixel);
    w.document()->setDot(QPoint(2, 1), dots::kBlackPixel);
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
    QCOMPARE(log.messages, QStringList{kInvalidSizeMessage});
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

namespace {

// Corner marks, a distinct first and last row and column, odd width: a text read a row too
// low, a column short or the wrong way round cannot come back the same.
const QStringList kMarked = {"#..#.", ".....", "..#.#", "#...."};

} // namespace

void tst_result::everyPairWritesAndReadsBack_data()
{
    QTest::addColumn<int>("pair");
    QTest::addColumn<QString>("lineEnd");
    QTest::newRow("squares, CR LF") << 0 << "\r\n";
    QTest::newRow("large squares, LF") << 1 << "\n";
    QTest::newRow("block and em space, CR LF") << 2 << "\r\n";
}

void tst_result::everyPairWritesAndReadsBack()
{
    QFETCH(int, pair);
    QFETCH(QString, lineEnd);
    const DotPair pairs[] = {kSquares, kLargeSquares, kBlockAndEmSpace};
    PostOptions o;
    o.pair = pairs[pair];
    o.lineEnd = lineEnd;
    const QString text = postText(dotPicture(kMarked), o);
    QCOMPARE(text.count(lineEnd), 3); // none after the last line
    const ReadText read = readDotText(text, builtInPairs(), 99);
    QCOMPARE(read.outcome, ReadText::Picture);
    QCOMPARE(read.pair, pairs[pair]);
    QCOMPARE(dotRows(read.dots), kMarked);
    // Swapped for a dark theme: it reads back as the picture's negative.
    o.swap = true;
    QCOMPARE(dotRows(readDotText(postText(dotPicture(kMarked), o), builtInPairs(), 99).dots),
             (QStringList{".##.#", "#####", "##.#.", ".####"}));
    // Trimmed: the empty second row stays, the margins had none to lose.
    o.swap = false;
    o.trim = true;
    QCOMPARE(dotRows(readDotText(postText(dotPicture({".....", ".#...", "...#.", "....."}), o), builtInPairs(), 99).dots),
             (QStringList{"#..", "..#"}));
}

void tst_result::textFromOtherProgramsReads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("CR LF, as written") << "■□■\r\n□□■\r\n" << QStringList{"#.#", "..#"};
    QTest::newRow("LF only") << "■□■\n□□■" << QStringList{"#.#", "..#"};
    QTest::newRow("CR only") << "■□■\r□□■\r" << QStringList{"#.#", "..#"};
    QTest::newRow("ragged: short lines padded white") << "■\n□□■\n■□" << QStringList{"#..", "..#", "#.."};
    QTest::newRow("trailing blanks and blank lines") << "\n\n■□ \t\u3000\n□■\u3000\n\n \n" << QStringList{"#.", ".#"};
    QTest::newRow("a blank line inside is a white row") << "■\n\n■" << QStringList{"#", ".", "#"};
    QTest::newRow("emoji with presentation selectors") << "⬛\ufe0f⬜\ufe0f\n⬜⬛" << QStringList{"#.", ".#"};
    QTest::newRow("white only") << "□□\n□□" << QStringList{"..", ".."};
    QTest::newRow("em spaces are dots of their pair") << "█\u2003\u2003\n\u2003\u2003█" << QStringList{"#..", "..#"};
    // Every line end, and the doubled ones a second conversion leaves, on a picture with black
    // dots in its first and last rows and columns.
    const QStringList edges{"#...#", ".#.#.", "#...#"};
    const QStringList lines{"■□□□■", "□■□■□", "■□□□■"};
    for (const auto &[name, end] : {std::pair{"CR CR LF", "\r\r\n"}, std::pair{"LF CR", "\n\r"},
                                    std::pair{"U+2028", "\u2028"}, std::pair{"U+2029", "\u2029"}}) {
        QTest::addRow("every line ended by %s", name) << lines.join(QString::fromUtf8(end)) + QString::fromUtf8(end) << edges;
        QTest::addRow("%s, none after the last", name) << lines.join(QString::fromUtf8(end)) << edges;
    }
    // Mixed with single ends, a doubled end is two: the blank row between them is really there.
    QTest::newRow("CR LF and CR CR LF mixed") << "■□\r\n□■\r\r\n■■\r\n" << QStringList{"#.", ".#", "..", "##"};
    QTest::newRow("LF and LF CR mixed") << "■□\n\r□■\n■■" << QStringList{"#.", "..", ".#", "##"};
    QTest::newRow("a blank row between CR LF rows") << "■□\r\n\r\n□■\r\n" << QStringList{"#.", "..", ".#"};
    QTest::newRow("doubled ends around a blank row") << "■□\r\r\n\r\r\n□■\r\r\n" << QStringList{"#.", "..", ".#"};
    QTest::newRow("LF CR LF is LF and CR LF") << "■□\n\r\n□■" << QStringList{"#.", "..", ".#"};
}

void tst_result::textFromOtherProgramsReads()
{
    QFETCH(QString, text);
    QFETCH(QStringList, rows);
    const ReadText read = readDotText(text, builtInPairs(), 99);
    QCOMPARE(read.outcome, ReadText::Picture);
    QCOMPARE(dotRows(read.dots), rows);
}

void tst_result::badTextIsNamedWhereItIs()
{
    ReadText read = readDotText(QStringLiteral("■□\n□x■"), builtInPairs(), 99);
    QCOMPARE(read.outcome, ReadText::BadCharacter);
    QCOMPARE(std::make_pair(read.line, read.column), std::make_pair(2, 2));
    QCOMPARE(read.character, char32_t('x'));
    QVERIFY(readTextMessage(read, 99).contains(QStringLiteral("2 行目 2 文字目の「x」")));
    // A space inside a line, and a square of another pair, are no dots either.
    read = readDotText(QStringLiteral("\n■ □"), builtInPairs(), 99);
    QCOMPARE(std::make_tuple(read.outcome, read.line, read.column), std::make_tuple(ReadText::BadCharacter, 2, 2));
    // Named on the line as the user sees it: after doubled line ends, one line each.
    read = readDotText(QStringLiteral("■□\r\r\n□□\r\r\n□x\r\r\n"), builtInPairs(), 99);
    QCOMPARE(std::make_tuple(read.outcome, read.line, read.column), std::make_tuple(ReadText::BadCharacter, 3, 2));
    read = readDotText(QStringLiteral("■□\u2029□x"), builtInPairs(), 99);
    QCOMPARE(std::make_tuple(read.outcome, read.line, read.column), std::make_tuple(ReadText::BadCharacter, 2, 2));
    read = readDotText(QStringLiteral("■⬜"), builtInPairs(), 99);
    QCOMPARE(std::make_tuple(read.outcome, read.column, read.character), std::make_tuple(ReadText::BadCharacter, 2, char32_t(0x2B1C)));
    // The limit, one under and one over, each way.
    QCOMPARE(readDotText(QString(99, QChar(0x25A0)), builtInPairs(), 99).outcome, ReadText::Picture);
    read = readDotText(QString(100, QChar(0x25A1)), builtInPairs(), 99);
    QCOMPARE(std::make_pair(read.outcome, read.size), std::make_pair(ReadText::TooLarge, QSize(100, 1)));
    QCOMPARE(readDotText(QStringList(99, QStringLiteral("■")).join('\n'), builtInPairs(), 99).outcome, ReadText::Picture);
    QCOMPARE(readDotText(QStringList(100, QStringLiteral("■")).join('\n'), builtInPairs(), 99).outcome, ReadText::TooLarge);
    // No square at all: some other text, left alone.
    for (const char *other : {"", "hello", "   \n\u3000", "\u2003\u2003"})
        QCOMPARE(readDotText(QString::fromUtf8(other), builtInPairs(), 99).outcome, ReadText::NotDotText);
}

void tst_result::budgetsCountAsTheServicesDo()
{
    const auto squares = [](int w, int h) {
        QImage p = dotPicture(QStringList(h, QString(w, QLatin1Char('.'))));
        PostOptions o;
        o.lineEnd = QStringLiteral("\r\n");
        return postText(p, o);
    };
    // X weighs a square 2 and a line break 1, whatever it is written with.
    QCOMPARE(xWeightedLength(squares(12, 11)), 274);
    QCOMPARE(xWeightedLength(squares(12, 12)), 299);
    QCOMPARE(xWeightedLength(squares(17, 8)), 279);
    QCOMPARE(xWeightedLength(squares(11, 12)), 275);
    // The em space is light, the block heavy.
    QCOMPARE(xWeightedLength(QStringLiteral("█\u2003\nab")), 2 + 1 + 1 + 2);
    const auto fits = [&](int w, int h, int service) { return countBudgets(squares(w, h), w)[size_t(service)].fits; };
    QVERIFY(fits(12, 11, 0) && !fits(12, 12, 0));
    QVERIFY(fits(16, 17, 1) && !fits(16, 18, 1));
    QVERIFY(fits(21, 22, 2) && !fits(21, 23, 2));
    QVERIFY(fits(48, 40, 3) && !fits(48, 48, 3));
    QCOMPARE(countBudgets(squares(48, 48), 48)[3].count, 2351);
    // Exactly at a service's limit still fits; one more is over.
    const auto atLimit = [](const QString &text, int service) {
        const Budget b = countBudgets(text, 1)[size_t(service)];
        return std::make_pair(b.count == b.limit, b.fits);
    };
    for (int service : {0, 1, 2, 3, 4}) {
        const int limit = countBudgets(QString(), 1)[size_t(service)].limit;
        const QString text = service == 0 ? QString(limit / 2, QChar(0x25A0)) : QString(limit, QLatin1Char('a'));
        QCOMPARE(atLimit(text, service), std::make_pair(true, true));
        QCOMPARE(atLimit(text + QLatin1Char('a'), service), std::make_pair(false, false));
    }
    QVERIFY(fits(12, 48, 4) && !fits(13, 1, 4));
    QCOMPARE(graphemeCount(QStringLiteral("⬛\ufe0f\r\n⬜")), 3);
    QCOMPARE(utf16Length(QStringLiteral("🟥\r\n")), 3);
    // The largest picture of the same aspect that each service takes, for squares and for
    // braille: the size given fits and one dot more a side does not, the count computed.
    QCOMPARE(largestFitting(QSize(32, 32), false, kSquares, X), QSize(11, 11));
    QCOMPARE(largestFitting(QSize(24, 11), false, kSquares, X), QSize(17, 8));
    QCOMPARE(largestFitting(QSize(0, 5), false, kSquares, X), QSize());
    QCOMPARE(largestFitting(QSize(32, 32), true, kSquares, X), QSize(32, 32));
    QCOMPARE(largestFitting(QSize(48, 48), true, kSquares, Bluesky), QSize(48, 48));
    const auto counted = [&](QSize size, bool braille, Service service) {
        QImage dots = dotPicture(QStringList(size.height(), QString(size.width(), QLatin1Char('#'))));
        PostOptions o;
        o.braille = braille;
        o.lineEnd = QStringLiteral("\r\n");
        const Budget b = countBudgets(postText(dots, o), braille ? (size.width() + 1) / 2 : size.width())[size_t(service)];
        return b.fits;
    };
    for (bool braille : {false, true})
        for (Service service : {X, Bluesky, Mastodon, Discord, Line}) {
            const QSize best = largestFitting(QSize(40, 30), braille, kSquares, service);
            QVERIFY2(!best.isEmpty() && counted(best, braille, service), qPrintable(QStringLiteral("%1 %2").arg(braille).arg(service)));
            // One dot wider, its height of the same aspect: over the limit (or beyond 99).
            const QSize more(best.width() + 1, std::max(1, int(std::lround((best.width() + 1) * 30.0 / 40))));
            if (more.width() <= 99 && more.height() <= 99)
                QVERIFY2(!counted(more, braille, service) || more == best, qPrintable(QStringLiteral("%1 %2").arg(braille).arg(service)));
        }
}

void tst_result::typedPairsAreWeighed()
{
    TypedPair p = readTypedPair(QStringLiteral("■□"));
    QVERIFY(p.ok && p.ambiguous);
    p = readTypedPair(QStringLiteral("⬛\ufe0f⬜"));
    QVERIFY(p.ok && !p.ambiguous);
    QCOMPARE(p.pair, kLargeSquares);
    QVERIFY(readTypedPair(QStringLiteral("🟥🟦")).ok);
    QVERIFY(readTypedPair(QStringLiteral("xo")).ok);
    for (const char *bad : {"■", "■a", "aa", "■□■", "a\n"})
        QVERIFY2(!readTypedPair(QString::fromUtf8(bad)).ok, bad);
    QCOMPARE(charWidth(0x3000), CharWidth::Wide);
    QCOMPARE(charWidth(0x25A0), CharWidth::Ambiguous);
    QCOMPARE(charWidth('x'), CharWidth::Narrow);
}

void tst_result::copyAndPasteTheTextThroughTheWindow()
{
    MessageLog log;
    const auto w = shownEditor();
    w->document()->setDot(QPoint(4, 4), dots::kBlackPixel);
    QClipboard *clipboard = QApplication::clipboard();
    const QString example = line(QString() + B + W + B) + line(QString() + W + W + B);

    clipboard->setText(example);
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(std::make_pair(w->txtWidth->text(), w->txtHeight->text()), std::make_pair(QStringLiteral("3"), QStringLiteral("2")));
    QCOMPARE(dotRows(*w), (QStringList{"#.#", "..#"}));
    QCOMPARE(w->picDot->size(), QSize(36, 24));
    clipboard->clear();
    QTest::keyClick(w->picDot, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), example);
    // One step, the size with it.
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(std::make_pair(w->txtWidth->text(), w->txtHeight->text()), std::make_pair(QStringLiteral("32"), QStringLiteral("32")));
    QCOMPARE(blackDots(*w), QStringList{"4,4"});
    QTest::keyClick(w->picDot, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), (QStringList{"#.#", "..#"}));

    // Bad text: one message, nothing changed.
    for (const QString &bad : {QStringLiteral("■□\n□?"), QString(120, B)}) {
        clipboard->setText(bad);
        QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(dotRows(*w), (QStringList{"#.#", "..#"}));
    }
    QCOMPARE(log.messages.size(), 2);
    QVERIFY(log.messages[1].contains(QStringLiteral("120 × 1")));
    // Text with no square at all is left alone, and said to be no picture; Ctrl+C in a size
    // field copies the picture's text, as anywhere in the window.
    clipboard->setText(QStringLiteral("hello"));
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), (QStringList{"#.#", "..#"}));
    w->txtWidth->setFocus();
    QTest::keyClick(w->txtWidth, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("■□■\r\n□□■\r\n"));
    QCOMPARE(log.messages.size(), 3);
    log.messages.removeLast();
    // Text and an image together: text that reads as a picture wins.
    auto *both = new QMimeData;
    both->setText(line(QString(B) + B));
    both->setImageData(QImage(8, 8, QImage::Format_RGB32));
    clipboard->setMimeData(both);
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), QStringList{"##"});
    QVERIFY(!w->chkTrace->isChecked());
}

void tst_result::postingWindowLeavesThePictureAlone()
{
    MessageLog log;
    const auto w = shownEditor();
    setSize(*w, "5", "4");
    w->cmdCanvas->click();
    w->document()->setDot(QPoint(1, 1), dots::kBlackPixel);
    w->document()->setDot(QPoint(3, 2), dots::kBlackPixel);
    QTest::keyClick(w->picDot, Qt::Key_E, Qt::ControlModifier);
    frmPost *post = w->postWindow();
    QVERIFY(post && post->isVisible());
    QCOMPARE(post->text(), QStringLiteral("□□□□□\r\n□■□□□\r\n□□□■□\r\n□□□□□"));
    // It follows the picture while it is open.
    w->DotDraw(1, 5, 5);
    w->picDot_MouseUp(1, 0, 5, 5);
    QCOMPARE(post->text(), QStringLiteral("■□□□□\r\n□■□□□\r\n□□□■□\r\n□□□□□"));
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(post->text(), QStringLiteral("■□□□□\r\n□■□□□\r\n□□□■□\r\n□□□□□"));
    // Closed and opened again: the picture as it is now.
    post->close();
    w->DotDraw(2, 5, 5);
    w->Draw();
    QTest::keyClick(w->picDot, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(post->text(), QStringLiteral("□□□□□\r\n□■□□□\r\n□□□■□\r\n□□□□□"));
    QCOMPARE(post->budgetRows().first(), QStringLiteral("X 43 / 280 fits 最大 13 × 10"));
    post->chkTrim->setChecked(true);
    post->chkSwap->setChecked(true);
    post->cboLineEnd->setCurrentIndex(1);
    QCOMPARE(post->text(), QStringLiteral("□■■\n■■□"));
    post->cboPair->setCurrentIndex(1);
    QCOMPARE(post->text(), QStringLiteral("⬜⬛⬛\n⬛⬛⬜"));
    QVERIFY(post->lblPairWarning->text().isEmpty());
    post->cboPair->setCurrentIndex(3);
    // Until two characters of one width are typed, the squares stand in, and the user is
    // told why.
    post->txtPair->setText(QStringLiteral("●a"));
    QCOMPARE(post->text(), QStringLiteral("□■■\n■■□"));
    QVERIFY(post->lblPairWarning->text().contains(QStringLiteral("幅")));
    QVERIFY(!post->typedPair());
    post->txtPair->setText(QStringLiteral("●○"));
    QCOMPARE(post->text(), QStringLiteral("○●●\n●●○"));
    QVERIFY(post->lblPairWarning->text().contains(QStringLiteral("あいまい")));
    // The pair lines up in the font it is shown in.
    const QFontMetricsF m(post->txtPost->font());
    QCOMPARE(m.horizontalAdvance(QStringLiteral("●")), m.horizontalAdvance(QStringLiteral("○")));
    post->cmdCopy->click();
    QCOMPARE(QApplication::clipboard()->text(), post->text());
    // The typed pair reads back while it is chosen.
    post->chkSwap->setChecked(false);
    QApplication::clipboard()->setText(post->text());
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), (QStringList{"#..", "..#"}));
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(blackDots(*w), (QStringList{"1,1", "3,2"}));
    QVERIFY(log.messages.isEmpty());
    // The result window offers it from its text box.
    frmResult *result = openResult(*w);
    QVERIFY(result);
    QCOMPARE(result->txtDot->text(), line("□□□□□") + line("□■□□□") + line("□□□■□") + line("□□□□□"));
    result->close();
}

void tst_result::postingWindowShowsTheWholePicture()
{
    MessageLog log;
    const auto w = shownEditor();
    QClipboard *clipboard = QApplication::clipboard();
    const auto paste = [&](int width, int height) {
        // A diagonal, so that trimming leaves the whole picture.
        QStringList rows(height, QString(width, QChar(W)));
        for (int y = 0; y < height; ++y)
            rows[y][std::min(y * width / height, width - 1)] = QChar(B);
        clipboard->setText(rows.join(QStringLiteral("\r\n")));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->document()->size(), QSize(width, height));
    };
    paste(16, 16);
    QTest::keyClick(w->picDot, Qt::Key_E, Qt::ControlModifier);
    frmPost *post = w->postWindow();
    QVERIFY(QTest::qWaitForWindowExposed(post));
    const auto wholeInView = [post] {
        return post->txtPost->verticalScrollBar()->maximum() == 0 && post->txtPost->horizontalScrollBar()->maximum() == 0;
    };
    const int ordinary = QFontInfo(fontForPair(kSquares, 12)).pixelSize();
    // Every row and column in view at every size the panel makes, in every form, the
    // characters as large as the box allows and never larger than their ordinary size, but
    // for braille, at least twice as large.
    for (const QSize size : {QSize(16, 16), QSize(48, 48), QSize(48, 12), QSize(5, 48)}) {
        paste(size.width(), size.height());
        for (int form : {0, 1, 2, 4}) {
            post->cboPair->setCurrentIndex(form);
            const QString where = QStringLiteral("%1 x %2, form %3").arg(size.width()).arg(size.height()).arg(form);
            QTRY_VERIFY2(wholeInView(), qPrintable(where));
            QVERIFY2(QFontInfo(post->txtPost->font()).pixelSize() <= (form == 4 ? 3 : 1) * QFontInfo(fontForPair(post->options().pair, 12)).pixelSize(),
                     qPrintable(where));
        }
    }
    paste(32, 32);
    post->cboPair->setCurrentIndex(4);
    QVERIFY(QFontInfo(post->txtPost->font()).pixelSize() >= 2 * ordinary);
    // Made smaller by the user, the characters follow, and still all of it shows.
    post->resize(post->width() / 2, post->height() / 2);
    post->cboPair->setCurrentIndex(0);
    QTRY_VERIFY(wholeInView());

    // The largest picture is what the panel makes, 48 a side at most: Discord would take 99 x
    // 99 in braille (24 characters by 12 and 11 line ends: 299), and is offered 48 x 48; a picture already larger than that (60 x 60,
    // pasted) is offered up to its own size, and the window says why.
    paste(48, 48);
    post->cboPair->setCurrentIndex(4);
    QCOMPARE(post->budgetRows().at(3), QStringLiteral("Discord 299 / 2000 fits 最大 48 × 48"));
    QVERIFY(!post->lblLargest->text().contains(QStringLiteral("より大きい")));
    paste(60, 60);
    QCOMPARE(post->budgetRows().at(3), QStringLiteral("Discord 464 / 2000 fits 最大 60 × 60"));
    QVERIFY(post->lblLargest->text().contains(QStringLiteral("48 × 48 より大きい")));
    QCOMPARE(largestFitting(QSize(60, 60), true, kSquares, Discord), QSize(99, 99));

    // Braille this window wrote comes back at its own size, 30 x 30, not the 30 x 32 of its
    // characters; any other braille whose last dots are white comes back rounded up, and says
    // so; with a black dot in its last row and column it is exactly its characters' size.
    paste(30, 30);
    post->cmdCopy->click();
    w->activateWindow();
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->document()->size(), QSize(30, 30));
    QVERIFY(log.messages.isEmpty());
    clipboard->setText(QStringLiteral("\u28FF\u2801\n\u2801\u2800"));
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->document()->size(), QSize(4, 8));
    QCOMPARE(log.messages.size(), 1);
    QVERIFY2(log.messages[0].contains(QStringLiteral("切り上げて 4 × 8 ドット")), qPrintable(log.messages[0]));
    clipboard->setText(QStringLiteral("\u2801\u2800\n\u2800\u2880"));
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->document()->size(), QSize(4, 8));
    QCOMPARE(log.messages.size(), 1);
}

void tst_result::everyBoxPastesThroughTheBoundedReader_data()
{
    QTest::addColumn<int>("owner");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("message");
    // What each owner makes of a paste: the text it gives, or a message and nothing.
    QTest::newRow("an owner that never answers") << 0 << QString() << QStringLiteral("応答しませんでした");
    QTest::newRow("one that trickles past the time-out") << 1 << QString() << QStringLiteral("応答しませんでした");
    QTest::newRow("one that offers its type list only") << 2 << QString() << QString();
    QTest::newRow("one that offers an empty text") << 3 << QString() << QString();
    QTest::newRow("one that offers 10 MB") << 4 << QString() << QStringLiteral("大きすぎる");
    QTest::newRow("one that answers") << 5 << QStringLiteral("12") << QString();
}

void tst_result::everyBoxPastesThroughTheBoundedReader()
{
    QFETCH(int, owner);
    QFETCH(QString, inserted);
    QFETCH(QString, message);
    std::vector<Asked> owners;
    setClipboardOfferMaker([&owners, owner](QClipboard::Mode) {
        auto o = std::make_unique<ScriptedOwner>(&owners);
        switch (owner) {
        case 0: break; // no type list at all
        case 1: o->offered = QStringList{"TARGETS", "UTF8_STRING"}; o->answer.status = OfferSource::Status::NoAnswer; break;
        case 2: o->offered = QStringList{"TARGETS"}; break;
        case 3: o->offered = QStringList{"UTF8_STRING"}; o->answer.status = OfferSource::Status::Ok; break;
        case 4: o->offered = QStringList{"UTF8_STRING"}; o->answer.status = OfferSource::Status::TooLarge; break;
        case 5: o->offered = QStringList{"UTF8_STRING"}; o->answer = {OfferSource::Status::Ok, QByteArray("12")}; break;
        }
        return o;
    });
    const auto restore = qScopeGuard([] { setClipboardOfferMaker(nullptr); });
    MessageLog log;
    frmMain w;
    w.show();
    frmResult *r = openResult(w);
    run(w, CommandList::Post);
    w.postWindow()->cboPair->setCurrentIndex(3);
    // The result window's box (Ctrl+V, Shift+Insert, its menu's paste), the posting window's
    // pair field and a size field (Shift+Insert, the menu; Ctrl+V there is the picture's).
    struct Paste
    {
        QWidget *box;
        const char *how;
    };
    const Paste pastes[] = {{r->txtDot, "Ctrl+V"}, {r->txtDot, "Shift+Insert"}, {r->txtDot, "menu"},
                            {w.postWindow()->txtPair, "Shift+Insert"}, {w.postWindow()->txtPair, "Ctrl+V"},
                            {w.txtHeight, "Shift+Insert"}, {w.txtHeight, "menu"}};
    for (const Paste &p : pastes) {
        // The main window takes input again once the result window is closed.
        if (p.box == w.txtHeight && r) {
            r->close();
            r = nullptr;
        }
        const auto text = [&p] {
            if (auto *line = qobject_cast<QLineEdit *>(p.box))
                return line->text();
            return static_cast<QPlainTextEdit *>(p.box)->toPlainText();
        };
        if (auto *line = qobject_cast<QLineEdit *>(p.box))
            line->setText(QString());
        else
            static_cast<MultiLineTextBox *>(p.box)->setText(QString());
        owners.clear();
        log.messages.clear();
        p.box->setFocus();
        if (qstrcmp(p.how, "menu") == 0) {
            std::unique_ptr<QMenu> menu(BoundedPasting::editMenu(p.box));
            const QList<QAction *> actions = menu->actions();
            const auto paste = std::find_if(actions.begin(), actions.end(), [](QAction *a) { return a->objectName() == "edit-paste"; });
            QVERIFY2(paste != actions.end(), p.how);
            QVERIFY((*paste)->isEnabled());
            (*paste)->trigger();
        } else {
            QTest::keyClick(p.box, qstrcmp(p.how, "Ctrl+V") == 0 ? Qt::Key_V : Qt::Key_Insert,
                            qstrcmp(p.how, "Ctrl+V") == 0 ? Qt::ControlModifier : Qt::ShiftModifier);
        }
        const QString where = QStringLiteral("%1 in %2").arg(QLatin1String(p.how), p.box->objectName().isEmpty() ? QLatin1String(p.box->metaObject()->className()) : p.box->objectName());
        QVERIFY2(owners.size() == 1, qPrintable(where));
        // The owner was asked for its list once and for one type at most: one wait, however
        // it answered.
        QCOMPARE(owners[0].lists, 1);
        QVERIFY2(owners[0].types.size() <= 1, qPrintable(where));
        QCOMPARE(text(), inserted);
        QCOMPARE(log.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(log.messages[0].contains(message), qPrintable(log.messages[0]));
    }
    // None of it touched the picture.
    QVERIFY(blackDots(w).isEmpty());

    // Lines with every kind of line end: a multi-line box keeps them as lines, a one-line
    // box joins them with one space each.
    setClipboardOfferMaker([&owners](QClipboard::Mode) {
        auto o = std::make_unique<ScriptedOwner>(&owners);
        o->offered = QStringList{"UTF8_STRING"};
        o->answer = {OfferSource::Status::Ok, QByteArray("1\r\n2\n3\r4")};
        return o;
    });
    QPlainTextEdit lines;
    QLineEdit line;
    for (QWidget *box : {static_cast<QWidget *>(&lines), static_cast<QWidget *>(&line)}) {
        box->show();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(lines.toPlainText(), QStringLiteral("1\n2\n3\n4"));
    QCOMPARE(line.text(), QStringLiteral("1 2 3 4"));
}

void tst_result::brailleBothWays()
{
    // Every one of the 256 patterns: a cell of 2 x 4 dots with exactly the dots of its bits
    // black, written and read back. Dots 1-3 down the left, 4-6 down the right, 7 and 8 below.
    const int bits[4][2] = {{0x01, 0x08}, {0x02, 0x10}, {0x04, 0x20}, {0x40, 0x80}};
    for (int pattern = 0; pattern < 256; ++pattern) {
        QStringList rows(4, QStringLiteral(".."));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 2; ++x)
                if (pattern & bits[y][x])
                    rows[y][x] = QLatin1Char('#');
        PostOptions o;
        o.braille = true;
        const QString text = postText(dotPicture(rows), o);
        QCOMPARE(text, QString(QChar(char16_t(0x2800 + pattern))));
        const ReadText read = readBrailleText(text, 99);
        QCOMPARE(read.outcome, ReadText::Picture);
        QCOMPARE(dotRows(read.dots), rows);
    }
    // A ragged picture of 5 x 6: padded with white to 3 x 2 cells; swapped, the padding stays
    // white; trimmed, the empty margins go first.
    const QImage ragged = dotPicture({"#...#", ".....", "..#..", ".....", "#....", "....#"});
    PostOptions o;
    o.braille = true;
    o.lineEnd = QStringLiteral("\n");
    QCOMPARE(postText(ragged, o), QStringLiteral("\u2801\u2804\u2801\n\u2801\u2800\u2802"));
    ReadText read = readBrailleText(postText(ragged, o), 99);
    QCOMPARE(read.dots.size(), QSize(6, 8));
    QCOMPARE(dotRows(read.dots).mid(0, 6), (QStringList{"#...#.", "......", "..#...", "......", "#.....", "....#."}));
    QCOMPARE(dotRows(read.dots).mid(6), (QStringList{"......", "......"}));
    o.swap = true;
    QCOMPARE(postText(ragged, o).left(1), QString(QChar(char16_t(0x2800 + 0xFF - 0x01))));
    QCOMPARE(postText(ragged, o).at(2), QChar(char16_t(0x2800 + (0x01 | 0x02 | 0x04 | 0x40) - 0x01)));
    o.swap = false;
    o.trim = true;
    QCOMPARE(postText(dotPicture({"....", ".#..", "..#.", "...."}), o), QString(QChar(char16_t(0x2800 + 0x01 + 0x10))));
    // The largest picture, 99 x 99, is 50 x 25 cells: its padding is cut when read back, and
    // a black dot beyond 99 is too large.
    const QImage largest = dotPicture(QStringList(99, QString(99, QLatin1Char('#'))));
    o.trim = false;
    read = readBrailleText(postText(largest, o), 99);
    QCOMPARE(std::make_pair(read.outcome, read.dots.size()), std::make_pair(ReadText::Picture, QSize(99, 99)));
    QCOMPARE(readBrailleText(QString(50, QChar(0x28FF)), 99).outcome, ReadText::TooLarge);
    // A stray character is named where it is; a text that does not begin as braille is none.
    read = readBrailleText(QStringLiteral("\u28FF\n\u2800x"), 99);
    QCOMPARE(std::make_tuple(read.outcome, read.line, read.column), std::make_tuple(ReadText::BadCharacter, 2, 2));
    QVERIFY(readTextMessage(read, 99).contains(QStringLiteral("点字")));
    QCOMPARE(readBrailleText(QStringLiteral("x\u28FF"), 99).outcome, ReadText::NotDotText);
}

void tst_result::squareArtInOtherCharacters()
{
    // Named BLACK and WHITE of one shape: read without asking, the BLACK one black, whichever
    // comes first.
    QCOMPARE(blackAndWhite(0x25CF, 0x25CB), (DotPair{0x25CF, 0x25CB})); // ● ○
    QCOMPARE(blackAndWhite(0x25CB, 0x25CF), (DotPair{0x25CF, 0x25CB}));
    for (const auto &[b, w] : {std::pair<char32_t, char32_t>{0x25C6, 0x25C7}, {0x2605, 0x2606}, {0x25B2, 0x25B3},
                                {0x2665, 0x2661}, {0x26AB, 0x26AA}, {0x2B1B, 0x2B1C}})
        QCOMPARE(blackAndWhite(w, b), (DotPair{b, w}));
    QVERIFY(!blackAndWhite(0x25A0, 0x2605)); // ■ ★: not one shape
    QVERIFY(!blackAndWhite(0x25CF, 0x25CF));
    QVERIFY(!blackAndWhite('x', 'o'));
    OtherText other = readOtherText(QStringLiteral("○●\n●○\n"), 99);
    QCOMPARE(other.kind, OtherText::Read);
    QCOMPARE(dotRows(other.read.dots), (QStringList{".#", "#."}));
    // Two others in a grid: asked, the first in the text first; not a grid, or a single line:
    // some other text, left alone.
    other = readOtherText(QStringLiteral("■★★\n★■★\n"), 99);
    QCOMPARE(std::make_tuple(other.kind, other.first, other.second), std::make_tuple(OtherText::Ask, char32_t(0x25A0), char32_t(0x2605)));
    other = readOtherText(QStringLiteral("xox\noxo"), 99);
    QCOMPARE(std::make_tuple(other.kind, other.first, other.second), std::make_tuple(OtherText::Ask, char32_t('x'), char32_t('o')));
    QCOMPARE(readOtherText(QStringLiteral("xo\noxo"), 99).kind, OtherText::None);
    QCOMPARE(readOtherText(QStringLiteral("ab"), 99).kind, OtherText::None);
    QCOMPARE(readOtherText(QStringLiteral("hello\nworld"), 99).kind, OtherText::None);
    // Three characters, one of a pair: the first of no pair is named.
    other = readOtherText(QStringLiteral("●○\n○x"), 99);
    QCOMPARE(std::make_tuple(other.read.outcome, other.read.line, other.read.column, other.read.character),
             std::make_tuple(ReadText::BadCharacter, 2, 2, char32_t('x')));
    // Through the window: pasted braille, a BLACK and WHITE pair, and two others with the
    // question answered; each one step.
    MessageLog log;
    frmMain w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->setText(QStringLiteral("\u2847\u28B8\n"));
    QTest::keyClick(w.picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dotRows(w), QStringList(4, QStringLiteral("#..#")));
    clipboard->setText(QStringLiteral("☆★\n★☆"));
    QTest::keyClick(w.picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dotRows(w), (QStringList{".#", "#."}));
    QStringList asked;
    setMsgBoxAskHook([&asked](const QString &text, const QStringList &answers) {
        asked << text;
        return answers.indexOf(QStringLiteral("「o」を黒"));
    });
    clipboard->setText(QStringLiteral("xox\noxo\n"));
    QTest::keyClick(w.picDot, Qt::Key_V, Qt::ControlModifier);
    setMsgBoxAskHook(failOnQuestion);
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].contains(QStringLiteral("「x」と「o」")));
    QCOMPARE(dotRows(w), (QStringList{".#.", "#.#"}));
    QTest::keyClick(w.picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(dotRows(w), (QStringList{".#", "#."}));
    QVERIFY(log.messages.isEmpty());
}

void tst_result::savedPicturesReadBackDotForDot_data()
{
    QTest::addColumn<QImage>("dots");
    QTest::newRow("1 x 1, black") << dotPicture({"#"});
    QTest::newRow("1 x 1, white") << dotPicture({"."});
    // A picture with structure: its corners, a diagonal, a ragged last column and row.
    QStringList rows;
    for (int y = 0; y < 48; ++y) {
        QString row(48, QLatin1Char('.'));
        row[y] = QLatin1Char('#');
        if (y % 3 == 0)
            row[47] = QLatin1Char('#');
        rows << row;
    }
    rows[47] = QString(47, QLatin1Char('#')) + QLatin1Char('.');
    QTest::newRow("48 x 48 with structure") << dotPicture(rows);
    QStringList large;
    for (int y = 0; y < 99; ++y) {
        QString row;
        for (int x = 0; x < 99; ++x)
            row += (x * 7 + y * 3) % 5 == 0 || x == 98 || y == 0 ? QLatin1Char('#') : QLatin1Char('.');
        large << row;
    }
    QTest::newRow("99 x 99, the largest") << dotPicture(large);
    QTest::newRow("7 x 3, wider than high") << dotPicture({"#.....#", ".#...#.", "..###.."});
}

void tst_result::savedPicturesReadBackDotForDot()
{
    QFETCH(QImage, dots);
    // As text: exactly what Ctrl+C copies; as a PNG: W x H pixels, black and white.
    const QString text = pictureText(dots);
    QCOMPARE(text, *dotText(QString::number(dots.width()), QString::number(dots.height()),
                            [&dots](int x, int y) { return dotRows(dots)[y][x] == QLatin1Char('#'); }));
    const QByteArray png = picturePng(dots);
    QImage image;
    QVERIFY(image.loadFromData(png, "PNG"));
    QCOMPARE(image.size(), dots.size());
    for (const QByteArray &bytes : {text.toUtf8(), png}) {
        const OpenedPicture opened = readSavedPicture(bytes, builtInPairs(), 99);
        QVERIFY2(opened.message.isEmpty(), qPrintable(opened.message));
        QCOMPARE(dotRows(opened.dots), dotRows(dots));
    }
}

void tst_result::savedImagesAreReadOnePixelADot()
{
    // Darker than middle grey is black, transparent is white, whatever the image's kind.
    QImage grey(5, 1, QImage::Format_Grayscale8);
    const int tones[] = {0, 126, 127, 128, 255};
    for (int x = 0; x < 5; ++x)
        grey.scanLine(0)[x] = uchar(tones[x]);
    OpenedPicture opened = readSavedPicture(pictureFiles::encodedImage(grey, "PNG"), builtInPairs(), 99);
    QCOMPARE(dotRows(opened.dots), QStringList{"###.."});
    QImage alpha(4, 2, QImage::Format_ARGB32);
    alpha.fill(qRgba(0, 0, 0, 0));          // transparent black: white
    alpha.setPixel(1, 0, qRgba(0, 0, 0, 255));
    alpha.setPixel(2, 1, qRgba(0, 0, 200, 255)); // a dark blue: black
    alpha.setPixel(3, 1, qRgba(0, 0, 0, 100));   // faint black over white: white
    opened = readSavedPicture(pictureFiles::encodedImage(alpha, "PNG"), builtInPairs(), 99);
    QCOMPARE(dotRows(opened.dots), (QStringList{".#..", "..#."}));
    // The largest, one under and one over, in each direction: a larger picture belongs under
    // the grid, and the message says how to get it there.
    QCOMPARE(readSavedPicture(pictureFiles::encoded("PNG", 99, 1, 0, 0), builtInPairs(), 99).dots.size(), QSize(99, 1));
    for (QSize over : {QSize(100, 1), QSize(1, 100)}) {
        opened = readSavedPicture(pictureFiles::encoded("PNG", over.width(), over.height(), 0, 0), builtInPairs(), 99);
        QVERIFY(opened.dots.isNull());
        QVERIFY2(opened.message.contains(QStringLiteral("下絵")) && opened.message.contains(QStringLiteral("Ctrl+T")), qPrintable(opened.message));
    }
    // Text that is no picture, and a stray character named where it is.
    QVERIFY(readSavedPicture("hello", builtInPairs(), 99).dots.isNull());
    opened = readSavedPicture(QStringLiteral("■□\r\n□x\r\n").toUtf8(), builtInPairs(), 99);
    QVERIFY(opened.message.contains(QStringLiteral("開いたファイルの 2 行目 2 文字目")));
}

void tst_result::theTypeSavedFollowsTheNameFirst()
{
    const auto target = [](const QString &typed, int chosen) {
        const SaveTarget t = saveTarget(typed, chosen);
        return t.path + (t.png ? QStringLiteral(" png") : QStringLiteral(" text"));
    };
    QCOMPARE(target("/d/a.txt", 2), QStringLiteral("/d/a.txt text"));
    QCOMPARE(target("/d/a.PNG", 1), QStringLiteral("/d/a.PNG png"));
    QCOMPARE(target("/d/a", 1), QStringLiteral("/d/a.txt text"));
    QCOMPARE(target("/d/a", 2), QStringLiteral("/d/a.png png"));
    QCOMPARE(target("/d/a.text", 2), QStringLiteral("/d/a.text.png png"));
}

void tst_result::savingAndOpeningThroughTheWindow()
{
    QTemporaryDir dir;
    MessageLog log;
    frmMain w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    setSize(w, "7", "3");
    w.Draw();
    for (const QPoint p : {QPoint(0, 0), QPoint(6, 0), QPoint(3, 2)})
        w.DotDraw(1, float(p.x() * 12 + 5), float(p.y() * 12 + 5));
    const QStringList picture = dotRows(w);
    // The save dialog answered as the user would: a name, and the type chosen in its list.
    int dialogs = 0;
    const auto answer = [&dialogs](const QString &name, const char *type) {
        setFileDialogRunner([&dialogs, name, type](QFileDialog &d, const OPENFILENAME &) -> std::optional<QString> {
            ++dialogs;
            for (const QString &f : d.nameFilters())
                if (f.startsWith(QString::fromUtf8(type)))
                    d.selectNameFilter(f);
            return name;
        });
    };
    const auto restore = qScopeGuard([] { setFileDialogRunner(nullptr); });
    const auto bytes = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    };

    // Ctrl+S the first time asks; a name without .txt or .png takes the type chosen.
    answer(dir.filePath("first"), "テキスト");
    QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialogs, 1);
    QTest::keyClick(w.picDot, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(bytes(dir.filePath("first.txt")), QApplication::clipboard()->text().toUtf8());
    // Again: the same file, without asking.
    w.DotDraw(1, 5, 12 + 5);
    QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialogs, 1);
    QVERIFY(bytes(dir.filePath("first.txt")).startsWith(QStringLiteral("■□□□□□■\r\n■").toUtf8()));
    // Ctrl+Shift+S always asks; ".png" typed decides the type whatever the list shows.
    answer(dir.filePath("second.png"), "テキスト");
    QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(dialogs, 2);
    QImage png;
    QVERIFY(png.loadFromData(bytes(dir.filePath("second.png")), "PNG"));
    QCOMPARE(png.size(), QSize(7, 3));
    QCOMPARE(dotRows(png), dotRows(w));
    QVERIFY(log.messages.isEmpty());

    // A save that fails says why, once, and leaves the older file byte for byte: a name that
    // is a folder, and a disk that fills up (a file size limit the kernel holds even root to).
    // Replacing the file is agreed to each time.
    QStringList asked;
    setMsgBoxAskHook([&asked](const QString &text, const QStringList &answers) {
        asked << text;
        return int(answers.indexOf(QStringLiteral("はい")));
    });
    const auto noQuestions = qScopeGuard([] { setMsgBoxAskHook(failOnQuestion); });
    const QByteArray older = bytes(dir.filePath("first.txt"));
    QVERIFY(QDir(dir.path()).mkdir("folder.txt"));
    answer(dir.filePath("folder.txt"), "テキスト");
    QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(log.messages.size(), 1);
    QVERIFY2(log.messages[0].contains(QStringLiteral("フォルダー")), qPrintable(log.messages[0]));
    answer(dir.filePath("first.txt"), "テキスト");
    setSize(w, "60", "60");
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit was{};
    getrlimit(RLIMIT_FSIZE, &was);
    rlimit small = was;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    setrlimit(RLIMIT_FSIZE, &was);
    std::signal(SIGXFSZ, SIG_DFL);
    QCOMPARE(log.messages.size(), 2);
    QVERIFY2(log.messages[1].contains(QStringLiteral("前からあるファイルはそのまま")), qPrintable(log.messages[1]));
    QCOMPARE(bytes(dir.filePath("first.txt")), older);
    if (geteuid() != 0) {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(log.messages.size(), 3);
        QVERIFY(log.messages[2].contains(QStringLiteral("権限")));
        QCOMPARE(bytes(dir.filePath("first.txt")), older);
    }
    log.messages.clear();
    setSize(w, "7", "3");
    w.Draw();

    // Ctrl+O of each: one step, the size fields following; Ctrl+Z gives back what was.
    w.cmdClear->click();
    setSize(w, "32", "32");
    w.Draw();
    for (const char *name : {"second.png", "first.txt"}) {
        setFileDialogRunner([&dir, name](QFileDialog &, const OPENFILENAME &) -> std::optional<QString> { return dir.filePath(name); });
        QTest::keyClick(w.picDot, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(std::make_pair(w.txtWidth->text(), w.txtHeight->text()), std::make_pair(QStringLiteral("7"), QStringLiteral("3")));
        QCOMPARE(dotRows(w).mid(0, 1), picture.mid(0, 1));
        QTest::keyClick(w.picDot, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(std::make_pair(w.txtWidth->text(), w.txtHeight->text()), std::make_pair(QStringLiteral("32"), QStringLiteral("32")));
        QVERIFY(blackDots(w).isEmpty());
    }
    // A picture too large to be one pixel a dot: a message, and the picture as it was.
    QVERIFY(pictureFiles::write(dir.filePath("wide.png"), pictureFiles::encoded("PNG", 100, 1, 0, 0)));
    setFileDialogRunner([&dir](QFileDialog &, const OPENFILENAME &) -> std::optional<QString> { return dir.filePath("wide.png"); });
    QTest::keyClick(w.picDot, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.messages[0].contains(QStringLiteral("Ctrl+T")));
    QCOMPARE(w.txtWidth->text(), QStringLiteral("32"));
}

void tst_result::savingAsksBeforeReplacingTheNameItWrites()
{
    QTemporaryDir dir;
    MessageLog log;
    frmMain w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // No file open: the described caption, exactly.
    QCOMPARE(w.windowTitle(), QStringLiteral("GRIDGLYPH Ver. 1.10"));
    w.DotDraw(1, 5, 5);
    QCOMPARE(w.windowTitle(), QStringLiteral("GRIDGLYPH Ver. 1.10"));
    const auto write = [&dir](const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    };
    const auto bytes = [&dir](const QString &name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    };
    QVERIFY(write(QStringLiteral("絵.txt"), "older"));
    QVERIFY(write(QStringLiteral("x.jpg"), "a photo"));
    QVERIFY(write(QStringLiteral("x.jpg.txt"), "older"));
    QVERIFY(write(QStringLiteral("y.PNG"), "older"));
    // The dialog answered with the names given, one a time; nothing more: a cancel.
    QStringList names;
    int dialogs = 0;
    setFileDialogRunner([&](QFileDialog &d, const OPENFILENAME &) -> std::optional<QString> {
        ++dialogs;
        for (const QString &f : d.nameFilters())
            if (f.startsWith(QStringLiteral("テキスト")))
                d.selectNameFilter(f);
        if (names.isEmpty())
            return std::nullopt;
        return dir.filePath(names.takeFirst());
    });
    const auto noDialogs = qScopeGuard([] { setFileDialogRunner(nullptr); setMsgBoxAskHook(failOnQuestion); });
    QStringList asked;
    int answer = 1;
    setMsgBoxAskHook([&](const QString &text, const QStringList &answers) {
        asked << text;
        // いいえ is the answer Enter gives: the one that changes nothing.
        if (answers != QStringList{QStringLiteral("はい"), QStringLiteral("いいえ")})
            return int(answers.size()) - 1;
        return answer;
    });

    // Enter on the name offered, 「絵」: the question is about 絵.txt, the file written; いいえ
    // leaves it and asks for a name again, and a cancel then writes nothing.
    names = {QStringLiteral("絵")};
    QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(asked, QStringList{QStringLiteral("「絵.txt」は既に存在します。上書きしますか？")});
    QCOMPARE(dialogs, 2);
    QCOMPARE(bytes(QStringLiteral("絵.txt")), QByteArray("older"));
    QCOMPARE(w.windowTitle(), QStringLiteral("GRIDGLYPH Ver. 1.10"));
    // はい replaces it; the title then names it, unchanged until the picture changes.
    answer = 0;
    names = {QStringLiteral("絵")};
    QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(asked.size(), 2);
    QVERIFY(bytes(QStringLiteral("絵.txt")).startsWith(QStringLiteral("■□").toUtf8()));
    QCOMPARE(w.windowTitle(), QStringLiteral("絵.txt[*] - GRIDGLYPH Ver. 1.10"));
    QVERIFY(!w.isWindowModified());
    w.picDot_MouseDown(1, 0, 17, 5);
    w.picDot_MouseUp(1, 0, 17, 5);
    QVERIFY(w.isWindowModified());
    QTest::keyClick(w.picDot, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!w.isWindowModified());
    // Saving again to the same file asks nothing.
    QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(asked.size(), 2);
    QCOMPARE(dialogs, 3);

    // Another extension gets the type's after it, and is asked about by that name; the photo
    // it was named after is never touched. A ".PNG" typed is a PNG whatever the list says.
    answer = 1;
    names = {QStringLiteral("x.jpg"), QStringLiteral("y.PNG")};
    QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(asked.mid(2), (QStringList{QStringLiteral("「x.jpg.txt」は既に存在します。上書きしますか？"),
                                        QStringLiteral("「y.PNG」は既に存在します。上書きしますか？")}));
    QCOMPARE(bytes(QStringLiteral("x.jpg")), QByteArray("a photo"));
    QCOMPARE(bytes(QStringLiteral("x.jpg.txt")), QByteArray("older"));
    QCOMPARE(bytes(QStringLiteral("y.PNG")), QByteArray("older"));
    answer = 0;
    names = {QStringLiteral("y.PNG")};
    QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(isOwnPicturePng(bytes(QStringLiteral("y.PNG"))));
    QCOMPARE(w.windowTitle(), QStringLiteral("y.PNG[*] - GRIDGLYPH Ver. 1.10"));
    // Named on the command line or dropped, a PNG this program saved is the picture again, as
    // Ctrl+O opens it; any other PNG, the same size and colours, is the underlay as ever.
    {
        QVERIFY(write(QStringLiteral("other.png"), pictureFiles::encodedImage(dotPicture(dotRows(w)), "PNG")));
        QVERIFY(!isOwnPicturePng(bytes(QStringLiteral("other.png"))));
        frmMain again;
        again.show();
        again.openFromCommandLine(dir.filePath(QStringLiteral("y.PNG")));
        QCOMPARE(dotRows(again), dotRows(w));
        QVERIFY(!again.chkTrace->isChecked());
        again.cmdClear->click();
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(dir.filePath(QStringLiteral("y.PNG")))});
        QDragEnterEvent enter(QPoint(150, 150), Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QApplication::sendEvent(again.picDot, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(238, 158), Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QApplication::sendEvent(&again, &drop);
        QCOMPARE(dotRows(again), dotRows(w));
        QVERIFY(!again.chkTrace->isChecked());
        again.openFromCommandLine(dir.filePath(QStringLiteral("other.png")));
        QVERIFY(QTest::qWaitFor([&again] { return !again.underlayLoading()->busy(); }));
        QVERIFY(again.chkTrace->isChecked());
        // A chunk that tells another size than the picture has is no mark of ours.
        QByteArray forged = bytes(QStringLiteral("y.PNG"));
        const qsizetype at = forged.indexOf(QByteArray("GRIDGLYPH\0", 10));
        QVERIFY(at > 0);
        forged[at + 10] = forged[at + 10] == '9' ? '8' : '9';
        QVERIFY(!isOwnPicturePng(forged));
    }
    // A name that is a folder is not asked about: it cannot be replaced, and says so.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.txt")));
    names = {QStringLiteral("folder.txt")};
    QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(asked.size(), 5);
    QCOMPARE(log.messages.size(), 1);
    QVERIFY2(log.messages[0].contains(QStringLiteral("同じ名前のフォルダー")), qPrintable(log.messages[0]));
    // A read-only file is said to be one (its folder may be written); root may write it.
    if (geteuid() != 0) {
        QVERIFY(write(QStringLiteral("locked.txt"), "older"));
        QFile::setPermissions(dir.filePath(QStringLiteral("locked.txt")), QFile::ReadOwner);
        names = {QStringLiteral("locked.txt")};
        QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(log.messages.size(), 2);
        QVERIFY2(log.messages[1].contains(QStringLiteral("読み取り専用")), qPrintable(log.messages[1]));
        QCOMPARE(bytes(QStringLiteral("locked.txt")), QByteArray("older"));
    }
    log.messages.clear();

    // A file whose name is not UTF-8, opened from the command line, is saved to itself.
    const QByteArray latin = QFile::encodeName(dir.path()) + "/caf\xe9.txt";
    {
        QFile f(fileNameFromBytes(latin));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    FILE *raw = std::fopen(latin.constData(), "wb");
    QVERIFY(raw);
    const QByteArray text = pictureText(dotPicture({"#.", ".#"})).toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), raw);
    std::fclose(raw);
    const int filesBefore = int(QDir(dir.path()).entryList(QDir::Files).size());
    w.openFromCommandLine(fileNameFromBytes(latin));
    QCOMPARE(dotRows(w), (QStringList{"#.", ".#"}));
    run(w, CommandList::Invert);
    QTest::keyClick(w.picDot, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(int(QDir(dir.path()).entryList(QDir::Files).size()), filesBefore);
    raw = std::fopen(latin.constData(), "rb");
    QVERIFY(raw);
    char read[64] = {};
    const size_t n = std::fread(read, 1, sizeof read, raw);
    std::fclose(raw);
    QCOMPARE(QByteArray(read, int(n)), pictureText(dotPicture({".#", "#."})).toUtf8());
    QVERIFY(log.messages.isEmpty());
}

void tst_result::textIntakeReadsWhatOtherProgramsMadeOfIt()
{
    const std::vector<DotPair> own = builtInPairs();
    const auto rows = [](const TextIntake &read) { return read.kind == TextIntake::Picture ? dotRows(read.dots) : QStringList{read.message}; };
    // The pair the user typed, a black square and an ideographic space, first: read while
    // it is chosen; without it the space is named by its code point and name.
    std::vector<DotPair> typed{DotPair{0x25A0, 0x3000}};
    typed.insert(typed.end(), own.begin(), own.end());
    const QString spaced = QStringLiteral("■\u3000■\r\n\u3000■\u3000\r\n");
    QCOMPARE(rows(readPictureText(spaced, typed, 99)), (QStringList{"#.#", ".#."}));
    TextIntake read = readPictureText(spaced, own, 99);
    QCOMPARE(read.kind, TextIntake::Refused);
    QVERIFY2(read.message.contains(QStringLiteral("「U+3000 IDEOGRAPHIC SPACE」")), qPrintable(read.message));
    // With it chosen, the program's own squares still read as its own.
    QCOMPARE(rows(readPictureText(QStringLiteral("■□\r\n□■\r\n"), typed, 99)), (QStringList{"#.", ".#"}));
    // Invisible characters and line breaks are named, never shown as themselves.
    read = readPictureText(QStringLiteral("■\u0301□\r\n"), own, 99);
    QVERIFY2(read.message.contains(QStringLiteral("「U+0301 COMBINING ACUTE ACCENT」")), qPrintable(read.message));
    QCOMPARE(characterShown(0x200B), QStringLiteral("U+200B ZERO WIDTH SPACE"));
    QCOMPARE(characterShown(0x09), QStringLiteral("U+0009"));
    QCOMPARE(characterShown(0x2028), QStringLiteral("U+2028 LINE SEPARATOR"));
    QCOMPARE(characterShown(0x2605), QStringLiteral("★"));
    QCOMPARE(characterShown('x'), QStringLiteral("x"));

    // UTF-16 either way round and UTF-8, each after its byte order mark.
    const QString squares = QStringLiteral("■□■\r\n□■□\r\n");
    QByteArray le("\xff\xfe", 2), be("\xfe\xff", 2);
    for (QChar c : squares) {
        le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    for (const QByteArray &bytes : {le, be, QByteArray("\xef\xbb\xbf") + squares.toUtf8(), squares.toUtf8()}) {
        QCOMPARE(decodedText(bytes), squares);
        QCOMPARE(rows(readPictureText(decodedText(bytes), own, 99)), (QStringList{"#.#", ".#."}));
    }
    // Circles named BLACK and WHITE read without asking; words are no picture at all.
    QCOMPARE(rows(readPictureText(QStringLiteral("●○●\r\n○●○\r\n"), own, 99)), (QStringList{"#.#", ".#."}));
    QCOMPARE(readPictureText(QStringLiteral("just some words"), own, 99).kind, TextIntake::NotDotText);
    // Two others in a grid: asked, and read as answered, either way.
    read = readPictureText(QStringLiteral("xo\nox\n"), own, 99);
    QCOMPARE(read.kind, TextIntake::Ask);
    QCOMPARE(rows(readAnswered(QStringLiteral("xo\nox\n"), read, true, 99)), (QStringList{"#.", ".#"}));
    QCOMPARE(rows(readAnswered(QStringLiteral("xo\nox\n"), read, false, 99)), (QStringList{".#", "#."}));
    // The same picture's text, whatever line ends and trailing blanks; a dot more is not.
    QVERIFY(samePictureText(QStringLiteral("■□\r\n□■"), QStringLiteral("■□\n□■ \n")));
    QVERIFY(!samePictureText(QStringLiteral("■□\r\n□■"), QStringLiteral("■□\n■■\n")));

    // Through the window: the same texts pasted, and a text of words said to be none.
    MessageLog log;
    frmMain w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QClipboard *clipboard = QApplication::clipboard();
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("text/plain"), le);
    clipboard->setMimeData(mime);
    QTest::keyClick(w.picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dotRows(w), (QStringList{"#.#", ".#."}));
    clipboard->setText(QStringLiteral("●○\n○●"));
    QTest::keyClick(w.picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dotRows(w), (QStringList{"#.", ".#"}));
    QVERIFY(log.messages.isEmpty());
    clipboard->setText(QStringLiteral("hello"));
    QTest::keyClick(w.picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(dotRows(w), (QStringList{"#.", ".#"}));
}

void tst_result::swappedPostingTextIsReadTheRightWayRound()
{
    MessageLog log;
    frmMain w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QApplication::clipboard()->setText(QStringLiteral("■■□\r\n□□□\r\n□□■\r\n"));
    QTest::keyClick(w.picDot, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(w.picDot, Qt::Key_E, Qt::ControlModifier);
    frmPost *post = w.postWindow();
    QVERIFY(post);
    post->chkSwap->setChecked(true);
    QCOMPARE(post->text(), QStringLiteral("□□■\r\n■■■\r\n■■□"));
    // Its own text, copied and pasted back: the picture it was made of, not its negative.
    post->cmdCopy->click();
    w.cmdClear->click();
    w.activateWindow();
    QTest::keyClick(w.picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dotRows(w), (QStringList{"##.", "...", "..#"}));
    // Any other text in its characters is asked about, both answers taken as given.
    QStringList asked;
    QString choice;
    setMsgBoxAskHook([&](const QString &text, const QStringList &answers) {
        asked << text;
        return int(answers.indexOf(choice));
    });
    const auto noQuestions = qScopeGuard([] { setMsgBoxAskHook(failOnQuestion); });
    choice = QStringLiteral("入れ替えて読む");
    QApplication::clipboard()->setText(QStringLiteral("■□\n□□\n"));
    QTest::keyClick(w.picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(dotRows(w), (QStringList{".#", "##"}));
    choice = QStringLiteral("そのまま読む");
    QApplication::clipboard()->setText(QStringLiteral("■■\n□□\n"));
    QTest::keyClick(w.picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(asked.size(), 2);
    QCOMPARE(dotRows(w), (QStringList{"##", ".."}));
    // Swapped off: read as it stands, nothing asked.
    post->chkSwap->setChecked(false);
    QApplication::clipboard()->setText(QStringLiteral("□■\n□□\n"));
    QTest::keyClick(w.picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(asked.size(), 2);
    QCOMPARE(dotRows(w), (QStringList{".#", ".."}));
    QVERIFY(log.messages.isEmpty());
}

void tst_result::colourPicturesAreCountedWrittenAndReadBack()
{
    // Each service's own counting: an emoji square weighs 2 on X (with its presentation
    // selector too, as one emoji), is one grapheme, one code point on Discord (two with the
    // selector), two UTF-16 units on LINE (a black or white square one), four bytes of UTF-8.
    QCOMPARE(xWeightedLength(QStringLiteral("🟥")), 2);
    QCOMPARE(xWeightedLength(QStringLiteral("⬛\ufe0f⬜")), 4);
    QCOMPARE(xWeightedLength(QStringLiteral("⠿漢a")), 2 + 2 + 1);
    QCOMPARE(graphemeCount(QStringLiteral("⬛\ufe0f🟥\r\n⬜")), 4);
    QCOMPARE(codePointCount(QStringLiteral("⬛\ufe0f🟥\r\n")), 4);
    QCOMPARE(utf16Length(QStringLiteral("🟥⬛\r\n")), 4);
    QCOMPARE(utf8Length(QStringLiteral("🟥⬛■")), 4 + 3 + 3);
    // The largest square picture of each service is the same in colour as in ■ and □, but for
    // LINE's line of twelve.
    for (const auto &[service, side] : {std::pair{X, 11}, std::pair{Bluesky, 16}, std::pair{Mastodon, 21}, std::pair{Discord, 44}, std::pair{Line, 12}}) {
        QCOMPARE(largestFitting(QSize(48, 48), false, kSquares, service, true), QSize(side, side));
        PostOptions o;
        o.colour = true;
        o.lineEnd = QStringLiteral("\n");
        QImage red = dots::white(QSize(side, side));
        red.fill(dots::kSquares[2].pixel);
        QVERIFY(countBudgets(postText(red, o), side)[size_t(service)].fits);
        red = dots::white(QSize(side + 1, side + 1));
        red.fill(dots::kSquares[2].pixel);
        QVERIFY(!countBudgets(postText(red, o), side + 1)[size_t(service)].fits);
    }
    // Bluesky's 3,000 bytes: 150 graphemes of a family's joined emoji, 25 bytes each, do not
    // fit, with a word why; 300 squares in colour, 1,200 bytes, do.
    const Budget bytes = countBudgets(QString(150, QChar(0x20)).replace(QLatin1Char(' '), QStringLiteral("👨‍👩‍👧‍👦")), 150)[Bluesky];
    QCOMPARE(bytes.count, 150);
    QVERIFY(!bytes.fits);
    QVERIFY(bytes.note.contains(QStringLiteral("3,000")));
    QVERIFY(countBudgets(QString(300, QChar(0x20)).replace(QLatin1Char(' '), QStringLiteral("🟥")), 300)[Bluesky].fits);
    // The bytes at the limit and one over: 120 of those families are 3,000 bytes exactly and
    // fit; a letter more does not.
    const QString families = QString(120, QChar(0x20)).replace(QLatin1Char(' '), QStringLiteral("👨‍👩‍👧‍👦"));
    QCOMPARE(utf8Length(families), 3000);
    QVERIFY(countBudgets(families, 120)[Bluesky].fits);
    QVERIFY(!countBudgets(families + QLatin1Char('a'), 121)[Bluesky].fits);
    // LINE counts UTF-16 units: a colour square two, a black or white one, and ■ or □, one;
    // 10,000 units fit and one more does not.
    const Budget line = countBudgets(QString(2000, QChar(0x20)).replace(QLatin1Char(' '), QStringLiteral("🟥⬛■")), 12)[Line];
    QCOMPARE(line.count, 2000 * 4);
    for (const auto &[units, fits] : {std::pair{10000, true}, std::pair{10001, false}}) {
        QString red = QString(units / 2, QChar(0x20)).replace(QLatin1Char(' '), QStringLiteral("🟥"));
        if (units % 2)
            red += QLatin1Char('a');
        QCOMPARE(countBudgets(red, 12)[Line].count, units);
        QCOMPARE(countBudgets(red, 12)[Line].fits, fits);
    }

    // Every colour there is, text to picture to text and PNG to picture to PNG, dot for dot;
    // no presentation selector written.
    QImage all = dots::white(QSize(9, 2));
    for (int i = 0; i < 9; ++i) {
        dots::put(all, i, 0, dots::kSquares[size_t(i)].pixel);
        dots::put(all, 8 - i, 1, dots::kSquares[size_t(i)].pixel);
    }
    const QString text = pictureText(all, true);
    QCOMPARE(text, QStringLiteral("⬛⬜🟥🟧🟨🟩🟦🟪🟫\r\n🟫🟪🟦🟩🟨🟧🟥⬜⬛\r\n"));
    QVERIFY(!text.contains(QChar(0xFE0F)));
    // The posting text of the same: every square its own, the black one too; swapped, only
    // black and white change places.
    PostOptions post;
    post.colour = true;
    post.lineEnd = QStringLiteral("\n");
    QCOMPARE(postText(all, post), QStringLiteral("⬛⬜🟥🟧🟨🟩🟦🟪🟫\n🟫🟪🟦🟩🟨🟧🟥⬜⬛"));
    post.swap = true;
    QCOMPARE(postText(all, post), QStringLiteral("⬜⬛🟥🟧🟨🟩🟦🟪🟫\n🟫🟪🟦🟩🟨🟧🟥⬛⬜"));
    TextIntake read = readPictureText(text, builtInPairs(), 99);
    QCOMPARE(read.kind, TextIntake::Picture);
    QVERIFY(read.colour);
    QCOMPARE(read.dots, all);
    // With selectors, and LF ends, the same picture.
    read = readPictureText(QStringLiteral("⬛\ufe0f⬜\ufe0f🟥\n🟫🟪🟦\n"), builtInPairs(), 99);
    QCOMPARE(pictureText(read.dots, true), QStringLiteral("⬛⬜🟥\r\n🟫🟪🟦\r\n"));
    // Black and white squares alone are a black-and-white picture, as they always were.
    read = readPictureText(QStringLiteral("⬛⬜\n⬜⬛\n"), builtInPairs(), 99);
    QVERIFY(!read.colour);
    QCOMPARE(dotRows(read.dots), (QStringList{"#.", ".#"}));
    const QByteArray png = picturePng(all);
    QVERIFY(isOwnPicturePng(png));
    const OpenedPicture opened = readSavedPicture(png, builtInPairs(), 99);
    QCOMPARE(opened.dots, all);
    QCOMPARE(picturePng(opened.dots), png);
    // Another program's PNG, opened while colour is on: each pixel its nearest square; while
    // it is off, black and white as ever.
    QImage foreign(3, 1, QImage::Format_RGB32);
    foreign.setPixel(0, 0, qRgb(250, 60, 50));
    foreign.setPixel(1, 0, qRgb(30, 110, 200));
    foreign.setPixel(2, 0, qRgb(40, 40, 40));
    const QByteArray foreignPng = pictureFiles::encodedImage(foreign, "PNG");
    const QImage foreignDots = readSavedPicture(foreignPng, builtInPairs(), 99, true).dots;
    QCOMPARE(dots::squareOf(foreignDots.pixel(0, 0)), 2);
    QCOMPARE(dots::squareOf(foreignDots.pixel(1, 0)), 6);
    QCOMPARE(dots::squareOf(foreignDots.pixel(2, 0)), 0);
    QCOMPARE(dotRows(readSavedPicture(foreignPng, builtInPairs(), 99).dots), QStringList{"###"}); // all darker than middle grey
    // A grid mixing ⬛ and ■ is refused, the line and the character named.
    read = readPictureText(QStringLiteral("⬛⬜🟥\n⬛■⬜\n"), builtInPairs(), 99);
    QCOMPARE(read.kind, TextIntake::Refused);
    QVERIFY2(read.message.contains(QStringLiteral(" 2 行目 2 文字目の「■」")), qPrintable(read.message));
}

QTEST_MAIN(tst_result)
#include "tst_result.moc"
