#include "chords/ChordPicker.h"

namespace fretloom {

using namespace Qt::StringLiterals;

QStringList chordBoxEntries(ChordStyle style) {
    switch (style) {
    case ChordStyle::Open:
        return {u"Bar line"_s, u"A"_s,         u"Am"_s, u"A7"_s, u"A Major 7"_s, u"B7"_s,
                u"C"_s,        u"C Major 7"_s, u"D"_s,  u"Dm"_s, u"D7"_s,        u"D Major 7"_s,
                u"E"_s,        u"Em"_s,        u"E7"_s, u"G"_s};
    case ChordStyle::Power:
        return {u"A"_s,  u"Bb"_s, u"B"_s,  u"C"_s, u"C#"_s, u"D"_s,
                u"Eb"_s, u"F"_s,  u"F#"_s, u"G"_s, u"Ab"_s};
    case ChordStyle::Barre:
        return {u"A"_s,  u"Bb"_s,  u"B"_s,  u"C"_s,   u"C#"_s,  u"D"_s,  u"Eb"_s, u"F"_s,
                u"F#"_s, u"G"_s,   u"Ab"_s, u"Am"_s,  u"Bbm"_s, u"Bm"_s, u"Cm"_s, u"C#m"_s,
                u"Dm"_s, u"Ebm"_s, u"Fm"_s, u"F#m"_s, u"Gm"_s,  u"Abm"_s};
    }
    return {};
}

QStringList columnBoxEntries() {
    QStringList entries;
    for (int column = 1; column <= kColumnCount; ++column)
        entries << QString::number(column);
    return entries;
}

QString initialChordBoxText(ChordStyle style) {
    switch (style) {
    case ChordStyle::Open:
        return u"Open Chords"_s;
    case ChordStyle::Power:
        return u"Power Chords"_s;
    case ChordStyle::Barre:
        return u"Barre Chord"_s;
    }
    return {};
}

QString resetChordBoxText(ChordStyle style) {
    switch (style) {
    case ChordStyle::Open:
        return u"Open chords"_s;
    case ChordStyle::Power:
        return u"Power chords"_s;
    case ChordStyle::Barre:
        return u"Barre chords"_s;
    }
    return {};
}

namespace {

ChordStyle nextStyle(ChordStyle style) {
    switch (style) {
    case ChordStyle::Open:
        return ChordStyle::Power;
    case ChordStyle::Power:
        return ChordStyle::Barre;
    case ChordStyle::Barre:
        return ChordStyle::Open;
    }
    return ChordStyle::Open;
}

}  // namespace

QString styleButtonCaption(ChordStyle shown) {
    switch (nextStyle(shown)) {
    case ChordStyle::Open:
        return u"Change to: Open chords"_s;
    case ChordStyle::Power:
        return u"Change to: Power chords"_s;
    case ChordStyle::Barre:
        return u"Change to: Barre chords"_s;
    }
    return {};
}

StyleSwitch switchStyle(ChordStyle shown) {
    const ChordStyle next = nextStyle(shown);
    return {shown, resetChordBoxText(shown), next, styleButtonCaption(next)};
}

ChordShape resolveChord(const QString& powerText, const QString& openText,
                        const QString& barreText) {
    ChordShape values;
    if (const auto power = findChord(ChordTable::Power, powerText))
        for (Row row : {Row::g, Row::d, Row::a, Row::f})
            values[index(row)] = (*power)[index(row)];
    if (const auto open = findChord(ChordTable::Open, openText))
        values = *open;
    if (const auto major = findChord(ChordTable::BarreMajor, barreText))
        values = *major;
    if (const auto minor = findChord(ChordTable::BarreMinor, barreText))
        values = *minor;
    return values;
}

std::optional<int> columnFromText(const QString& text) {
    const QString number = text.trimmed();
    qsizetype at = 0;
    bool negative = false;
    if (at < number.size() && (number[at] == u'+' || number[at] == u'-')) {
        negative = number[at] == u'-';
        ++at;
    }
    const auto isDigit = [](QChar c) {
        return c >= u'0' && c <= u'9';
    };
    int value = 0;
    int digits = 0;
    for (; at < number.size() && isDigit(number[at]); ++at, ++digits) {
        value = value * 10 + (number[at].unicode() - u'0');
        if (value > kColumnCount)
            return std::nullopt;  // too large for a column; also keeps `value` from overflowing
    }
    bool fraction = false;
    if (at < number.size() && number[at] == u'.') {
        for (++at; at < number.size() && isDigit(number[at]); ++at, ++digits)
            fraction = fraction || number[at] != u'0';
    }
    if (digits == 0 || at != number.size())
        return std::nullopt;  // no number, or something after it
    if (fraction || negative || value < 1)
        return std::nullopt;
    return value;
}

void placeChord(Grid& grid, int column, const ChordShape& shape) {
    for (Row row : kAllRows)
        grid.cell(row, column) = shape[index(row)];
}

}  // namespace fretloom
