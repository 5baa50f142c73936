#pragma once

#include "sheet/ModeCaption.h"

#include <QString>
#include <optional>
#include <vector>

namespace fretloom {

// The modes and their captions belong to the sheet, whose Enter reads them; here they are
// shown and stepped through.

// The rows on screen in a mode, top to bottom; the layouts always keep the lower strings.
std::vector<Row> shownRows(InstrumentMode mode);

// What of a string row one visibility change acts on: its label, its string line, or its
// sixteen cells (taken column 1 to 16).
enum class RowPart { Label, Line, Cells };

struct VisibilityChange {
    RowPart part;
    Row row;
    bool shown;

    bool operator==(const VisibilityChange&) const = default;
};

// One click of the convert item: the visibility changes in the order they are made, then the
// caption the item takes, which is written after all of them.
struct ConvertStep {
    std::vector<VisibilityChange> changes;
    QString caption;

    bool operator==(const ConvertStep&) const = default;
};

// The step from the mode that `caption` names to the next one in the cycle guitar, bass,
// five-string, guitar. A caption outside the cycle converts nothing.
std::optional<ConvertStep> convertStep(const QString& caption);

}  // namespace fretloom
