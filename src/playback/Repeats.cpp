#include "playback/Repeats.h"

#include <algorithm>
#include <tuple>

namespace fretloom {

namespace {

// Writes out the repeats nested in [from, to), each at most `allowed` times, starting with
// `repeats[next]`, which it moves past them.
class Expansion {
public:
    explicit Expansion(const std::vector<Repeat>& repeats) : repeats_(repeats) {}

    void play(qint64 from, qint64 to, int allowed, std::size_t& next) {
        qint64 at = from;
        while (next < repeats_.size() && repeats_[next].from < to) {
            const Repeat& repeat = repeats_[next];
            append(at, repeat.from);
            const int times = std::clamp(repeat.times, 1, allowed);
            std::size_t after = next + 1;
            for (int pass = 0; pass < times; ++pass) {
                after = next + 1;
                play(repeat.from, repeat.to, std::max(1, allowed / times), after);
            }
            next = after;
            at = repeat.to;
        }
        append(at, to);
    }

    std::vector<PlayedStretch> order;

private:
    void append(qint64 from, qint64 to) {
        if (to <= from)
            return;
        if (!order.empty() && order.back().to == from)
            order.back().to = to;
        else
            order.push_back({from, to});
    }

    const std::vector<Repeat>& repeats_;
};

}  // namespace

void RepeatPairing::addStaff(const Staff& staff, const std::vector<RepeatSign>& signs,
                             std::optional<int> closingCount, std::optional<int> staffCount) {
    std::optional<qint64> lastClose;
    for (std::size_t i = 0; i < signs.size(); ++i) {
        const RepeatSign& sign = signs[i];
        if (sign.closes) {
            const qint64 from = open_ ? *open_ : lastClose.value_or(staff.start);
            const int times = i + 1 == signs.size() && closingCount ? *closingCount : 2;
            if (from < sign.tick && times > 1)
                repeats_.push_back({from, sign.tick, times});
            open_.reset();
            lastClose = sign.tick;
        }
        if (sign.opens)
            open_ = sign.tick;
    }
    if (staffCount && *staffCount > 1 && staff.length > 0)
        repeats_.push_back({staff.start, staff.start + staff.length, *staffCount});
}

std::vector<Repeat> RepeatPairing::finish() {
    std::sort(repeats_.begin(), repeats_.end(), [](const Repeat& a, const Repeat& b) {
        return std::tie(a.from, b.to) < std::tie(b.from, a.to);
    });
    std::vector<Repeat> nested;
    std::vector<std::size_t> around;  // the repeats that hold the one looked at, outermost first
    for (const Repeat& repeat : repeats_) {
        if (!nested.empty() && nested.back().from == repeat.from && nested.back().to == repeat.to) {
            nested.back().times = std::max(nested.back().times, repeat.times);
            continue;
        }
        while (!around.empty() && nested[around.back()].to <= repeat.from)
            around.pop_back();
        if (!around.empty() && repeat.to > nested[around.back()].to)
            continue;
        around.push_back(nested.size());
        nested.push_back(repeat);
    }
    repeats_.clear();
    open_.reset();
    return nested;
}

std::vector<PlayedStretch> playingOrder(const TabReading& reading) {
    Expansion expansion(reading.repeats);
    if (reading.staves.empty())
        return {};
    const Staff& last = reading.staves.back();
    std::size_t next = 0;
    expansion.play(0, last.start + last.length, kMaxPasses, next);
    return std::move(expansion.order);
}

}  // namespace fretloom
