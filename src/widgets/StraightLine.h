#pragma once

#include <QColor>
#include <QWidget>

namespace fretloom {

// A straight horizontal line one pixel thick, drawn beneath the controls laid out after it.
class StraightLine : public QWidget {
    Q_OBJECT

public:
    // An invalid colour draws in the palette's window-text colour.
    StraightLine(int x1Twips, int x2Twips, int yTwips, QColor colour, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};

}  // namespace fretloom
