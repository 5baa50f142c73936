#pragma once

#include <QAction>

namespace fretloom {

class SheetWindow;

// con, in the Format menu: one step of the cycle guitar, bass, five-string. Its caption is the
// instrument mode, naming the step the next click takes.
class ConvertCommand : public QAction {
    Q_OBJECT

public:
    ConvertCommand(SheetWindow& sheet, QObject* parent);

signals:
    // The rows on screen and the caption have changed.
    void converted();

private:
    void convert();

    SheetWindow& sheet_;
};

}  // namespace fretloom
