#include "documents/CommandLine.h"

#include "FretloomVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

// A command line that is answered with `text` alone.
CommandLine answering(CommandLine::Outcome outcome, QString text) {
    CommandLine line;
    line.outcome = outcome;
    line.text = std::move(text);
    return line;
}

// Qt's help, and how to export a whole folder.
QString usage(const QCommandLineParser& parser) {
    return parser.helpText() +
           u"\nTo convert a folder of tabs into MIDI files:\n"
           u"  for tab in tabs/*.txt; do fretloom --export \"${tab%.txt}.mid\" \"$tab\"; done\n"_s;
}

CommandLine misuse(const QString& error, const QCommandLineParser& parser) {
    return answering(CommandLine::Outcome::Misuse, error + u"\n\n"_s + usage(parser));
}

// A name from the command line as the file dialog gives one: absolute and cleaned against the
// current folder. An empty name stays empty, so the message shows what was given.
QString absoluteName(const QString& given) {
    return given.isEmpty() ? given : QDir::cleanPath(QDir::current().absoluteFilePath(given));
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
    const QCommandLineOption exportTo(
        u"export"_s,
        u"Writes the MIDI file of the tab FILE to OUT (.mid or .midi) as File > Export MIDI does, "
        u"with no window, and exits."_s,
        u"OUT"_s);
    const QCommandLineOption tempo(
        u"tempo"_s,
        u"The tempo of --export in beats per minute, %1 to %2 (%3 when not given)."_s
            .arg(kSlowestTempoOption)
            .arg(kFastestTempoOption)
            .arg(kDefaultTempoOption),
        u"BPM"_s);
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(exportTo);
    parser.addOption(tempo);
    parser.addPositionalArgument(
        u"FILE"_s, u"A tab file to open at start, as File > Open opens it, or to export."_s,
        u"[FILE]"_s);

    if (!parser.parse(arguments)) {
        CommandLine line = misuse(parser.errorText(), parser);
        line.mayBeQtOptions = !parser.unknownOptionNames().isEmpty();
        return line;
    }
    if (parser.isSet(help))
        return answering(CommandLine::Outcome::Help, usage(parser));
    if (parser.isSet(version))
        return answering(CommandLine::Outcome::Version, versionText() + u'\n');

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return misuse(u"Too many arguments: give one FILE at most."_s, parser);
    CommandLine line;
    if (!files.isEmpty())
        line.file = absoluteName(files.constFirst());
    if (!parser.isSet(exportTo)) {
        if (parser.isSet(tempo))
            return misuse(u"--tempo goes with --export."_s, parser);
        return line;
    }
    if (!line.file)
        return misuse(u"--export needs the tab FILE to read."_s, parser);
    line.outcome = CommandLine::Outcome::Export;
    line.exportTo = absoluteName(parser.value(exportTo));
    if (parser.isSet(tempo)) {
        bool number = false;
        line.tempo = parser.value(tempo).toInt(&number);
        if (!number || line.tempo < kSlowestTempoOption || line.tempo > kFastestTempoOption)
            return misuse(u"The tempo must be a whole number from %1 to %2, not \"%3\"."_s
                              .arg(kSlowestTempoOption)
                              .arg(kFastestTempoOption)
                              .arg(parser.value(tempo)),
                          parser);
    }
    return line;
}

std::optional<int> answerWithoutWindow(int& argc, char** argv, TabExporter exportTab) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments += QString::fromLocal8Bit(argv[i]);
    const CommandLine line = readCommandLine(arguments);
    if (line.outcome == CommandLine::Outcome::Export)
        return exportTab(line);
    if (line.outcome == CommandLine::Outcome::Start || line.mayBeQtOptions)
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
