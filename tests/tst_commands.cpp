// The control panel: its layout and its commands, driven through clicks and typing.
#include "support.h"

#include "app.h"
#include "commands/commandList.h"
#include "commands/frmHelp.h"
#include "convert/frmConvert.h"
#include "editing/frmPalette.h"
#include "result/frmResult.h"
#include "toolkit/MultiLineTextBox.h"
#include "result/frmPost.h"
#include "result/frmResult.h"
#include "toolkit/Contrast.h"
#include "toolkit/Twips.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QTableWidget>
#include <QTimer>
#include <QTranslator>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QStyleFactory>
#include <QClipboard>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QGlyphRun>
#include <QRawFont>
#include <QSignalSpy>
#include <QStyleOptionGroupBox>
#include <QTextLayout>
#include <QWindow>
#include <QtTest>

class tst_commands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void panelIsLaidOutAsDesigned();
    void applyLimitsEachFieldTo48_data();
    void applyLimitsEachFieldTo48();
    void otherCommandsTakeTheFieldsAsTheyStand();
    void magnificationKeepsDotsAndRefitsWindow();
    void clearWithUnderlayShowsUnderlay();
    void onlyDigitsAndBackspaceCanBeTyped();
    void editingKeysAreTheFieldsAndCommandsTheWindows();
    void accessKeysReachTheirControls();
    void tabFollowsTheLayoutAndArrowsMoveInTheGroup();
    void undoAndRedoStrokesAndClears();
    void captionsResolveToFontsWithTheirGlyphs();
    void everyCommandHasTheKeysItIsKnownBy();
    void thePanelsContextMenuOffersEveryCommand();
    void helpWindowAndManualPageListEveryKey();
    void everyControlHasANameForScreenReaders();
    void quitClosesTheWindow();
    void commandsFollowWhatTheyActOnWhateverMenusWereOpened();
    void commandsWorkFromTheSizeFields();
    void clicksLeaveTheKeyboardOnTheCanvas();
    void theKeyboardComesBackWhenAWindowCloses();
    void captionsFitAtEveryDesktopFontSize_data();
    void captionsFitAtEveryDesktopFontSize();
    void stateColoursReadOnLightAndDarkThemes();
    void colourIsAModeTheUserTurnsOn();
    void inEnglishNoJapaneseReachesTheScreen();
    void theStartIsJapaneseUnlessEnglishWasChosen();

private:
    // Opens the panel's context menu over `over` and closes it again, as Escape would.
    void openAndCloseMenu(QWidget *over);
    frmMain *w = nullptr;
    MessageLog *log = nullptr;
};

void tst_commands::init()
{
    log = new MessageLog;
    w = new frmMain;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void tst_commands::cleanup()
{
    delete w;
    delete log;
}

void tst_commands::panelIsLaidOutAsDesigned()
{
    QCOMPARE(w->Frame1->title(), QStringLiteral("コントロール"));
    QCOMPARE(w->Frame1->geometry(), QRect(0, 0, 81, 321));
    QVERIFY(w->optSize[0]->isHidden());
    QCOMPARE(w->optSize[1]->geometry(), QRect(8, 40, 33, 25));
    QCOMPARE(w->optSize[6]->geometry(), QRect(40, 16, 33, 25));
    QCOMPARE(w->optSize[11]->geometry(), QRect(40, 136, 33, 25));
    QCOMPARE(w->optSize[9]->text(), QStringLiteral("x&10"));
    QVERIFY(w->optSize[11]->isChecked());
    QVERIFY(w->optSizeGroup->exclusive());
    QCOMPARE(w->txtWidth->geometry(), QRect(8, 168, 25, 18));
    QCOMPARE(w->txtHeight->maxLength(), 2);
    QCOMPARE(w->lblString->text(), QStringLiteral("×"));
    QCOMPARE(w->chkBar->text(), QStringLiteral("格子(&L)"));
    QCOMPARE(w->cmdCanvas->text(), QStringLiteral("再描画(&R)"));
    QCOMPARE(w->cmdClear->text(), QStringLiteral("全消去(&C)"));
    QCOMPARE(w->chkTrace->text(), QStringLiteral("下絵(&T)"));
    QVERIFY(w->chkTrace->isCheckable());
    QCOMPARE(w->cmdOK->geometry(), QRect(8, 288, 65, 25));
    QVERIFY(w->picTrace->isHidden());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->picDot));
    // A frame: its line runs through the caption, inset from the left, around every control.
    QStyleOptionGroupBox box;
    box.initFrom(w->Frame1);
    box.text = w->Frame1->title();
    box.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QStyle *style = w->Frame1->style();
    const QRect frame = style->subControlRect(QStyle::CC_GroupBox, &box, QStyle::SC_GroupBoxFrame, w->Frame1);
    const QRect label = style->subControlRect(QStyle::CC_GroupBox, &box, QStyle::SC_GroupBoxLabel, w->Frame1);
    QVERIFY2(label.left() > 0 && label.top() < frame.top() && label.bottom() > frame.top(),
             qPrintable(QStringLiteral("label %1,%2 frame top %3").arg(label.left()).arg(label.top()).arg(frame.top())));
    for (QWidget *control : w->Frame1->findChildren<QWidget *>())
        if (control->isVisibleTo(w->Frame1))
            QVERIFY2(frame.adjusted(1, 1, -1, -1).contains(control->geometry()), qPrintable(control->objectName()));
    // Two digits fit in a size field.
    const QFontMetrics m(w->txtWidth->font());
    QVERIFY(m.horizontalAdvance("88") <= w->txtWidth->contentsRect().width());
}

void tst_commands::applyLimitsEachFieldTo48_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QStringList>("fieldsAtEachMessage");
    QTest::addColumn<QSize>("picture");
    QTest::newRow("49 x 32") << "49" << "32" << QStringList{"49 32"} << QSize(48, 32);
    QTest::newRow("60 x 60, width first") << "60" << "60" << QStringList{"60 60", "48 60"} << QSize(48, 48);
    QTest::newRow("48 passes") << "48" << "48" << QStringList{} << QSize(48, 48);
    QTest::newRow("05 stays as typed") << "05" << "32" << QStringList{} << QSize(5, 32);
    QTest::newRow("0 has no lower limit") << "0" << "99" << QStringList{"0 99"} << QSize(0, 48);
}

