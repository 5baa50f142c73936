#include "ui/MainWindow.h"

#include "appearance/TabBoxLook.h"
#include "chords/ChordPicker.h"
#include "chords/ChordPickerWindow.h"
#include "documents/FileSystem.h"
#include "documents/TabFiles.h"
#include "documents/TabPrinter.h"
#include "instruments/InstrumentMode.h"
#include "playback/FluidSynthPlayer.h"
#include "playback/MidiExport.h"
#include "playback/Playback.h"
#include "playback/TabMarker.h"
#include "sheet/AccessibleNames.h"
#include "sheet/Bar.h"
#include "tuning/StringNotesWindow.h"
#include "ui/Announcement.h"
#include "ui/MenuBarFocusReturn.h"
#include "ui/MenuShortcutGuard.h"
#include "ui/QtDialogService.h"
#include "ui/TabBox.h"
#include "ui/WindowDocument.h"
#include "widgets/DialogFont.h"
#include "widgets/ProgramIcon.h"
#include "widgets/ReturnPressesButton.h"
#include "widgets/SingleLineBox.h"
#include "widgets/StraightLine.h"
#include "widgets/Twips.h"

#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>
#include <optional>

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

// Client area of the window, in twips.
constexpr int kClientWidth = 11655;
constexpr int kClientHeight = kShownClientHeight;
constexpr int kTabBoxTop = 3360;
static_assert(kHiddenClientHeight <= kTabBoxTop, "hiding leaves none of the tab box in view");

// The form's background: the classic "inactive caption text" system colour, which Linux
// desktops have no equivalent for.
constexpr QColor kFormBackground(212, 208, 200);

constexpr int rowTop(int row) {
    return 480 * (row + 1);
}
constexpr int columnLeft(int column) {
    return 720 + 600 * (column - 1);
}

QLabel* addLabel(QWidget* parent, const QString& name, const QString& caption, QRect twips) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(twips);
    return label;
}

}  // namespace

MainWindow::MainWindow(DialogService* dialogs, QWidget* parent) : QMainWindow(parent) {
    if (!dialogs) {
        ownDialogs_ = std::make_unique<QtDialogService>(this);
        dialogs = ownDialogs_.get();
    }
    dialogs_ = dialogs;

    setObjectName(u"Form1"_s);
    setWindowTitle(u"Fretloom - (Untitled)"_s);
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    buildSheet();
    buildMenus();
    connectTabFiles();
    setKeyboardOrder();
    describeForScreenReaders();
    pressFocusedButtonOnReturn(this);

    // The window takes the size of the client area and the menu bar; the user cannot resize it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    cells_[0][0]->setFocus();
}

MainWindow::~MainWindow() {
    // The secondary windows write into this one; they go with it.
    for (const QPointer<QWidget>& window : std::as_const(secondaryWindows_))
        delete window.data();
}

