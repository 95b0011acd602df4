// Whatever the user puts in the size fields or picks as an underlay, the program goes on
// working and the picture stays as it was.
#include "support.h"
#include "pictureFiles.h"

#include "pictures/DecodeBudget.h"
#include "pictures/PictureLoader.h"
#include "keeping/recovery.h"
#include "keeping/savedPicture.h"
#include "result/frmResult.h"
#include "toolkit/CommonDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QPushButton>
#include <QCheckBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Peak resident memory of this process so far, in MiB.
long peakRssMb() { return procStatusKb("VmHWM") / 1024; }

} // namespace

class tst_badinput : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void unreadableSizeAtEveryCommand_data();
    void unreadableSizeAtEveryCommand();
    void badUnderlayFiles_data();
    void badUnderlayFiles();
    void largeAndHostileFiles_data();
    void largeAndHostileFiles();
    void onlySmallPicturesAreReadWithinTheCommand();
    void fileGoneBetweenDialogAndLoad();
    void fileSwappedForAPipeAfterTheDialog();
    void awkwardPathsLoad();
    void thePictureComesBackAfterAnyEnding();
    void theRecoveryFolderIsReadAsUntrustedInput();
    void aCopyLastsUntilItsSuccessorIsOnTheDisk();
    void aCopyThatCannotBeWrittenIsToldOnce();

private:
    void pick(const QString &path);
    void expectIntact(const QString &why);

    frmMain *w = nullptr;
    MessageLog *log = nullptr;
    QTemporaryDir *dir = nullptr;
};

void tst_badinput::init()
{
    log = new MessageLog;
    dir = new QTemporaryDir;
    w = new frmMain;
    w->show();
    w->DotDraw(1, 5, 5);
    w->DotDraw(1, 40, 30);
}

void tst_badinput::cleanup()
{
    setFileDialogRunner(nullptr);
    delete w;
    delete dir;
    delete log;
}

void tst_badinput::pick(const QString &path)
{
    setFileDialogRunner([path](QFileDialog &, const OPENFILENAME &) { return path; });
}

void tst_badinput::expectIntact(const QString &why)
{
    QVERIFY2(w->isEnabled(), qPrintable(why));
    QCOMPARE(QSize(w->picPreview->scaleWidth(), w->picPreview->scaleHeight()), QSize(32, 32));
    QCOMPARE(w->picDot->size(), QSize(32 * w->DotSize, 32 * w->DotSize));
}

void tst_badinput::unreadableSizeAtEveryCommand_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("inWidth");
    for (const char *text : {"", "-1", "1e", " 5", "ab", "٣", "５"}) {
        QTest::addRow("width '%s'", text) << QString::fromUtf8(text) << true;
        QTest::addRow("height '%s'", text) << QString::fromUtf8(text) << false;
    }
}

void tst_badinput::unreadableSizeAtEveryCommand()
{
    QFETCH(QString, text);
    QFETCH(bool, inWidth);
    const QString good = dir->filePath("u.bmp");
    QVERIFY(pictureFiles::write(good, pictureFiles::encoded("BMP", 8, 8, qRgb(0, 0, 255), qRgb(0, 0, 255))));
    pick(good);
    (inWidth ? w->txtWidth : w->txtHeight)->setText(text);

    struct Command
    {
        const char *name;
        QAbstractButton *button;
    };
    const Command commands[] = {
        {"apply", w->cmdCanvas},  {"x2", w->optSize[1]},  {"x7", w->optSize[6]},
        {"x12", w->optSize[11]},  {"grid", w->chkBar},    {"show text", w->cmdOK},
        {"underlay on", w->chkTrace}, {"underlay off", w->chkTrace}, {"clear", w->cmdClear},
    };
    for (const Command &c : commands) {
        log->messages.clear();
        QTest::mouseClick(c.button, Qt::LeftButton);
        QCOMPARE(log->messages, QStringList{kInvalidSizeMessage});
        expectIntact(QString::fromLatin1(c.name));
        QVERIFY(!w->resultWindow() || !w->resultWindow()->isVisible());
        if (qstrcmp(c.name, "clear") != 0)
            QCOMPARE(blackDots(*w), (QStringList{"0,0", "3,2"}));
    }
    QVERIFY(blackDots(*w).isEmpty()); // the clear button still clears
    QCOMPARE((inWidth ? w->txtWidth : w->txtHeight)->text(), text);
}

