// Tracing: the underlay toggle, loading a picture into the holder, and the canvas over it.
#include "support.h"
#include "pictureFiles.h"

#include "toolkit/CommonDialog.h"

#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class tst_underlay : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void bmpJpegAndGifLieUnscaledUnderTheCanvas_data();
    void bmpJpegAndGifLieUnscaledUnderTheCanvas();
    void dialogStartsInTheCurrentFolderEachTime();
    void switchingOffNeverAsksAndKeepsThePicture();
    void cancelKeepsTogglePictureAndCanvas();
    void firstSwitchOnCancelledShowsHolderBackground();
    void unreadableFileIsReportedAndLosesNothing();
    void droppedAndPastedImagesBecomeTheUnderlay();

private:
    // Clicks the toggle with the dialog answering `answer` (nothing: cancel).
    void toggle(std::optional<QString> answer);
    // Loads a blue picture of `side` x `side` pixels, then switches the underlay off.
    void loadBlueThenSwitchOff(int side);

    frmMain *w = nullptr;
    MessageLog *log = nullptr;
    QTemporaryDir *dir = nullptr;
    int dialogs = 0;
    QString dialogFolder;
};

void tst_underlay::init()
{
    log = new MessageLog;
    dir = new QTemporaryDir;
    w = new frmMain;
    w->show();
    dialogs = 0;
}

void tst_underlay::cleanup()
{
    setFileDialogRunner(nullptr);
    delete w;
    delete dir;
    delete log;
}

void tst_underlay::toggle(std::optional<QString> answer)
{
    setFileDialogRunner([this, answer](QFileDialog &d, const OPENFILENAME &) {
        ++dialogs;
        dialogFolder = d.directory().absolutePath();
        return answer;
    });
    QTest::mouseClick(w->chkTrace, Qt::LeftButton);
}

void tst_underlay::loadBlueThenSwitchOff(int side)
{
    const QString path = dir->filePath("blue.bmp");
    const QRgb blue = qRgb(0, 0, 0xFF);
    QVERIFY(pictureFiles::write(path, pictureFiles::encoded("BMP", side, side, blue, blue)));
    toggle(path);
    QCOMPARE(w->picDot->point(5, 5), 0x0000FF);
    toggle(std::nullopt);
}

void tst_underlay::bmpJpegAndGifLieUnscaledUnderTheCanvas_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    const QRgb green = qRgb(0, 0x80, 0), red = qRgb(0xFF, 0, 0);
    QTest::newRow("bmp") << "u.bmp" << pictureFiles::encoded("BMP", 30, 20, green, red);
    QTest::newRow("jpeg named .jpg") << "u.jpg" << pictureFiles::encoded("JPEG", 30, 20, green, green);
    std::vector<int> pixels(30 * 20, 1);
    pixels[0] = 2;
    QTest::newRow("gif") << "u.gif" << pictureFiles::gif(30, 20, {0, green, red}, pixels);
    QTest::newRow("png, beyond the three") << "u.png" << pictureFiles::encoded("PNG", 30, 20, green, red);
}

void tst_underlay::bmpJpegAndGifLieUnscaledUnderTheCanvas()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QString path = dir->filePath(name);
    QVERIFY(pictureFiles::write(path, bytes));
    w->DotDraw(1, 5, 5);
    toggle(path);
    QVERIFY(log->messages.isEmpty());
    QVERIFY(w->chkTrace->isChecked());
    // Lossy JPEG may shift a colour slightly; the others are exact.
    const auto near = [](Color got, Color want) {
        const QColor a = QColor::fromRgb(QRgb(got)), b = QColor::fromRgb(QRgb(want));
        return qAbs(a.red() - b.red()) < 8 && qAbs(a.green() - b.green()) < 8 && qAbs(a.blue() - b.blue()) < 8;
    };
    // Inside the picture, outside black interiors and grid lines: the picture.
    QVERIFY(near(w->picDot->point(13, 13), 0x008000));
    QVERIFY(near(w->picDot->point(29, 19), 0x008000));
    // Beyond its 30 x 20 pixels: the holder's background.
    QCOMPARE(w->picDot->point(31, 13), kWhite);
    QCOMPARE(w->picDot->point(13, 21), kWhite);
    // The black dot and the grid stay on top.
    QCOMPARE(w->picDot->point(5, 5), kBlack);
    QCOMPARE(w->picDot->point(12, 15), 0xC0C0C0);
    QCOMPARE(w->picTrace->scaleWidth(), w->picDot->scaleWidth());
}

void tst_underlay::dialogStartsInTheCurrentFolderEachTime()
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir->path());
    toggle(std::nullopt);
    QCOMPARE(dialogFolder, QDir(dir->path()).absolutePath());
    toggle(std::nullopt); // off: no dialog
    QDir::setCurrent(QDir::tempPath());
    toggle(std::nullopt);
    QCOMPARE(dialogs, 2);
    QCOMPARE(dialogFolder, QDir(QDir::tempPath()).absolutePath());
    QDir::setCurrent(before);
}

