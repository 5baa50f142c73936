#pragma once

#include "sheet/DialogService.h"

class QWidget;

namespace fretloom {

// The dialog service with Qt's own dialogs, each modal to the given window. The dialogs keep
// nothing between runs: Qt's settings file of visited folders and custom colours is neither read
// nor written.
class QtDialogService : public DialogService {
public:
    explicit QtDialogService(QWidget* parent);

    std::optional<QString> chooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<QString> chooseFileToSave(const FileDialogRequest& request) override;
    std::optional<FontChoice> chooseFont(const FontChoice& preset) override;
    std::optional<Rgb> chooseColor(const Rgb& initial) override;
    Answer ask(const Question& question) override;
    std::optional<int> askNumber(const NumberQuestion& question) override;
    void warn(const QString& title, const QString& text) override;
    void showAbout(const QString& title, const QString& text) override;

private:
    QWidget* parent_;
};

}  // namespace fretloom