void tst_badinput::badUnderlayFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray jpeg = pictureFiles::encoded("JPEG", 64, 64, qRgb(9, 9, 9), qRgb(9, 9, 9));
    const QByteArray gif = pictureFiles::gif(8, 8, {0, qRgb(0, 0, 255)}, std::vector<int>(64, 1));
    QTest::newRow("empty") << "empty.bmp" << QByteArray();
    QTest::newRow("text named .bmp") << "text.bmp" << QByteArray("not a picture\n");
    QTest::newRow("text named .jpg") << "text.jpg" << QByteArray("not a picture\n");
    QTest::newRow("text named .gif") << "text.gif" << QByteArray("GIF is not enough\n");
    QTest::newRow("truncated jpeg") << "cut.jpg" << jpeg.left(jpeg.size() / 3);
    QTest::newRow("truncated gif") << "cut.gif" << gif.left(30);
    QTest::newRow("bmp claiming 65535 x 65535") << "huge.bmp" << pictureFiles::bmpHeader(65535, 65535);
    QTest::newRow("gif claiming 65535 x 65535")
        << "huge.gif" << pictureFiles::gif(65535, 65535, {0, qRgb(0, 0, 255)}, std::vector<int>(64, 1));
    QTest::newRow("gif screen 65535 x 65535")
        << "screen.gif" << pictureFiles::gif(8, 8, {0, qRgb(0, 0, 255)}, std::vector<int>(64, 1), 65535, 65535);
    QTest::newRow("a folder") << "folder.bmp" << QByteArray();
    QTest::newRow("a file that is not there") << "missing.bmp" << QByteArray();
    QTest::newRow("a pipe") << "pipe.bmp" << QByteArray();
    QTest::newRow("a link to /dev/zero") << "zero.bmp" << QByteArray();
    QTest::newRow("no read permission") << "locked.bmp" << QByteArray();
}

void tst_badinput::badUnderlayFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QString path = dir->filePath(name);
    if (name == "folder.bmp") {
        QVERIFY(QDir().mkdir(path));
    } else if (name == "pipe.bmp") {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (name == "zero.bmp") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else if (name == "missing.bmp") {
        // Named, as on the command line, but never made.
    } else if (name == "locked.bmp") {
        QVERIFY(pictureFiles::write(path, pictureFiles::encoded("BMP", 8, 8, 0, 0)));
        QFile::setPermissions(path, {});
        // Permissions don't stop root; this file exists, yet every read of it fails.
        if (geteuid() == 0)
            path = QStringLiteral("/proc/self/mem");
    } else {
        QVERIFY(pictureFiles::write(path, bytes));
    }

    // The holder has a picture already; it must survive.
    const QString good = dir->filePath("good.bmp");
    QVERIFY(pictureFiles::write(good, pictureFiles::encoded("BMP", 40, 40, qRgb(0, 0, 255), qRgb(0, 0, 255))));
    pick(good);
    w->chkTrace->click();
    w->chkTrace->click();

    const long before = peakRssMb();
    pick(path);
    QTest::mouseClick(w->chkTrace, Qt::LeftButton);
    QVERIFY(underlayRead(*w));
    QCOMPARE(log->messages.size(), 1);
    QVERIFY(log->messages[0].contains(QDir::toNativeSeparators(path)));
    // Each named for what it is: not there, a folder, not to be read.
    const QString says = name == "missing.bmp" ? QStringLiteral("見つかりません")
                       : name == "folder.bmp"  ? QStringLiteral("フォルダー")
                       : name == "locked.bmp" && geteuid() != 0 ? QStringLiteral("権限がありません")
                                                                : QStringLiteral("読み込めませんでした");
    QVERIFY2(log->messages[0].contains(says), qPrintable(log->messages[0]));
    QVERIFY(w->chkTrace->isChecked());
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "3,2"}));
    QCOMPARE(w->picDot->point(17, 5), 0x0000FF);
    expectIntact(name);
    // A header's claim never becomes an allocation of its size.
    QVERIFY2(peakRssMb() - before < 300, qPrintable(QString::number(peakRssMb() - before)));
}

void tst_badinput::largeAndHostileFiles_data()
{
    QTest::addColumn<int>("index");
    const auto files = pictureFiles::largeAndHostileFiles();
    for (size_t i = 0; i < files.size(); ++i)
        QTest::newRow(files[i].name) << int(i);
}

