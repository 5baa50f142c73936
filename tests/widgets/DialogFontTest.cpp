#include "widgets/DialogFont.h"

#include "support/ProgramWindows.h"
#include "support/ScriptedDialogs.h"

#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QStyle>

namespace fretloom {
namespace {

using namespace fretloom::testing;

// The columns, in the label's parent, that a one-line label's caption inks clearly (faint
// antialiasing at its edges aside), drawn as the label draws it but without the label's edges.
std::pair<int, int> captionInk(const QLabel& label) {
    const QRect room = label.contentsRect();
    QImage canvas(room.width() + 100, room.height(), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setFont(label.font());
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(0, 0), room.size()),
                     static_cast<int>(label.alignment()) | Qt::TextDontClip, label.text());
    painter.end();
    int first = canvas.width();
    int last = -1;
    for (int x = 0; x < canvas.width(); ++x)
        for (int y = 0; y < canvas.height(); ++y)
            if (canvas.pixelColor(x, y).lightness() < 128) {
                first = std::min(first, x);
                last = x;
            }
    const int left = label.x() + room.left();
    return {left + first, left + last};
}

// Run with the machine's fonts, and by the ctest layouts_fit_with_only_dejavu_fonts with a
// fontconfig that knows DejaVu alone.
TEST(DialogFontTest, EveryCaptionFitsItsLabelAndClearsTheControlsBesideIt) {
    EXPECT_EQ(QFontInfo(dialogFont()).family(), dialogFont().family());
    ScriptedDialogs dialogs;
    MainWindow window(&dialogs);
    showAndActivate(window);
    const SecondaryWindows open = openSecondaryWindows(window);
    ASSERT_TRUE(open.picker && open.notes);
    int labels = 0;
    for (QWidget* owner : std::initializer_list<QWidget*>{&window, open.picker, open.notes}) {
        for (const QLabel* label : owner->findChildren<QLabel*>()) {
            if (label->window() != owner || label->text().isEmpty())
                continue;
            ++labels;
            SCOPED_TRACE(owner->objectName().toStdString() + " " +
                         label->objectName().toStdString() + " \"" + label->text().toStdString() +
                         "\"");
            EXPECT_EQ(QFontInfo(label->font()).family(), dialogFont().family());
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height());
                continue;
            }
            const auto [inkLeft, inkRight] = captionInk(*label);
            const QRect ink(QPoint(inkLeft, label->y()),
                            QPoint(inkRight, label->geometry().bottom()));
            EXPECT_TRUE(label->geometry().contains(ink))
                << "the caption is cut: its ink ends at x " << inkRight;
            for (const QWidget* control :
                 label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (control->isVisible() && control->focusPolicy() != Qt::NoFocus) {
                    EXPECT_FALSE(control->geometry().intersects(ink))
                        << "runs under " << control->objectName().toStdString();
                }
            }
        }
    }
    EXPECT_EQ(labels, 23 + 2 + 7);
    window.close();
}

}  // namespace
}  // namespace fretloom