void tst_commands::applyLimitsEachFieldTo48()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QStringList, fieldsAtEachMessage);
    QFETCH(QSize, picture);
    QStringList seen;
    setMsgBoxHook([&](const QString &text) {
        QCOMPARE(text, kLimitMessage);
        seen << w->txtWidth->text() + " " + w->txtHeight->text();
    });
    setSize(*w, width, height);
    QTest::mouseClick(w->cmdCanvas, Qt::LeftButton);
    QCOMPARE(seen, fieldsAtEachMessage);
    QCOMPARE(w->txtWidth->text(), width.toInt() > 48 ? QStringLiteral("48") : width);
    QCOMPARE(QSize(w->picPreview->scaleWidth(), w->picPreview->scaleHeight()), picture);
    QCOMPARE(w->picDot->size(), picture * 12);
}

void tst_commands::otherCommandsTakeTheFieldsAsTheyStand()
{
    QWidget *const commands[] = {w->optSize[1], w->chkBar, w->cmdClear};
    for (QWidget *command : commands) {
        setSize(*w, "60", "32");
        QTest::mouseClick(command, Qt::LeftButton);
        QCOMPARE(w->picPreview->scaleWidth(), 60);
        QCOMPARE(w->picDot->scaleWidth(), 60 * w->DotSize);
    }
    QVERIFY(log->messages.isEmpty());
    QTest::mouseClick(w->cmdCanvas, Qt::LeftButton);
    QCOMPARE(log->messages, QStringList{kLimitMessage});
    QCOMPARE(w->txtWidth->text(), QStringLiteral("48"));
}

void tst_commands::magnificationKeepsDotsAndRefitsWindow()
{
    w->DotDraw(1, 40, 40);
    const int before = outerWidthTwips(w);
    QTest::mouseClick(w->optSize[5], Qt::LeftButton);
    QCOMPARE(w->DotSize, 6);
    QVERIFY(w->optSize[5]->isChecked());
    QVERIFY(!w->optSize[11]->isChecked());
    QCOMPARE(blackDots(*w), QStringList{"3,3"});
    QCOMPARE(w->picDot->point(3 * 6 + 1, 3 * 6 + 1), kBlack);
    QCOMPARE(w->picDot->size(), QSize(192, 192));
    QCOMPARE(outerWidthTwips(w), 192 * 15 + 1500);
    QVERIFY(outerWidthTwips(w) < before);
}

void tst_commands::clearWithUnderlayShowsUnderlay()
{
    QImage picture(400, 400, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0x80, 0));
    w->picTrace->setPicture(picture);
    w->chkTrace->setChecked(true);
    w->DotDraw(1, 5, 5);
    QTest::mouseClick(w->cmdClear, Qt::LeftButton);
    QVERIFY(blackDots(*w).isEmpty());
    QCOMPARE(w->picDot->point(5, 5), 0x008000);
    QCOMPARE(w->picDot->point(0, 5), 0xC0C0C0);
    QVERIFY(w->chkTrace->isChecked());
}

void tst_commands::onlyDigitsAndBackspaceCanBeTyped()
{
    TextBox *t = w->txtWidth;
    t->setFocus();
    t->clear();
    QTest::keyClicks(t, "a 1.-+");
    QTest::keyClick(t, Qt::Key_Return);
    QTest::keyClick(t, Qt::Key_Escape);
    QCOMPARE(t->text(), QStringLiteral("1"));
    // Full-width digits, typed directly or committed by an input method.
    QTest::sendKeyEvent(QTest::Click, t, Qt::Key_unknown, QStringLiteral("２"), {});
    QInputMethodEvent ime;
    ime.setCommitString(QStringLiteral("２3"));
    QApplication::sendEvent(t, &ime);
    QCOMPARE(t->text(), QStringLiteral("13"));
    QTest::keyClicks(t, "4");
    QCOMPARE(t->text(), QStringLiteral("13"));
    QTest::keyClick(t, Qt::Key_Backspace);
    QCOMPARE(t->text(), QStringLiteral("1"));
    QTest::keyClick(t, Qt::Key_Backspace);
    QCOMPARE(t->text(), QString());

    qint16 code = '5';
    w->txtHeight_KeyPress(code);
    QCOMPARE(code, qint16('5'));
    code = -32; // a double-byte character
    w->txtHeight_KeyPress(code);
    QCOMPARE(code, qint16(0));
}

void tst_commands::editingKeysAreTheFieldsAndCommandsTheWindows()
{
    TextBox *t = w->txtHeight;
    t->setFocus();
    t->setText("12");
    t->setCursorPosition(2);
    QTest::keyClick(t, Qt::Key_Left);
    QTest::keyClick(t, Qt::Key_Delete);
    QCOMPARE(t->text(), QStringLiteral("1"));
    QTest::keyClick(t, Qt::Key_Home);
    QTest::keyClicks(t, "9");
    QCOMPARE(t->text(), QStringLiteral("91"));

    // Ctrl+A selects the field's text, so that typing replaces it; Ctrl+X types nothing.
    QTest::keyClick(t, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(t->selectedText(), QStringLiteral("91"));
    QTest::keyClick(t, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(t->text(), QStringLiteral("91"));
    QTest::keyClicks(t, "4");
    QCOMPARE(t->text(), QStringLiteral("4"));
    t->setText(QStringLiteral("32"));
    // Ctrl+C, Ctrl+V, Ctrl+Z and Ctrl+Y are the window's: they act on the picture, and the
    // digit filter keeps their characters out of the field.
    w->DotDraw(1, 5, 5);
    QTest::keyClick(t, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("■□□")));
    QApplication::clipboard()->setText(QStringLiteral("□■\r\n"));
    QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), QStringList{".#"});
    QCOMPARE(std::make_pair(w->txtWidth->text(), t->text()), std::make_pair(QStringLiteral("2"), QStringLiteral("1")));
    QTest::keyClick(t, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(blackDots(*w), QStringList{"0,0"});
    QCOMPARE(t->text(), QStringLiteral("32"));
    QTest::keyClick(t, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(dotRows(*w), QStringList{".#"});
    // Enter applies the size, with the limit and its message, as 再描画 does.
    t->setText(QStringLiteral("60"));
    QTest::keyClick(t, Qt::Key_Return);
    QCOMPARE(log->messages, QStringList{kLimitMessage});
    QCOMPARE(t->text(), QStringLiteral("48"));
    QCOMPARE(w->picPreview->scaleHeight(), 48);
    log->messages.clear();
}

void tst_commands::accessKeysReachTheirControls()
{
    QSignalSpy redraw(w->cmdCanvas, &QPushButton::clicked);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::AltModifier);
    // A button pressed by its key shows itself pressed for a moment before it acts.
    QTRY_COMPARE(redraw.count(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
    QTRY_VERIFY(!w->chkBar->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_6, Qt::AltModifier);
    QTRY_COMPARE(w->DotSize, 6);
    // Three buttons share Alt+1: it moves between them rather than pressing one.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1, Qt::AltModifier);
    QTest::qWait(200);
    QCOMPARE(w->DotSize, 6);
    QVERIFY(QApplication::focusWidget() == w->optSize[9] || QApplication::focusWidget() == w->optSize[10]
            || QApplication::focusWidget() == w->optSize[11]);
}

void tst_commands::tabFollowsTheLayoutAndArrowsMoveInTheGroup()
{
    // The magnification buttons are one stop, on the selected one.
    const QWidget *order[] = {w->txtWidth, w->txtHeight, w->cmdCanvas, w->picPreview, w->chkBar,
                              w->optSize[11], w->cmdClear, w->cmdOK, w->chkTrace, w->picDot};
    for (const QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    w->optSize[11]->setFocus();
    QTest::keyClick(w->optSize[11], Qt::Key_Left);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->optSize[5]));
    QVERIFY(w->optSize[5]->isChecked());
    QCOMPARE(w->DotSize, 6);
    QTest::keyClick(w->optSize[5], Qt::Key_Up);
    QCOMPARE(w->DotSize, 5);
    // Now x5 is the stop, at its own place: first after the canvas.
    w->picDot->setFocus();
    QTest::keyClick(w->picDot, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->optSize[4]));
}

