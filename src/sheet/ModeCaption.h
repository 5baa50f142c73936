#pragma once

#include "sheet/Grid.h"

#include <QString>
#include <vector>

namespace fretloom {

// The instrument mode has no variable of its own: it is the caption of the Format menu's
// convert item, which names the conversion the next click performs. Enter reads it to know
// which rows to write; the instruments' convert command steps it on.
enum class InstrumentMode { Guitar, Bass, FiveString };

inline constexpr char16_t kGuitarModeCaption[] = u"Convert to bass";
inline constexpr char16_t kBassModeCaption[] = u"Convert to 5 string";
inline constexpr char16_t kFiveStringModeCaption[] = u"Normal tab";

// Exact, case-sensitive; any caption other than the guitar and bass ones reads as five-string.
InstrumentMode modeFromCaption(const QString& caption);
QString captionOf(InstrumentMode mode);

// The rows that Enter writes to the tab, top to bottom.
std::vector<Row> committedRows(InstrumentMode mode);

}  // namespace fretloom
