#pragma once

#include <QWidget>

class QLabel;

namespace fretloom {

// Tells a screen reader of something that happens away from the keyboard focus, such as a bar
// that Enter adds to the tab box while the focus stays on the button. Qt 6.4 has no
// announcement event; a notification that shows is spoken wherever the focus is. It takes no
// room on screen and no focus.
class Announcement : public QWidget {
    Q_OBJECT

public:
    explicit Announcement(QWidget* parent);

    // Shows the notification again with `words` as its name and its text.
    void announce(const QString& words);

private:
    QLabel* words_;
};

}  // namespace fretloom
