#include "textReading.h"

#include "dotImage.h"

#include <QCoreApplication>
#include <QChar>
#include <QStringDecoder>
#include <QList>

#include <algorithm>

namespace {

// Presentation selectors, and the byte order mark a text may begin with: no dots.
bool isVariationSelector(char32_t c) { return c == 0xFE0E || c == 0xFE0F || c == 0xFEFF; }

// A line end as it stands in the text: one of the single forms (CR LF, LF, CR, U+2028 LINE
// SEPARATOR, U+2029 PARAGRAPH SEPARATOR), or one of the doubled forms that a second
// conversion leaves (CR CR LF from a Windows program converting CR LF once more, LF CR from a
// conversion the wrong way round).
struct LineEnd
{
    qsizetype at;     // where it starts
    qsizetype length; // in code points
    bool doubled;
};

std::vector<LineEnd> lineEnds(const QList<uint> &chars)
{
    std::vector<LineEnd> ends;
    const auto next = [&chars](qsizetype i) { return i < chars.size() ? chars[i] : 0u; };
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const uint c = chars[i];
        if (c == '\r' && next(i + 1) == '\r' && next(i + 2) == '\n')
            ends.push_back({i, 3, true});
        else if (c == '\r' && next(i + 1) == '\n')
            ends.push_back({i, 2, false});
        else if (c == '\n' && next(i + 1) == '\r' && next(i + 2) != '\n')
            ends.push_back({i, 2, true});
        else if (c == '\r' || c == '\n' || c == 0x2028 || c == 0x2029)
            ends.push_back({i, 1, false});
        else
            continue;
        i += ends.back().length - 1;
    }
    return ends;
}

// The characters of every line, line ends removed, presentation selectors dropped. The line
// ends are decided once for the whole text: when every one of them is doubled, a doubled one
// ends one line, as it did before the text went through the second conversion; when single
// and doubled ones are mixed, a doubled one is the two line ends it is made of, and the blank
// line between them is really in the text.
std::vector<std::vector<char32_t>> linesOf(const QString &text)
{
    const QList<uint> chars = text.toUcs4();
    const std::vector<LineEnd> ends = lineEnds(chars);
    const bool allDoubled = !ends.empty() && std::all_of(ends.begin(), ends.end(), [](const LineEnd &e) { return e.doubled; });
    std::vector<std::vector<char32_t>> lines(1);
    qsizetype i = 0;
    for (const LineEnd &end : ends) {
        for (; i < end.at; ++i)
            if (!isVariationSelector(chars[i]))
                lines.back().push_back(chars[i]);
        lines.emplace_back();
        if (end.doubled && !allDoubled)
            lines.emplace_back();
        i = end.at + end.length;
    }
    for (; i < chars.size(); ++i)
        if (!isVariationSelector(chars[i]))
            lines.back().push_back(chars[i]);
    return lines;
}

bool isBlank(char32_t c, const DotPair &pair)
{
    return c != pair.black && c != pair.white && QChar::isSpace(c);
}

// Rows `first` to `last` of `lines`, `width` wide, as the picture, each character's dot the
// colour `pixel` gives it (white where the line is shorter); too large beyond `largest`.
template <typename Pixel>
ReadText &takeRows(ReadText &read, const std::vector<std::vector<char32_t>> &lines, qsizetype first, qsizetype last,
                   int width, int largest, Pixel pixel)
{
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
            dots::put(read.dots, int(x), y, pixel(line[x]));
    }
    return read;
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
    return takeRows(read, lines, first, last, width, largest,
                    [black = pair->black](char32_t c) { return c == black ? dots::kBlackPixel : dots::kWhitePixel; });
}

namespace {

// The lines of a text, blanks ended and the blank lines around them gone.
std::vector<std::vector<char32_t>> trimmedLines(const QString &text)
{
    std::vector<std::vector<char32_t>> lines = linesOf(text);
    for (auto &line : lines)
        while (!line.empty() && QChar::isSpace(line.back()))
            line.pop_back();
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    while (!lines.empty() && lines.front().empty())
        lines.erase(lines.begin());
    return lines;
}

} // namespace

