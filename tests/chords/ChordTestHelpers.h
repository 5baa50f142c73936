#pragma once

#include "chords/ChordLibrary.h"

#include <QStringList>
#include <initializer_list>

namespace fretloom::testing {

// Six cell texts, top e string first.
inline ChordShape shape(std::initializer_list<const char16_t*> cells) {
    ChordShape result;
    int r = 0;
    for (const char16_t* cell : cells)
        result[r++] = QString::fromUtf16(cell);
    return result;
}

// The chord names of a table, in its order.
inline QStringList namesOf(ChordTable table) {
    QStringList names;
    for (const ChordEntry& entry : chordTable(table))
        names << QString::fromUtf16(entry.name);
    return names;
}

}  // namespace fretloom::testing