void tst_commands::undoAndRedoStrokesAndClears()
{
    QWindow *win = w->windowHandle();
    const auto at = [this](int x, int y) { return w->picDot->mapTo(w, QPoint(x, y)); };
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    };
    QTest::mousePress(win, Qt::LeftButton, {}, at(5, 5));
    QTest::mouseMove(win, at(41, 5));
    QTest::mouseRelease(win, Qt::LeftButton, {}, at(41, 5));
    QCOMPARE(blackDots(*w).size(), 4);
    key(Qt::Key_Z);
    QVERIFY(blackDots(*w).isEmpty());
    QCOMPARE(w->picDot->point(17, 5), kWhite);
    key(Qt::Key_Y);
    QCOMPARE(blackDots(*w).size(), 4);
    QCOMPARE(w->picDot->point(17, 5), kBlack);

    // A clear undone after a shrink: the hidden dot comes back when the size grows again.
    w->DotDraw(1, 30 * 12 + 5, 5);
    setSize(*w, "20", "32");
    w->cmdCanvas->click();
    w->cmdClear->click();
    key(Qt::Key_Z);
    QCOMPARE(blackDots(*w).size(), 4);
    setSize(*w, "32", "32");
    w->cmdCanvas->click();
    QCOMPARE(blackDots(*w).size(), 5);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(blackDots(*w).isEmpty());

    // From a size field too, Ctrl+Z and Ctrl+Y act on the picture; the field keeps its text.
    w->txtHeight->setFocus();
    key(Qt::Key_Z);
    QCOMPARE(blackDots(*w).size(), 5);
    QCOMPARE(w->txtHeight->text(), QStringLiteral("32"));
    key(Qt::Key_Y);
    QVERIFY(blackDots(*w).isEmpty());
    // An undo shows the picture without reading the fields.
    w->txtHeight->setText(QString());
    w->picDot->setFocus();
    key(Qt::Key_Z);
    QCOMPARE(blackDots(*w).size(), 5);
    QVERIFY(log->messages.isEmpty());
}

void tst_commands::captionsResolveToFontsWithTheirGlyphs()
{
    // Whatever font each control asks for, every character of its caption must be drawn
    // by some installed font that has it, never as a box.
    const std::pair<QWidget *, QString> captions[] = {
        {w->Frame1, w->Frame1->title()}, {w->chkBar, w->chkBar->text()},
        {w->cmdCanvas, w->cmdCanvas->text()}, {w->cmdClear, w->cmdClear->text()},
        {w->chkTrace, w->chkTrace->text()}, {w->cmdOK, w->cmdOK->text()},
        {w->lblString, w->lblString->text()}, {w, w->windowTitle()}};
    for (const auto &[widget, caption] : captions) {
        const QString text = QString(caption).remove(QLatin1Char('&'));
        QTextLayout layout(text, widget->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        int glyphs = 0;
        for (const QGlyphRun &run : layout.glyphRuns()) {
            for (quint32 index : run.glyphIndexes()) {
                QVERIFY2(index != 0, qPrintable(text + " in " + run.rawFont().familyName()));
                ++glyphs;
            }
        }
        QCOMPARE(glyphs, int(text.size()));
    }
}

namespace {

QString keysOf(const QAction *a)
{
    QStringList keys;
    for (const QKeySequence &k : a->shortcuts())
        keys << k.toString(QKeySequence::PortableText);
    return keys.join(", ");
}

// Every action of a menu and its submenus.
QList<QAction *> allActions(const QMenu *menu)
{
    QList<QAction *> found;
    for (QAction *a : menu->actions()) {
        if (a->menu())
            found += allActions(a->menu());
        else if (!a->isSeparator())
            found << a;
    }
    return found;
}

} // namespace

void tst_commands::everyCommandHasTheKeysItIsKnownBy()
{
    using C = CommandList;
    const std::pair<C::Id, const char *> keys[] = {
        {C::Undo, "Ctrl+Z"}, {C::Redo, "Ctrl+Y, Ctrl+Shift+Z"}, {C::Copy, "Ctrl+C"}, {C::Paste, "Ctrl+V"},
        {C::Save, "Ctrl+S"}, {C::SaveAs, "Ctrl+Shift+S"}, {C::Open, "Ctrl+O"}, {C::OpenLast, "Ctrl+Shift+O"},
        {C::Convert, "Ctrl+T"}, {C::Post, "Ctrl+E"}, {C::PlaceAsLoaded, "Ctrl+1"}, {C::PlaceFitted, "Ctrl+2"},
        {C::PlaceFilled, "Ctrl+3"}, {C::Invert, "Ctrl+I"}, {C::FlipLeftRight, "Shift+H"}, {C::FlipTopBottom, "Shift+V"},
        {C::ShiftLeft, "Ctrl+Left"}, {C::ShiftRight, "Ctrl+Right"}, {C::ShiftUp, "Ctrl+Up"}, {C::ShiftDown, "Ctrl+Down"},
        {C::TurnClockwise, "Ctrl+R"}, {C::TurnAnticlockwise, "Ctrl+Shift+R"}, {C::Mirror, "M"},
        {C::UnderlayStrength, "U"}, {C::Help, "F1"}, {C::Quit, "Ctrl+Q"}, {C::Cut, "Ctrl+X"},
        {C::Pen, "B"}, {C::Fill, "G"}, {C::Line, "L"}, {C::Rectangle, "R"}, {C::FilledRectangle, "Shift+R"},
        {C::Ellipse, "O"}, {C::FilledEllipse, "Shift+O"}, {C::Selection, "S"}, {C::SmoothCorners, ""},
        {C::Colour, "Ctrl+K"}, {C::Square1, "1"}, {C::Square2, "2"}, {C::Square3, "3"}, {C::Square4, "4"},
        {C::Square5, "5"}, {C::Square6, "6"}, {C::Square7, "7"}, {C::Square8, "8"}, {C::Square9, "9"},
        {C::LanguageJapanese, ""}, {C::LanguageEnglish, ""}};
    QCOMPARE(int(std::size(keys)), int(C::Count));
    QSet<QString> seen;
    for (const auto &[id, want] : keys) {
        QAction *a = w->commands()->action(id);
        QCOMPARE(keysOf(a), QString::fromLatin1(want));
        QVERIFY(w->actions().contains(a));
        for (const QKeySequence &k : a->shortcuts()) {
            QVERIFY2(!seen.contains(k.toString()), qPrintable(k.toString()));
            seen << k.toString();
        }
    }
}

void tst_commands::thePanelsContextMenuOffersEveryCommand()
{
    QSet<QAction *> everyCommand;
    for (int i = 0; i < CommandList::Count; ++i)
        everyCommand << w->commands()->action(CommandList::Id(i));
    for (QWidget *over : {static_cast<QWidget *>(w->Frame1), static_cast<QWidget *>(w->cmdClear),
                          static_cast<QWidget *>(w->optSize[4]), static_cast<QWidget *>(w->chkBar)}) {
        QSet<QAction *> offered;
        QTimer::singleShot(0, this, [&offered] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction *a : allActions(menu))
                offered << a;
            menu->close();
        });
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(4, 4), over->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(over, &right);
        QCOMPARE(offered, everyCommand);
    }
    // The canvas keeps its right button for painting.
    w->document()->setDot(QPoint(0, 0), dots::kBlackPixel);
    w->Draw();
    QTest::mouseClick(w->picDot, Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(!QApplication::activePopupWidget());
    QVERIFY(blackDots(*w).isEmpty());
}

