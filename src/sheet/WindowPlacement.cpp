#include "sheet/WindowPlacement.h"

#include <array>
#include <limits>

namespace fretloom {

namespace {

// `place` moved as little as it takes to lie inside `room`; one larger than the room keeps its
// top-left corner in it.
QRect keptInside(QRect place, const QRect& room) {
    if (place.right() > room.right())
        place.moveRight(room.right());
    if (place.bottom() > room.bottom())
        place.moveBottom(room.bottom());
    if (place.left() < room.left())
        place.moveLeft(room.left());
    if (place.top() < room.top())
        place.moveTop(room.top());
    return place;
}

qint64 area(const QRect& rect) {
    return rect.isEmpty() ? 0 : qint64{rect.width()} * rect.height();
}

}  // namespace

QPoint frameBeside(const QRect& mainFrame, QSize frame, const QRect& room) {
    const std::array<QPoint, 4> sides = {
        QPoint(mainFrame.right() + 1, mainFrame.top()),
        QPoint(mainFrame.left() - frame.width(), mainFrame.top()),
        QPoint(mainFrame.left(), mainFrame.bottom() + 1),
        QPoint(mainFrame.left(), mainFrame.top() - frame.height()),
    };
    QRect best;
    qint64 leastCovered = std::numeric_limits<qint64>::max();
    for (const QPoint& side : sides) {
        const QRect place = keptInside(QRect(side, frame), room);
        const qint64 covered = area(place.intersected(mainFrame));
        if (covered < leastCovered) {
            best = place;
            leastCovered = covered;
        }
    }
    return best.topLeft();
}

}  // namespace fretloom