void MainWindow::buildSheet() {
    sheet_ = new QWidget(this);
    sheet_->setObjectName(u"sheet"_s);
    sheet_->setFixedSize(twipsSize(kClientWidth, kClientHeight));
    QPalette palette = sheet_->palette();
    palette.setColor(QPalette::Window, kFormBackground);
    sheet_->setPalette(palette);
    sheet_->setAutoFillBackground(true);
    sheet_->setFont(dialogFont());
    setCentralWidget(sheet_);

    // Lines first: later siblings are drawn above them, so the strings show between the cells.
    auto* topEdge = new StraightLine(0, 11880, 0, Qt::black, sheet_);
    topEdge->setObjectName(u"Line91"_s);
    for (int r = 0; r < kStringCount; ++r) {
        stringLines_[r] = new StraightLine(720, 10080, rowTop(r) + 120, QColor(), sheet_);
        stringLines_[r]->setObjectName(u"Line%1"_s.arg(r + 1));
    }

    addLabel(sheet_, u"Label8"_s, u"Number:"_s, twipsRect(0, 120, 615, 255));
    for (int column = 1; column <= kColumnCount; ++column) {
        // One-digit numbers stand a little right of their column's left edge, two-digit ones on it.
        const bool oneDigit = column < 10;
        addLabel(
            sheet_, u"Label%1"_s.arg(column + 8), QString::number(column),
            twipsRect(columnLeft(column) + (oneDigit ? 120 : 0), 120, oneDigit ? 135 : 255, 255));
    }

    const RowCaptions captions = standardCaptions();
    for (int r = 0; r < kStringCount; ++r) {
        rowLabels_[r] = addLabel(sheet_, u"Label%1"_s.arg(r + 1), captions[r],
                                 twipsRect(240, rowTop(r), 255, 255));
        for (int column = 1; column <= kColumnCount; ++column) {
            auto* cell = new QLineEdit(sheet_);
            cell->setObjectName(cellName(kAllRows[r], column));
            keepToOneLine(cell, kCellMaxLength);
            cell->setGeometry(twipsRect(columnLeft(column), rowTop(r), 375, 285));
            cells_[r][column - 1] = cell;
        }
    }

    command1_ = new QPushButton(u"Enter"_s, sheet_);
    command1_->setObjectName(u"Command1"_s);
    command1_->setGeometry(twipsRect(10560, 600, 615, 375));
    command1_->setToolTip(u"This will enter the current information"_s);
    command1_->setAutoDefault(false);
    connect(command1_, &QPushButton::clicked, this, &MainWindow::enterBar);

    command2_ = new QPushButton(u"Clear"_s, sheet_);
    command2_->setObjectName(u"Command2"_s);
    command2_->setGeometry(twipsRect(10560, 1800, 615, 375));
    command2_->setAutoDefault(false);
    connect(command2_, &QPushButton::clicked, this, &MainWindow::clearGrid);

    wow_ = new TabBox(sheet_);
    wow_->setObjectName(u"wow"_s);
    wow_->setGeometry(twipsRect(120, kTabBoxTop, 11415, 3495));
    QFont tabFont = wow_->font();
    applyTabFont(tabFont, startTabFont());
    wow_->setFont(tabFont);
    wow_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    wow_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    wow_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    wow_->setTabChangesFocus(true);
}

QAction* MainWindow::addMenuCommand(QMenu* menu, const char* name, const QString& caption,
                                    Qt::Key key, Qt::KeyboardModifiers more) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(QKeySequence(QKeyCombination(Qt::ControlModifier | more, key)));
    return action;
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu(u"File"_s);
    file->setObjectName(u"File"_s);
    pen1_ = addMenuCommand(file, "pen1", u"Open"_s, Qt::Key_O);
    ave1_ = addMenuCommand(file, "ave1", u"Save"_s, Qt::Key_S);
    saveAs_ = addMenuCommand(file, "saveAs", u"Save As\u2026"_s, Qt::Key_S, Qt::ShiftModifier);
    xport1_ = addMenuCommand(file, "xport1", u"Export MIDI\u2026"_s, Qt::Key_E);
    rint1_ = addMenuCommand(file, "rint1", u"Print"_s, Qt::Key_P);

    QMenu* format = bar->addMenu(u"Format"_s);
    format->setObjectName(u"Format"_s);
    fnt_ = addMenuCommand(format, "fnt", u"Change Font"_s, Qt::Key_F);
    chg_ = addMenuCommand(format, "chg", u"Change String Notes "_s, Qt::Key_N);
    bg_ = addMenuCommand(format, "bg", u"Back Ground"_s, Qt::Key_G);
    tc_ = addMenuCommand(format, "tc", u"Text Color"_s, Qt::Key_T);
    hider_ = addMenuCommand(format, "hider", u"Hide Tab Box"_s, Qt::Key_H);
    hider_->setCheckable(true);
    con_ = addMenuCommand(format, "con", u"Convert to bass"_s, Qt::Key_B);
    deldel_ = addMenuCommand(format, "deldel", u"Clear All"_s, Qt::Key_K);
    connect(deldel_, &QAction::triggered, this, &MainWindow::clearGrid);
    connect(con_, &QAction::triggered, this, &MainWindow::convertInstrument);
    connect(chg_, &QAction::triggered, this, &MainWindow::showStringNotes);

    chr_ = bar->addAction(u"Chords/Bar lines"_s);
    chr_->setObjectName(u"chr"_s);
    connect(chr_, &QAction::triggered, this, &MainWindow::showChordPicker);
    buildPlayMenu(bar);
    about_ = bar->addAction(u"About"_s);
    about_->setObjectName(u"About"_s);
    connect(about_, &QAction::triggered, this, &MainWindow::showAbout);

    QList<QAction*> commands = {pen1_, ave1_, saveAs_, xport1_, rint1_, fnt_,
                                chg_,  bg_,   tc_,     hider_,  con_,   deldel_};
    commands << playTab_ << playGrid_ << stop_;
    auto* guard = new MenuShortcutGuard(commands, this);
    for (const auto& row : cells_)
        for (QLineEdit* cell : row)
            cell->installEventFilter(guard);
    wow_->installEventFilter(guard);
    new MenuBarFocusReturn(bar);
    connectPrintAndAppearance();
}

