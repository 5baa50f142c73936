#include "sheet/Bar.h"
#include "support/Files.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"
#include "widgets/Twips.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <vector>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

class AppearanceTest : public ::testing::Test {
protected:
    void SetUp() override { showAndActivate(window); }

    QAction* action(const QString& name) { return window.findChild<QAction*>(name); }
    TabBox* box() { return window.tabBox(); }
    void enterBarWithFret(const QString& fret) {
        window.cell(Row::g, 3)->setFocus();
        type(fret);
        QTest::mouseClick(window.findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    }
    // The window follows its client area through the window system; give it the moment it
    // takes.
    void waitForHeight(int height) {
        for (int i = 0; i < 100 && window.height() != height; ++i)
            QTest::qWait(10);
    }

    ScriptedDialogs dialogs;
    MainWindow window{&dialogs};
};

TEST_F(AppearanceTest, CtrlHTwiceShrinksTheWindowToTheGridAndRestoresIt) {
    QWidget* sheet = window.centralWidget();
    const QSize startWindow = window.size();
    const int frame = startWindow.height() - sheet->height();
    ASSERT_EQ(sheet->height(), twipsToPixels(6915));
    EXPECT_FALSE(action(u"hider"_s)->isChecked());

    ASSERT_EQ(focusedName(), u"e1"_s);
    press(Qt::Key_H, Qt::ControlModifier);
    waitForHeight(twipsToPixels(3300) + frame);
    EXPECT_TRUE(action(u"hider"_s)->isChecked());
    EXPECT_EQ(sheet->height(), twipsToPixels(3300));
    EXPECT_EQ(window.height(), twipsToPixels(3300) + frame);
    EXPECT_EQ(window.width(), startWindow.width());
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    // The grid, its labels and both buttons stay in view; the tab box lies below it all.
    EXPECT_LE(window.cell(Row::f, 16)->geometry().bottom(), sheet->height());
    EXPECT_LE(window.findChild<QPushButton*>(u"Command2"_s)->geometry().bottom(), sheet->height());
    EXPECT_GE(box()->geometry().top(), sheet->height());
    EXPECT_TRUE(sheet->visibleRegion().intersected(box()->geometry()).isEmpty());

    press(Qt::Key_H, Qt::ControlModifier);
    waitForHeight(startWindow.height());
    EXPECT_FALSE(action(u"hider"_s)->isChecked());
    EXPECT_EQ(sheet->height(), twipsToPixels(6915));
    EXPECT_EQ(window.size(), startWindow);
    EXPECT_TRUE(box()->isVisible());
    EXPECT_FALSE(sheet->visibleRegion().intersected(box()->geometry()).isEmpty());
}

TEST_F(AppearanceTest, TheHiddenTabBoxStillTakesEnteredBarsAndShowsThemAgain) {
    enterBarWithFret(u"5"_s);
    const QString firstBar = box()->exactText();

    clickMenu(window, u"Format"_s, u"Hide Tab Box"_s);
    ASSERT_TRUE(action(u"hider"_s)->isChecked());
    window.clearGrid();
    enterBarWithFret(u"7"_s);
    EXPECT_TRUE(box()->exactText().startsWith(firstBar));
    EXPECT_TRUE(box()->exactText().mid(firstBar.size()).startsWith(u"e  |---"_s));
    EXPECT_TRUE(box()->exactText().contains(u"-7-"_s));

    clickMenu(window, u"Format"_s, u"Hide Tab Box"_s);
    EXPECT_FALSE(action(u"hider"_s)->isChecked());
    EXPECT_TRUE(box()->toPlainText().contains(u"-7-"_s));
}

TEST_F(AppearanceTest, KeystrokesDoNotGoIntoTheHiddenTabBox) {
    const Qt::FocusPolicy startPolicy = box()->focusPolicy();
    box()->setFocus();
    ASSERT_EQ(focusedName(), u"wow"_s);
    press(Qt::Key_H, Qt::ControlModifier);
    // The keyboard moves to the grid, and Tab walks past the hidden box.
    EXPECT_EQ(focusedName(), u"e1"_s);
    window.findChild<QPushButton*>(u"Command1"_s)->setFocus();
    press(Qt::Key_Tab);
    EXPECT_EQ(focusedName(), u"Command2"_s);
    type(u"x"_s);
    EXPECT_TRUE(box()->isEmptyText());

    press(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(box()->focusPolicy(), startPolicy);
    window.findChild<QPushButton*>(u"Command1"_s)->setFocus();
    press(Qt::Key_Tab);
    EXPECT_EQ(focusedName(), u"wow"_s);
    type(u"x"_s);
    EXPECT_EQ(box()->exactText(), u"x"_s);
}

TEST_F(AppearanceTest, ChangeFontPresetsTheTabBoxFontAndCopiesBackFaceBoldItalicSize) {
    QFont underlined = box()->font();
    underlined.setUnderline(true);
    box()->setFont(underlined);
    const QFont cellFont = window.cell(Row::e, 1)->font();

    dialogs.fontAnswers = {FontChoice{u"DejaVu Sans Mono"_s, false, true, 10.5}, std::nullopt};
    press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(dialogs.fontPresets.size(), 1u);
    EXPECT_EQ(dialogs.fontPresets[0], (FontChoice{u"Times New Roman"_s, true, false, 12.0}));
    QFont font = box()->font();
    EXPECT_EQ(font.family(), u"DejaVu Sans Mono"_s);
    EXPECT_FALSE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 10.5);
    // Only those four: what else the font had it keeps, and the grid keeps its own font.
    EXPECT_TRUE(font.underline());
    EXPECT_EQ(window.cell(Row::e, 1)->font(), cellFont);

    // The next time the dialog opens on the new font; Cancel leaves it.
    press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(dialogs.fontPresets.size(), 2u);
    EXPECT_EQ(dialogs.fontPresets[1], (FontChoice{u"DejaVu Sans Mono"_s, false, true, 10.5}));
    EXPECT_EQ(box()->font(), font);
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

TEST_F(AppearanceTest, BackGroundAndTextColorStartAsTheSystemColoursAndCancelKeepsThem) {
    const QPalette system = QApplication::palette(box());
    const QColor background = system.color(QPalette::Base);
    const QColor text = system.color(QPalette::Text);
    EXPECT_EQ(box()->palette().color(QPalette::Base), background);
    EXPECT_EQ(box()->palette().color(QPalette::Text), text);

    dialogs.colorAnswers = {std::nullopt, std::nullopt};
    press(Qt::Key_G, Qt::ControlModifier);
    press(Qt::Key_T, Qt::ControlModifier);
    ASSERT_EQ(dialogs.colorPresets.size(), 2u);
    EXPECT_EQ(dialogs.colorPresets[0],
              (Rgb{background.red(), background.green(), background.blue()}));
    EXPECT_EQ(dialogs.colorPresets[1], (Rgb{text.red(), text.green(), text.blue()}));
    EXPECT_EQ(box()->palette().color(QPalette::Base), background);
    EXPECT_EQ(box()->palette().color(QPalette::Text), text);
}

TEST_F(AppearanceTest, BackGroundAndTextColorRecolourTheTabBoxAlone) {
    box()->setExactText(u"e  |-0-|\r\n"_s);
    const QColor cellBase = window.cell(Row::e, 1)->palette().color(QPalette::Base);

    dialogs.colorAnswers = {Rgb{10, 40, 90}, Rgb{250, 220, 0}};
    press(Qt::Key_G, Qt::ControlModifier);
    press(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(box()->palette().color(QPalette::Base), QColor(10, 40, 90));
    EXPECT_EQ(box()->palette().color(QPalette::Text), QColor(250, 220, 0));
    EXPECT_EQ(window.cell(Row::e, 1)->palette().color(QPalette::Base), cellBase);

    // On screen: the box is filled with the background and its text drawn in the text colour.
    const QImage shown = box()->viewport()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() - 5, shown.height() - 5), QColor(10, 40, 90));
    bool textColourShown = false;
    for (int y = 0; y < 30 && !textColourShown; ++y)
        for (int x = 0; x < 80 && !textColourShown; ++x)
            textColourShown = shown.pixelColor(x, y) == QColor(250, 220, 0);
    EXPECT_TRUE(textColourShown);

    // Each dialog opens on the colour it changes.
    dialogs.colorAnswers = {std::nullopt, std::nullopt};
    press(Qt::Key_G, Qt::ControlModifier);
    press(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(dialogs.colorPresets[2], (Rgb{10, 40, 90}));
    EXPECT_EQ(dialogs.colorPresets[3], (Rgb{250, 220, 0}));
}

// Whether the tab box shows the look chosen with Change Font, Back Ground and Text Color: the
// widget's font and colours, a document that follows them, and the colours on screen.
void expectLook(TabBox& box, const FontChoice& font, const QColor& background, const QColor& text) {
    EXPECT_EQ(box.font().family().toStdString(), font.family.toStdString());
    EXPECT_EQ(box.font().bold(), font.bold);
    EXPECT_EQ(box.font().italic(), font.italic);
    EXPECT_DOUBLE_EQ(box.font().pointSizeF(), font.pointSize);
    EXPECT_EQ(box.palette().color(QPalette::Base), background);
    EXPECT_EQ(box.palette().color(QPalette::Text), text);

    // The text itself carries no font or colour of its own that would stand in for the box's.
    EXPECT_EQ(box.document()->defaultFont(), box.font());
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        std::vector<QTextFormat> formats{block.charFormat()};
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            formats.push_back(fragment.fragment().charFormat());
        for (const QTextFormat& format : formats)
            for (int property :
                 {QTextFormat::FontFamilies, QTextFormat::FontPointSize, QTextFormat::FontPixelSize,
                  QTextFormat::FontWeight, QTextFormat::FontItalic, QTextFormat::ForegroundBrush,
                  QTextFormat::BackgroundBrush})
                EXPECT_FALSE(format.hasProperty(property))
                    << "line " << block.blockNumber() << " sets property " << property;
    }

    if (!box.isVisible() || box.isEmptyText())
        return;
    const QImage shown = box.viewport()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() - 5, shown.height() - 5), background);
    bool textColourShown = false;
    for (int y = 0; y < 40 && !textColourShown; ++y)
        for (int x = 0; x < 120 && !textColourShown; ++x)
            textColourShown = shown.pixelColor(x, y) == text;
    EXPECT_TRUE(textColourShown);
}

