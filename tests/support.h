#pragma once

#include "commands/commandList.h"
#include "convert/placement.h"
#include "convert/underlayLoading.h"
#include "dotImage.h"
#include "dotPicture.h"
#include "frmMain.h"

#include <QAction>
#include "sizeEntry.h"
#include "toolkit/MsgBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"

#include <QFile>
#include <QScreen>
#include <QSettings>
#include <QStringList>
#include <QTest>

#include <memory>

// The texts the program is fixed to show.
inline const QString kLimitMessage = QStringLiteral("最大サイズは48ドットです");
inline const QString kInvalidSizeMessage = QStringLiteral("サイズには0から99までの数字を入力してください");

// Every test program starts with this as the message box: a box no test expected fails the
// test under way, and the program goes on as if OK had been pressed.
inline void failOnMessageBox(const QString &text)
{
    QTest::qFail(qPrintable(QStringLiteral("a message box nobody expected: ") + text), __FILE__, __LINE__);
}

// And a question nobody expected likewise, answered with the answer that changes nothing.
inline int failOnQuestion(const QString &text, const QStringList &answers)
{
    QTest::qFail(qPrintable(QStringLiteral("a question nobody expected: ") + text), __FILE__, __LINE__);
    return int(answers.size()) - 1;
}

// Collects what the program would have shown in its message box, for as long as it lives.
struct MessageLog
{
    QStringList messages;
    MessageLog()
    {
        setMsgBoxHook([this](const QString &text) { messages << text; });
    }
    ~MessageLog() { setMsgBoxHook(failOnMessageBox); }
};

// A main window, shown and active, as the tests start from.
inline std::unique_ptr<frmMain> shownEditor()
{
    auto w = std::make_unique<frmMain>();
    w->show();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("the main window did not become active");
    return w;
}

// Waits until a picture read for the underlay on a worker thread was taken or refused; a
// small one was read at once. However busy the machine, it waits, for as long as a reading
// can take: no test asserts how long.
inline bool underlayRead(const frmMain &w)
{
    return QTest::qWaitFor([&w] { return !w.underlayLoading()->busy(); }, 300000);
}

// A dot picture of `rows`, "#" for black: structure a test can see turned or moved.
inline QImage dotPicture(const QStringList &rows)
{
    QImage picture(int(rows.value(0).size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, rows[y][x] == QLatin1Char('#') ? 0xFF000000u : 0xFFFFFFFFu);
    return picture;
}

// The rows of a dot picture as `dotPicture` takes them.
inline QStringList dotRows(const QImage &picture)
{
    QStringList rows;
    for (int y = 0; y < picture.height(); ++y) {
        QString row;
        for (int x = 0; x < picture.width(); ++x)
            row += (picture.pixel(x, y) & 0xFFFFFF) == 0 ? QLatin1Char('#') : QLatin1Char('.');
        rows << row;
    }
    return rows;
}

// The window's picture as rows, at its current size, as the true-size picture shows it (it
// follows the document).
inline QStringList dotRows(const frmMain &w)
{
    return dotRows(w.picPreview->image().copy(0, 0, w.picPreview->scaleWidth(), w.picPreview->scaleHeight()));
}

// Every black dot of the picture, as "x,y" strings, for comparisons that read well.
inline QStringList blackDots(const frmMain &w)
{
    QStringList dots;
    for (int y = 0; y < w.document()->height(); ++y)
        for (int x = 0; x < w.document()->width(); ++x)
            if (w.document()->isBlack(x, y))
                dots << QStringLiteral("%1,%2").arg(x).arg(y);
    return dots;
}

// The settings the program keeps between starts (those of the conversion window) gone: every
// test starts as a first start does.
inline void forgetSettings() { QSettings(QStringLiteral("GRIDGLYPH"), QStringLiteral("GRIDGLYPH")).clear(); }

// A command beyond the panel, as its keys or the menu give it.
inline void run(frmMain &w, CommandList::Id id) { w.commands()->action(id)->trigger(); }

// Where the underlay lies, as the menu shows it chosen.
inline Placement placementOf(const frmMain &w)
{
    return w.commands()->action(CommandList::PlaceFilled)->isChecked()   ? Placement::Filled
           : w.commands()->action(CommandList::PlaceFitted)->isChecked() ? Placement::Fitted
                                                                         : Placement::AsLoaded;
}

// What the screen shows at pixel (x, y) of widget `w`, as opposed to what it stores.
inline Color shownPixel(QWidget *w, int x, int y)
{
    const QPoint at = w->mapTo(w->window(), QPoint(x, y));
    const QImage shot = w->screen()->grabWindow(w->window()->winId(), at.x(), at.y(), 1, 1).toImage();
    return shot.isNull() ? kNoColor : Color(shot.pixel(0, 0) & 0xFFFFFF);
}

inline void setSize(frmMain &w, const QString &width, const QString &height)
{
    w.txtWidth->setText(width);
    w.txtHeight->setText(height);
}

// AddressSanitizer holds freed memory back on purpose, so resident memory says nothing
// there; LeakSanitizer checks the same runs for leaks instead.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMemoryIsMeaningful = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kMemoryIsMeaningful = false;
#else
inline constexpr bool kMemoryIsMeaningful = true;
#endif
#else
inline constexpr bool kMemoryIsMeaningful = true;
#endif

// A memory figure of this process from /proc/self/status ("VmRSS", "VmHWM"), in KiB.
inline long procStatusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Starts a new peak: VmHWM then grows from the memory in use now.
inline void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}
