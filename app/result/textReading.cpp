#include "textReading.h"

#include "dotImage.h"

#include <QChar>
#include <QList>

namespace {

bool isVariationSelector(char32_t c) { return c == 0xFE0E || c == 0xFE0F; }

// The characters of every line, line ends removed, presentation selectors dropped.
std::vector<std::vector<char32_t>> linesOf(const QString &text)
{
    std::vector<std::vector<char32_t>> lines(1);
    const QList<uint> chars = text.toUcs4();
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < chars.size() && chars[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else if (!isVariationSelector(c)) {
            lines.back().push_back(c);
        }
    }
    return lines;
}

bool isBlank(char32_t c, const DotPair &pair)
{
    return c != pair.black && c != pair.white && QChar::isSpace(c);
}

} // namespace

ReadText readDotText(const QString &text, const std::vector<DotPair> &pairs, int largest)
{
    ReadText read;
    std::vector<std::vector<char32_t>> lines = linesOf(text);

    // The pair is the first one holding the first character that is not a blank of every
    // pair; a text without any such character is no picture.
    const DotPair *pair = nullptr;
    for (const auto &line : lines) {
        for (char32_t c : line) {
            for (const DotPair &p : pairs) {
                if ((c == p.black || c == p.white) && !QChar::isSpace(c)) {
                    pair = &p;
                    break;
                }
            }
            if (pair)
                break;
        }
        if (pair)
            break;
    }
    // A picture of white alone in the em-space pair is all blanks: no picture either.
    if (!pair)
        return read;
    read.pair = *pair;

    for (auto &line : lines)
        while (!line.empty() && isBlank(line.back(), *pair))
            line.pop_back();
    qsizetype first = 0, last = qsizetype(lines.size());
    while (first < last && lines[size_t(first)].empty())
        ++first;
    while (last > first && lines[size_t(last - 1)].empty())
        --last;

    int width = 0;
    for (qsizetype y = first; y < last; ++y) {
        const auto &line = lines[size_t(y)];
        for (size_t x = 0; x < line.size(); ++x) {
            if (line[x] != pair->black && line[x] != pair->white) {
                read.outcome = ReadText::BadCharacter;
                read.line = int(y + 1);
                read.column = int(x + 1);
                read.character = line[x];
                return read;
            }
        }
        width = std::max<int>(width, int(line.size()));
    }
    const int height = int(last - first);
    if (width > largest || height > largest) {
        read.outcome = ReadText::TooLarge;
        read.size = QSize(width, height);
        return read;
    }
    read.outcome = ReadText::Picture;
    read.dots = dots::white(QSize(width, height));
    for (int y = 0; y < height; ++y) {
        const auto &line = lines[size_t(first + y)];
        for (size_t x = 0; x < line.size(); ++x)
            if (line[x] == pair->black)
                dots::set(read.dots, int(x), y, true);
    }
    return read;
}

QString readTextMessage(const ReadText &read, int largest)
{
    if (read.outcome == ReadText::TooLarge)
        return QStringLiteral("貼り付けた絵は %1 × %2 ドットあり、読み込めるのは %3 × %3 ドットまでです。")
            .arg(read.size.width()).arg(read.size.height()).arg(largest);
    const QString shown = QChar::isPrint(read.character) ? characterText(read.character)
                                                         : QStringLiteral("U+%1").arg(uint(read.character), 4, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("貼り付けたテキストの %1 行目 %2 文字目の「%3」は、絵の文字（%4 と %5）ではありません。")
        .arg(read.line).arg(read.column).arg(shown, characterText(read.pair.black), characterText(read.pair.white));
}
