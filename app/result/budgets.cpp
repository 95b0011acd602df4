#include "budgets.h"

#include <QCoreApplication>
#include <QList>
#include <QTextBoundaryFinder>

#include <cmath>

namespace {

constexpr int kXLimit = 280;
constexpr int kBlueskyBytes = 3000;

int xWeight(char32_t c)
{
    // The ranges twitter-text's configuration gives weight 100 of a scale of 100.
    const bool light = c <= 4351 || (c >= 8192 && c <= 8205) || (c >= 8208 && c <= 8223) || (c >= 8242 && c <= 8247);
    return light ? 1 : 2;
}

QString asPosted(const QString &text)
{
    QString posted = text;
    posted.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    posted.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return posted;
}

} // namespace

int xWeightedLength(const QString &text)
{
    // Code point by code point, but an emoji sequence (a character with its presentation
    // selector, joined emoji) weighs 2 however many code points it has, as twitter-text
    // counts an emoji.
    const QString posted = asPosted(text).normalized(QString::NormalizationForm_C);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, posted);
    int n = 0;
    for (qsizetype at = 0; at < posted.size();) {
        qsizetype next = finder.toNextBoundary();
        if (next < 0)
            next = posted.size();
        const QList<uint> cluster = posted.mid(at, next - at).toUcs4();
        const bool sequence = cluster.size() > 1 && (cluster.contains(0xFE0F) || cluster.contains(0x200D));
        if (sequence)
            n += 2;
        else
            for (uint c : cluster)
                n += xWeight(c);
        at = next;
    }
    return n;
}

int graphemeCount(const QString &text)
{
    const QString posted = asPosted(text);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, posted);
    int n = 0;
    while (finder.toNextBoundary() >= 0)
        ++n;
    return n;
}

int utf16Length(const QString &text) { return int(asPosted(text).size()); }

int codePointCount(const QString &text) { return int(asPosted(text).toUcs4().size()); }

int utf8Length(const QString &text) { return int(asPosted(text).toUtf8().size()); }

std::vector<Budget> countBudgets(const QString &text, int width)
{
    const int graphemes = graphemeCount(text);
    std::vector<Budget> budgets = {
        {QStringLiteral("X"), xWeightedLength(text), kXLimit, false, {}},
        {QStringLiteral("Bluesky"), graphemes, 300, false, {}},
        {QStringLiteral("Mastodon"), graphemes, 500, false, {}},
        {QStringLiteral("Discord"), codePointCount(text), 2000, false, {}},
        {QStringLiteral("LINE"), utf16Length(text), 10000, false, {}},
    };
    for (Budget &b : budgets)
        b.fits = b.count <= b.limit;
    // Bluesky also holds a post to 3,000 bytes of UTF-8: four a square of colour.
    Budget &bluesky = budgets[Bluesky];
    if (bluesky.fits && utf8Length(text) > kBlueskyBytes) {
        bluesky.fits = false;
        bluesky.note = QCoreApplication::translate("budgets", "UTF-8 で %1 バイトあり、3,000 バイトを超えます").arg(utf8Length(text));
    }
    Budget &line = budgets.back();
    if (line.fits && width > 12) {
        line.fits = false;
        line.note = QCoreApplication::translate("budgets", "スマートフォンでは1行12文字ほどで折り返します");
    }
    return budgets;
}

QSize largestFitting(QSize size, bool braille, const DotPair &pair, Service service, bool colour, QSize most)
{
    if (size.isEmpty())
        return {};
    // Every character weighed as the heaviest it can be: what fits then fits whatever the
    // dots. A braille character weighs 2 on X, is one grapheme, one code point and one UTF-16
    // unit; an emoji square 2 on X, one grapheme and one code point, up to two UTF-16 units
    // and four bytes of UTF-8.
    const int xCost = braille || colour ? 2 : std::max(xWeight(pair.black), xWeight(pair.white));
    const int units = braille ? 1 : colour ? 2 : int(std::max(characterText(pair.black).size(), characterText(pair.white).size()));
    const int points = 1;
    const int bytes = braille ? 3 : colour ? 4 : int(std::max(characterText(pair.black).toUtf8().size(), characterText(pair.white).toUtf8().size()));
    const auto fits = [&](int w, int h) {
        // Characters a line and lines, each line feed counting one in every count.
        const qint64 columns = braille ? (w + 1) / 2 : w, lines = braille ? (h + 3) / 4 : h;
        const qint64 feeds = lines - 1, chars = columns * lines;
        switch (service) {
        case X: return chars * xCost + feeds <= kXLimit;
        case Bluesky: return chars + feeds <= 300 && chars * bytes + feeds <= kBlueskyBytes;
        case Mastodon: return chars + feeds <= 500;
        case Discord: return chars * points + feeds <= 2000;
        case Line: return columns <= 12 && chars * units + feeds <= 10000;
        case ServiceCount: break;
        }
        return false;
    };
    QSize best;
    for (int w = 1; w <= std::min(most.width(), 99); ++w) {
        const int h = std::max(1, int(std::lround(double(w) * size.height() / size.width())));
        if (h > std::min(most.height(), 99))
            break;
        if (fits(w, h))
            best = QSize(w, h);
    }
    return best;
}
