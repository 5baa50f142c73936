#include "ui/MainWindow.h"

#include "documents/FileSystem.h"
#include "documents/TabFiles.h"
#include "sheet/Bar.h"
#include "ui/DialogFont.h"
#include "ui/MenuShortcutGuard.h"
#include "ui/ProgramIcon.h"
#include "ui/QtDialogService.h"
#include "ui/StraightLine.h"
#include "ui/TabBox.h"
#include "ui/Twips.h"
#include "ui/WindowDocument.h"

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
constexpr int kClientHeight = 6915;

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

    // The window takes the size of the client area and the menu bar; the user cannot resize it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    cells_[0][0]->setFocus();
}

MainWindow::~MainWindow() = default;

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
            cell->setMaxLength(kCellMaxLength);
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
    wow_->setGeometry(twipsRect(120, 3360, 11415, 3495));
    wow_->setFont(QFont(u"Times New Roman"_s, 12, QFont::Bold));
    wow_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    wow_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    wow_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    wow_->setTabChangesFocus(true);
}

QAction* MainWindow::addMenuCommand(QMenu* menu, const char* name, const QString& caption,
                                    Qt::Key key) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(QKeySequence(Qt::CTRL | key));
    return action;
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu(u"File"_s);
    file->setObjectName(u"File"_s);
    pen1_ = addMenuCommand(file, "pen1", u"Open"_s, Qt::Key_O);
    ave1_ = addMenuCommand(file, "ave1", u"Save"_s, Qt::Key_S);
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

    chr_ = bar->addAction(u"Chords/Bar lines"_s);
    chr_->setObjectName(u"chr"_s);
    about_ = bar->addAction(u"About"_s);
    about_->setObjectName(u"About"_s);
    connect(about_, &QAction::triggered, this, &MainWindow::showAbout);

    const QList<QAction*> commands = {pen1_, ave1_, rint1_, fnt_, chg_,
                                      bg_,   tc_,   hider_, con_, deldel_};
    auto* guard = new MenuShortcutGuard(commands, this);
    for (const auto& row : cells_)
        for (QLineEdit* cell : row)
            cell->installEventFilter(guard);
    wow_->installEventFilter(guard);
}

void MainWindow::connectTabFiles() {
    files_ = std::make_unique<DiskFileSystem>();
    document_ = std::make_unique<WindowDocument>(this, wow_);
    tabFiles_ = std::make_unique<TabFiles>(*document_, *dialogs_, *files_);
    connect(pen1_, &QAction::triggered, this, [this] { tabFiles_->open(); });
    connect(ave1_, &QAction::triggered, this, [this] { tabFiles_->save(); });
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

void MainWindow::enterBar() {
    Grid grid = readGrid();
    const QString block = commitBar(grid, readCaptions(), con_->text());
    writeGrid(grid);
    wow_->appendExact(block);
}

void MainWindow::clearGrid() {
    Grid grid = readGrid();
    deldeldel(grid);
    writeGrid(grid);
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
    closeSecondaryWindows();
}

void MainWindow::closeSecondaryWindows() {
    // The program ends with this window; its other windows go with it.
    for (const QPointer<QWidget>& window : std::as_const(secondaryWindows_))
        if (window)
            window->close();
    secondaryWindows_.clear();
}

void MainWindow::showAbout() {
    dialogs_->showAbout(u"About"_s, u"Fretloom, the plain-text tab editor, was written by the "
                                    u"Fretloom developers:\r\n"
                                    u"Questions and ideas are welcome on the project's issue "
                                    u"tracker."_s);
}

}  // namespace fretloom