void tst_badinput::largeAndHostileFiles()
{
    QFETCH(int, index);
    const pictureFiles::CorpusFile file = pictureFiles::largeAndHostileFiles()[size_t(index)];
    const QString path = dir->filePath(QStringLiteral("picture"));
    const QByteArray made = file.make();
    if (file.sparseSize > 0)
        QVERIFY(pictureFiles::writeSparse(path, made, file.sparseSize));
    else
        QVERIFY(pictureFiles::write(path, made));
    const QString good = dir->filePath("good.bmp");
    QVERIFY(pictureFiles::write(good, pictureFiles::encoded("BMP", 40, 40, qRgb(0, 0xFF, 0), qRgb(0, 0xFF, 0))));
    pick(good);
    w->chkTrace->click();
    w->chkTrace->click();

    pick(path);
    const long before = procStatusKb("VmRSS");
    resetPeakMemory();
    QTest::mouseClick(w->chkTrace, Qt::LeftButton);
    QVERIFY(underlayRead(*w));
    const long growthMb = (procStatusKb("VmHWM") - before) / 1024;
    const DecodeWork &work = *w->underlayLoading()->lastWork();
    qInfo("%s: %.1f MB file; %lld rows, %.1f Mpixels decoded, %.1f MB read, %.1f MB planned; peak memory +%ld MB",
          file.name, QFileInfo(path).size() / 1e6, work.rows(), work.pixels() / 1e6, work.bytesRead() / 1e6,
          work.plannedBytes() / 1e6, growthMb);

    expectIntact(file.name);
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "3,2"}));
    QVERIFY(w->chkTrace->isChecked());
    if (file.outcome == pictureFiles::CorpusFile::Loaded) {
        QVERIFY2(log->messages.isEmpty(), qPrintable(log->messages.join('\n')));
        QCOMPARE(w->picDot->point(17, 5), Color(file.at5x5 & 0xFFFFFF));
        QCOMPARE(w->picTrace->image().size(), QSize(1188, 1188).boundedTo(w->picTrace->image().size()));
    } else {
        // Refused: the previous underlay stays, and the message says why.
        QCOMPARE(log->messages.size(), 1);
        QVERIFY2(log->messages[0].contains(pictureFiles::outcomeWords(file.outcome)), qPrintable(log->messages[0]));
        QCOMPARE(w->picDot->point(17, 5), 0x00FF00);
    }
    // The work is bounded, whatever the file: no reader decodes more pixels than the row
    // budget or plans more memory than the budget; a file refused from its header is never
    // decoded at all; and what a file is padded with is never read (a reader passes over the
    // rest at most a few times, to weigh it, keep it and decode it, and a padded file's
    // padding at most once, as far as a kept file may be long).
    QVERIFY2(work.pixels() <= budget::kRowPixels, qPrintable(QString::number(work.pixels())));
    QVERIFY2(work.plannedBytes() <= budget::kMemory, qPrintable(QString::number(work.plannedBytes())));
    const bool refusedFromHeader = file.outcome != pictureFiles::CorpusFile::Loaded
                                   && file.outcome != pictureFiles::CorpusFile::TooManyScans;
    if (refusedFromHeader)
        QCOMPARE(std::make_pair(work.pixels(), work.plannedBytes()), std::make_pair(qint64(0), qint64(0)));
    QVERIFY2(work.bytesRead() <= 4 * qint64(made.size()) + (32 << 20), qPrintable(QString::number(work.bytesRead())));
    // A few hundred megabytes, whatever the file (a sanitizer's own cost aside).
    if (kMemoryIsMeaningful)
        QVERIFY2(growthMb < 400, qPrintable(QString::number(growthMb)));
}

