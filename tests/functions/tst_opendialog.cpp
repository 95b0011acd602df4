// The open-file dialog: the record ShowOpenDialog fills and the dialog our layer shows.
#include "app.h"
#include "functions/Functions.h"
#include "toolkit/CommonDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class tst_opendialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance())); }
    void cleanup() { setFileDialogRunner(nullptr); }
    void filterTextHasItsEightPieces();
    void recordIsFilledAsTheDialogExpects();
    void dialogShowsDescriptionsAndStartsWhereAsked();
    void patternsMatchWithoutRegardToCase();
    void columnsSpeakJapaneseWhateverTheSystem();
    void cancelGivesEmptyText();
    void longAndJapanesePathsComeBackWhole();
    void realDialogAcceptsAChosenFile();

private:
    // What the dialog lists in `dir` under the filter at `index`: the first `columns`
    // columns of each row, joined by "|".
    QStringList listed(const QString &dir, int index, int columns = 1);
};

void tst_opendialog::filterTextHasItsEightPieces()
{
    const QString f = pictureFileFilter();
    QCOMPARE(f.size(), 64);
    QList<int> nuls;
    for (int i = 0; i < f.size(); ++i)
        if (f[i] == QChar(u'\0'))
            nuls << i;
    QCOMPARE(nuls, (QList<int>{28, 46, 59, 63}));
    QCOMPARE(f.section(QChar(u'\0'), 0, 0), QStringLiteral("ピクチャーファイル(*.BMP;*.JPG;*.GIF)"));
    QCOMPARE(f.section(QChar(u'\0'), 1, 1), QStringLiteral("*.bmp;*.jpg;*.gif"));
    QCOMPARE(f.section(QChar(u'\0'), 2, 2), QStringLiteral("全てのﾌｧｲﾙ(*.*)"));
    QCOMPARE(f.section(QChar(u'\0'), 3, 3), QStringLiteral("*.*"));
}

void tst_opendialog::recordIsFilledAsTheDialogExpects()
{
    QWidget owner;
    OPENFILENAME seen;
    setFileDialogRunner([&](QFileDialog &, const OPENFILENAME &ofn) -> std::optional<QString> {
        seen = ofn;
        return std::nullopt;
    });
    ShowOpenDialog(&owner, pictureFileFilter(), QStringLiteral("/tmp"));
    QCOMPARE(seen.lStructSize, DWORD(76));
    QCOMPARE(seen.hwndOwner, &owner);
    QCOMPARE(seen.hInstance, QCoreApplication::instance());
    QCOMPARE(seen.lpstrFilter, pictureFileFilter().toLocal8Bit() + '\0');
    QVERIFY(seen.lpstrFilter.endsWith(QByteArray("*.*\0\0", 5)));
    QCOMPARE(seen.nFilterIndex, DWORD(1));
    QCOMPARE(seen.lpstrFile, QByteArray(256, '\0'));
    QCOMPARE(seen.nMaxFile, DWORD(256));
    QCOMPARE(seen.lpstrFileTitle, QByteArray(256, '\0'));
    QCOMPARE(seen.nMaxFileTitle, DWORD(256));
    QCOMPARE(seen.lpstrInitialDir, QByteArray("/tmp"));
    QCOMPARE(seen.Flags, DWORD(0x81804));
    QVERIFY(seen.lpstrTitle.isEmpty() && seen.lpstrCustomFilter.isEmpty() && seen.lpstrDefExt.isEmpty());
    QCOMPARE(seen.nMaxCustFilter + seen.nFileOffset + seen.nFileExtension, DWORD(0));
    QVERIFY(!seen.lCustData && !seen.lpfnHook && seen.lpTemplateName.isEmpty());
}

void tst_opendialog::dialogShowsDescriptionsAndStartsWhereAsked()
{
    QTemporaryDir dir;
    QStringList filters;
    QString selected, start, title;
    QFileDialog::FileMode mode{};
    bool single = false;
    setFileDialogRunner([&](QFileDialog &d, const OPENFILENAME &) -> std::optional<QString> {
        filters = d.nameFilters();
        selected = d.selectedNameFilter();
        start = d.directory().absolutePath();
        mode = d.fileMode();
        single = d.fileMode() != QFileDialog::ExistingFiles;
        title = d.windowTitle();
        return std::nullopt;
    });
    ShowOpenDialog(nullptr, pictureFileFilter(), dir.path());
    QCOMPARE(filters.size(), 2);
    QVERIFY(filters[0].startsWith(QStringLiteral("ピクチャーファイル(*.BMP;*.JPG;*.GIF) (")));
    QVERIFY(filters[1].startsWith(QStringLiteral("全てのﾌｧｲﾙ(*.*) (")));
    // Shown as written, without the patterns Qt reads.
    QCOMPARE(selected, QStringLiteral("ピクチャーファイル(*.BMP;*.JPG;*.GIF)"));
    QCOMPARE(start, QDir(dir.path()).absolutePath());
    QCOMPARE(mode, QFileDialog::ExistingFile);
    QVERIFY(single);
}