TEST_F(AppearanceTest, FontAndColoursOutlastOpenSaveClearAndModeChanges) {
    const FontChoice font{u"DejaVu Serif"_s, true, true, 14.0};
    const QColor background(1, 2, 3);
    const QColor text(200, 100, 50);
    dialogs.fontAnswers = {font};
    dialogs.colorAnswers = {Rgb{1, 2, 3}, Rgb{200, 100, 50}};
    press(Qt::Key_F, Qt::ControlModifier);
    press(Qt::Key_G, Qt::ControlModifier);
    press(Qt::Key_T, Qt::ControlModifier);
    {
        SCOPED_TRACE("chosen");
        expectLook(*box(), font, background, text);
    }

    enterBarWithFret(u"3"_s);
    ASSERT_TRUE(box()->exactText().contains(u"-3-"_s));
    {
        SCOPED_TRACE("after Enter");
        expectLook(*box(), font, background, text);
    }

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString saved = folder.filePath(u"saved.txt"_s);
    dialogs.saveAnswers = {saved};
    press(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(readBytes(saved), (box()->exactText() + u"\r\n"_s).toLatin1());
    {
        SCOPED_TRACE("after Save");
        expectLook(*box(), font, background, text);
    }

    const QString opened = folder.filePath(u"opened.txt"_s);
    ASSERT_TRUE(writeBytes(opened, "Blues in E\r\n\r\ne  |-0-|\r\nB  |-1-|\r\n"));
    dialogs.questionAnswers = {Answer::No};
    dialogs.openAnswers = {opened};
    press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, u"Would you like to save before opening a new file?"_s);
    ASSERT_TRUE(box()->exactText().startsWith(u"Blues in E\r\n\r\ne  |-0-|\r\nB  |-1-|"_s));
    {
        SCOPED_TRACE("after Open");
        expectLook(*box(), font, background, text);
    }

    press(Qt::Key_B, Qt::ControlModifier);
    ASSERT_EQ(action(u"con"_s)->text(), u"Convert to 5 string"_s);
    {
        SCOPED_TRACE("after Convert to bass");
        expectLook(*box(), font, background, text);
    }

    window.cell(Row::g, 5)->setFocus();
    type(u"9"_s);
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command2"_s), Qt::LeftButton);
    ASSERT_TRUE(window.cell(Row::g, 5)->text().isEmpty());
    {
        SCOPED_TRACE("after Clear");
        expectLook(*box(), font, background, text);
    }

    window.cell(Row::g, 5)->setFocus();
    type(u"9"_s);
    press(Qt::Key_K, Qt::ControlModifier);
    ASSERT_TRUE(window.cell(Row::g, 5)->text().isEmpty());
    {
        SCOPED_TRACE("after Clear All");
        expectLook(*box(), font, background, text);
    }

    press(Qt::Key_H, Qt::ControlModifier);
    press(Qt::Key_H, Qt::ControlModifier);
    ASSERT_FALSE(action(u"hider"_s)->isChecked());
    {
        SCOPED_TRACE("after hiding and showing the tab box");
        expectLook(*box(), font, background, text);
    }
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

TEST_F(AppearanceTest, SaveWritesEveryBarEnteredWhileTheTabBoxIsHidden) {
    press(Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(action(u"hider"_s)->isChecked());
    enterBarWithFret(u"5"_s);
    QTest::mouseClick(window.findChild<QPushButton*>(u"Command2"_s), Qt::LeftButton);
    enterBarWithFret(u"7"_s);

    // The two bars as Enter writes them, one after the other.
    QString bars;
    for (const QString& fret : {u"5"_s, u"7"_s}) {
        Grid grid;
        grid.cell(Row::g, 3) = fret;
        bars += commitBar(grid, standardCaptions(), u"Convert to bass"_s);
    }
    ASSERT_EQ(box()->exactText(), bars);

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(u"hidden.txt"_s);
    dialogs.saveAnswers = {path};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readBytes(path), (bars + u"\r\n"_s).toLatin1());
    EXPECT_EQ(window.windowTitle(), u"Fretloom - ("_s + path + u")"_s);
    // Saving left the box where it was, out of view.
    EXPECT_TRUE(action(u"hider"_s)->isChecked());
    EXPECT_EQ(window.centralWidget()->height(), twipsToPixels(3300));
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

}  // namespace
}  // namespace fretloom
