#include "commandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdlib>

namespace {

QString usage(const QString &program, bool japanese)
{
    if (japanese)
        return QStringLiteral(
                   "使い方: %1 [オプション] [画像ファイル]\n"
                   "ドット絵を描いて、■と□の文字列に変換します。\n"
                   "画像ファイル（BMP・JPEG・GIF・PNG）を指定すると、下絵として開きます。\n"
                   "\n"
                   "オプション:\n"
                   "  -h, --help     この説明を表示して終了します\n"
                   "  -v, --version  版を表示して終了します\n")
            .arg(program);
    return QStringLiteral(
               "Usage: %1 [option] [picture file]\n"
               "Paint a dot picture and turn it into lines of text squares.\n"
               "A picture file (BMP, JPEG, GIF or PNG) given here opens as the underlay.\n"
               "\n"
               "Options:\n"
               "  -h, --help     show this help and exit\n"
               "  -v, --version  show the version and exit\n")
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

} // namespace

CommandLine parseCommandLine(const QStringList &arguments, bool japanese)
{
    const QString program = QFileInfo(arguments.value(0, QStringLiteral("gridglyph"))).fileName();
    QCommandLineParser parser;
    // "-v" and "--version" alike; no option takes a value, so "-hv" is two options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("file"), QString(), QStringLiteral("[file]"));

    if (!parser.parse(arguments)) {
        const QString error = japanese ? QStringLiteral("%1: 使えないオプションです（%2）\n")
                                       : QStringLiteral("%1: %2\n");
        return print(error.arg(program, parser.errorText()) + usage(program, japanese), true, 2);
    }
    if (parser.isSet(help))
        return print(usage(program, japanese), false, 0);
    if (parser.isSet(version))
        return print(QStringLiteral("GRIDGLYPH 1.10\n"), false, 0);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        const QString error = japanese ? QStringLiteral("%1: 画像ファイルは一つだけ指定できます\n")
                                       : QStringLiteral("%1: only one picture file can be given\n");
        return print(error.arg(program) + usage(program, japanese), true, 2);
    }
    CommandLine run;
    run.file = files.value(0);
    return run;
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