void tst_underlay::switchingOffNeverAsksAndKeepsThePicture()
{
    loadBlueThenSwitchOff(50);
    QCOMPARE(dialogs, 1);
    QVERIFY(!w->chkTrace->isChecked());
    QCOMPARE(w->picDot->point(5, 5), kWhite);
    // Right-button painting is plain white while the toggle is off.
    w->DotDraw(2, 5, 5);
    QCOMPARE(w->picDot->point(5, 5), kWhite);
    QCOMPARE(w->picTrace->point(5, 5), 0x0000FF);
}

void tst_underlay::cancelKeepsTogglePictureAndCanvas()
{
    loadBlueThenSwitchOff(60);
    const QImage canvas = w->picDot->image().copy();
    toggle(std::nullopt); // on again, and cancelled
    QCOMPARE(dialogs, 2);
    QVERIFY(w->chkTrace->isChecked());
    QCOMPARE(w->picDot->image(), canvas); // not rebuilt
    // White painting uncovers the previous picture at once, and the next rebuild shows it.
    w->DotDraw(2, 5, 5);
    QCOMPARE(w->picDot->point(5, 5), 0x0000FF);
    QCOMPARE(w->picDot->point(17, 5), kWhite);
    w->Draw();
    QCOMPARE(w->picDot->point(17, 5), 0x0000FF);
}

void tst_underlay::firstSwitchOnCancelledShowsHolderBackground()
{
    toggle(std::nullopt);
    QVERIFY(w->chkTrace->isChecked());
    // The holder is still its small layout size; blocks beyond it read as its background.
    w->DotDraw(1, 303, 303);
    w->DotDraw(2, 303, 303);
    QCOMPARE(w->picDot->point(303, 303), kWhite);
    w->Draw();
    QCOMPARE(w->picDot->point(5, 5), kWhite);
    QCOMPARE(w->picDot->point(0, 5), 0xC0C0C0);
}

void tst_underlay::unreadableFileIsReportedAndLosesNothing()
{
    loadBlueThenSwitchOff(40);
    w->DotDraw(1, 30, 30);
    const QString bad = dir->filePath("写真 bad.bmp");
    QVERIFY(pictureFiles::write(bad, "this is text, not a picture"));
    toggle(bad);
    QCOMPARE(log->messages.size(), 1);
    QVERIFY(log->messages[0].contains(QDir::toNativeSeparators(bad)));
    QVERIFY(w->chkTrace->isChecked());
    QCOMPARE(blackDots(*w), QStringList{"2,2"});
    // Rebuilt with the picture the holder kept.
    QCOMPARE(w->picDot->point(5, 5), 0x0000FF);
}

void tst_underlay::droppedAndPastedImagesBecomeTheUnderlay()
{
    // As the window system delivers a drop: entering over the canvas, dropped on the window.
    const auto drop = [this](QMimeData *data) {
        QDragEnterEvent enter(QPoint(150, 150), Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(w->picDot, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(238, 158), Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(w, &dropped);
        return true;
    };
    const QString bmp = dir->filePath("dropped.bmp"), text = dir->filePath("notes.txt");
    QVERIFY(pictureFiles::write(bmp, pictureFiles::encoded("BMP", 40, 40, qRgb(0, 0, 0xFF), qRgb(0, 0, 0xFF))));
    QVERIFY(pictureFiles::write(text, "not a picture"));
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(bmp)});
    QVERIFY(drop(&file));
    QVERIFY(w->chkTrace->isChecked());
    QCOMPARE(w->picDot->point(5, 5), 0x0000FF);

    // A file that is no picture: the one message, and the underlay stays.
    QMimeData notPicture;
    notPicture.setUrls({QUrl::fromLocalFile(text)});
    QVERIFY(drop(&notPicture));
    QCOMPARE(log->messages.size(), 1);
    QVERIFY(log->messages[0].contains(QDir::toNativeSeparators(text)));
    QCOMPARE(w->picDot->point(5, 5), 0x0000FF);
    // Text is welcome, since it may be a picture's text; other words change nothing.
    QMimeData words;
    words.setText(QStringLiteral("a few words"));
    QVERIFY(drop(&words));
    QCOMPARE(w->picDot->point(5, 5), 0x0000FF);
    QCOMPARE(log->messages.size(), 1);

    // Pasted: an image on the clipboard is the underlay, text on it is nothing at all.
    QImage red(30, 30, QImage::Format_RGB32);
    red.fill(qRgb(0xFF, 0, 0));
    QApplication::clipboard()->setImage(red);
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->picDot->setFocus();
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->picDot->point(5, 5), 0xFF0000);
    QApplication::clipboard()->setText(QStringLiteral("text"));
    QTest::keyClick(w->picDot, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->picDot->point(5, 5), 0xFF0000);
    QCOMPARE(log->messages.size(), 1);
}

QTEST_MAIN(tst_underlay)
#include "tst_underlay.moc"