void tst_badinput::onlySmallPicturesAreReadWithinTheCommand()
{
    // Read at once: up to 512 x 512 pixels by the header, and up to 4 MiB of file; one pixel
    // or one byte more goes to the worker, from a file and from pasted bytes alike. A header
    // that gives no size is refused or read from its first bytes, at once.
    const QSize largest(kLargestCanvas, kLargestCanvas);
    const auto quick = [this, &largest](const QByteArray &bytes, const char *name) {
        QFile f(dir->filePath(QString::fromLatin1(name)));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", name);
        f.close();
        const bool fromFile = pictureFromFile(f.fileName(), largest).quick;
        if (fromFile != pictureFromData(bytes, largest).quick)
            qFatal("%s: a file and its bytes were judged apart", name);
        return fromFile;
    };
    // Qt writes no GIF: its header alone says the size.
    const auto gif = [](int width, int height) {
        QByteArray head("GIF89a");
        for (const int side : {width, height})
            head.append(char(side & 0xFF)).append(char(side >> 8));
        return head + QByteArray(16, '\0');
    };
    QVERIFY(quick(gif(512, 512), "square.gif"));
    QVERIFY(!quick(gif(513, 512), "wider.gif"));
    QVERIFY(!quick(gif(512, 513), "taller.gif"));
    for (const char *format : {"PNG", "BMP", "JPEG"}) {
        QVERIFY2(quick(pictureFiles::encoded(format, 512, 512, qRgb(255, 0, 0), qRgb(0, 0, 255)), "square"), format);
        QVERIFY2(!quick(pictureFiles::encoded(format, 513, 512, qRgb(255, 0, 0), qRgb(0, 0, 255)), "wider"), format);
        QVERIFY2(!quick(pictureFiles::encoded(format, 512, 513, qRgb(255, 0, 0), qRgb(0, 0, 255)), "taller"), format);
        QVERIFY2(quick(pictureFiles::encoded(format, 1024, 256, qRgb(255, 0, 0), qRgb(0, 0, 255)), "long"), format);
    }
    // A small picture with bytes trailing after it, to 4 MiB and one byte over.
    QByteArray padded = pictureFiles::encoded("PNG", 8, 8, qRgb(255, 0, 0), qRgb(0, 0, 255));
    padded.append(QByteArray(kQuickFileBytes - padded.size(), '\0'));
    QVERIFY(quick(padded, "at the limit"));
    QVERIFY(!quick(padded + '\0', "one byte over"));
    QVERIFY(quick(QByteArray("neither a picture nor its size"), "words"));
}

void tst_badinput::fileGoneBetweenDialogAndLoad()
{
    const QString path = dir->filePath("gone.bmp");
    QVERIFY(pictureFiles::write(path, pictureFiles::encoded("BMP", 8, 8, 0, 0)));
    setFileDialogRunner([path](QFileDialog &, const OPENFILENAME &) {
        QFile::remove(path);
        return path;
    });
    QTest::mouseClick(w->chkTrace, Qt::LeftButton);
    QCOMPARE(log->messages.size(), 1);
    expectIntact("gone");
    QCOMPARE(blackDots(*w).size(), 2);
}

void tst_badinput::fileSwappedForAPipeAfterTheDialog()
{
    // The dialog saw a picture; what is opened a moment later is a pipe nobody writes to.
    const QString path = dir->filePath("swapped.bmp");
    QVERIFY(pictureFiles::write(path, pictureFiles::encoded("BMP", 8, 8, 0, 0)));
    setFileDialogRunner([path](QFileDialog &, const OPENFILENAME &) {
        QFile::remove(path);
        mkfifo(QFile::encodeName(path).constData(), 0600);
        return path;
    });
    QTest::mouseClick(w->chkTrace, Qt::LeftButton);
    // Refused as it is opened, before anything waits on it.
    QVERIFY(!w->underlayLoading()->busy());
    QCOMPARE(log->messages.size(), 1);
    expectIntact("swapped");
    QCOMPARE(blackDots(*w).size(), 2);
}

void tst_badinput::awkwardPathsLoad()
{
    // Spaces and Japanese, and a path of more than 300 bytes through nested folders.
    QString deep = dir->path();
    while (deep.toLocal8Bit().size() < 300)
        deep += QStringLiteral("/下絵 フォルダ ") + QString(30, QLatin1Char('d'));
    QVERIFY(QDir().mkpath(deep));
    for (const QString &path : {dir->filePath(QStringLiteral("写真 の 下絵.gif")), deep + "/x.gif"}) {
        QVERIFY(pictureFiles::write(path, pictureFiles::gif(20, 20, {0, qRgb(0, 255, 0)}, std::vector<int>(400, 1))));
        pick(path);
        QTest::mouseClick(w->chkTrace, Qt::LeftButton);
        QVERIFY2(log->messages.isEmpty(), qPrintable(log->messages.join('\n')));
        QCOMPARE(w->picDot->point(17, 1), 0x00FF00);
        QTest::mouseClick(w->chkTrace, Qt::LeftButton);
    }
}