void tst_commands::helpWindowAndManualPageListEveryKey()
{
    QTest::keyClick(w->picDot, Qt::Key_F1);
    frmHelp *help = w->helpWindow();
    QVERIFY(help && help->isVisible());
    // Every command, then what the canvas and the conversion window take themselves.
    const QList<CommandList::Row> rows = w->commands()->helpRows(frmHelp::canvasRows());
    QCOMPARE(help->table->rowCount(), int(rows.size() + frmConvert::keyRows().size()));
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(help->table->item(i, 1)->text(), rows[i].what);
    QCOMPARE(help->table->item(0, 1)->text(), QStringLiteral("元に戻す"));
    // A choice without a key says which menu it is in; one with a key does not need to.
    const auto rowOf = [&rows](const QString &what) {
        return std::find_if(rows.begin(), rows.end(), [&what](const CommandList::Row &r) { return r.what == what; });
    };
    for (const char *language : {"表示言語: 日本語", "表示言語: English"})
        QVERIFY2(rowOf(QString::fromUtf8(language)) != rows.end() && rowOf(QString::fromUtf8(language))->keys.isEmpty(), language);
    QVERIFY(rowOf(QStringLiteral("ペン")) != rows.end());
    // The mouse first, then where saving, the conversion and posting are.
    QVERIFY(help->lblIntro->text().startsWith(QStringLiteral("左ボタン 黒、右・中ボタン 白")));
    for (const char *where : {"Ctrl+S", "Ctrl+T", "Ctrl+E", "右クリック"})
        QVERIFY2(help->lblIntro->text().contains(QString::fromUtf8(where)), where);
    QTest::keyClick(help, Qt::Key_Escape);
    QVERIFY(!help->isVisible());
    QTest::keyClick(w->picDot, Qt::Key_F1);
    QCOMPARE(w->helpWindow(), help);
    QVERIFY(help->isVisible());

    QFile page(QStringLiteral(GRIDGLYPH_SOURCE_DIR "/packaging/gridglyph.1"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString manual = QString::fromUtf8(page.readAll()).remove(QStringLiteral("\\fB")).remove(QStringLiteral("\\fR"));
    for (int i = 0; i < CommandList::Count; ++i)
        for (const QKeySequence &k : w->commands()->action(CommandList::Id(i))->shortcuts())
            QVERIFY2(manual.contains(k.toString(QKeySequence::PortableText)), qPrintable(k.toString()));
    for (const char *key : {"Space", "Delete", "Backspace", "Home", "End", "Page Up", "Page Down", "Shift", "表示言語", "lang"})
        QVERIFY2(manual.contains(QString::fromUtf8(key)), key);
}

void tst_commands::everyControlHasANameForScreenReaders()
{
    for (QWidget *control : w->findChildren<QWidget *>()) {
        if (!control->isVisibleTo(w) || (control->parentWidget() != w && control->parentWidget() != w->Frame1))
            continue;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(control);
        QVERIFY(a);
        QVERIFY2(!a->text(QAccessible::Name).isEmpty() && !a->text(QAccessible::Description).isEmpty(),
                 control->metaObject()->className());
    }
    QAccessibleInterface *canvas = QAccessible::queryAccessibleInterface(w->picDot);
    QCOMPARE(canvas->role(), QAccessible::Canvas);
    QCOMPARE(canvas->text(QAccessible::Name), QStringLiteral("キャンバス（32 × 32 ドット）"));
    QCOMPARE(canvas->text(QAccessible::Value), QStringLiteral("カーソル 1 列 1 行、白"));
    QCOMPARE(QAccessible::queryAccessibleInterface(w->cmdCanvas)->text(QAccessible::Name), QStringLiteral("再描画"));
}

void tst_commands::quitClosesTheWindow()
{
    // With the help and posting windows open, Ctrl+Q ends the whole program: no window of
    // it is left open on its own.
    QTest::keyClick(w->picDot, Qt::Key_F1);
    QTest::keyClick(w->picDot, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(w->helpWindow()->isVisible() && w->postWindow()->isVisible());
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w->picDot, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!w->isVisible());
    QVERIFY(!w->helpWindow()->isVisible());
    QVERIFY(!w->postWindow()->isVisible());
    QVERIFY(QApplication::topLevelWidgets().size() > 0);
    for (QWidget *top : QApplication::topLevelWidgets())
        QVERIFY2(!top->isVisible(), qPrintable(top->windowTitle()));
}

void tst_commands::openAndCloseMenu(QWidget *over)
{
    bool opened = false;
    QTimer::singleShot(0, this, [&opened] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            opened = true;
            menu->close();
        }
    });
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(4, 4), over->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(over, &right);
    QVERIFY(opened);
    // The keyboard is back where it was.
    QTRY_VERIFY(QApplication::focusWidget());
}

