#include "playback/TabReading.h"

#include "playback/Repeats.h"
#include "playback/StaffReader.h"
#include "playback/TabLines.h"
#include "playback/Tunings.h"

#include <algorithm>

namespace fretloom {

namespace {

constexpr int kMinStaffLines = 4;
constexpr int kMaxStaffLines = 7;

std::vector<std::optional<int>> pitchClassesOf(const std::vector<QStringView>& names) {
    std::vector<std::optional<int>> pitches;
    pitches.reserve(names.size());
    for (QStringView name : names)
        pitches.push_back(pitchClass(name));
    return pitches;
}

// Walks the lines of a tab: runs of staff lines become staves; the lines between them may tune
// the staves below, put a capo on them or count a staff's repeats.
class TabWalk {
public:
    TabWalk(QStringView text, TabReading& reading)
        : text_(text), reading_(reading), staves_(text, reading) {}

    void run() {
        LineWalk lines(text_);
        while (const std::optional<TextLine> line = lines.next()) {
            std::optional<StaffLineParts> parts = staffLineParts(text_, *line);
            // Lines with nothing in front of their music make staves only among themselves, so
            // a rule of dashes above a staff is no string of it.
            if (parts && runLength_ > 0 && parts->bare != run_.front().bare)
                endRun(std::nullopt);
            if (parts) {
                if (runLength_++ < kMaxStaffLines)
                    run_.push_back(std::move(*parts));
                continue;
            }
            endRun(line);
            const QStringView written = textOf(*line);
            if (std::optional<Tuning> tuning = tuningOf(written))
                tuning_ = std::move(tuning);
            if (const std::optional<int> capo = capoFret(written))
                capo_ = *capo;
        }
        endRun(std::nullopt);
        reading_.repeats = pairing_.finish();
    }

private:
    QStringView textOf(TextLine line) const { return text_.sliced(line.start, line.length); }
    QStringView textOf(TextSpan span) const { return text_.sliced(span.start, span.length); }

    // The run of staff lines ends; `below` is the line right after it, when that is no staff line.
    void endRun(std::optional<TextLine> below) {
        bool belowCounted = false;
        if (runLength_ >= kMinStaffLines && runLength_ <= kMaxStaffLines) {
            // A count alone on the line right below the staff is its own, else one right above.
            std::optional<int> count;
            const auto take = [&count](std::optional<int> found) {
                if (found && (!count || *found > *count))
                    count = found;
            };
            if (below) {
                const std::optional<int> countBelow = repeatCount(textOf(*below));
                belowCounted = countBelow.has_value();
                take(countBelow);
            }
            if (above_ && !aboveCounted_)
                take(repeatCount(textOf(*above_)));
            std::optional<int> remarkCount;
            for (const StaffLineParts& line : run_)
                if (const std::optional<int> found = repeatCount(textOf(line.remark)))
                    remarkCount = std::max(remarkCount.value_or(0), *found);

            staves_.read(run_, time_, pitchClasses(), capo_);
            const Staff& staff = reading_.staves.back();
            if (staves_.closesAtEnd()) {
                pairing_.addStaff(staff, staves_.signs(), remarkCount, count);
            } else {
                take(remarkCount);
                pairing_.addStaff(staff, staves_.signs(), std::nullopt, count);
            }
            time_ += staff.length;
        }
        run_.clear();
        runLength_ = 0;
        above_ = below;
        aboveCounted_ = belowCounted;
    }

    // Each line's pitch class: from its name, else from the tuning line above.
    std::vector<std::optional<int>> pitchClasses() const {
        std::vector<QStringView> names;
        names.reserve(run_.size());
        for (const StaffLineParts& line : run_)
            names.push_back(textOf(line.name));
        std::vector<std::optional<int>> pitches = pitchClassesOf(names);
        if (!tuning_)
            return pitches;
        const std::optional<std::vector<int>> tuned =
            tunedPitchClasses(*tuning_, static_cast<int>(pitches.size()));
        for (std::size_t s = 0; tuned && s < pitches.size(); ++s)
            if (!pitches[s])
                pitches[s] = (*tuned)[s];
        return pitches;
    }

    QStringView text_;
    TabReading& reading_;
    StaffReader staves_;
    RepeatPairing pairing_;
    std::vector<StaffLineParts> run_;
    int runLength_ = 0;
    std::optional<TextLine> above_;  // the line right above the run, when it is no staff line
    bool aboveCounted_ = false;      // it was the count of the staff above it
    std::optional<Tuning> tuning_;
    int capo_ = 0;
    qint64 time_ = 0;
};

}  // namespace

std::vector<int> openStringKeys(const std::vector<QStringView>& names) {
    return openKeysOf(pitchClassesOf(names));
}

StaffInstrument instrumentOf(const std::vector<QStringView>& names) {
    return names.size() == 4 || isFiveStringBass(pitchClassesOf(names)) ? StaffInstrument::Bass
                                                                        : StaffInstrument::Guitar;
}

TabReading readTab(QStringView text) {
    TabReading reading;
    TabWalk(text, reading).run();
    return reading;
}

}  // namespace fretloom
