#include "ui/QtDialogService.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace fretloom {

std::optional<QString> QtDialogService::chooseFileToOpen(const FileDialogRequest& request) {
    QFileDialog dialog(parent_, QString(), request.startPath, request.filter);
    // Qt's own dialog behaves the same on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!request.startPath.isEmpty())
        dialog.selectFile(request.startPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtDialogService::chooseFileToSave(const FileDialogRequest& request) {
    QFileDialog dialog(parent_, QString(), request.startPath, request.filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Asking before replacing is the default; no suffix is added to a name typed without one.
    if (!request.startPath.isEmpty())
        dialog.selectFile(request.startPath);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString chosen = dialog.selectedFiles().constFirst();
        // Qt's dialog takes a name in a folder that does not exist; ask again instead.
        const QDir folder = QFileInfo(chosen).absoluteDir();
        if (folder.exists())
            return chosen;
        QMessageBox::warning(&dialog, dialog.windowTitle(),
                             QStringLiteral("The folder \"%1\" does not exist.")
                                 .arg(QDir::toNativeSeparators(folder.path())));
    }
    return std::nullopt;
}

std::optional<FontChoice> QtDialogService::chooseFont(const FontChoice& preset) {
    QFont initial(preset.family);
    initial.setBold(preset.bold);
    initial.setItalic(preset.italic);
    initial.setPointSizeF(preset.pointSize);
    // The dialog can only preselect a face the font system lists. A face it merely stands in
    // for (Times New Roman is often Liberation Serif) opens on its stand-in, and choosing that
    // stand-in unchanged keeps the name the tab box had.
    const QString standIn = QFontInfo(initial).family();
    const bool listed = QFontDatabase::families().contains(preset.family);
    if (!listed)
        initial.setFamily(standIn);
    bool accepted = false;
    const QFont font = QFontDialog::getFont(&accepted, initial, parent_);
    if (!accepted)
        return std::nullopt;
    const QString family = !listed && font.family() == standIn ? preset.family : font.family();
    // Bitmap faces are sized in pixels and report no point size of their own.
    const double pointSize =
        font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    return FontChoice{family, font.bold(), font.italic(), pointSize};
}

std::optional<Rgb> QtDialogService::chooseColor(const Rgb& initial) {
    const QColor colour =
        QColorDialog::getColor(QColor(initial.red, initial.green, initial.blue), parent_);
    if (!colour.isValid())
        return std::nullopt;
    return Rgb{colour.red(), colour.green(), colour.blue()};
}

Answer QtDialogService::ask(const Question& question) {
    QMessageBox box(parent_);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(question.title);
    box.setText(question.text);
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (question.buttons == QuestionButtons::YesNoCancel)
        buttons |= QMessageBox::Cancel;
    box.setStandardButtons(buttons);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // The close box of a Yes/No question counts as No: nothing is lost by it.
        return question.buttons == QuestionButtons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
}

std::optional<int> QtDialogService::askNumber(const NumberQuestion& question) {
    bool accepted = false;
    const int value = QInputDialog::getInt(parent_, question.title, question.label, question.value,
                                           question.minimum, question.maximum, 1, &accepted);
    if (!accepted)
        return std::nullopt;
    return value;
}

void QtDialogService::warn(const QString& title, const QString& text) {
    QMessageBox::warning(parent_, title, text);
}

void QtDialogService::showAbout(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok, parent_);
    box.exec();
}

}  // namespace fretloom
