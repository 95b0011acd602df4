#include "commandLineShared.h"

#include "result/budgets.h"
#include "sizeEntry.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

void tell(const QString &message)
{
    const QByteArray bytes = (QStringLiteral("gridglyph: ") + message + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// Writes every byte to `fd`. False when the reader went away (a closed pipe: `head` had its
// lines) or the output failed; `gone` says which.
bool writeAll(int fd, const QByteArray &bytes, bool *gone)
{
    *gone = false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *gone = errno == EPIPE;
            return false;
        }
        done += n;
    }
    return true;
}

// The size the text is made at: --size, or one side with the other from the picture's
// aspect, rounded, within the sides a picture can have.
QSize sizeFor(const TextOptions &o, QSize declared)
{
    if ((o.width == 0 && o.height == 0) || declared.isEmpty())
        return o.width ? QSize(o.width, o.width) : o.height ? QSize(o.height, o.height) : o.size;
    const auto other = [](int side, int along, int across) {
        return std::clamp(int((qint64(side) * across * 2 + along) / (qint64(along) * 2)), 1, kLargestSide);
    };
    return o.width ? QSize(o.width, other(o.width, declared.width(), declared.height()))
                   : QSize(other(o.height, declared.height(), declared.width()), o.height);
}

Dither ditherOf(TextOptions::DitherKind kind)
{
    switch (kind) {
    case TextOptions::Ordered:
        return Dither::Bayer4;
    case TextOptions::FloydSteinberg:
        return Dither::FloydSteinberg;
    case TextOptions::Atkinson:
        return Dither::Atkinson;
    case TextOptions::NoDither:
        break;
    }
    return Dither::None;
}

QString budgetReport(QSize dots, const QString &text, const PostOptions &form, bool japanese)
{
    const int lineLength = form.braille ? (dots.width() + 1) / 2 : dots.width();
    QString report;
    int row = 0;
    for (const Budget &b : countBudgets(text, lineLength)) {
        const QSize most = largestFitting(dots, form.braille, form.pair, Service(row++), form.colour);
        const QString largest = most.isEmpty() ? (japanese ? QStringLiteral("収まる大きさなし") : QStringLiteral("no size fits"))
                                               : QStringLiteral("%1x%2").arg(most.width()).arg(most.height());
        QString verdict = japanese ? (b.fits ? QStringLiteral("○ 収まる") : QStringLiteral("× 収まらない"))
                                   : (b.fits ? QStringLiteral("fits") : QStringLiteral("does not fit"));
        // The one note there is: LINE's bubble on a phone wraps long lines.
        if (!b.note.isEmpty())
            verdict += QStringLiteral(" (") + (japanese ? b.note : QStringLiteral("a phone wraps lines after about 12 wide characters")) + QLatin1Char(')');
        report += QStringLiteral("%1\t%2/%3\t%4\t%5 %6\n")
                      .arg(b.service)
                      .arg(b.count)
                      .arg(b.limit)
                      .arg(verdict, japanese ? QStringLiteral("最大") : QStringLiteral("largest"), largest);
    }
    return report;
}

// What the output ending early means: a reader that went away is no failure.
int outputFailed(bool gone, bool japanese)
{
    if (gone)
        return 0;
    tell(japanese ? QStringLiteral("出力を書き込めませんでした") : QStringLiteral("the output could not be written"));
    return 1;
}

QString cutShortText(const QString &name, bool japanese)
{
    // A download cut short still shows what arrived, as the window shows it, but a script
    // must not take it for the whole picture.
    return japanese ? QStringLiteral("%1: ファイルが途中で切れています。読めた所だけを変換しました").arg(name)
                    : QStringLiteral("%1: the file ends early; only what was there was converted").arg(name);
}
