// The command line: QCommandLineParser reads it before any window exists, so that help and
// version need no display.
#include "programs/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <string>
#include <string_view>

namespace vorbix::app {
namespace {

constexpr int usage_error = 2;

void print(std::FILE* stream, const QString& text) { std::fputs(text.toLocal8Bit().constData(), stream); }

// The value of a file option as the bytes it was given (the last time it was given, as Qt
// takes it): a name that is not UTF-8 would not survive Qt's texts.
std::string file_value(int argc, char** argv, std::string_view option)
{
    const std::string flag = "--" + std::string(option);
    std::string value;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--") break;
        if (word == flag && i + 1 < argc) {
            value = argv[++i];
        } else if (word.starts_with(flag + "=")) {
            value = word.substr(flag.size() + 1);
        }
    }
    return value;
}

}  // namespace

CommandLine parse_command_line(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A falling-block puzzle game: steer the pieces that sink into a walled well so that they fill\n"
        "rows, and every full row vanishes. Keys: Left and Right move, A and S turn, Down drops, P pauses."));
    // Help and version by hand: Qt's own help option would also offer Qt's options, which
    // only the environment sets here (QT_QPA_PLATFORM and the like).
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and exits."));
    const QCommandLineOption record(
        QStringLiteral("record"),
        QStringLiteral("Writes the game down, as you play it, as a script for vorbix-replay."), QStringLiteral("file"));
    const QCommandLineOption overwrite(
        QStringLiteral("overwrite"),
        QStringLiteral("With --record, records over the file when it is already there; without it an\n"
                       "existing file is kept and the game does not start."));
    const QCommandLineOption watch(
        QStringLiteral("watch"),
        QStringLiteral("Plays the game of a recorded script in the window, at the speed it was\n"
                       "recorded. P pauses the playback."),
        QStringLiteral("file"));
    parser.addOptions({record, overwrite, watch, help, version});

    CommandLine command_line;
    if (!parser.parse(arguments)) {
        print(stderr, QStringLiteral("vorbix: %1\n").arg(parser.errorText()));
        command_line.exit_status = usage_error;
    } else if (parser.isSet(help)) {
        // Without an application object Qt cannot name the program in the usage line.
        print(stdout, parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("vorbix")));
        command_line.exit_status = 0;
    } else if (parser.isSet(version)) {
        print(stdout, QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                    QCoreApplication::applicationVersion()));
        command_line.exit_status = 0;
    } else if (!parser.positionalArguments().isEmpty()) {
        print(stderr, QStringLiteral("vorbix: unexpected argument '%1'\n").arg(parser.positionalArguments().first()));
        command_line.exit_status = usage_error;
    } else if (parser.isSet(record) && parser.isSet(watch)) {
        print(stderr, QStringLiteral("vorbix: --record and --watch cannot go together\n"));
        command_line.exit_status = usage_error;
    } else if (parser.isSet(overwrite) && !parser.isSet(record)) {
        print(stderr, QStringLiteral("vorbix: --overwrite goes only with --record\n"));
        command_line.exit_status = usage_error;
    } else {
        command_line.options.overwrite = parser.isSet(overwrite);
        if (parser.isSet(record)) command_line.options.record = file_value(argc, argv, "record");
        if (parser.isSet(watch)) command_line.options.watch = file_value(argc, argv, "watch");
    }
    return command_line;
}

}  // namespace vorbix::app