void tst_badinput::thePictureComesBackAfterAnyEnding()
{
    // The program itself, in a data folder of this test's own, shared with the windows made
    // here: what it leaves behind is what this process finds.
    delete w;
    w = nullptr;
    QTemporaryDir data;
    const QByteArray wasData = qgetenv("XDG_DATA_HOME");
    const QString wasName = QCoreApplication::applicationName();
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QStandardPaths::setTestModeEnabled(false);
    QCoreApplication::setApplicationName(QStringLiteral("GRIDGLYPH"));
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_DATA_HOME", wasData);
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setApplicationName(wasName);
        setMsgBoxAskHook(failOnQuestion);
    });
    const QString folder = recoveryFolder();
    QVERIFY(folder.startsWith(data.path()));
    QStringList asked;
    setMsgBoxAskHook([&asked](const QString &text, const QStringList &answers) {
        asked << text;
        return answers.indexOf(QStringLiteral("はい"));
    });

    // A program started with a picture's text, once its copy of it is on the disk.
    const auto start = [&](QProcess &program, const QStringList &rows) {
        const QString text = dir->filePath(QStringLiteral("p%1.txt").arg(rows.join(QString()).count('#')));
        QFile f(text);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(pictureText(dotPicture(rows)).toUtf8());
        f.close();
        const QStringList before = QDir(folder).entryList({QStringLiteral("picture-*.txt")});
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(GRIDGLYPH_PROGRAM), {text});
        QVERIFY(program.waitForStarted());
        // Its copy holds the picture within a second of the change: waited for, not timed.
        const auto written = [&] {
            for (const QString &name : QDir(folder).entryList({QStringLiteral("picture-*.txt")})) {
                QFile copy(QDir(folder).filePath(name));
                if (!before.contains(name) && copy.open(QIODevice::ReadOnly) && copy.readAll() == pictureText(dotPicture(rows)).toUtf8())
                    return true;
            }
            return false;
        };
        QVERIFY(QTest::qWaitFor(written, 60000));
        // Copies are told apart by when they were written.
        QTest::qWait(20);
    };
    const auto end = [](QProcess &program, int signal) {
        ::kill(pid_t(program.processId()), signal);
        QVERIFY(program.waitForFinished(60000));
    };

    // Killed: the next start asks, and はい gives the picture back dot for dot, as one step.
    {
        QProcess killed;
        start(killed, {"#.....#", ".......", "...#...", "#.....#", "......."});
        end(killed, SIGKILL);
    }
    w = new frmMain;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->offerRecovery();
    QCOMPARE(asked, QStringList{QStringLiteral("前回、保存されずに終わった絵があります。復元しますか？")});
    QCOMPARE(dotRows(*w), (QStringList{"#.....#", ".......", "...#...", "#.....#", "......."}));
    QCOMPARE(w->txtWidth->text() + "x" + w->txtHeight->text(), QStringLiteral("7x5"));
    QTest::keyClick(w->picDot, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(QSize(w->picPreview->scaleWidth(), w->picPreview->scaleHeight()), QSize(32, 32));
    QVERIFY(blackDots(*w).isEmpty());
    QTest::keyClick(w->picDot, Qt::Key_Y, Qt::ControlModifier);

    // A normal end: nothing asked at the next start, which is the described one; the
    // picture comes back with Ctrl+Shift+O.
    delete w;
    w = new frmMain;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->offerRecovery();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(QSize(w->picPreview->scaleWidth(), w->picPreview->scaleHeight()), QSize(32, 32));
    QVERIFY(blackDots(*w).isEmpty());
    QTest::keyClick(w->picDot, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "6,0", "3,2", "0,3", "6,3"}));
    delete w;

    // Killed again, and いいえ: the described start, the picture kept as the last one for
    // Ctrl+Shift+O, and nothing asked at the start after.
    {
        QProcess killed;
        start(killed, {"##.", "..#"});
        end(killed, SIGKILL);
    }
    const auto answering = [&asked](const char *answer) {
        setMsgBoxAskHook([&asked, answer](const QString &text, const QStringList &answers) {
            asked << text;
            return answers.indexOf(QString::fromUtf8(answer));
        });
    };
    answering("いいえ");
    w = new frmMain;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->offerRecovery();
    QCOMPARE(asked.size(), 2);
    QCOMPARE(QSize(w->picPreview->scaleWidth(), w->picPreview->scaleHeight()), QSize(32, 32));
    QVERIFY(blackDots(*w).isEmpty());
    QTest::keyClick(w->picDot, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(blackDots(*w), (QStringList{"0,0", "1,0", "2,1"}));
    delete w;
    w = new frmMain;
    w->offerRecovery();
    QCOMPARE(asked.size(), 2);
    delete w;
    answering("はい");

    // Two programs at once, one killed and one ended by a logout's SIGTERM: each start that
    // follows asks about one of them, the newest first, and restores it.
    {
        QProcess first, second;
        start(first, {"#.", ".."});
        start(second, {"##", "#."});
        end(first, SIGKILL);
        end(second, SIGTERM);
    }
    w = new frmMain;
    w->offerRecovery();
    QCOMPARE(dotRows(*w), (QStringList{"##", "#."}));
    frmMain second;
    second.offerRecovery();
    QCOMPARE(asked.size(), 4);
    QCOMPARE(dotRows(second), (QStringList{"#.", ".."}));
    // Each program has its own copy, in its own file.
    QVERIFY(w->recovery()->copyPath() != second.recovery()->copyPath());

    // A copy that does not read is set aside with a message; nothing is asked.
    QFile damaged(QDir(folder).filePath(QStringLiteral("picture-1-2-3.txt")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x89PNG\r\n\x1a\n not a picture's text \xff\xfe");
    damaged.close();
    frmMain third;
    third.offerRecovery();
    QCOMPARE(asked.size(), 4);
    QCOMPARE(log->messages.size(), 1);
    QVERIFY2(log->messages[0].contains(QStringLiteral("damaged")), qPrintable(log->messages[0]));
    QVERIFY(QFileInfo::exists(QDir(folder).filePath(QStringLiteral("damaged/picture-1-2-3.txt"))));
    log->messages.clear();
}

namespace {

// A recovery copy of `rows` left behind in `folder` by a program gone, made at `when`.
bool leaveCopy(const QString &folder, qint64 when, const QStringList &rows)
{
    QFile f(QStringLiteral("%1/picture-%2-%3-0.txt").arg(folder).arg(900000 + when % 1000).arg(when));
    return f.open(QIODevice::WriteOnly) && f.write(pictureText(dotPicture(rows)).toUtf8()) > 0;
}

QStringList copiesIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("picture-*.txt")}, QDir::Files | QDir::System, QDir::Name);
}

} // namespace