void MainWindow::buildPlayMenu(QMenuBar* bar) {
    QMenu* play = bar->addMenu(u"Play"_s);
    play->setObjectName(u"Play"_s);
    play->setAccessibleName(play->title());
    play->setAccessibleDescription(
        u"Hear the tab from the caret's staff or the bar in the grid, stop, and set the tempo"_s);
    const auto addCommand = [play](const char* name, const QString& caption,
                                   const QKeySequence& shortcut) {
        QAction* action = play->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        return action;
    };
    playTab_ = addCommand("playTab", u"Play Tab"_s, QKeySequence(Qt::Key_F5));
    playGrid_ = addCommand("playGrid", u"Play Grid"_s, QKeySequence(Qt::SHIFT | Qt::Key_F5));
    stop_ = addCommand("stop", u"Stop"_s, QKeySequence(Qt::Key_Escape));
    tempo_ = addCommand("tempo", u"Tempo…"_s, QKeySequence());
    connect(playTab_, &QAction::triggered, this, &MainWindow::playTab);
    connect(playGrid_, &QAction::triggered, this, &MainWindow::playGrid);
    connect(stop_, &QAction::triggered, this, &MainWindow::stopPlaying);
    connect(tempo_, &QAction::triggered, this, &MainWindow::askTempo);

    synthesizer_ = std::make_unique<FluidSynthPlayer>();
    playback_ = std::make_unique<Playback>(*synthesizer_, *dialogs_);
    tabMarker_ = new TabMarker(wow_);
}

void MainWindow::connectPrintAndAppearance() {
    connect(rint1_, &QAction::triggered, this, &MainWindow::printTab);
    connect(fnt_, &QAction::triggered, this, &MainWindow::changeFont);
    connect(bg_, &QAction::triggered, this, &MainWindow::changeBackground);
    connect(tc_, &QAction::triggered, this, &MainWindow::changeTextColour);
    connect(hider_, &QAction::triggered, this, &MainWindow::toggleTabBox);
}

void MainWindow::connectTabFiles() {
    files_ = std::make_unique<DiskFileSystem>();
    document_ = std::make_unique<WindowDocument>(this, wow_);
    tabFiles_ = std::make_unique<TabFiles>(*document_, *dialogs_, *files_);
    connect(pen1_, &QAction::triggered, this, [this] { tabFiles_->open(); });
    connect(ave1_, &QAction::triggered, this, [this] { tabFiles_->save(); });
    connect(saveAs_, &QAction::triggered, this, [this] { tabFiles_->saveAs(); });
    connect(xport1_, &QAction::triggered, this, &MainWindow::exportMidiFile);
}

QString MainWindow::title() const {
    return document_->title();
}

void MainWindow::setKeyboardOrder() {
    QWidget* previous = nullptr;
    for (const auto& row : cells_) {
        for (QLineEdit* cell : row) {
            if (previous)
                setTabOrder(previous, cell);
            previous = cell;
        }
    }
    setTabOrder(previous, command1_);
    setTabOrder(command1_, wow_);
    setTabOrder(wow_, command2_);
}

Grid MainWindow::readGrid() const {
    Grid grid;
    for (int r = 0; r < kStringCount; ++r)
        for (int c = 0; c < kColumnCount; ++c)
            grid.rows[r][c] = cells_[r][c]->text();
    return grid;
}

void MainWindow::writeGrid(const Grid& grid) {
    for (int r = 0; r < kStringCount; ++r)
        for (int c = 0; c < kColumnCount; ++c)
            if (cells_[r][c]->text() != grid.rows[r][c])
                cells_[r][c]->setText(grid.rows[r][c]);
}

