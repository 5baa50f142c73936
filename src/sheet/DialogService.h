#pragma once

// The one service through which the program shows every file, font, colour and message
// dialog. It includes no widget header so the core's flows can be written against it and
// tested with a scripted double; QtDialogService is the real one.

#include <QString>
#include <optional>

namespace fretloom {

struct FileDialogRequest {
    QString filter;     // e.g. "Text Tab Files (*.txt)"
    QString startPath;  // the current path; the dialog opens on it
};

enum class Answer { Yes, No, Cancel };
enum class QuestionButtons { YesNo, YesNoCancel };

// A question box: no icon, Yes is the default button.
struct Question {
    QString title;
    QString text;
    QuestionButtons buttons = QuestionButtons::YesNo;
};

// A box asking for a whole number within limits, offering `value` to start with.
struct NumberQuestion {
    QString title;
    QString label;
    int value = 0;
    int minimum = 0;
    int maximum = 0;
};

struct FontChoice {
    QString family;
    bool bold = false;
    bool italic = false;
    double pointSize = 12.0;

    bool operator==(const FontChoice&) const = default;
};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    bool operator==(const Rgb&) const = default;
};

class DialogService {
public:
    virtual ~DialogService() = default;

    // An existing file to open, or nothing when cancelled. The path is the one the user typed or
    // picked, whatever characters its name has; a name that could stand for two files is asked
    // for again.
    virtual std::optional<QString> chooseFileToOpen(const FileDialogRequest& request) = 0;
    // A path to save to, or nothing when cancelled, taken as exactly as for opening. Asks before
    // replacing an existing file and takes only a path whose folder exists; adds no extension.
    virtual std::optional<QString> chooseFileToSave(const FileDialogRequest& request) = 0;
    virtual std::optional<FontChoice> chooseFont(const FontChoice& preset) = 0;
    virtual std::optional<Rgb> chooseColor(const Rgb& initial) = 0;
    virtual Answer ask(const Question& question) = 0;
    // A whole number within the question's limits, or nothing when cancelled.
    virtual std::optional<int> askNumber(const NumberQuestion& question) = 0;
    // Tells the user that something failed; a warning icon and an OK button.
    virtual void warn(const QString& title, const QString& text) = 0;
    // The About box: question-mark icon, one OK button.
    virtual void showAbout(const QString& title, const QString& text) = 0;
};

}  // namespace fretloom
