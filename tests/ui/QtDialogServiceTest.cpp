#include "ui/QtDialogService.h"

#include "support/UserInput.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

// Runs `inspect` on the message box once it is up; the inspection must close it.
void whenMessageBoxShows(std::function<void(QMessageBox*)> inspect) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, inspect] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            inspect(box);
        }
    });
    poll->start(10);
}

class QtDialogServiceTest : public ::testing::Test {
protected:
    void SetUp() override { showAndActivate(owner); }
    QWidget owner;
    QtDialogService dialogs{&owner};
};

TEST_F(QtDialogServiceTest, AboutBoxHasTheQuestionIconAndOneOkButton) {
    bool inspected = false;
    whenMessageBoxShows([&](QMessageBox* box) {
        inspected = true;
        EXPECT_EQ(box->windowTitle(), u"About"_s);
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->text(), u"line one:\r\nline two"_s);
        ASSERT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->standardButton(box->buttons().first()), QMessageBox::Ok);
        QTest::keyClick(box, Qt::Key_Return);
    });
    dialogs.showAbout(u"About"_s, u"line one:\r\nline two"_s);
    EXPECT_TRUE(inspected);
}

TEST_F(QtDialogServiceTest, QuestionsHaveNoIconAndYesAsDefault) {
    struct Case {
        QuestionButtons buttons;
        Qt::Key key;
        Answer expected;
        int buttonCount;
    };
    for (const Case& c : {Case{QuestionButtons::YesNo, Qt::Key_Return, Answer::Yes, 2},
                          Case{QuestionButtons::YesNo, Qt::Key_Escape, Answer::No, 2},
                          Case{QuestionButtons::YesNoCancel, Qt::Key_Return, Answer::Yes, 3},
                          Case{QuestionButtons::YesNoCancel, Qt::Key_Escape, Answer::Cancel, 3}}) {
        whenMessageBoxShows([&](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), u"Save"_s);
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            EXPECT_EQ(box->buttons().size(), c.buttonCount);
            EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()),
                      box->button(QMessageBox::Yes));
            QTest::keyClick(box, c.key);
        });
        EXPECT_EQ(dialogs.ask({u"Save"_s, u"Would you like to save?"_s, c.buttons}), c.expected);
    }
}

TEST_F(QtDialogServiceTest, ClickingNoAnswersNo) {
    whenMessageBoxShows(
        [](QMessageBox* box) { QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton); });
    EXPECT_EQ(dialogs.ask({u"Print"_s, u"Are you sure?"_s, QuestionButtons::YesNo}), Answer::No);
}

}  // namespace
}  // namespace fretloom
