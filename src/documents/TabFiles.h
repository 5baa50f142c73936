#pragma once

#include "documents/TabFileFormat.h"
#include "sheet/SheetAccess.h"

#include <QString>

namespace fretloom {

class DialogService;
class FileSystem;

inline constexpr char16_t kUntitledTitle[] = u"Fretloom - (Untitled)";
inline constexpr char16_t kTabFileFilter[] = u"Text Tab Files (*.txt)";
inline constexpr char16_t kSaveQuestionTitle[] = u"Save";
inline constexpr char16_t kSaveBeforeOpening[] =
    u"Would you like to save before opening a new file?";
inline constexpr char16_t kSaveBeforeLeaving[] = u"Would you like to save before leaving?";

// "Fretloom - (" + path + ")".
QString titleForPath(const QString& path);

// A tab file read as Open reads it: its text and encoding, or in `problem` why it cannot be
// opened.
DecodedTab readTabFile(FileSystem& files, const QString& path);

// Open, Save, `Saver`, `Saver1` and the leaving rule. The current path lives here; the title
// always names the file that Save writes to. A failed read or write is shown through the
// dialog service's warning, naming the file and the reason, and changes nothing.
class TabFiles {
public:
    TabFiles(DocumentView& view, DialogService& hell, FileSystem& files);

    // pen1: offers a save when the tab box is not empty, then loads the file the user picks.
    void open();
    // Loads `path` into the tab box and makes it the current path; on failure a warning names
    // the file and the reason, and nothing changes. True when the file was loaded.
    bool openFile(const QString& path);
    // ave1: `Saver` while untitled, `Saver1` otherwise.
    void save();
    // Save As: always asks for the path, then saves as Save does; true when the file was written.
    bool saveAs() { return Saver(); }
    // Saves under a name chosen in the save dialog; true when the file was written.
    bool Saver();
    // Saves under the current path without a dialog; true when the file was written.
    bool Saver1();
    // The main window is about to close: true when it may.
    bool leaving();

    const QString& currentPath() const { return currentPath_; }

private:
    bool writeTo(const QString& path);

    DocumentView& view_;
    DialogService& hell_;
    FileSystem& files_;
    QString currentPath_;
    TextEncoding encoding_ = TextEncoding::Windows1252;
};

}  // namespace fretloom
