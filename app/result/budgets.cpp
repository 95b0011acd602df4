#include "budgets.h"

#include <QList>
#include <QTextBoundaryFinder>

#include <cmath>

namespace {

constexpr int kXLimit = 280;

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
    int n = 0;
    for (char32_t c : asPosted(text).normalized(QString::NormalizationForm_C).toUcs4())
        n += xWeight(c);
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

std::vector<Budget> countBudgets(const QString &text, int width)
{
    const int graphemes = graphemeCount(text);
    std::vector<Budget> budgets = {
        {QStringLiteral("X"), xWeightedLength(text), kXLimit, false, {}},
        {QStringLiteral("Bluesky"), graphemes, 300, false, {}},
        {QStringLiteral("Mastodon"), graphemes, 500, false, {}},
        {QStringLiteral("Discord"), utf16Length(text), 2000, false, {}},
        {QStringLiteral("LINE"), utf16Length(text), 10000, false, {}},
    };
    for (Budget &b : budgets)
        b.fits = b.count <= b.limit;
    Budget &line = budgets.back();
    if (line.fits && width > 12) {
        line.fits = false;
        line.note = QStringLiteral("スマートフォンでは1行12文字ほどで折り返します");
    }
    return budgets;
}

QSize largestFitting(QSize size, bool braille, const DotPair &pair, Service service)
{
    if (size.isEmpty())
        return {};
    // Every character weighed as the heavier of the two: what fits then fits whatever the
    // dots. A braille character weighs 2 on X, is one grapheme and one UTF-16 unit.
    const int xCost = braille ? 2 : std::max(xWeight(pair.black), xWeight(pair.white));
    const int units = braille ? 1 : int(std::max(characterText(pair.black).size(), characterText(pair.white).size()));
    const auto fits = [&](int w, int h) {
        // Characters a line and lines, each line feed counting one in every count.
        const qint64 columns = braille ? (w + 1) / 2 : w, lines = braille ? (h + 3) / 4 : h;
        const qint64 feeds = lines - 1, chars = columns * lines;
        switch (service) {
        case X: return chars * xCost + feeds <= kXLimit;
        case Bluesky: return chars + feeds <= 300;
        case Mastodon: return chars + feeds <= 500;
        case Discord: return chars * units + feeds <= 2000;
        case Line: return columns <= 12 && chars * units + feeds <= 10000;
        case ServiceCount: break;
        }
        return false;
    };
    QSize best;
    for (int w = 1; w <= 99; ++w) {
        const int h = std::max(1, int(std::lround(double(w) * size.height() / size.width())));
        if (h > 99)
            break;
        if (fits(w, h))
            best = QSize(w, h);
    }
    return best;
}
