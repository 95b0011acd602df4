#include "commandLine.h"
#include "version.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdlib>

namespace {

// The lines that say how the program is called: the head of the usage, and what a mistake
// on the command line is answered with.
QString synopsis(const QString &program, bool japanese)
{
    if (japanese)
        return QStringLiteral("使い方: %1 [オプション] [ファイル]\n"
                              "        %1 --text [オプション] 画像\n"
                              "        %1 --png 出力.png テキスト\n")
            .arg(program);
    return QStringLiteral("Usage: %1 [option] [picture file]\n"
                          "       %1 --text [options] PICTURE\n"
                          "       %1 --png OUT.png TEXT\n")
        .arg(program);
}

QString usage(const QString &program, bool japanese)
{
    if (japanese)
        return synopsis(program, japanese)
               + QStringLiteral(
                     "ドット絵を描いて、■と□の文字列に変換します。\n"
                     "画像ファイル（BMP・JPEG・GIF・PNG）を指定すると下絵として開き、絵のテキスト（.txt）は絵として開きます。\n"
                     "\n"
                     "オプション:\n"
                     "  -h, --help             この説明を表示して終了します\n"
                     "  -v, --version          版を表示して終了します\n"
                     "  --lang en|ja           この回だけ英語（en）か日本語（ja）で表示します\n"
                     "\n"
                     "画像をテキストにする（ウィンドウを開かず、標準出力に書きます）:\n"
                     "  --text 画像            画像（ファイル、- なら標準入力）を「■」と「□」の行にします（改行は CR LF）\n"
                     "  --size 幅x高さ         ドット数（各辺 1〜99、既定 32x32）\n"
                     "  --width 幅, --height 高さ\n"
                     "                         一辺だけ指定し、もう一辺は画像の縦横比から決めます\n"
                     "  --fill                 キャンバスを埋めます（はみ出した所は切ります。既定はキャンバスに合わせる）\n"
                     "  --threshold N          N（0〜255）より暗い点を黒にします（既定は自動）\n"
                     "  --dither 種類          none、ordered、floyd-steinberg、atkinson（既定 none）\n"
                     "  --invert               白黒反転\n"
                     "  --pair XY              黒い点を X、白い点を Y で書きます\n"
                     "  --braille              点字（2 × 4 ドットで1文字）で書きます\n"
                     "  --palette emoji        絵文字の9色（⬛⬜🟥🟧🟨🟩🟦🟪🟫）で書きます\n"
                     "  --lf                   改行を LF にします\n"
                     "  --count                X・Bluesky・Mastodon・Discord・LINE の文字数と、収まるかどうかを標準エラーに書きます\n"
                     "\n"
                     "絵のテキストを画像にする:\n"
                     "  --png 出力 テキスト    テキスト（ファイル、- なら標準入力）を1ドット1ピクセルの PNG にして出力（- なら標準出力）に書きます\n"
                     "  --pair XY              X を黒、Y を白として読みます\n"
                     "\n"
                     "例:\n"
                     "  %1 --text --size 11x11 photo.jpg\n"
                     "  %1 --text --braille --size 32x32 --count photo.jpg > post.txt\n"
                     "  curl -s https://example.com/cat.png | %1 --text --width 24 --dither atkinson -\n"
                     "  %1 --png picture.png post.txt\n"
                     "\n"
                     "終了ステータス: 0 成功、1 読めない画像やテキスト・書けない出力、2 コマンドラインの誤り\n")
                     .arg(program);
    return synopsis(program, japanese)
           + QStringLiteral(
                 "Paint a dot picture and turn it into lines of text squares.\n"
                 "A picture file (BMP, JPEG, GIF or PNG) given here opens as the underlay, a\n"
                 "picture's text (.txt) as the picture.\n"
                 "\n"
                 "Options:\n"
                 "  -h, --help             show this help and exit\n"
                 "  -v, --version          show the version and exit\n"
                 "  --lang en|ja           the window in English (en) or Japanese (ja), this run\n"
                 "\n"
                 "A picture as text, on standard output, without a window:\n"
                 "  --text PICTURE         PICTURE (a file, or - for standard input) as lines of\n"
                 "                         \"\u25A0\" and \"\u25A1\", one a row, CR LF line ends\n"
                 "  --size WxH             the size in dots, 1 to 99 a side (default 32x32)\n"
                 "  --width W, --height H  one side alone, the other from the picture's aspect\n"
                 "  --fill                 the picture covers the canvas, what overflows is cut\n"
                 "                         (default: the whole picture fitted in)\n"
                 "  --threshold N          a dot darker than N (0 to 255) is black\n"
                 "                         (default: the automatic threshold)\n"
                 "  --dither KIND          none, ordered, floyd-steinberg or atkinson (none)\n"
                 "  --invert               black and white swapped\n"
                 "  --pair XY              X for a black dot, Y for a white one\n"
                 "  --braille              braille patterns, 2 x 4 dots a character\n"
                 "  --palette emoji        the nine emoji squares, each dot the nearest colour\n"
                 "  --lf                   LF line ends\n"
                 "  --count                on standard error: the length counted for X, Bluesky,\n"
                 "                         Mastodon, Discord and LINE, and whether it fits\n"
                 "\n"
                 "A picture's text as a picture:\n"
                 "  --png OUT TEXT         TEXT (a file, or - for standard input) as a PNG of one\n"
                 "                         pixel a dot, written to OUT (- for standard output)\n"
                 "  --pair XY              X read as black, Y as white\n"
                 "\n"
                 "Examples:\n"
                 "  %1 --text --size 11x11 photo.jpg\n"
                 "  %1 --text --braille --size 32x32 --count photo.jpg > post.txt\n"
                 "  curl -s https://example.com/cat.png | %1 --text --width 24 --dither atkinson -\n"
                 "  %1 --png picture.png post.txt\n"
                 "\n"
                 "Exit status: 0 done, 1 a picture or text that could not be read or an output\n"
                 "that could not be written, 2 a mistake on the command line.\n")
                 .arg(program);
}

CommandLine print(QString text, bool toStandardError, int exitCode)
{
    CommandLine c;
    c.action = CommandLine::PrintAndExit;
    c.output = std::move(text);
    c.toStandardError = toStandardError;
    c.exitCode = exitCode;
    return c;
}

// A side of the picture: a whole number of dots, 1 to 99.
bool readSide(const QString &text, int *side)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(text).hasMatch())
        return false;
    *side = text.toInt();
    return *side >= 1 && *side <= 99;
}

} // namespace

