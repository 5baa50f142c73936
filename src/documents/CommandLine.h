#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace fretloom {

// The exit code of a command line the program cannot follow.
inline constexpr int kExitMisuse = 2;

// What `fretloom [options] [FILE]` asks for.
struct CommandLine {
    enum class Outcome {
        Start,    // show the main window, with `file` opened when one is named
        Help,     // print `text` to standard output and exit 0
        Version,  // likewise
        Misuse,   // print `text`, which ends with the usage, to standard error; exit kExitMisuse
    };
    Outcome outcome = Outcome::Start;
    // The file to open at start, absolute and cleaned against the current folder, as the file
    // dialog names a file.
    std::optional<QString> file;
    QString text;
};

// Reads the program's arguments, its own name first, with Qt's command line parser. The usage
// line names the program as QCoreApplication::arguments() does, when an application exists.
CommandLine readCommandLine(const QStringList& arguments);

// "Fretloom " and the version the build was made from.
QString versionText();

// Help and version are answered before the windowing system is touched, so they work without a
// display: the exit code when the command line asks only for them, nothing otherwise. Qt's own
// options (-platform, -style...) are read only by QApplication, so anything else waits for it.
std::optional<int> answerWithoutWindow(int& argc, char** argv);

// Prints the text of a command line that shows no window and gives the exit code.
int answer(const CommandLine& line);

}  // namespace fretloom
