#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace fretloom {

// The exit code of a command line the program cannot follow.
inline constexpr int kExitMisuse = 2;
// The exit code of an export that failed.
inline constexpr int kExitFailure = 1;

// The tempos --tempo takes, those of Play > Tempo.
inline constexpr int kSlowestTempoOption = 30;
inline constexpr int kFastestTempoOption = 300;
inline constexpr int kDefaultTempoOption = 100;

// What `fretloom [options] [FILE]` asks for.
struct CommandLine {
    enum class Outcome {
        Start,    // show the main window, with `file` opened when one is named
        Help,     // print `text` to standard output and exit 0
        Version,  // likewise
        Export,   // write the MIDI file of `file` to `exportTo` at `tempo`, with no window
        Misuse,   // print `text`, which ends with the usage, to standard error; exit kExitMisuse
    };
    Outcome outcome = Outcome::Start;
    // The file to open at start, absolute and cleaned against the current folder, as the file
    // dialog names a file.
    std::optional<QString> file;
    QString text;
    QString exportTo;  // made absolute as `file` is
    int tempo = kDefaultTempoOption;
    // Misuse through options this parser does not know, which may be Qt's own.
    bool mayBeQtOptions = false;
};

// Reads the program's arguments, its own name first, with Qt's command line parser. The usage
// line names the program as QCoreApplication::arguments() does, when an application exists.
CommandLine readCommandLine(const QStringList& arguments);

// "Fretloom " and the version the build was made from.
QString versionText();

// Carries out an Export command line and gives the exit code.
using TabExporter = int (*)(const CommandLine& line);

// Help, version, export and misuse are answered before the windowing system is touched, so they
// work without a display: the exit code when the command line asks only for them, nothing
// otherwise. Qt's own options (-platform, -style...) are read only by QApplication, so a command
// line with options unknown here, and one that starts the editor, wait for it.
std::optional<int> answerWithoutWindow(int& argc, char** argv, TabExporter exportTab);

// Prints the text of a command line that shows no window and gives the exit code.
int answer(const CommandLine& line);

}  // namespace fretloom
