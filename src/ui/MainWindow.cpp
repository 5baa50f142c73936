#include "ui/MainWindow.h"

#include "appearance/TabBoxLook.h"
#include "chords/ChordPicker.h"
#include "chords/ChordPickerCommand.h"
#include "documents/FileCommands.h"
#include "instruments/ConvertCommand.h"
#include "instruments/InstrumentMode.h"
#include "playback/PlayMenu.h"
#include "playback/Playback.h"
#include "sheet/AccessibleNames.h"
#include "sheet/Bar.h"
#include "ui/Announcement.h"
#include "ui/MenuBarFocusReturn.h"
#include "ui/MenuShortcutGuard.h"
#include "ui/Menus.h"
#include "ui/QtDialogService.h"
#include "ui/WindowTitle.h"
#include "widgets/DialogFont.h"
#include "widgets/ProgramIcon.h"
#include "widgets/ReturnPressesButton.h"
#include "widgets/SingleLineBox.h"
#include "widgets/Twips.h"

#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

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
    setKeyboardOrder();
    describeForScreenReaders();
    pressFocusedButtonOnReturn(this);

    // The window takes the size of the client area and the menu bar; the user cannot resize it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    cells_[0][0]->setFocus();
}

MainWindow::~MainWindow() {
    // Playing marks the tab box, which goes before the menus do.
    play_->playback().stop();
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

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    files_ = new FileCommands(*this, this);
    con_ = new ConvertCommand(*this, this);
    connect(con_, &ConvertCommand::converted, this, &MainWindow::voiceStrings);
    play_ = new PlayMenu(*this, bar);

    // The menu bar, left to right.
    bar->addMenu(fileMenu(*this, *files_, *play_, bar));
    bar->addMenu(formatMenu(*this, *con_, bar));
    bar->addAction(new ChordPickerCommand(*this, bar));
    bar->addMenu(play_);
    bar->addAction(aboutCommand(*dialogs_, bar));

    guardMenuShortcuts();
    new MenuBarFocusReturn(bar);
}

void MainWindow::guardMenuShortcuts() {
    auto* guard = new MenuShortcutGuard(windowCommands(*this), this);
    for (const auto& row : cells_)
        for (QLineEdit* cell : row)
            cell->installEventFilter(guard);
    wow_->installEventFilter(guard);
}

QString MainWindow::title() const {
    return unescapeTitlePlaceholders(windowTitle());
}

void MainWindow::setTitle(const QString& title) {
    setWindowTitle(escapeTitlePlaceholders(title));
}

TabFiles& MainWindow::tabFiles() const {
    return files_->tabFiles();
}

Playback& MainWindow::playback() const {
    return play_->playback();
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

QString MainWindow::modeCaption() const {
    return con_->text();
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
    const auto voices = stringVoices(readCaptions(), shownRows(modeFromCaption(modeCaption())));
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
    // says what it holds, as each menu does where it is made.
    command2_->setAccessibleDescription(u"Empties every cell of the grid; the tab stays"_s);
    wow_->setAccessibleName(u"Tab"_s);
    wow_->setAccessibleDescription(u"The whole tab as text; Enter adds each bar at its end"_s);
}

void MainWindow::enterBar() {
    Grid grid = readGrid();
    const QString block = commitBar(grid, readCaptions(), modeCaption());
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

void MainWindow::setClientHeight(int twips) {
    // The window is as high as its client area and menu bar, so it follows the sheet.
    sheet_->setFixedHeight(twipsToPixels(twips));
    layout()->activate();
}

void MainWindow::keepBeside(QWidget* window) {
    secondaryWindows_.removeAll(nullptr);
    if (!secondaryWindows_.contains(window))
        secondaryWindows_.append(window);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The leaving rule: a tab the user wants saved keeps the window open until it is.
    if (!tabFiles().leaving()) {
        event->ignore();
        return;
    }
    event->accept();
    play_->playback().stop();
    closeSecondaryWindows();
}

void MainWindow::closeSecondaryWindows() {
    // The program ends with this window; its other windows go with it.
    for (const QPointer<QWidget>& window : std::as_const(secondaryWindows_))
        if (window)
            window->close();
    secondaryWindows_.clear();
}

}  // namespace fretloom
