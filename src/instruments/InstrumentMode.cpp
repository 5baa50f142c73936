#include "instruments/InstrumentMode.h"

namespace fretloom {

std::vector<Row> shownRows(InstrumentMode mode) {
    // Every row in use is on screen, and only those.
    return committedRows(mode);
}

std::optional<ConvertStep> convertStep(const QString& caption) {
    // Unlike Enter, which reads any unknown caption as five-string, conversion acts only on
    // the three captions of the cycle.
    if (caption == QStringView(kGuitarModeCaption)) {
        // Bass drops the two top strings.
        return ConvertStep{{{RowPart::Label, Row::e, false},
                            {RowPart::Label, Row::b, false},
                            {RowPart::Line, Row::e, false},
                            {RowPart::Line, Row::b, false},
                            {RowPart::Cells, Row::e, false},
                            {RowPart::Cells, Row::b, false}},
                           captionOf(InstrumentMode::Bass)};
    }
    if (caption == QStringView(kBassModeCaption)) {
        // Five-string brings the B string back.
        return ConvertStep{{{RowPart::Label, Row::b, true},
                            {RowPart::Line, Row::b, true},
                            {RowPart::Cells, Row::b, true}},
                           captionOf(InstrumentMode::FiveString)};
    }
    if (caption == QStringView(kFiveStringModeCaption)) {
        // Back to six strings. The B string's line is already shown; showing it again is
        // harmless and keeps the step whole.
        return ConvertStep{{{RowPart::Label, Row::e, true},
                            {RowPart::Line, Row::e, true},
                            {RowPart::Line, Row::b, true},
                            {RowPart::Cells, Row::e, true}},
                           captionOf(InstrumentMode::Guitar)};
    }
    return std::nullopt;
}

}  // namespace fretloom
