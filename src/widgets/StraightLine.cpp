#include "widgets/StraightLine.h"

#include "widgets/Twips.h"

#include <QPainter>

namespace fretloom {

StraightLine::StraightLine(int x1Twips, int x2Twips, int yTwips, QColor colour, QWidget* parent)
    : QWidget(parent), colour_(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    const int left = twipsToPixels(x1Twips);
    setGeometry(left, twipsToPixels(yTwips), twipsToPixels(x2Twips) - left + 1, 1);
}

void StraightLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_.isValid() ? colour_ : palette().color(QPalette::WindowText));
}

}  // namespace fretloom
