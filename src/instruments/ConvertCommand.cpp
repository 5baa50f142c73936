#include "instruments/ConvertCommand.h"

#include "instruments/InstrumentMode.h"
#include "sheet/SheetWindow.h"
#include "widgets/MenuCommand.h"

#include <QLabel>
#include <QLineEdit>
#include <optional>

namespace fretloom {

namespace {

// The column of `box` among the cells of `row`, or 0 when it is none of them.
int columnOf(const SheetWindow& sheet, Row row, const QWidget* box) {
    for (int column = 1; column <= kColumnCount; ++column)
        if (sheet.cell(row, column) == box)
            return column;
    return 0;
}

}  // namespace

ConvertCommand::ConvertCommand(SheetWindow& sheet, QObject* parent)
    : QAction(parent), sheet_(sheet) {
    setUpCommand(*this, "con", QString::fromUtf16(kGuitarModeCaption),
                 QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(this, &QAction::triggered, this, &ConvertCommand::convert);
}

void ConvertCommand::convert() {
    const std::optional<ConvertStep> step = convertStep(text());
    if (!step)
        return;

    // A hidden cell must not keep the focus. Move it first, to the same column of the top row
    // left on screen, so that it does not hop through the cells while they disappear.
    if (const QWidget* focused = sheet_.mainWindow().focusWidget()) {
        for (const VisibilityChange& change : step->changes) {
            if (change.part != RowPart::Cells || change.shown)
                continue;
            if (const int column = columnOf(sheet_, change.row, focused)) {
                const Row top = shownRows(modeFromCaption(step->caption)).front();
                sheet_.cell(top, column)->setFocus();
                break;
            }
        }
    }

    for (const VisibilityChange& change : step->changes) {
        switch (change.part) {
        case RowPart::Label:
            sheet_.rowLabel(change.row)->setVisible(change.shown);
            break;
        case RowPart::Line:
            sheet_.stringLine(change.row)->setVisible(change.shown);
            break;
        case RowPart::Cells:
            for (int column = 1; column <= kColumnCount; ++column)
                sheet_.cell(change.row, column)->setVisible(change.shown);
            break;
        }
    }
    // The caption is the mode: it changes last, once the rows are as it says.
    setText(step->caption);
    emit converted();
}

}  // namespace fretloom
