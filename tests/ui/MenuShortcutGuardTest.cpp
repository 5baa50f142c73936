#include "ui/MenuShortcutGuard.h"

#include "support/UserInput.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

namespace fretloom {
namespace {

using namespace fretloom::testing;

// A text box as some platform themes make it: it claims every Ctrl key for editing.
class GreedyLineEdit : public QLineEdit {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride &&
            static_cast<QKeyEvent*>(event)->modifiers() == Qt::ControlModifier) {
            event->accept();
            return true;
        }
        return QLineEdit::event(event);
    }
};

class MenuShortcutGuardTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(box);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
        window.addAction(action);
        QObject::connect(action, &QAction::triggered, [this] { ++triggered; });
        showAndActivate(window);
        box->setFocus();
    }

    QWidget window;
    GreedyLineEdit* box = new GreedyLineEdit;
    QAction* action = new QAction(&window);
    int triggered = 0;
};

TEST_F(MenuShortcutGuardTest, WithoutItTheTextBoxKeepsTheKey) {
    press(Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(triggered, 0);
}

TEST_F(MenuShortcutGuardTest, HandsTheMenuKeysBackToTheMenus) {
    box->installEventFilter(new MenuShortcutGuard({action}, &window));
    press(Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(triggered, 1);
    // Keys no menu command uses stay with the text box.
    type(QStringLiteral("ab"));
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box->selectedText(), QStringLiteral("ab"));
    // A disabled command does not take its key.
    action->setEnabled(false);
    press(Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(triggered, 1);
}

TEST(MenuShortcutGuard, GuardsTheCommandsOfTheWindowItsMenuBarAndEveryMenu) {
    QMainWindow window;
    auto* own = new QAction(&window);
    window.addAction(own);
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("Play"));
    QAction* item = menu->addAction(QStringLiteral("Stop"));
    QAction* nested = menu->addMenu(QStringLiteral("Speed"))->addAction(QStringLiteral("Half"));
    QAction* entry = window.menuBar()->addAction(QStringLiteral("About"));
    const QList<QAction*> commands = windowCommands(window);
    for (QAction* command : {own, item, nested, entry})
        EXPECT_TRUE(commands.contains(command)) << command->text().toStdString();
}

}  // namespace
}  // namespace fretloom