void tst_commands::commandsFollowWhatTheyActOnWhateverMenusWereOpened()
{
    QAction *undo = w->commands()->action(CommandList::Undo);
    QAction *redo = w->commands()->action(CommandList::Redo);
    const auto ctrl = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    };
    const auto click = [this](int x, int y) { QTest::mouseClick(w->picDot, Qt::LeftButton, {}, QPoint(x, y)); };
    // As it was met: the menu opened before anything was painted (undo and redo rightly
    // greyed), closed; a dot painted; Ctrl+Z takes it back, Ctrl+Y and Ctrl+Shift+Z redo it.
    openAndCloseMenu(w->cmdClear);
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    click(30, 30);
    QVERIFY(undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("元に戻す（描画）"));
    ctrl(Qt::Key_Z);
    QVERIFY(blackDots(*w).isEmpty());
    QVERIFY(!undo->isEnabled() && redo->isEnabled());
    ctrl(Qt::Key_Y);
    QCOMPARE(blackDots(*w), QStringList{"2,2"});
    ctrl(Qt::Key_Z);
    ctrl(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(blackDots(*w), QStringList{"2,2"});
    QVERIFY(undo->isEnabled() && !redo->isEnabled());

    // The same after each of the program's windows was opened and closed.
    const auto undoStillWorks = [&](const char *after) {
        w->activateWindow();
        QVERIFY2(QTest::qWaitForWindowActive(w), after);
        w->picDot->setFocus();
        click(42, 30);
        QCOMPARE(blackDots(*w), (QStringList{"2,2", "3,2"}));
        ctrl(Qt::Key_Z);
        QVERIFY2(blackDots(*w) == QStringList{"2,2"}, after);
    };
    QTest::mouseClick(w->cmdOK, Qt::LeftButton);
    QVERIFY(w->resultWindow());
    w->resultWindow()->close();
    undoStillWorks("the result window");
    ctrl(Qt::Key_E);
    QVERIFY(w->postWindow() && w->postWindow()->isVisible());
    w->postWindow()->close();
    undoStillWorks("the posting window");
    ctrl(Qt::Key_F1, Qt::NoModifier);
    QVERIFY(w->helpWindow() && w->helpWindow()->isVisible());
    w->helpWindow()->close();
    undoStillWorks("the help window");

    // Ctrl+T needs an underlay: without one it does nothing at all, with one it opens its
    // window; the menu and the keys agree, whatever was opened before.
    QAction *convert = w->commands()->action(CommandList::Convert);
    openAndCloseMenu(w->Frame1);
    QVERIFY(!convert->isEnabled());
    ctrl(Qt::Key_T);
    QVERIFY(!w->convertWindow());
    QVERIFY(log->messages.isEmpty());
    QImage blue(64, 64, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    auto *data = new QMimeData;
    data->setImageData(blue);
    QApplication::clipboard()->setMimeData(data);
    ctrl(Qt::Key_V);
    QVERIFY(convert->isEnabled());
    ctrl(Qt::Key_T);
    QVERIFY(w->convertWindow());
    w->convertWindow()->reject();
    QTRY_VERIFY(!w->convertWindow());

    // The whole-picture commands need a picture with dots: at 0 x 5 none of them makes a step.
    QAction *invert = w->commands()->action(CommandList::Invert);
    QAction *turn = w->commands()->action(CommandList::TurnClockwise);
    setSize(*w, "0", "5");
    w->Draw();
    openAndCloseMenu(w->chkBar);
    QVERIFY(!invert->isEnabled() && !turn->isEnabled());
    const QString before = undo->text();
    w->activateWindow();
    w->picDot->setFocus();
    for (Qt::Key k : {Qt::Key_I, Qt::Key_R, Qt::Key_Left})
        ctrl(k);
    QCOMPARE(undo->text(), before);
    QCOMPARE(w->txtWidth->text(), QStringLiteral("0"));
    setSize(*w, "3", "2");
    w->Draw();
    QVERIFY(invert->isEnabled() && turn->isEnabled());
    ctrl(Qt::Key_R);
    QCOMPARE(std::make_pair(w->txtWidth->text(), w->txtHeight->text()), std::make_pair(QStringLiteral("2"), QStringLiteral("3")));
    QCOMPARE(undo->text(), QStringLiteral("元に戻す（右に90度回す）"));
}

void tst_commands::commandsWorkFromTheSizeFields()
{
    // With real keys, from each size field: the window's commands, as from the canvas.
    QImage blue(40, 40, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    auto *data = new QMimeData;
    data->setImageData(blue);
    QApplication::clipboard()->setMimeData(data);
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(w->chkTrace->isChecked());
    for (TextBox *field : {w->txtWidth, w->txtHeight}) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_T, Qt::ControlModifier);
        QVERIFY(w->convertWindow());
        w->convertWindow()->reject();
        QTRY_VERIFY(!w->convertWindow());
        // The field has the keyboard again once the window is gone.
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(field));
        QTest::keyClick(field, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(w->postWindow() && w->postWindow()->isVisible());
        w->postWindow()->close();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(field));
    }
    QCOMPARE(w->txtWidth->text() + w->txtHeight->text(), QStringLiteral("3232"));
    QTest::keyClick(w->txtHeight, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!w->isVisible());
}

void tst_commands::clicksLeaveTheKeyboardOnTheCanvas()
{
    // After a click on any button of the panel, Right and Space still paint where the cursor
    // is, and Tab still reaches each of them.
    QAbstractButton *buttons[] = {w->optSize[11], w->optSize[6], w->chkBar, w->chkBar, w->cmdCanvas, w->optSize[11]};
    int x = 0;
    for (QAbstractButton *b : buttons) {
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->picDot));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        ++x;
        QVERIFY2(w->document()->isBlack(x, 0), qPrintable(b->text()));
    }
    for (QWidget *b : std::initializer_list<QWidget *>{w->chkBar, w->cmdCanvas, w->cmdClear, w->chkTrace, w->cmdOK, w->optSize[11]})
        QCOMPARE(b->focusPolicy(), Qt::TabFocus);
    QCOMPARE(w->optSize[6]->focusPolicy(), Qt::NoFocus);
}

