#include "sheet/ModeCaption.h"

namespace fretloom {

InstrumentMode modeFromCaption(const QString& caption) {
    if (caption == QStringView(kGuitarModeCaption))
        return InstrumentMode::Guitar;
    if (caption == QStringView(kBassModeCaption))
        return InstrumentMode::Bass;
    return InstrumentMode::FiveString;
}

QString captionOf(InstrumentMode mode) {
    switch (mode) {
    case InstrumentMode::Guitar:
        return QString::fromUtf16(kGuitarModeCaption);
    case InstrumentMode::Bass:
        return QString::fromUtf16(kBassModeCaption);
    case InstrumentMode::FiveString:
        break;
    }
    return QString::fromUtf16(kFiveStringModeCaption);
}

std::vector<Row> committedRows(InstrumentMode mode) {
    switch (mode) {
    case InstrumentMode::Guitar:
        return {Row::e, Row::b, Row::g, Row::d, Row::a, Row::f};
    case InstrumentMode::Bass:
        return {Row::g, Row::d, Row::a, Row::f};
    case InstrumentMode::FiveString:
        break;
    }
    return {Row::b, Row::g, Row::d, Row::a, Row::f};
}

}  // namespace fretloom