void tst_badinput::theRecoveryFolderIsReadAsUntrustedInput()
{
    const QString folder = dir->filePath(QStringLiteral("recovery"));
    QVERIFY(QDir().mkpath(folder));
    const auto at = [&folder](const QString &name) { return QFile::encodeName(folder + QLatin1Char('/') + name); };
    // The newest copies are a link to an endless device, a pipe nobody writes, a file far
    // larger than any picture's text, and a link to a picture's text elsewhere: each set
    // aside without waiting on it or reading it whole; the newest real copy is offered.
    QVERIFY(leaveCopy(folder, 100, {"#.", ".#"}));
    QVERIFY(::symlink("/dev/zero", at(QStringLiteral("picture-1-400-0.txt")).constData()) == 0);
    QVERIFY(::mkfifo(at(QStringLiteral("picture-1-300-0.txt")).constData(), 0600) == 0);
    {
        QFile large(folder + QStringLiteral("/picture-1-200-0.txt"));
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(Recovery::kMostCopyBytes + 1));
    }
    QVERIFY(leaveCopy(dir->path(), 1, {"##"}));
    QVERIFY(::symlink(at(QStringLiteral("../picture-900001-1-0.txt")).constData(), at(QStringLiteral("picture-1-150-0.txt")).constData()) == 0);
    Recovery recovery(folder, [] { return dotPicture({"#"}); });
    const Recovery::Found found = recovery.lookForLeftBehind();
    QVERIFY(found.newest);
    QCOMPARE(dotRows(found.newest->dots), (QStringList{"#.", ".#"}));
    QCOMPARE(found.setAside.size(), 4);
    QVERIFY(found.notMoved.isEmpty());
    QCOMPARE(recovery.copiesRead(), 5);
    QCOMPARE(QDir(folder + QStringLiteral("/damaged")).entryList(QDir::Files | QDir::System).size(), 4);
    QVERIFY(QFileInfo(QStringLiteral("/dev/zero")).exists());

    // The last picture as a link to the device or as a pipe: unreadable, said so; absent: none.
    QCOMPARE(recovery.lastPicture().kind, Recovery::Last::None);
    QVERIFY(::symlink("/dev/zero", at(QStringLiteral("last.txt")).constData()) == 0);
    QCOMPARE(recovery.lastPicture().kind, Recovery::Last::Unreadable);
    QVERIFY(QFile::remove(folder + QStringLiteral("/last.txt")));
    QVERIFY(::mkfifo(at(QStringLiteral("last.txt")).constData(), 0600) == 0);
    QCOMPARE(recovery.lastPicture().kind, Recovery::Last::Unreadable);
    QVERIFY(QFile::remove(folder + QStringLiteral("/last.txt")));
    recovery.declined(*found.newest);

    // Two thousand copies left behind: only the newest is read, and the oldest go once their
    // programs are known to be gone, the newest twenty kept.
    const QString many = dir->filePath(QStringLiteral("many"));
    QVERIFY(QDir().mkpath(many));
    for (int i = 0; i < 2000; ++i)
        QVERIFY(leaveCopy(many, 10000 + i, {i == 1999 ? "#" : "."}));
    Recovery crowded(many, [] { return dotPicture({"#"}); });
    const Recovery::Found newest = crowded.lookForLeftBehind();
    QVERIFY(newest.newest);
    QCOMPARE(dotRows(newest.newest->dots), QStringList{"#"});
    QVERIFY(newest.newest->path.endsWith(QStringLiteral("-11999-0.txt")));
    QCOMPARE(crowded.copiesRead(), 1);
    crowded.waitForWrites();
    QCOMPARE(copiesIn(many).size(), Recovery::kKeptCopies);
    QVERIFY(copiesIn(many).contains(QFileInfo(newest.newest->path).fileName()));
    newest.newest->lock->unlock();

    // In the window: many unreadable copies cost one message, and the newest picture is
    // offered; Ctrl+Shift+O of a last picture that is a device says so and keeps the canvas.
    QString windowFolder = w->recovery()->folder();
    for (int i = 0; i < 50; ++i)
        QVERIFY(::mkfifo(QFile::encodeName(QStringLiteral("%1/picture-2-%2-0.txt").arg(windowFolder).arg(500 + i)).constData(), 0600) == 0);
    QVERIFY(leaveCopy(windowFolder, 1, {"#.#"}));
    setMsgBoxAskHook([](const QString &, const QStringList &answers) { return int(answers.indexOf(QStringLiteral("はい"))); });
    const auto noQuestions = qScopeGuard([] { setMsgBoxAskHook(failOnQuestion); });
    w->offerRecovery();
    QCOMPARE(log->messages.size(), 1);
    QVERIFY2(log->messages[0].contains(QStringLiteral(" 50 個")), qPrintable(log->messages[0]));
    QCOMPARE(dotRows(*w), QStringList{"#.#"});
    QFile::remove(windowFolder + QStringLiteral("/last.txt"));
    QVERIFY(::symlink("/dev/zero", QFile::encodeName(windowFolder + QStringLiteral("/last.txt")).constData()) == 0);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w->picDot, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(log->messages.size(), 2);
    QVERIFY2(log->messages[1].startsWith(QStringLiteral("前回の絵のファイルが読めませんでした")), qPrintable(log->messages[1]));
    QCOMPARE(dotRows(*w), QStringList{"#.#"});
    QFile::remove(windowFolder + QStringLiteral("/last.txt"));
    w->recovery()->waitForWrites();
    log->messages.clear();
}

