#pragma once

#include "frmMain.h"
#include "toolkit/MsgBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"

#include <QFile>
#include <QScreen>
#include <QStringList>

// Collects what the program would have shown in its message box, for as long as it lives.
struct MessageLog
{
    QStringList messages;
    MessageLog()
    {
        setMsgBoxHook([this](const QString &text) { messages << text; });
    }
    ~MessageLog() { setMsgBoxHook(nullptr); }
};

// Every black dot of the picture, as "x,y" strings, for comparisons that read well.
inline QStringList blackDots(const frmMain &w)
{
    QStringList dots;
    for (int y = 0; y < w.picPreview->scaleHeight(); ++y)
        for (int x = 0; x < w.picPreview->scaleWidth(); ++x)
            if (w.isBlackDot(x, y))
                dots << QStringLiteral("%1,%2").arg(x).arg(y);
    return dots;
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
