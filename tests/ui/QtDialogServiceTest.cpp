#include "ui/QtDialogService.h"

#include "support/Files.h"
#include "support/UserInput.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QUrl>
#include <functional>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

// Runs `inspect` on the dialog of type Dialog once it is up; the inspection must close it.
template <typename Dialog> void whenDialogShows(std::function<void(Dialog*)> inspect) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, inspect] {
        if (auto* box = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            inspect(box);
        }
    });
    poll->start(10);
}

void whenMessageBoxShows(std::function<void(QMessageBox*)> inspect) {
    whenDialogShows<QMessageBox>(std::move(inspect));
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

TEST_F(QtDialogServiceTest, FontDialogOpensOnTheTabFontAndOkKeepsIt) {
    const FontChoice start{u"Times New Roman"_s, true, false, 12.0};
    const QString shownFace = QFontInfo(QFont(start.family)).family();
    bool inspected = false;
    whenDialogShows<QFontDialog>([&](QFontDialog* dialog) {
        inspected = true;
        const QFont current = dialog->currentFont();
        EXPECT_EQ(current.family(), shownFace);
        EXPECT_TRUE(current.bold());
        EXPECT_FALSE(current.italic());
        EXPECT_EQ(current.pointSizeF(), 12.0);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    // OK without a change hands back the font as it was, under the name it had.
    EXPECT_EQ(dialogs.chooseFont(start), start);
    EXPECT_TRUE(inspected);
}

TEST_F(QtDialogServiceTest, FontDialogCancelledGivesNothing) {
    whenDialogShows<QFontDialog>(
        [](QFontDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.chooseFont({u"Times New Roman"_s, true, false, 12.0}), std::nullopt);
}

TEST_F(QtDialogServiceTest, ColourDialogOpensOnTheColourItChanges) {
    whenDialogShows<QColorDialog>([](QColorDialog* dialog) {
        EXPECT_EQ(dialog->currentColor(), QColor(10, 120, 200));
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.chooseColor({10, 120, 200}), (Rgb{10, 120, 200}));
    whenDialogShows<QColorDialog>(
        [](QColorDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.chooseColor({1, 2, 3}), std::nullopt);
}

TEST_F(QtDialogServiceTest, NumberBoxOffersTheValueAndKeepsToItsLimits) {
    const NumberQuestion question{u"Tempo"_s, u"Beats per minute (30-300):"_s, 100, 30, 300};
    bool inspected = false;
    whenDialogShows<QInputDialog>([&](QInputDialog* dialog) {
        inspected = true;
        EXPECT_EQ(dialog->windowTitle(), u"Tempo"_s);
        EXPECT_EQ(dialog->labelText(), question.label);
        auto* box = dialog->findChild<QSpinBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->value(), 100);
        // Too many beats are refused while typing: the box keeps to 300 at most.
        box->selectAll();
        QTest::keyClicks(box, u"999"_s);
        EXPECT_LE(box->value(), 300);
        box->selectAll();
        QTest::keyClicks(box, u"240"_s);
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.askNumber(question), 240);
    EXPECT_TRUE(inspected);
    whenDialogShows<QInputDialog>(
        [](QInputDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.askNumber(question), std::nullopt);
}

}  // namespace
}  // namespace fretloom

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

TEST_F(QtDialogServiceTest, TheDialogsNeitherReadNorWriteQtsSettingsFile) {
    // What Qt's dialogs would keep of an earlier run: a visited folder and a custom colour.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(config.isEmpty());
    QTemporaryDir visited;
    const QByteArray url = QUrl::fromLocalFile(visited.path()).toEncoded();
    const QByteArray kept =
        "[FileDialog]\nhistory=" + url + "\nlastVisited=" + url + "\nshortcuts=" + url +
        "\nsidebarWidth=90\nviewMode=List\n\n[Qt]\ncustomColors\\0=4278255360\n";
    const QString file = config + u"/QtProject.conf"_s;
    ASSERT_TRUE(writeBytes(file, kept));

    for (bool saving : {false, true}) {
        whenDialogShows<QFileDialog>([&](QFileDialog* dialog) {
            EXPECT_FALSE(dialog->history().contains(visited.path()));
            EXPECT_FALSE(dialog->sidebarUrls().contains(QUrl::fromLocalFile(visited.path())));
            dialog->setDirectory(QDir::tempPath());  // a folder visited in this run
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        const FileDialogRequest request{u"Text Tab Files (*.txt)"_s, QString()};
        EXPECT_EQ(saving ? dialogs.chooseFileToSave(request) : dialogs.chooseFileToOpen(request),
                  std::nullopt);
    }
    whenDialogShows<QColorDialog>([](QColorDialog* dialog) {
        // "Add to Custom Colors" makes the dialog store its custom colours when it closes.
        for (auto* button : dialog->findChildren<QPushButton*>())
            if (button->text().contains(u"Custom"_s))
                QTest::mouseClick(button, Qt::LeftButton);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(dialogs.chooseColor({10, 120, 200}), std::nullopt);

    EXPECT_EQ(readBytes(file), kept);
    EXPECT_EQ(entries(config), QStringList{u"QtProject.conf"_s});
}

}  // namespace
}  // namespace fretloom
