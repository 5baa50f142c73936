#include "documents/TabFiles.h"

#include "documents/FileSystem.h"
#include "sheet/DialogService.h"

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

FileDialogRequest dialogRequest(const QString& currentPath) {
    return {QString::fromUtf16(kTabFileFilter), currentPath};
}

Question saveQuestion(const char16_t* text, QuestionButtons buttons) {
    return {QString::fromUtf16(kSaveQuestionTitle), QString::fromUtf16(text), buttons};
}

}  // namespace

QString titleForPath(const QString& path) {
    return u"Fretloom - ("_s + path + u')';
}

TabFiles::TabFiles(DocumentView& view, DialogService& hell, FileSystem& files)
    : view_(view), hell_(hell), files_(files) {}

void TabFiles::open() {
    if (!view_.tabIsEmpty()) {
        const Answer answer = hell_.ask(saveQuestion(kSaveBeforeOpening, QuestionButtons::YesNo));
        // The user asked for the tab to be kept: it is not replaced unless it was.
        if (answer == Answer::Yes && !Saver())
            return;
    }

    if (const std::optional<QString> chosen = hell_.chooseFileToOpen(dialogRequest(currentPath_)))
        openFile(*chosen);
}

DecodedTab readTabFile(FileSystem& files, const QString& path) {
    const ReadResult read = files.readWholeFile(path);
    if (!read.ok)
        return {{}, TextEncoding::Windows1252, read.reason};
    return decodeTabFile(read.bytes);
}

bool TabFiles::openFile(const QString& path) {
    DecodedTab decoded = readTabFile(files_, path);
    if (!decoded.problem.isEmpty()) {
        hell_.warn(u"Open"_s, u"Could not open \"%1\".\n\n%2"_s.arg(path, decoded.problem));
        return false;
    }
    view_.setTabText(decoded.text);
    currentPath_ = path;
    encoding_ = decoded.encoding;
    view_.setTitle(titleForPath(currentPath_));
    return true;
}

void TabFiles::save() {
    if (view_.title() == QStringView(kUntitledTitle))
        Saver();
    else
        Saver1();
}

bool TabFiles::Saver() {
    const std::optional<QString> chosen = hell_.chooseFileToSave(dialogRequest(currentPath_));
    if (!chosen || !writeTo(*chosen))
        return false;
    currentPath_ = *chosen;
    view_.setTitle(titleForPath(currentPath_));
    return true;
}

bool TabFiles::Saver1() {
    if (!writeTo(currentPath_))
        return false;
    view_.setTitle(titleForPath(currentPath_));
    return true;
}

bool TabFiles::leaving() {
    if (view_.tabIsEmpty())
        return true;
    switch (hell_.ask(saveQuestion(kSaveBeforeLeaving, QuestionButtons::YesNoCancel))) {
    case Answer::Yes:
        // Only a tab that reached its file may go.
        return Saver();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool TabFiles::writeTo(const QString& path) {
    EncodedTab encoded = encodeTabFile(view_.tabText(), encoding_);
    const WriteResult written = files_.replaceFile(path, encoded.bytes);
    if (!written.ok) {
        const QString aftermath =
            written.mayBeDamaged
                ? u"The file may be damaged. The tab is still in the window: save it again, or "
                  u"under another name with Save As."_s
                : u"Any file of that name was left as it was."_s;
        hell_.warn(u"Save"_s, u"Could not save the tab to \"%1\".\n\n%2\n%3"_s.arg(
                                  path, written.reason, aftermath));
        return false;
    }
    encoding_ = encoded.encoding;
    if (encoded.unstorableCharacters == 1) {
        hell_.warn(u"Save"_s, u"The tab was saved to \"%1\", but one of its characters was half "
                              u"of a character pair, which this file cannot hold; it was saved "
                              u"as \uFFFD."_s.arg(path));
    } else if (encoded.unstorableCharacters > 1) {
        hell_.warn(
            u"Save"_s,
            u"The tab was saved to \"%1\", but %2 of its characters were halves of a "
            u"character pair, which this file cannot hold; they were saved as \uFFFD."_s.arg(path)
                .arg(encoded.unstorableCharacters));
    }
    return true;
}

}  // namespace fretloom