void tst_commands::theKeyboardComesBackWhenAWindowCloses()
{
    // Each of the program's windows closed: the main window is active again and the keys
    // reach the picture, without anyone clicking it (no window manager gives it back here).
    const auto paintsAndUndoes = [this](const char *after) {
        QTRY_VERIFY2(QApplication::activeWindow() == w, after);
        QTRY_VERIFY2(QApplication::focusWidget() == w->picDot, after);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY2(w->document()->isBlack(w->editor()->cursor().x(), w->editor()->cursor().y()), after);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY2(blackDots(*w).isEmpty(), after);
    };
    QTest::mouseClick(w->cmdOK, Qt::LeftButton);
    QVERIFY(w->resultWindow());
    w->resultWindow()->activateWindow();
    QTest::keyClick(w->resultWindow(), Qt::Key_Escape);
    paintsAndUndoes("the result window");
    QTest::keyClick(w->picDot, Qt::Key_E, Qt::ControlModifier);
    QTRY_VERIFY(QApplication::activeWindow() == w->postWindow());
    QTest::keyClick(w->postWindow(), Qt::Key_Escape);
    paintsAndUndoes("the posting window");
    QTest::keyClick(w->picDot, Qt::Key_F1);
    QTRY_VERIFY(QApplication::activeWindow() == w->helpWindow());
    QTest::keyClick(w->helpWindow(), Qt::Key_Escape);
    paintsAndUndoes("the help window");
    // A message box: where the keyboard was, it goes back.
    setMsgBoxHook(nullptr);
    QTimer::singleShot(0, this, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key_Return);
    });
    w->txtWidth->setText(QStringLiteral("60"));
    w->cmdCanvas->click();
    setMsgBoxHook(failOnMessageBox);
    paintsAndUndoes("a message box");
    // The conversion window, by Enter.
    QImage blue(40, 40, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    auto *data = new QMimeData;
    data->setImageData(blue);
    QApplication::clipboard()->setMimeData(data);
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(w->convertWindow());
    w->convertWindow()->activateWindow();
    w->convertWindow()->sldThreshold->setValue(0);
    QTest::keyClick(w->convertWindow(), Qt::Key_Return);
    QTRY_VERIFY(!w->convertWindow());
    QTRY_VERIFY(QApplication::focusWidget() == w->picDot);
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(QStringLiteral("converted and undone"), QStringLiteral("converted and undone"));
    QVERIFY(blackDots(*w).isEmpty());
}

void tst_commands::captionsFitAtEveryDesktopFontSize_data()
{
    QTest::addColumn<int>("points");
    for (int points : {9, 11, 14})
        QTest::addRow("%d points", points) << points;
}

void tst_commands::captionsFitAtEveryDesktopFontSize()
{
    QFETCH(int, points);
    const QFont desktop = QApplication::font();
    const auto restore = qScopeGuard([desktop] { QApplication::setFont(desktop); });
    QFont f = desktop;
    f.setPointSize(points);
    QApplication::setFont(f);
    frmMain m;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    // The panel is drawn at the size its fixed layout is made for; each caption, as its font
    // measures it, fits its control.
    const auto fits = [](QWidget *control, QString caption, int besides) {
        caption.remove(QLatin1Char('&'));
        const int needs = control->fontMetrics().horizontalAdvance(caption) + besides;
        QVERIFY2(needs <= control->width(), qPrintable(QStringLiteral("%1: %2 of %3 pixels").arg(caption).arg(needs).arg(control->width())));
    };
    QCOMPARE(m.Frame1->font().pointSize(), 9);
    // The frame's title sits 6 pixels in, after 2 of padding.
    fits(m.Frame1, m.Frame1->title(), 6 + 2);
    for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{m.cmdCanvas, m.cmdClear, m.chkTrace, m.cmdOK, m.optSize[11], m.optSize[1]})
        fits(b, b->text(), 4);
    const int box = m.chkBar->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, m.chkBar)
                    + m.chkBar->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, m.chkBar);
    fits(m.chkBar, m.chkBar->text(), box);
    fits(m.txtWidth, QStringLiteral("99"), 2);
    // The program's own windows follow the desktop's font and grow with it.
    run(m, CommandList::Post);
    frmPost *post = m.postWindow();
    QCOMPARE(post->font().pointSize(), points);
    QVERIFY(post->width() >= post->minimumSizeHint().width());
    QVERIFY(post->height() >= post->minimumSizeHint().height());
    run(m, CommandList::Help);
    QCOMPARE(m.helpWindow()->font().pointSize(), points);
}

void tst_commands::stateColoursReadOnLightAndDarkThemes()
{
    // The posting window's colours for fits, does not fit and a warning, on a light and on a
    // dark theme: 4.5:1 against the window's background, the contrast computed.
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    QPalette light = QApplication::style()->standardPalette();
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([before] { QApplication::setPalette(before); });
    w->DotDraw(1, 5, 5);
    run(*w, CommandList::Post);
    frmPost *post = w->postWindow();
    for (const QPalette &theme : {light, dark}) {
        QApplication::setPalette(theme);
        QApplication::processEvents();
        const QColor background = post->palette().color(QPalette::Window);
        // A 32 x 32 text fits Discord and not X; the typed pair is warned of.
        post->cboPair->setCurrentIndex(3);
        post->txtPair->setText(QStringLiteral("x"));
        QList<QLabel *> coloured{post->lblPairWarning};
        for (QLabel *l : post->findChildren<QLabel *>())
            if (l->styleSheet().startsWith(QLatin1String("color:")) && !coloured.contains(l))
                coloured << l;
        QVERIFY(coloured.size() >= 3);
        for (QLabel *l : coloured) {
            const QColor c(l->styleSheet().mid(6).trimmed());
            QVERIFY2(c.isValid() && contrastRatio(c, background) >= 4.5,
                     qPrintable(QStringLiteral("%1 on %2: %3").arg(c.name(), background.name()).arg(contrastRatio(c, background))));
        }
    }
    // Every colour made readable in the same way reaches the ratio, or is black or white.
    for (const QColor &wanted : {QColor(0x00, 0x60, 0x00), QColor(0xFF, 0xFF, 0x00), QColor(0xB0, 0, 0)})
        for (const QColor &on : {QColor(Qt::white), QColor(Qt::black), QColor(0x80, 0x80, 0x80), QColor(0x2b, 0x2b, 0x2b)})
            QVERIFY(contrastRatio(readableOn(wanted, on), on) >= 4.5);
    QCOMPARE(contrastRatio(Qt::black, Qt::white), 21.0);
}

