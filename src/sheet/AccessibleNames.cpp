#include "sheet/AccessibleNames.h"

#include <QList>
#include <algorithm>

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

// A caption as it is heard: spaces are not spoken and the case is not heard.
QString spoken(const QString& caption) {
    return caption.trimmed().toCaseFolded();
}

// Which of `count` strings named alike, counted from the top, the one at `place` is.
QString rankAmong(qsizetype place, qsizetype count) {
    if (count == 2)
        return place == 1 ? u"the higher of two"_s : u"the lower of two"_s;
    if (place == 1)
        return u"the highest of %1"_s.arg(count);
    if (place == count)
        return u"the lowest of %1"_s.arg(count);
    return u"number %1 from the top of %2"_s.arg(place).arg(count);
}

}  // namespace

std::array<StringVoice, kStringCount> stringVoices(const RowCaptions& captions,
                                                   const std::vector<Row>& shown) {
    std::array<StringVoice, kStringCount> voices;
    const auto count = static_cast<qsizetype>(shown.size());
    for (Row row : kAllRows) {
        const QString& caption = captions[index(row)];
        const auto found = std::find(shown.begin(), shown.end(), row);
        const qsizetype place = found == shown.end() ? 0 : found - shown.begin() + 1;
        StringVoice& voice = voices[index(row)];

        const qsizetype number = place ? place : index(row) + 1;
        voice.name = spoken(caption).isEmpty() ? u"unnamed string %1"_s.arg(number)
                                               : u"string %1"_s.arg(caption);
        if (!place) {
            voice.description = u"not in use on this instrument"_s;
            continue;
        }

        voice.description = u"string %1 of %2"_s.arg(place).arg(count);
        if (place == 1) {
            voice.description += u", the highest"_s;
        } else if (place == count) {
            voice.description += u", the lowest"_s;
        } else if (!spoken(caption).isEmpty()) {
            // The top and bottom strings are told apart by the words above; one in between
            // says where it stands among the strings that sound like it.
            QList<Row> alike;
            for (Row other : shown)
                if (spoken(captions[index(other)]) == spoken(caption))
                    alike << other;
            if (alike.size() > 1)
                voice.description += u", %1 strings named %2"_s.arg(
                    rankAmong(alike.indexOf(row) + 1, alike.size()), caption.trimmed());
        }
    }
    return voices;
}

QString accessibleCellName(const StringVoice& string, int column) {
    return u"%1, column %2"_s.arg(string.name).arg(column);
}

}  // namespace fretloom
