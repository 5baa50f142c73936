#include "widgets/PlaceBeside.h"

#include "sheet/WindowPlacement.h"
#include "support/ProgramWindows.h"
#include "support/ScriptedDialogs.h"

#include <QScreen>

namespace fretloom {
namespace {

using namespace fretloom::testing;

// Run on the one offscreen screen, and by the ctest secondary_windows_on_two_screens on two
// screens of different sizes.
TEST(PlaceBesideTest, SecondaryWindowsOpenWhollyOnTheMainWindowsScreenBesideIt) {
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect room = screen->availableGeometry();
        ScriptedDialogs dialogs;
        MainWindow window(&dialogs);
        showAndActivate(window);
        const QSize mainSize = window.frameGeometry().size();
        // In each corner of the screen, and where the first window opened by a user may stand.
        for (const QPoint corner :
             {room.topLeft(), room.bottomRight() - QPoint(mainSize.width(), mainSize.height()),
              room.center() - QPoint(mainSize.width() / 2, mainSize.height() / 2)}) {
            window.move(corner + QPoint(1, 1));
            const QRect main = window.frameGeometry();
            ASSERT_TRUE(room.contains(main));
            ASSERT_EQ(window.screen(), screen);
            const SecondaryWindows open = openSecondaryWindows(window);
            ASSERT_TRUE(open.picker && open.notes);
            for (QWidget* secondary : std::initializer_list<QWidget*>{open.picker, open.notes}) {
                SCOPED_TRACE(secondary->objectName().toStdString() + " on " +
                             screen->name().toStdString());
                const QRect frame = secondary->frameGeometry();
                EXPECT_GT(frame.height(), secondary->height()) << "the frame is known";
                EXPECT_TRUE(room.contains(frame));
                EXPECT_EQ(secondary->screen(), screen);
                const QPoint expected = frameBeside(main, frame.size(), room);
                EXPECT_EQ(frame.topLeft(), expected)
                    << "frame at " << frame.x() << "," << frame.y() << ", not at " << expected.x()
                    << "," << expected.y();
            }
            open.picker->close();
            open.notes->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        window.close();
    }
}

}  // namespace
}  // namespace fretloom
