#include "playback/Tunings.h"

#include <QList>
#include <QString>
#include <array>
#include <span>

namespace fretloom {

namespace {

constexpr int kMinStrings = 4;
constexpr int kMaxStrings = 7;

// Standard tuning from the bottom line up, by the number of lines.
constexpr std::array<int, 4> kFourStrings = {28, 33, 38, 43};               // E1 A1 D2 G2
constexpr std::array<int, 5> kFiveStrings = {40, 45, 50, 55, 59};           // E2 A2 D3 G3 B3
constexpr std::array<int, 5> kFiveStringBass = {23, 28, 33, 38, 43};        // B0 E1 A1 D2 G2
constexpr std::array<int, 6> kSixStrings = {40, 45, 50, 55, 59, 64};        // E2 A2 D3 G3 B3 E4
constexpr std::array<int, 7> kSevenStrings = {35, 40, 45, 50, 55, 59, 64};  // B1 and the six

constexpr int kE = 4;

std::span<const int> standardKeys(int lines, bool fiveStringBass) {
    switch (lines) {
    case 4:
        return kFourStrings;
    case 5:
        return fiveStringBass ? std::span<const int>(kFiveStringBass) : kFiveStrings;
    case 7:
        return kSevenStrings;
    default:
        return kSixStrings;
    }
}

std::optional<int> letterPitch(QChar c) {
    constexpr std::array<int, 7> kLetters = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    const char16_t letter = c.toLower().unicode();
    if (letter < u'a' || letter > u'g')
        return std::nullopt;
    return kLetters[letter - u'a'];
}

// The semitones from `from` to `to` the shorter way, from -6 up to 5.
int nearest(int from, int to) {
    const int up = ((to - from) % 12 + 12) % 12;
    return up < 6 ? up : up - 12;
}

// Notes written one after another with no space, such as "DADGAD" or "EbAbDbGbBbEb": an
// upper-case letter each, a lower-case `b` after one being a flat.
std::optional<std::vector<int>> runOfNotes(QStringView run) {
    std::vector<int> notes;
    for (qsizetype i = 0; i < run.size(); ++i) {
        const std::optional<int> pitch = letterPitch(run[i]);
        if (!pitch || !run[i].isUpper())
            return std::nullopt;
        int note = *pitch;
        if (i + 1 < run.size() && (run[i + 1] == u'#' || run[i + 1] == u'b')) {
            note += run[i + 1] == u'#' ? 1 : -1;
            ++i;
        }
        notes.push_back((note + 12) % 12);
    }
    return notes;
}

// "D A D G B E", "Eb, Ab, Db, Gb, Bb, Eb" or "DADGAD": 4 to 7 notes, lowest first.
std::optional<std::vector<int>> noteList(QStringView text) {
    const QList<QStringView> words = text.split(u' ', Qt::SkipEmptyParts);
    std::optional<std::vector<int>> notes;
    if (words.size() == 1) {
        notes = runOfNotes(words[0]);
    } else {
        notes.emplace();
        for (QStringView word : words) {
            const std::optional<int> note = pitchClass(word);
            if (!note)
                return std::nullopt;
            notes->push_back(*note);
        }
    }
    if (!notes || std::ssize(*notes) < kMinStrings || std::ssize(*notes) > kMaxStrings)
        return std::nullopt;
    return notes;
}

// The tunings that tabs name in words, in lower case with single spaces.
std::optional<Tuning> namedTuning(QStringView words) {
    if (words.startsWith(u"drop ")) {
        // Drop X: the lowest string down to X, the others a whole step above it as in standard
        // tuning, so drop C is D standard with its lowest string at C.
        const std::optional<int> lowest = pitchClass(words.sliced(5));
        if (!lowest)
            return std::nullopt;
        return Tuning{{}, nearest(kE, *lowest + 2), lowest};
    }
    // "Eb standard", "D standard": the E strings at that note, the others with them.
    if (words.endsWith(u" standard")) {
        const std::optional<int> note = pitchClass(words.chopped(9));
        if (!note)
            return std::nullopt;
        return Tuning{{}, nearest(kE, *note), {}};
    }
    struct Named {
        const char16_t* name;
        Tuning tuning;
    };
    static const std::array<Named, 12> kNamed = {{
        {u"standard", {}},
        {u"half step down", {{}, -1, {}}},
        {u"1/2 step down", {{}, -1, {}}},
        {u"whole step down", {{}, -2, {}}},
        {u"full step down", {{}, -2, {}}},
        {u"one step down", {{}, -2, {}}},
        {u"open g", {{2, 7, 2, 7, 11, 2}, 0, {}}},
        {u"open d", {{2, 9, 2, 6, 9, 2}, 0, {}}},
        {u"open e", {{4, 11, 4, 8, 11, 4}, 0, {}}},
        {u"open a", {{4, 9, 4, 9, 1, 4}, 0, {}}},
        {u"open c", {{0, 7, 0, 7, 0, 4}, 0, {}}},
        {u"dadgad", {{2, 9, 2, 7, 9, 2}, 0, {}}},
    }};
    for (const Named& named : kNamed)
        if (words == QStringView(named.name))
            return named.tuning;
    return std::nullopt;
}

}  // namespace

std::optional<int> pitchClass(QStringView name) {
    name = name.trimmed();
    if (name.isEmpty() || name.size() > 2)
        return std::nullopt;
    std::optional<int> pitch = letterPitch(name[0]);
    if (!pitch)
        return std::nullopt;
    if (name.size() == 2) {
        if (name[1] == u'#')
            ++*pitch;
        else if (name[1] == u'b')
            --*pitch;
        else
            return std::nullopt;
    }
    return (*pitch + 12) % 12;
}

bool isFiveStringBass(const std::vector<std::optional<int>>& pitchClasses) {
    return pitchClasses.size() == 5 && pitchClasses.back() == 11;
}

std::vector<int> openKeysOf(const std::vector<std::optional<int>>& pitchClasses) {
    const int count = static_cast<int>(pitchClasses.size());
    const std::span<const int> standard = standardKeys(count, isFiveStringBass(pitchClasses));
    std::vector<int> keys;
    keys.reserve(pitchClasses.size());
    for (int line = 0; line < count; ++line) {
        const int expected = standard[static_cast<std::size_t>(count - 1 - line)];
        const std::optional<int> pitch = pitchClasses[static_cast<std::size_t>(line)];
        // Up to the nearest key of that pitch class; from a tritone away, down.
        keys.push_back(pitch ? expected + nearest(expected % 12, *pitch) : expected);
    }
    return keys;
}

std::optional<Tuning> tuningOf(QStringView line) {
    line = line.trimmed();
    if (!line.startsWith(u"tuning", Qt::CaseInsensitive)) {
        // A tuning alone, such as "DADGAD".
        std::optional<std::vector<int>> notes = line.contains(u' ') ? std::nullopt : noteList(line);
        if (!notes)
            return std::nullopt;
        return Tuning{std::move(*notes), 0, {}};
    }
    QStringView rest = line.sliced(6).trimmed();
    if (rest.startsWith(u':') || rest.startsWith(u'=') || rest.startsWith(u'-'))
        rest = rest.sliced(1);
    QString described = rest.toString();
    described.replace(u',', u' ');
    if (std::optional<std::vector<int>> notes = noteList(described))
        return Tuning{std::move(*notes), 0, {}};
    // The notes may follow the tuning's name in brackets: "Drop D (D A D G B E)".
    const qsizetype open = described.indexOf(u'(');
    const qsizetype close = described.indexOf(u')', open + 1);
    if (open >= 0 && close > open) {
        if (std::optional<std::vector<int>> notes =
                noteList(QStringView(described).sliced(open + 1, close - open - 1)))
            return Tuning{std::move(*notes), 0, {}};
        // Or the name may follow the notes: "E A D G B E (standard)".
        described.truncate(open);
        if (std::optional<std::vector<int>> notes = noteList(described))
            return Tuning{std::move(*notes), 0, {}};
    }
    described = described.toLower().replace(u'-', u' ').simplified();
    return namedTuning(described);
}

std::optional<std::vector<int>> tunedPitchClasses(const Tuning& tuning, int lines) {
    std::vector<int> low;
    if (!tuning.notes.empty()) {
        if (static_cast<int>(tuning.notes.size()) != lines)
            return std::nullopt;
        low = tuning.notes;
    } else {
        for (const int key : standardKeys(lines, false))
            low.push_back(((key + tuning.shift) % 12 + 12) % 12);
        if (tuning.lowest)
            low.front() = *tuning.lowest;
    }
    return std::vector<int>(low.rbegin(), low.rend());
}

}  // namespace fretloom
