#include "documents/CommandLine.h"

#include "FretloomVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

CommandLine misuse(const QString& error, const QCommandLineParser& parser) {
    return {CommandLine::Outcome::Misuse, std::nullopt, error + u"\n\n"_s + parser.helpText()};
}

}  // namespace

QString versionText() {
    return u"Fretloom "_s + QLatin1StringView(kFretloomVersion);
}

CommandLine readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Fretloom, an editor for guitar and bass tablature kept as plain text."_s);
    // Options of our own rather than Qt's built-in ones: those print and exit by themselves,
    // and add --help-all, whose list of Qt options depends on the application object.
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Shows this help and exits."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Shows the version and exits."_s);
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(
        u"FILE"_s, u"A tab file to open at start, as File > Open opens it."_s, u"[FILE]"_s);

    if (!parser.parse(arguments))
        return misuse(parser.errorText(), parser);
    if (parser.isSet(help))
        return {CommandLine::Outcome::Help, std::nullopt, parser.helpText()};
    if (parser.isSet(version))
        return {CommandLine::Outcome::Version, std::nullopt, versionText() + u'\n'};

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return misuse(u"Too many arguments: give one FILE at most."_s, parser);
    CommandLine line;
    if (!files.isEmpty()) {
        // An empty name stays empty, so the warning shows what was given.
        const QString& given = files.constFirst();
        line.file =
            given.isEmpty() ? given : QDir::cleanPath(QDir::current().absoluteFilePath(given));
    }
    return line;
}

std::optional<int> answerWithoutWindow(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments += QString::fromLocal8Bit(argv[i]);
    const CommandLine::Outcome outcome = readCommandLine(arguments).outcome;
    if (outcome != CommandLine::Outcome::Help && outcome != CommandLine::Outcome::Version)
        return std::nullopt;
    // The usage line names the program as it was called, which the parser takes from the
    // application object.
    const QCoreApplication core(argc, argv);
    return answer(readCommandLine(QCoreApplication::arguments()));
}

int answer(const CommandLine& line) {
    const bool misuse = line.outcome == CommandLine::Outcome::Misuse;
    std::FILE* stream = misuse ? stderr : stdout;
    std::fputs(line.text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
    return misuse ? kExitMisuse : 0;
}

}  // namespace fretloom
