#include "sheet/WindowPlacement.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

struct Case {
    const char* what;
    QRect room;
    QRect mainFrame;
    QSize frame;
    QPoint expected;
};

void expectPlaces(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const QPoint at = frameBeside(c.mainFrame, c.frame, c.room);
        EXPECT_EQ(at, c.expected) << c.what << ": got " << at.x() << "," << at.y();
        if (c.frame.width() <= c.room.width() && c.frame.height() <= c.room.height()) {
            EXPECT_TRUE(c.room.contains(QRect(at, c.frame))) << c.what << ": off the screen";
        }
    }
}

TEST(FrameBeside, TakesTheFirstSideWithRoom) {
    const QRect screen(0, 0, 1920, 1080);
    const QSize picker(377, 120);
    expectPlaces({
        {"right", screen, QRect(100, 100, 800, 500), picker, QPoint(900, 100)},
        {"left", screen, QRect(1100, 100, 800, 500), picker, QPoint(723, 100)},
        {"below", screen, QRect(0, 0, 1700, 500), picker, QPoint(0, 500)},
        {"above", screen, QRect(0, 580, 1700, 500), picker, QPoint(0, 460)},
        // A side keeps as much of its line-up as the screen allows.
        {"right, lifted", screen, QRect(100, 900, 800, 150), QSize(400, 300), QPoint(900, 780)},
        {"below, shifted", screen, QRect(1700, 0, 220, 500), QSize(1800, 300), QPoint(120, 500)},
        // A second screen left of the first, and one below a panel.
        {"negative", QRect(-1024, 0, 1024, 768), QRect(-1000, 10, 781, 490), QSize(263, 159),
         QPoint(-1000, 500)},
        {"panel", QRect(0, 30, 1024, 738), QRect(0, 30, 700, 500), QSize(263, 159),
         QPoint(700, 30)},
    });
}

TEST(FrameBeside, WithoutRoomCoversTheLeastOfTheMainWindowAndStaysOnScreen) {
    const QRect small(0, 0, 800, 600);
    expectPlaces({
        // Below, pushed up over the tab box, rather than over the buttons at the right.
        {"over the tab box", small, QRect(0, 0, 781, 490), QSize(263, 159), QPoint(0, 441)},
        {"main at the top", small, QRect(10, 0, 790, 600), QSize(377, 98), QPoint(0, 0)},
        {"main off the top", small, QRect(0, -40, 781, 490), QSize(377, 120), QPoint(0, 450)},
        {"larger than the screen", small, QRect(0, 0, 400, 300), QSize(900, 700), QPoint(0, 0)},
    });
}

}  // namespace
}  // namespace fretloom