void tst_commands::colourIsAModeTheUserTurnsOn()
{
    // At start: black and white, the squares' keys off, no palette.
    QVERIFY(!w->commands()->action(CommandList::Colour)->isChecked());
    QVERIFY(!w->commands()->action(CommandList::Square3)->isEnabled());
    QVERIFY(!w->paletteWindow());
    // Ctrl+K, 3, a stroke: red dots, on the canvas and the true-size picture, in the palette's
    // colour; the right button white.
    QTest::keyClick(w->picDot, Qt::Key_K, Qt::ControlModifier);
    QVERIFY(w->paletteWindow() && w->paletteWindow()->isVisible());
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w->picDot, Qt::Key_3);
    QCOMPARE(w->paletteWindow()->chosen(), 2);
    QTest::mousePress(w->picDot, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(w->picDot, QPoint(40, 5));
    QTest::mouseRelease(w->picDot, Qt::LeftButton, {}, QPoint(40, 5));
    const QRgb red = dots::kSquares[2].pixel;
    for (int x = 0; x < 4; ++x)
        QCOMPARE(w->document()->dot(x, 0), red);
    QCOMPARE(QRgb(w->picDot->point(17, 5)) | 0xFF000000u, red);
    QCOMPARE(QRgb(w->picPreview->point(2, 0)) | 0xFF000000u, red);
    QTest::mouseClick(w->picDot, Qt::RightButton, {}, QPoint(17, 5));
    QCOMPARE(w->document()->dot(1, 0), dots::kWhitePixel);
    // A click on the palette's square chooses it too; 1 is black.
    w->paletteWindow()->cmdSquare[6]->click();
    QTest::mouseClick(w->picDot, Qt::LeftButton, {}, QPoint(5, 17));
    QCOMPARE(dots::squareOf(w->document()->dot(0, 1)), 6);
    QTest::keyClick(w->picDot, Qt::Key_1);
    QTest::mouseClick(w->picDot, Qt::LeftButton, {}, QPoint(17, 17));
    QVERIFY(w->document()->isBlack(1, 1));
    // The text: each dot its square, no presentation selector; invert swaps black and white
    // and leaves the colours.
    setSize(*w, "4", "2");
    w->Draw();
    QTest::keyClick(w->picDot, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("🟥⬜🟥🟥\r\n🟦⬛⬜⬜\r\n"));
    QTest::keyClick(w->picDot, Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(w->picDot, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("🟥⬛🟥🟥\r\n🟦⬜⬛⬛\r\n"));
    // Pasted back as the squares, the same picture; in the result window too.
    QApplication::clipboard()->setText(QStringLiteral("🟩🟫\n⬛⬜\n"));
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->txtWidth->text() + w->txtHeight->text(), QStringLiteral("22"));
    w->cmdOK->click();
    QCOMPARE(w->resultWindow()->txtDot->toPlainText(), QStringLiteral("🟩🟫\n⬛⬜\n"));
    w->resultWindow()->close();
    // Off again: asked first; いいえ keeps the colours and the mode, はい makes every colour
    // but white black, one step.
    QStringList asked;
    int answer = 1;
    setMsgBoxAskHook([&](const QString &text, const QStringList &) {
        asked << text;
        return answer;
    });
    const auto noQuestions = qScopeGuard([] { setMsgBoxAskHook(failOnQuestion); });
    QTRY_VERIFY(QApplication::activeWindow() == w);
    QTest::keyClick(w->picDot, Qt::Key_K, Qt::ControlModifier);
    QCOMPARE(asked.size(), 1);
    QVERIFY(w->commands()->action(CommandList::Colour)->isChecked());
    QCOMPARE(dots::squareOf(w->document()->dot(0, 0)), 5);
    answer = 0;
    QTest::keyClick(w->picDot, Qt::Key_K, Qt::ControlModifier);
    QCOMPARE(asked.size(), 2);
    QVERIFY(!w->commands()->action(CommandList::Colour)->isChecked());
    QCOMPARE(dotRows(*w), (QStringList{"##", "#."}));
    QVERIFY(!w->paletteWindow()->isVisible());
    QTest::keyClick(w->picDot, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("■■\r\n■□\r\n"));
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(dots::squareOf(w->document()->dot(1, 0)), 8);
    // A black-and-white picture turns colour off without a question.
    QTest::keyClick(w->picDot, Qt::Key_K, Qt::ControlModifier);
    w->cmdClear->click();
    QTest::keyClick(w->picDot, Qt::Key_K, Qt::ControlModifier);
    QCOMPARE(asked.size(), 2);
    QVERIFY(!w->commands()->action(CommandList::Colour)->isChecked());
}

namespace {

// Kana, kanji and the Japanese punctuation: what an English reader could not read. "日本語"
// is the one Japanese word English shows, as the language menu's own name for Japanese.
bool readsAsJapanese(QString text)
{
    text.remove(QStringLiteral("日本語"));
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF01 && u <= 0xFF0F)
               || (u >= 0xFF1A && u <= 0xFF1F) || (u >= 0xFF61 && u <= 0xFF9F);
    });
}

// Every text the open windows show or tell a screen reader: titles, captions, tool tips,
// list items, table cells and headers, menus and their commands.
QStringList textsOnTheScreen()
{
    QStringList texts;
    for (QWidget *widget : QApplication::allWidgets()) {
        if (!widget->window()->isVisible())
            continue;
        texts << widget->windowTitle() << widget->toolTip() << widget->whatsThis();
        if (QAccessibleInterface *read = QAccessible::queryAccessibleInterface(widget))
            for (const QAccessible::Text what : {QAccessible::Name, QAccessible::Description, QAccessible::Value})
                texts << read->text(what);
        if (auto *label = qobject_cast<QLabel *>(widget))
            texts << label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts << button->text();
        if (auto *group = qobject_cast<QGroupBox *>(widget))
            texts << group->title();
        if (auto *field = qobject_cast<QLineEdit *>(widget))
            texts << field->placeholderText();
        if (auto *list = qobject_cast<QComboBox *>(widget))
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i) << list->itemData(i, Qt::ToolTipRole).toString();
        if (auto *table = qobject_cast<QTableWidget *>(widget))
            for (int r = 0; r < table->rowCount(); ++r)
                for (int c = 0; c < table->columnCount(); ++c)
                    texts << table->item(r, c)->text()
                          << table->model()->headerData(c, Qt::Horizontal).toString();
        if (auto *menu = qobject_cast<QMenu *>(widget))
            texts << menu->title();
        for (const QAction *action : widget->actions())
            texts << action->text() << action->toolTip() << (action->menu() ? action->menu()->title() : QString());
    }
    return texts;
}

} // namespace