void tst_badinput::aCopyLastsUntilItsSuccessorIsOnTheDisk()
{
    const QString folder = dir->filePath(QStringLiteral("recovery"));
    QVERIFY(QDir().mkpath(folder));
    const auto text = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("(none)");
    };
    // Restored: this program's own copy of the picture is on the disk before the one left
    // behind goes, however soon the program is killed after.
    QVERIFY(leaveCopy(folder, 100, {"#..", "..#"}));
    QImage shown = dotPicture({"."});
    {
        Recovery recovery(folder, [&shown] { return shown; });
        const Recovery::Found found = recovery.lookForLeftBehind();
        QVERIFY(found.newest);
        shown = found.newest->dots;
        recovery.restored(*found.newest);
        QCOMPARE(text(recovery.copyPath()), pictureText(dotPicture({"#..", "..#"})));
        QVERIFY(!QFileInfo::exists(found.newest->path));
        QCOMPARE(recovery.writes(), 1);
        // Never ended: as if killed, its copy stays, with its lock free for the next start.
        recovery.waitForWrites();
        QFile::remove(recovery.copyPath().chopped(4) + QStringLiteral(".lock"));
        QFile kept(recovery.copyPath());
        QVERIFY(kept.copy(recovery.copyPath() + QStringLiteral(".kept")));
    }
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.kept")}))
        QVERIFY(QFile::rename(folder + QLatin1Char('/') + name, folder + QLatin1Char('/') + name.chopped(5)));
    QCOMPARE(copiesIn(folder).size(), 1);

    // Declined: it is the last picture, for Ctrl+Shift+O, until a picture with dots ends a
    // program; an empty picture ending one leaves it.
    {
        Recovery recovery(folder, [] { return dotPicture({"..", ".."}); });
        const Recovery::Found found = recovery.lookForLeftBehind();
        QVERIFY(found.newest);
        QFile::remove(folder + QStringLiteral("/last.txt"));
        QCOMPARE(recovery.lastPicture().kind, Recovery::Last::None);
        recovery.declined(*found.newest);
        QCOMPARE(dotRows(recovery.lastPicture().dots), (QStringList{"#..", "..#"}));
        recovery.endNormally();
        QCOMPARE(dotRows(recovery.lastPicture().dots), (QStringList{"#..", "..#"}));
        QVERIFY(copiesIn(folder).isEmpty());
    }
    {
        Recovery recovery(folder, [] { return dotPicture({".#"}); });
        recovery.endNormally();
        QCOMPARE(dotRows(recovery.lastPicture().dots), QStringList{".#"});
    }
    // A restore whose own copy cannot be written keeps the one left behind.
    if (geteuid() != 0) {
        QVERIFY(leaveCopy(folder, 200, {"#"}));
        Recovery recovery(folder, [] { return dotPicture({"#"}); });
        const Recovery::Found found = recovery.lookForLeftBehind();
        QVERIFY(found.newest);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        recovery.restored(*found.newest);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(QFileInfo::exists(found.newest->path));
    }
}

