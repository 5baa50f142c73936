#pragma once

#include "sheet/Grid.h"
#include "sheet/SheetWindow.h"
#include "ui/TabBox.h"
#include "widgets/StraightLine.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace fretloom {

class Announcement;
class ConvertCommand;
class FileCommands;
class PlayMenu;
class Playback;
class TabFiles;

// The main window. Its controls are the tab sheet: the cells, the row labels, the convert
// item's caption and the tab box are read and written at the moment a command runs. Every
// control carries its design name as its object name ("e1", "Label1", "wow", "con", ...). The
// commands of its menus live beside the subsystems they drive and reach the sheet through
// SheetWindow; this window builds the sheet and puts the menus on its bar.
class MainWindow : public QMainWindow, public SheetWindow {
    Q_OBJECT

public:
    // Shows its dialogs through `dialogs`, or through the Qt dialogs when none is given.
    explicit MainWindow(DialogService* dialogs = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    QWidget& mainWindow() override { return *this; }
    DialogService& dialogs() const override { return *dialogs_; }

    QLineEdit* cell(Row row, int column) const override { return cells_[index(row)][column - 1]; }
    QLabel* rowLabel(Row row) const override { return rowLabels_[index(row)]; }
    StraightLine* stringLine(Row row) const override { return stringLines_[index(row)]; }
    TabBox* tabBox() const override { return wow_; }

    Grid readGrid() const override;
    void writeGrid(const Grid& grid) override;
    RowCaptions readCaptions() const override;
    QString modeCaption() const override;
    // Renames a string: its row label and the names its cells carry for screen readers.
    void setRowCaption(Row row, const QString& caption) override;
    // Writes a chord shape or bar line down one column.
    void writeColumn(int column, const std::array<QString, kStringCount>& texts) override;

    QString tabText() const override { return wow_->exactText(); }
    void setTabText(const QString& text) override { wow_->setExactText(text); }
    bool tabIsEmpty() const override { return wow_->isEmptyText(); }
    // The window title as it shows, whatever Qt makes of "[*]" in it.
    QString title() const override;
    void setTitle(const QString& title) override;

    void setClientHeight(int twips) override;
    void keepBeside(QWidget* window) override;

    // Open, Save and the leaving rule, with the current path.
    TabFiles& tabFiles() const;
    // Play and Stop, with the synthesizer unless a test gives it another player.
    Playback& playback() const;

public slots:
    // Enter: fills the empty cells and appends the bar block to the tab box.
    void enterBar();
    // Clear and Clear All.
    void clearGrid();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void closeSecondaryWindows();
    void buildSheet();
    void buildMenus();
    // Hands the keys of every command on the menu bar back to it from the cells and the tab box.
    void guardMenuShortcuts();
    void setKeyboardOrder();
    void describeForScreenReaders();
    // Names and describes every cell by its string as the row labels and the instrument show it.
    void voiceStrings();
    // Tells a screen reader that Enter added a bar, and which.
    void announceBar();

    std::unique_ptr<DialogService> ownDialogs_;
    DialogService* dialogs_;

    QWidget* sheet_ = nullptr;
    std::array<std::array<QLineEdit*, kColumnCount>, kStringCount> cells_{};
    std::array<QLabel*, kStringCount> rowLabels_{};
    std::array<StraightLine*, kStringCount> stringLines_{};
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    TabBox* wow_ = nullptr;
    Announcement* announcement_ = nullptr;

    // The commands this window itself needs: the leaving rule, the mode, and stopping at close.
    FileCommands* files_ = nullptr;
    ConvertCommand* con_ = nullptr;
    PlayMenu* play_ = nullptr;

    QList<QPointer<QWidget>> secondaryWindows_;
};

}  // namespace fretloom