void tst_commands::inEnglishNoJapaneseReachesTheScreen()
{
    // The windows made with the English catalogue in: the main window, F1, the text and
    // posting windows, the palette, the conversion of an underlay; then messages and a
    // question; then the language chosen for the next start.
    delete w;
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/gridglyph/gridglyph_en.qm")));
    QVERIFY(QCoreApplication::installTranslator(&english));
    auto removeEnglish = qScopeGuard([&english] { QCoreApplication::removeTranslator(&english); });
    w = new frmMain;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(w->chkTrace->text(), QStringLiteral("&Trace"));
    QCOMPARE(w->commands()->action(CommandList::LanguageEnglish)->text(), QStringLiteral("English"));
    QCOMPARE(w->commands()->action(CommandList::LanguageJapanese)->text(), QStringLiteral("日本語"));

    auto *data = new QMimeData;
    data->setImageData(dotPicture({"#..#", ".##.", "#..#"}));
    QApplication::clipboard()->setMimeData(data);
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(underlayRead(*w));
    QTest::keyClick(w->picDot, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(w->convertWindow());
    QStringList texts = textsOnTheScreen();
    QTest::keyClick(w->convertWindow(), Qt::Key_Escape);
    QTRY_VERIFY(!w->convertWindow());
    // A message, a question, the language chosen.
    QStringList questions;
    setMsgBoxAskHook([&questions](const QString &text, const QStringList &answers) {
        questions << text << answers;
        return int(answers.size()) - 1;
    });
    auto noQuestions = qScopeGuard([] { setMsgBoxAskHook(failOnQuestion); });
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QApplication::clipboard()->setText(QStringLiteral("hello"));
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(w->picDot, Qt::Key_K, Qt::ControlModifier);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w->picDot, Qt::Key_3);
    w->DotDraw(1, 17, 5);
    QTest::keyClick(w->picDot, Qt::Key_K, Qt::ControlModifier);
    w->txtWidth->setText(QStringLiteral("49"));
    w->cmdCanvas->click();
    w->commands()->action(CommandList::LanguageEnglish)->trigger();
    QCOMPARE(log->messages.size(), 3);
    QCOMPARE(log->messages[1], QStringLiteral("The largest size is 48 dots"));
    QCOMPARE(questions.size(), 3);
    texts << log->messages << questions;
    for (const auto &[key, modifiers] : {std::pair{Qt::Key_F1, Qt::NoModifier}, std::pair{Qt::Key_E, Qt::ControlModifier}}) {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w->picDot, key, modifiers);
    }
    QVERIFY(w->helpWindow() && w->postWindow() && w->paletteWindow());
    // The panel's context menu, its submenus by name.
    QTimer::singleShot(0, this, [&texts] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            for (const QAction *action : menu->actions())
                texts << action->text() << (action->menu() ? action->menu()->title() : QString());
            menu->close();
        }
    });
    const int before = int(texts.size());
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(4, 4), w->Frame1->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(w->Frame1, &right);
    QVERIFY(texts.size() > before + 40);
    // Last: the text window holds the main window until it closes.
    w->cmdOK->click();
    QVERIFY(w->resultWindow());
    texts << textsOnTheScreen();


    QStringList japanese;
    for (const QString &text : texts)
        if (readsAsJapanese(text))
            japanese << text;
    QVERIFY2(japanese.isEmpty(), qPrintable(japanese.join(QLatin1Char('\n'))));
    QVERIFY(texts.size() > 300);

    // Chosen for the next start, and back; the windows open now stay as they are.
    QCOMPARE(uiLanguage(), QStringLiteral("en"));
    QVERIFY(w->commands()->action(CommandList::LanguageEnglish)->isChecked());
    w->commands()->action(CommandList::LanguageJapanese)->trigger();
    QCOMPARE(uiLanguage(), QStringLiteral("ja"));
    QCOMPARE(log->messages.size(), 4);
    QCOMPARE(w->chkTrace->text(), QStringLiteral("&Trace"));
    // Without the catalogue every text is the Japanese one again.
    removeEnglish.dismiss();
    QCoreApplication::removeTranslator(&english);
    QCOMPARE(QCoreApplication::translate("frmMain", "下絵(&T)"), QStringLiteral("下絵(&T)"));
}

void tst_commands::theStartIsJapaneseUnlessEnglishWasChosen()
{
    // The language a start takes: the one saved in the window, --lang over it for one run,
    // Japanese when neither says English, whatever the system's locale. Qt's own texts
    // follow: its Japanese catalogue, or none in English.
    const QString name = QCoreApplication::applicationName();
    const QLocale locale;
    const auto dropTranslators = [] { qDeleteAll(qApp->findChildren<QTranslator *>(Qt::FindDirectChildrenOnly)); };
    const auto restore = qScopeGuard([&] {
        dropTranslators();
        QCoreApplication::setApplicationName(name);
        QLocale::setDefault(locale);
        setUiLanguage(QStringLiteral("ja"));
    });
    const auto startIn = [&dropTranslators](const char *saved, const char *forRun) {
        dropTranslators();
        QSettings(QStringLiteral("GRIDGLYPH"), QStringLiteral("GRIDGLYPH")).setValue(QStringLiteral("language"), QString::fromLatin1(saved));
        setUpApplication(*qApp, QString::fromLatin1(forRun));
        return QStringList{QCoreApplication::translate("frmMain", "下絵(&T)"), QLocale().name(),
                           QCoreApplication::translate("QPlatformTheme", "Cancel")};
    };
    const QStringList japanese{QStringLiteral("下絵(&T)"), QStringLiteral("ja_JP"), QStringLiteral("キャンセル")};
    const QStringList english{QStringLiteral("&Trace"), QStringLiteral("en_US"), QStringLiteral("Cancel")};
    QCOMPARE(startIn("", ""), japanese);
    QCOMPARE(startIn("de", ""), japanese);
    QCOMPARE(startIn("en", ""), english);
    QCOMPARE(startIn("en", "ja"), japanese);
    QCOMPARE(startIn("ja", "en"), english);
    QCOMPARE(startIn("", "en"), english);
}

QTEST_MAIN(tst_commands)
#include "tst_commands.moc"