RowCaptions MainWindow::readCaptions() const {
    RowCaptions captions;
    for (int r = 0; r < kStringCount; ++r)
        captions[r] = rowLabels_[r]->text();
    return captions;
}

void MainWindow::setRowCaption(Row row, const QString& caption) {
    rowLabel(row)->setText(caption);
    voiceStrings();
}

void MainWindow::voiceStrings() {
    // A new name can make two strings sound alike, and the instrument decides which strings
    // are on screen: every cell is told again.
    const auto voices = stringVoices(readCaptions(), shownRows(modeFromCaption(con_->text())));
    for (Row row : kAllRows) {
        const StringVoice& voice = voices[index(row)];
        for (int column = 1; column <= kColumnCount; ++column) {
            QLineEdit* box = cell(row, column);
            const QString name = accessibleCellName(voice, column);
            if (box->accessibleName() != name)
                box->setAccessibleName(name);
            if (box->accessibleDescription() != voice.description)
                box->setAccessibleDescription(voice.description);
        }
    }
}

void MainWindow::writeColumn(int column, const std::array<QString, kStringCount>& texts) {
    Grid grid = readGrid();
    placeChord(grid, column, texts);
    writeGrid(grid);
}

void MainWindow::describeForScreenReaders() {
    voiceStrings();
    announcement_ = new Announcement(sheet_);
    announcement_->setObjectName(u"announcement"_s);
    // The buttons are named by their captions and described by their tooltips; the tab box
    // and the menus say what they hold.
    command2_->setAccessibleDescription(u"Empties every cell of the grid; the tab stays"_s);
    wow_->setAccessibleName(u"Tab"_s);
    wow_->setAccessibleDescription(u"The whole tab as text; Enter adds each bar at its end"_s);
    const auto describeMenu = [this](const QString& name, const QString& description) {
        QMenu* menu = menuBar()->findChild<QMenu*>(name);
        menu->setAccessibleName(menu->title());
        menu->setAccessibleDescription(description);
    };
    describeMenu(u"File"_s, u"Open, save, export and print the tab"_s);
    describeMenu(u"Format"_s, u"The tab box's font, colours and visibility, the string names, "
                              u"the instrument, and clearing the grid"_s);
}

void MainWindow::enterBar() {
    Grid grid = readGrid();
    const QString block = commitBar(grid, readCaptions(), con_->text());
    writeGrid(grid);
    wow_->appendExact(block);
    announceBar();
}

void MainWindow::announceBar() {
    // The focus stays where it was, so nothing tells a screen reader of the new bar unless it
    // is announced. Counting walks the whole tab, which only a listening screen reader needs.
    if (QAccessible::isActive())
        announcement_->announce(u"Bar %1 added"_s.arg(countBars(wow_->exactText())));
}

void MainWindow::clearGrid() {
    Grid grid = readGrid();
    deldeldel(grid);
    writeGrid(grid);
}

void MainWindow::convertInstrument() {
    const std::optional<ConvertStep> step = convertStep(con_->text());
    if (!step)
        return;

    // A hidden cell must not keep the focus. Move it first, to the same column of the top row
    // left on screen, so that it does not hop through the cells while they disappear.
    if (auto* focused = qobject_cast<QLineEdit*>(focusWidget())) {
        for (const VisibilityChange& change : step->changes) {
            if (change.part != RowPart::Cells || change.shown)
                continue;
            const auto& row = cells_[index(change.row)];
            const auto found = std::find(row.begin(), row.end(), focused);
            if (found == row.end())
                continue;
            const Row top = shownRows(modeFromCaption(step->caption)).front();
            cell(top, static_cast<int>(found - row.begin()) + 1)->setFocus();
            break;
        }
    }

    for (const VisibilityChange& change : step->changes) {
        switch (change.part) {
        case RowPart::Label:
            rowLabel(change.row)->setVisible(change.shown);
            break;
        case RowPart::Line:
            stringLine(change.row)->setVisible(change.shown);
            break;
        case RowPart::Cells:
            for (QLineEdit* box : cells_[index(change.row)])
                box->setVisible(change.shown);
            break;
        }
    }
    // The caption is the mode: it changes last, once the rows are as it says.
    con_->setText(step->caption);
    voiceStrings();
}

