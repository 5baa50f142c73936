#pragma once

#include <QString>
#include <optional>

namespace fretloom {

struct CommandLine;
class FileSystem;

// fretloom --export OUT FILE: reads FILE as Open does and writes its MIDI file to OUT, a
// ".mid" or ".midi" file, in one step as Export MIDI does. Nothing when it was written;
// otherwise the line that names the file and the reason, and OUT is as it was.
std::optional<QString> exportTabFile(const CommandLine& line, FileSystem& files);

// The same on the real disk: the exit code, with the line on standard error when it failed.
int exportOnCommandLine(const CommandLine& line);

}  // namespace fretloom