void tst_badinput::aCopyThatCannotBeWrittenIsToldOnce()
{
    // The folder is a file: told once, however many changes fail after; once it can be
    // written again, the copy is there, and a new failure is told again.
    const QString folder = dir->filePath(QStringLiteral("recovery"));
    {
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    Recovery recovery(folder, [] { return dotPicture({"#"}); });
    QStringList told;
    connect(&recovery, &Recovery::cannotWrite, this, [&told](const QString &f) { told << f; });
    // Known from the start: its lock cannot be taken there either.
    recovery.checkAtStart();
    QCOMPARE(told, QStringList{folder});
    recovery.writeNow();
    recovery.waitForWrites();
    QCoreApplication::processEvents();
    QCOMPARE(told, QStringList{folder});
    recovery.writeNow();
    recovery.waitForWrites();
    QCoreApplication::processEvents();
    QCOMPARE(told.size(), 1);
    QVERIFY(!recovery.lastWriteOk());
    QVERIFY(QFile::remove(folder));
    recovery.writeNow();
    recovery.waitForWrites();
    QVERIFY(recovery.lastWriteOk());
    QVERIFY(QFileInfo(recovery.copyPath()).isFile());
    QCoreApplication::processEvents();
    QVERIFY(QDir(folder).removeRecursively());
    QFile again(folder);
    QVERIFY(again.open(QIODevice::WriteOnly));
    again.close();
    recovery.writeNow();
    QTRY_COMPARE(told.size(), 2);

    // The window says so in its message box, naming the folder.
    w->recovery()->cannotWrite(folder);
    QCOMPARE(log->messages.size(), 1);
    QVERIFY2(log->messages[0].contains(QDir::toNativeSeparators(folder)), qPrintable(log->messages[0]));
    log->messages.clear();
    QFile::remove(folder);
}

QTEST_MAIN(tst_badinput)
#include "tst_badinput.moc"
