#pragma once

#include "playback/Performance.h"
#include "sheet/Grid.h"
#include "sheet/SheetAccess.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;

namespace fretloom {

class Announcement;
class ChordPickerWindow;
class DialogService;
class FileSystem;
class FluidSynthPlayer;
class Playback;
class StraightLine;
class TabBox;
class TabFiles;
class TabMarker;
class WindowDocument;

// The main window. Its controls are the tab sheet: the cells, the row labels, the convert
// item's caption and the tab box are read and written at the moment a command runs. Every
// control carries its design name as its object name ("e1", "Label1", "wow", "con", ...).
class MainWindow : public QMainWindow, public GridColumnCells, public StringCaptions {
    Q_OBJECT

public:
    // Shows its dialogs through `dialogs`, or through the Qt dialogs when none is given.
    explicit MainWindow(DialogService* dialogs = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    QLineEdit* cell(Row row, int column) const { return cells_[index(row)][column - 1]; }
    QLabel* rowLabel(Row row) const { return rowLabels_[index(row)]; }
    StraightLine* stringLine(Row row) const { return stringLines_[index(row)]; }
    TabBox* tabBox() const { return wow_; }
    DialogService& dialogs() const { return *dialogs_; }

    Grid readGrid() const;
    // Writes the cells whose text differs from the grid's.
    void writeGrid(const Grid& grid);
    RowCaptions readCaptions() const;
    // Renames a string: its row label and the names its cells carry for screen readers.
    void setRowCaption(Row row, const QString& caption) override;
    // Writes a chord shape or bar line down one column.
    void writeColumn(int column, const std::array<QString, kStringCount>& texts) override;

    // Registers one of the program's modeless windows: it closes when this window closes.
    void keepBeside(QWidget* window);

    // Open, Save and the leaving rule, with the current path.
    TabFiles& tabFiles() const { return *tabFiles_; }
    // The window title as it shows, whatever Qt makes of "[*]" in it.
    QString title() const;

    // Play and Stop, with the synthesizer unless a test gives it another player.
    Playback& playback() const { return *playback_; }

public slots:
    // Enter: fills the empty cells and appends the bar block to the tab box.
    void enterBar();
    // Clear and Clear All.
    void clearGrid();
    void showAbout();
    // con: one step of the cycle guitar, bass, five-string.
    void convertInstrument();
    // chg: shows the string notes window, or brings the open one forward as the user left it.
    void showStringNotes();
    // Chords/Bar lines: opens the chord picker, or brings the open one to the front as it is.
    void showChordPicker();
    // Export MIDI: the whole tab as a MIDI file at this run's tempo.
    void exportMidiFile();
    // Print, Change Font, Back Ground, Text Color and Hide Tab Box.
    void printTab();
    void changeFont();
    void changeBackground();
    void changeTextColour();
    void toggleTabBox();
    // The Play menu: Play Tab, Play Grid, Stop and Tempo.
    void playTab();
    void playGrid();
    void stopPlaying();
    void askTempo();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void closeSecondaryWindows();
    // Shows a modeless window of the program's, restored if minimized, in front and active.
    static void bringForward(QWidget* window);
    void buildSheet();
    void buildMenus();
    void connectPrintAndAppearance();
    void setKeyboardOrder();
    void describeForScreenReaders();
    // Names and describes every cell by its string as the row labels and the instrument show it.
    void voiceStrings();
    // Tells a screen reader that Enter added a bar, and which.
    void announceBar();
    void connectTabFiles();
    void buildPlayMenu(QMenuBar* bar);
    QAction* addMenuCommand(QMenu* menu, const char* name, const QString& caption, Qt::Key key,
                            Qt::KeyboardModifiers more = {});

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

    QAction* pen1_ = nullptr;
    QAction* ave1_ = nullptr;
    QAction* saveAs_ = nullptr;
    QAction* xport1_ = nullptr;
    QAction* rint1_ = nullptr;
    QAction* fnt_ = nullptr;
    QAction* chg_ = nullptr;
    QAction* bg_ = nullptr;
    QAction* tc_ = nullptr;
    QAction* hider_ = nullptr;
    QAction* con_ = nullptr;
    QAction* deldel_ = nullptr;
    QAction* chr_ = nullptr;
    QAction* about_ = nullptr;
    QAction* playTab_ = nullptr;
    QAction* playGrid_ = nullptr;
    QAction* stop_ = nullptr;
    QAction* tempo_ = nullptr;

    // The tempo of this run, kept for no other.
    int beatsPerMinute_ = kDefaultBeatsPerMinute;

    QList<QPointer<QWidget>> secondaryWindows_;
    QPointer<QWidget> form5_;
    QPointer<ChordPickerWindow> chordPicker_;

    std::unique_ptr<FileSystem> files_;
    std::unique_ptr<WindowDocument> document_;
    std::unique_ptr<TabFiles> tabFiles_;

    // The player goes after the playback that uses it.
    std::unique_ptr<FluidSynthPlayer> synthesizer_;
    std::unique_ptr<Playback> playback_;
    TabMarker* tabMarker_ = nullptr;
};

}  // namespace fretloom