void MainWindow::showStringNotes() {
    // A window that has been closed is only waiting to be deleted; the next one starts afresh.
    if (!form5_ || form5_->isHidden()) {
        form5_ = new StringNotesWindow(*this, this);
        keepBeside(form5_);
    }
    bringForward(form5_);
}

void MainWindow::exportMidiFile() {
    exportMidi(wow_->exactText(), beatsPerMinute_, tabFiles_->currentPath(), *dialogs_, *files_);
}

void MainWindow::printTab() {
    printToDefaultPrinter(*dialogs_, wow_->exactText(), printerFont(tabFontOf(wow_->font())),
                          title());
}

void MainWindow::changeFont() {
    changeTabBoxFont(*wow_, *dialogs_);
}

void MainWindow::changeBackground() {
    changeTabBoxColour(*wow_, QPalette::Base, *dialogs_);
}

void MainWindow::changeTextColour() {
    changeTabBoxColour(*wow_, QPalette::Text, *dialogs_);
}

void MainWindow::toggleTabBox() {
    const bool hidden = hider_->isChecked();
    // The window is as high as its client area and menu bar, so it follows the sheet.
    sheet_->setFixedHeight(twipsToPixels(clientHeight(hidden)));
    layout()->activate();
    // Out of view, the box keeps its text and still takes Enter, but no keystrokes: typing into
    // it unseen would change the tab behind the user's back.
    if (hidden) {
        if (wow_->hasFocus())
            cells_[0][0]->setFocus();
        wow_->setFocusPolicy(Qt::NoFocus);
    } else {
        wow_->setFocusPolicy(Qt::StrongFocus);
    }
}

void MainWindow::playTab() {
    // What plays is the tab as it is now; the marks follow its bars through later edits.
    const QString text = wow_->exactText();
    const qsizetype caret = boxPositionsOf(*wow_, text).toText(wow_->textCursor().position());
    playback_->play(performTabFrom(text, caret, beatsPerMinute_), tabMarker_, text);
}

void MainWindow::playGrid() {
    // The bar as Enter would write it, from a copy: the grid keeps its empty cells.
    Grid grid = readGrid();
    const QString bar = commitBar(grid, readCaptions(), con_->text());
    playback_->play(performTab(bar, beatsPerMinute_));
}

void MainWindow::stopPlaying() {
    playback_->stop();
}

void MainWindow::askTempo() {
    const std::optional<int> chosen =
        dialogs_->askNumber({u"Tempo"_s, u"Beats per minute (30-300):"_s, beatsPerMinute_,
                             kMinBeatsPerMinute, kMaxBeatsPerMinute});
    if (chosen)
        beatsPerMinute_ = std::clamp(*chosen, kMinBeatsPerMinute, kMaxBeatsPerMinute);
}

void MainWindow::bringForward(QWidget* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::keepBeside(QWidget* window) {
    secondaryWindows_.removeAll(nullptr);
    if (!secondaryWindows_.contains(window))
        secondaryWindows_.append(window);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The leaving rule: a tab the user wants saved keeps the window open until it is.
    if (!tabFiles_->leaving()) {
        event->ignore();
        return;
    }
    event->accept();
    playback_->stop();
    closeSecondaryWindows();
}

void MainWindow::closeSecondaryWindows() {
    // The program ends with this window; its other windows go with it.
    for (const QPointer<QWidget>& window : std::as_const(secondaryWindows_))
        if (window)
            window->close();
    secondaryWindows_.clear();
}

void MainWindow::showChordPicker() {
    // A picker that has been closed is only waiting to be deleted; the next one starts afresh.
    if (!chordPicker_ || chordPicker_->isHidden()) {
        chordPicker_ = new ChordPickerWindow(*this, this);
        keepBeside(chordPicker_);
    }
    bringForward(chordPicker_);
}

void MainWindow::showAbout() {
    dialogs_->showAbout(u"About"_s, u"Fretloom, the plain-text tab editor, was written by the "
                                    u"Fretloom developers:\r\n"
                                    u"Questions and ideas are welcome on the project's issue "
                                    u"tracker."_s);
}

}  // namespace fretloom