ReadText readBrailleText(const QString &text, int largest)
{
    ReadText read;
    read.braille = true;
    read.pair = DotPair{0x28FF, kBrailleBlank};
    const std::vector<std::vector<char32_t>> lines = trimmedLines(text);
    bool any = false;
    int columns = 0;
    for (size_t y = 0; y < lines.size(); ++y) {
        for (size_t x = 0; x < lines[y].size(); ++x) {
            const char32_t c = lines[y][x];
            if (isBraille(c)) {
                any = true;
                continue;
            }
            if (!any)
                return ReadText{}; // it does not begin as braille: some other text
            read.outcome = ReadText::BadCharacter;
            read.line = int(y + 1);
            read.column = int(x + 1);
            read.character = c;
            return read;
        }
        columns = std::max(columns, int(lines[y].size()));
    }
    if (!any)
        return ReadText{};
    QImage dots = dots::white(QSize(columns * 2, int(lines.size()) * 4));
    for (size_t y = 0; y < lines.size(); ++y)
        for (size_t x = 0; x < lines[y].size(); ++x)
            for (int dy = 0; dy < 4; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    if ((lines[y][x] - kBrailleBlank) & char32_t(brailleBit(dx, dy)))
                        dots::set(dots, int(x) * 2 + dx, int(y) * 4 + dy, true);
    // A 99-dot side is 50 cells wide: the padding of the last cell is no part of the picture.
    const auto whiteColumn = [&dots](int x) {
        for (int y = 0; y < dots.height(); ++y)
            if (dots::isBlack(dots, x, y))
                return false;
        return true;
    };
    const auto whiteRow = [&dots](int y) {
        for (int x = 0; x < dots.width(); ++x)
            if (dots::isBlack(dots, x, y))
                return false;
        return true;
    };
    int width = dots.width(), height = dots.height();
    while (width > largest && whiteColumn(width - 1))
        --width;
    while (height > largest && whiteRow(height - 1))
        --height;
    if (width > largest || height > largest) {
        read.outcome = ReadText::TooLarge;
        read.size = QSize(width, height);
        return read;
    }
    read.outcome = ReadText::Picture;
    read.dots = dots.copy(0, 0, width, height);
    read.padded = (width == dots.width() && whiteColumn(width - 1)) || (height == dots.height() && whiteRow(height - 1));
    return read;
}

OtherText readOtherText(const QString &text, int largest)
{
    OtherText other;
    if (const ReadText braille = readBrailleText(text, largest); braille.outcome != ReadText::NotDotText) {
        other.kind = OtherText::Read;
        other.read = braille;
        return other;
    }
    // The characters of the text in the order they first come, blanks aside.
    const std::vector<std::vector<char32_t>> lines = trimmedLines(text);
    std::vector<char32_t> seen;
    for (const auto &line : lines)
        for (char32_t c : line)
            if (!QChar::isSpace(c) && std::find(seen.begin(), seen.end(), c) == seen.end())
                seen.push_back(c);
    // Two characters of one shape, BLACK and WHITE: read without asking.
    if (seen.size() == 2) {
        if (const std::optional<DotPair> pair = blackAndWhite(seen[0], seen[1])) {
            other.kind = OtherText::Read;
            other.read = readDotText(text, {*pair}, largest);
            return other;
        }
        // Two others in a grid of lines of one length: which is black is the user's to say.
        const bool grid = lines.size() >= 2 && std::all_of(lines.begin(), lines.end(), [&lines](const auto &line) {
            return line.size() == lines.front().size();
        });
        if (grid) {
            other.kind = OtherText::Ask;
            other.first = seen[0];
            other.second = seen[1];
            return other;
        }
    }
    // A character of a BLACK and WHITE pair decides the pair, and a character of no pair is
    // then named where it is, as in a text of squares.
    for (char32_t c : seen) {
        if (const std::optional<DotPair> pair = blackAndWhitePartner(c)) {
            other.kind = OtherText::Read;
            other.read = readDotText(text, {*pair}, largest);
            return other;
        }
    }
    return other;
}

QString readTextMessage(const ReadText &read, int largest, bool opened)
{
    if (read.outcome == ReadText::TooLarge)
        return QCoreApplication::translate("textReading", "%1絵は %2 × %3 ドットあり、読み込めるのは %4 × %4 ドットまでです。")
            .arg(opened ? QCoreApplication::translate("textReading", "開いた") : QCoreApplication::translate("textReading", "貼り付けた"))
            .arg(read.size.width()).arg(read.size.height()).arg(largest);
    const QString shown = characterShown(read.character);
    if (read.squares)
        return QCoreApplication::translate("textReading", "%1の %2 行目 %3 文字目の「%4」は、絵文字の四角（⬛⬜🟥🟧🟨🟩🟦🟪🟫）ではありません。")
            .arg(opened ? QCoreApplication::translate("textReading", "開いたファイル") : QCoreApplication::translate("textReading", "貼り付けたテキスト"))
            .arg(read.line).arg(read.column).arg(shown);
    if (read.braille)
        return QCoreApplication::translate("textReading", "%1の %2 行目 %3 文字目の「%4」は、点字の文字（U+2800〜U+28FF）ではありません。")
            .arg(opened ? QCoreApplication::translate("textReading", "開いたファイル") : QCoreApplication::translate("textReading", "貼り付けたテキスト"))
            .arg(read.line).arg(read.column).arg(shown);
    return QCoreApplication::translate("textReading", "%1の %2 行目 %3 文字目の「%4」は、絵の文字（%5 と %6）ではありません。")
        .arg(opened ? QCoreApplication::translate("textReading", "開いたファイル") : QCoreApplication::translate("textReading", "貼り付けたテキスト"))
        .arg(read.line).arg(read.column).arg(shown, characterText(read.pair.black), characterText(read.pair.white));
}

ReadText readSquaresText(const QString &text, int largest)
{
    ReadText read;
    const auto square = [](char32_t c) {
        for (size_t i = 0; i < dots::kSquares.size(); ++i)
            if (dots::kSquares[i].character == c)
                return int(i);
        return -1;
    };
    std::vector<std::vector<char32_t>> lines = linesOf(text);
    bool colour = false;
    for (const auto &line : lines)
        for (char32_t c : line)
            colour = colour || square(c) > 1;
    if (!colour)
        return read;
    read.pair = DotPair{dots::kSquares[0].character, dots::kSquares[1].character};
    for (auto &line : lines)
        while (!line.empty() && square(line.back()) < 0 && QChar::isSpace(line.back()))
            line.pop_back();
    qsizetype first = 0, last = qsizetype(lines.size());
    while (first < last && lines[size_t(first)].empty())
        ++first;
    while (last > first && lines[size_t(last - 1)].empty())
        --last;
    int width = 0;
    for (qsizetype y = first; y < last; ++y) {
        const auto &line = lines[size_t(y)];
        for (size_t x = 0; x < line.size(); ++x)
            if (square(line[x]) < 0) {
                read.outcome = ReadText::BadCharacter;
                read.line = int(y + 1);
                read.column = int(x + 1);
                read.character = line[x];
                read.squares = true;
                return read;
            }
        width = std::max(width, int(line.size()));
    }
    return takeRows(read, lines, first, last, width, largest,
                    [&square](char32_t c) { return dots::kSquares[size_t(square(c))].pixel; });
}

QString decodedText(const QByteArray &bytes)
{
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
    QStringDecoder decode(marked.value_or(QStringConverter::Utf8), QStringConverter::Flag::Stateless);
    QString text = decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

TextIntake readPictureText(const QString &text, const std::vector<DotPair> &pairs, int largest, bool opened)
{
    TextIntake intake;
    // The first pair that reads the whole text; a pair whose characters are there but not
    // alone decides the message, should nothing read.
    std::optional<ReadText> refused;
    for (const DotPair &pair : pairs) {
        const ReadText read = readDotText(text, {pair}, largest);
        if (read.outcome == ReadText::Picture) {
            intake.kind = TextIntake::Picture;
            intake.dots = read.dots;
            return intake;
        }
        if (read.outcome != ReadText::NotDotText && !refused)
            refused = read;
    }
    // The emoji squares in colour.
    if (const ReadText squares = readSquaresText(text, largest); squares.outcome != ReadText::NotDotText) {
        if (squares.outcome == ReadText::Picture) {
            intake.kind = TextIntake::Picture;
            intake.dots = squares.dots;
            intake.colour = true;
            return intake;
        }
        intake.kind = TextIntake::Refused;
        intake.message = readTextMessage(squares, largest, opened);
        return intake;
    }
    // Square art in other characters: braille, a BLACK and WHITE pair, or two characters in a
    // grid, of which the user says which is black.
    const OtherText other = readOtherText(text, largest);
    if (other.kind == OtherText::Ask) {
        intake.kind = TextIntake::Ask;
        intake.first = other.first;
        intake.second = other.second;
        return intake;
    }
    if (other.kind == OtherText::Read && (other.read.outcome == ReadText::Picture || !refused))
        refused = other.read;
    if (!refused)
        return intake;
    if (refused->outcome == ReadText::Picture) {
        intake.kind = TextIntake::Picture;
        intake.dots = refused->dots;
        intake.padded = refused->padded;
        return intake;
    }
    intake.kind = TextIntake::Refused;
    intake.message = readTextMessage(*refused, largest, opened);
    return intake;
}

QString whichIsBlackQuestion(const TextIntake &asked, bool opened)
{
    return QCoreApplication::translate("textReading", "%1は「%2」と「%3」の2文字でできています。どちらを黒い点にしますか？")
        .arg(opened ? QCoreApplication::translate("textReading", "開いたファイル") : QCoreApplication::translate("textReading", "貼り付けたテキスト"), characterShown(asked.first),
             characterShown(asked.second));
}

TextIntake readAnswered(const QString &text, const TextIntake &asked, bool firstIsBlack, int largest, bool opened)
{
    const DotPair pair = firstIsBlack ? DotPair{asked.first, asked.second} : DotPair{asked.second, asked.first};
    const ReadText read = readDotText(text, {pair}, largest);
    TextIntake intake;
    if (read.outcome == ReadText::Picture) {
        intake.kind = TextIntake::Picture;
        intake.dots = read.dots;
    } else if (read.outcome != ReadText::NotDotText) {
        intake.kind = TextIntake::Refused;
        intake.message = readTextMessage(read, largest, opened);
    }
    return intake;
}

bool samePictureText(const QString &a, const QString &b)
{
    const auto lines = [](const QString &text) {
        QStringList rows;
        for (const auto &line : linesOf(text)) {
            QString row = QString::fromUcs4(line.data(), qsizetype(line.size()));
            while (!row.isEmpty() && row.back().isSpace() && row.back() != QChar(0x3000))
                row.chop(1);
            rows << row;
        }
        while (!rows.isEmpty() && rows.back().isEmpty())
            rows.removeLast();
        return rows;
    };
    return lines(a) == lines(b);
}