QStringList tst_opendialog::listed(const QString &dir, int index, int columns)
{
    QStringList names;
    setFileDialogRunner([&](QFileDialog &d, const OPENFILENAME &) -> std::optional<QString> {
        d.selectNameFilter(d.nameFilters().value(index));
        d.show();
        auto *view = d.findChild<QAbstractItemView *>(QStringLiteral("treeView"));
        if (!view)
            return std::nullopt;
        QAbstractItemModel *model = view->model();
        // The file system model reads the folder in the background.
        (void)QTest::qWaitFor([&] { return model->rowCount(view->rootIndex()) > 0; }, 3000);
        QTest::qWait(100);
        for (int r = 0; r < model->rowCount(view->rootIndex()); ++r) {
            QStringList row;
            for (int c = 0; c < columns; ++c)
                row << model->index(r, c, view->rootIndex()).data().toString();
            names << row.join(QLatin1Char('|'));
        }
        d.hide();
        return std::nullopt;
    });
    ShowOpenDialog(nullptr, pictureFileFilter(), dir);
    names.sort();
    return names;
}

void tst_opendialog::patternsMatchWithoutRegardToCase()
{
    QTemporaryDir dir;
    for (const char *name : {"PHOTO.JPG", "a.bmp", "b.Gif", "x.jpeg", "notes.txt", "README"})
        QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    QCOMPARE(listed(dir.path(), 0), (QStringList{"PHOTO.JPG", "a.bmp", "b.Gif"}));
    QCOMPARE(listed(dir.path(), 1),
             (QStringList{"PHOTO.JPG", "README", "a.bmp", "b.Gif", "notes.txt", "x.jpeg"}));
}

void tst_opendialog::columnsSpeakJapaneseWhateverTheSystem()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    QFile file(dir.filePath(QStringLiteral("a.bmp")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(1340, 'x')) == 1340);
    file.close();
    const QStringList rows = listed(dir.path(), 1, 4);
    QCOMPARE(rows.size(), 2);
    QVERIFY2(rows[0].startsWith(QStringLiteral("a.bmp|1.3 KB|")) && rows[0].contains(QStringLiteral("画像")), qPrintable(rows[0]));
    QVERIFY2(rows[1].startsWith(QStringLiteral("sub||フォルダー|")), qPrintable(rows[1]));
    QVERIFY2(QRegularExpression(QStringLiteral("\\|\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}$")).match(rows[0]).hasMatch(),
             qPrintable(rows[0]));
}

void tst_opendialog::cancelGivesEmptyText()
{
    setFileDialogRunner([](QFileDialog &, const OPENFILENAME &) { return std::nullopt; });
    QCOMPARE(ShowOpenDialog(nullptr, pictureFileFilter(), QDir::currentPath()), QString());
    OPENFILENAME wrongSize;
    wrongSize.lStructSize = 12;
    QCOMPARE(GetOpenFileNameA(&wrongSize), 0);
    QCOMPARE(GetOpenFileNameA(nullptr), 0);
}

void tst_opendialog::longAndJapanesePathsComeBackWhole()
{
    const QString longPath = QStringLiteral("/tmp/") + QString(290, QLatin1Char('a')) + ".bmp";
    const QString japanese = QStringLiteral("/tmp/下絵 フォルダ/写真 1.jpg");
    for (const QString &path : {longPath, japanese}) {
        setFileDialogRunner([&](QFileDialog &, const OPENFILENAME &) { return path; });
        QCOMPARE(ShowOpenDialog(nullptr, pictureFileFilter(), QDir::currentPath()), path);
    }
    QVERIFY(longPath.toLocal8Bit().size() > 255);
}

void tst_opendialog::realDialogAcceptsAChosenFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pic.bmp"));
    QFile(file).open(QIODevice::WriteOnly);
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        // Type the path into the file name field and press Enter, as a user would.
        auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *edit = d ? d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
        if (edit && edit->isVisible()) {
            edit->setText(file);
            QTest::keyClick(edit, Qt::Key_Return);
        }
    });
    answer.start(20);
    const QString before = QDir::currentPath();
    QCOMPARE(ShowOpenDialog(nullptr, pictureFileFilter(), dir.path()), file);
    // The chosen file's folder is now the current one, where the next dialog starts.
    QCOMPARE(QDir::currentPath(), QDir(dir.path()).absolutePath());
    QDir::setCurrent(before);
}

QTEST_MAIN(tst_opendialog)
#include "tst_opendialog.moc"