QString usageMistake(const QString &program, const QString &message, bool japanese)
{
    return QStringLiteral("%1: %2\n").arg(program, message) + synopsis(program, japanese)
           + (japanese ? QStringLiteral("詳しくは %1 --help を見てください。\n") : QStringLiteral("Try '%1 --help' for more.\n"))
                 .arg(program);
}

CommandLine parseCommandLine(const QStringList &arguments, bool japanese)
{
    const QString program = QFileInfo(arguments.value(0, QStringLiteral("gridglyph"))).fileName();
    QCommandLineParser parser;
    // "-v" and "--version" alike; "-hv" is two options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    const QCommandLineOption text(QStringLiteral("text"), QString());
    const QCommandLineOption png(QStringLiteral("png"), QString(), QStringLiteral("out"));
    const QCommandLineOption size(QStringLiteral("size"), QString(), QStringLiteral("size"));
    const QCommandLineOption width(QStringLiteral("width"), QString(), QStringLiteral("width"));
    const QCommandLineOption height(QStringLiteral("height"), QString(), QStringLiteral("height"));
    const QCommandLineOption fill(QStringLiteral("fill"), QString());
    const QCommandLineOption threshold(QStringLiteral("threshold"), QString(), QStringLiteral("n"));
    const QCommandLineOption dither(QStringLiteral("dither"), QString(), QStringLiteral("kind"));
    const QCommandLineOption invert(QStringLiteral("invert"), QString());
    const QCommandLineOption pair(QStringLiteral("pair"), QString(), QStringLiteral("xy"));
    const QCommandLineOption braille(QStringLiteral("braille"), QString());
    const QCommandLineOption palette(QStringLiteral("palette"), QString(), QStringLiteral("name"));
    const QCommandLineOption lf(QStringLiteral("lf"), QString());
    const QCommandLineOption count(QStringLiteral("count"), QString());
    const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("language"));
    parser.addOptions({help, version, text, png, size, width, height, fill, threshold, dither, invert, pair, braille, palette, lf, count, lang});
    parser.addPositionalArgument(QStringLiteral("file"), QString(), QStringLiteral("[file]"));

    const auto mistake = [&](const QString &message) { return print(usageMistake(program, message, japanese), true, 2); };
    if (!parser.parse(arguments))
        return mistake(japanese ? QStringLiteral("使えないオプションです（%1）").arg(parser.errorText()) : parser.errorText());
    if (parser.isSet(help))
        return print(usage(program, japanese), false, 0);
    if (parser.isSet(version))
        return print(programVersion() + QLatin1Char('\n'), false, 0);
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(lang) && parser.value(lang) != QLatin1String("en") && parser.value(lang) != QLatin1String("ja"))
        return mistake(japanese ? QStringLiteral("--lang に使えるのは en か ja です（「%1」）").arg(parser.value(lang))
                                : QStringLiteral("--lang takes en or ja, not '%1'").arg(parser.value(lang)));
    const QString language = parser.value(lang);

    if (parser.isSet(text) && parser.isSet(png))
        return mistake(japanese ? QStringLiteral("--text と --png は一緒に使えません") : QStringLiteral("--text and --png cannot be used together"));
    if (!parser.isSet(text) && !parser.isSet(png)) {
        for (const QCommandLineOption &o : {size, width, height, fill, threshold, dither, invert, pair, braille, palette, lf, count})
            if (parser.isSet(o))
                return mistake(japanese ? QStringLiteral("--%1 は --text か --png と一緒に使います").arg(o.names().constFirst())
                                        : QStringLiteral("--%1 goes with --text or --png").arg(o.names().constFirst()));
        if (files.size() > 1)
            return mistake(japanese ? QStringLiteral("ファイルは一つだけ指定できます") : QStringLiteral("only one file can be given"));
        CommandLine run;
        run.file = files.value(0);
        run.language = language;
        return run;
    }

    CommandLine c;
    c.language = language;
    c.action = parser.isSet(text) ? CommandLine::Text : CommandLine::Png;
    if (files.size() != 1) {
        const bool toText = c.action == CommandLine::Text;
        return mistake(files.isEmpty()
                           ? (japanese ? (toText ? QStringLiteral("画像を一つ指定してください（標準入力なら -）") : QStringLiteral("テキストを一つ指定してください（標準入力なら -）"))
                                       : (toText ? QStringLiteral("give one picture (- for standard input)") : QStringLiteral("give one text (- for standard input)")))
                           : (japanese ? QStringLiteral("ファイルは一つだけ指定できます") : QStringLiteral("only one file can be given")));
    }
    c.input = files.constFirst();
    c.pngFile = parser.value(png);
    TextOptions &o = c.options;
    o.pair = parser.value(pair);
    if (c.action == CommandLine::Png) {
        // Reading a text back takes a pair and nothing of the conversion.
        for (const QCommandLineOption &other : {size, width, height, fill, threshold, dither, invert, braille, palette, lf, count})
            if (parser.isSet(other))
                return mistake(japanese ? QStringLiteral("--%1 は --png と一緒に使えません").arg(other.names().constFirst())
                                        : QStringLiteral("--%1 does not go with --png").arg(other.names().constFirst()));
        if (c.pngFile.isEmpty())
            return mistake(japanese ? QStringLiteral("--png には書き出す PNG の名前が要ります") : QStringLiteral("--png needs the name of the PNG to write"));
        return c;
    }

    if (parser.isSet(size) && (parser.isSet(width) || parser.isSet(height)))
        return mistake(japanese ? QStringLiteral("--size と --width・--height は一緒に使えません")
                                : QStringLiteral("--size cannot be used with --width or --height"));
    if (parser.isSet(width) && parser.isSet(height))
        return mistake(japanese ? QStringLiteral("両辺を指定するときは --size 幅x高さ を使ってください")
                                : QStringLiteral("for both sides, use --size WxH"));
    if (parser.isSet(size)) {
        static const QRegularExpression form(QStringLiteral("^([0-9]+)[xX\u00D7]([0-9]+)$"));
        const QRegularExpressionMatch m = form.match(parser.value(size));
        int w = 0, h = 0;
        if (!m.hasMatch() || !readSide(m.captured(1), &w) || !readSide(m.captured(2), &h))
            return mistake(japanese ? QStringLiteral("--size は 幅x高さ で、各辺 1〜99 です（「%1」）").arg(parser.value(size))
                                    : QStringLiteral("--size is WxH, each side 1 to 99 ('%1')").arg(parser.value(size)));
        o.size = QSize(w, h);
    }
    for (const auto &[option, side] : {std::pair{&width, &o.width}, std::pair{&height, &o.height}}) {
        if (parser.isSet(*option) && !readSide(parser.value(*option), side))
            return mistake(japanese ? QStringLiteral("--%1 は 1〜99 です（「%2」）").arg(option->names().constFirst(), parser.value(*option))
                                    : QStringLiteral("--%1 is 1 to 99 ('%2')").arg(option->names().constFirst(), parser.value(*option)));
    }
    o.fill = parser.isSet(fill);
    if (parser.isSet(threshold)) {
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
        const QString value = parser.value(threshold);
        if (!digits.match(value).hasMatch() || value.toInt() > 255)
            return mistake(japanese ? QStringLiteral("--threshold は 0〜255 です（「%1」）").arg(value)
                                    : QStringLiteral("--threshold is 0 to 255 ('%1')").arg(value));
        o.threshold = value.toInt();
    }
    if (parser.isSet(dither)) {
        const QString kind = parser.value(dither);
        const QStringList kinds = {QStringLiteral("none"), QStringLiteral("ordered"), QStringLiteral("floyd-steinberg"), QStringLiteral("atkinson")};
        if (!kinds.contains(kind))
            return mistake(japanese ? QStringLiteral("--dither は none、ordered、floyd-steinberg、atkinson のどれかです（「%1」）").arg(kind)
                                    : QStringLiteral("--dither is none, ordered, floyd-steinberg or atkinson ('%1')").arg(kind));
        o.dither = TextOptions::DitherKind(kinds.indexOf(kind));
    }
    o.invert = parser.isSet(invert);
    o.braille = parser.isSet(braille);
    if (o.braille && parser.isSet(pair))
        return mistake(japanese ? QStringLiteral("--pair と --braille は一緒に使えません") : QStringLiteral("--pair and --braille cannot be used together"));
    if (parser.isSet(palette)) {
        if (parser.value(palette) != QLatin1String("emoji"))
            return mistake(japanese ? QStringLiteral("--palette に使えるのは emoji だけです（「%1」）").arg(parser.value(palette))
                                    : QStringLiteral("--palette takes only emoji, not '%1'").arg(parser.value(palette)));
        if (o.braille || parser.isSet(pair))
            return mistake(japanese ? QStringLiteral("--palette は --pair・--braille と一緒に使えません")
                                    : QStringLiteral("--palette cannot be used with --pair or --braille"));
        o.colour = true;
    }
    o.lf = parser.isSet(lf);
    o.count = parser.isSet(count);
    return c;
}

bool localeIsJapanese()
{
    // The variables in the order the C library weighs them; the first one set decides.
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return QString::fromLocal8Bit(value).startsWith(QLatin1String("ja"));
    }
    return false;
}
