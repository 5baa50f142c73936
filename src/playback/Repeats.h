#pragma once

#include "playback/StaffReader.h"
#include "playback/TabReading.h"

#include <optional>
#include <vector>

namespace fretloom {

// Pairs the repeat signs of the staves, in the order of the tab, into repeats. ":|" goes back
// to the last "|:" that is still open, in its own staff or an earlier one; without one, to the
// previous ":|" of its staff, else to the staff's start. A repeat plays twice, or as often as the
// count beside its closing sign says. A staff with a count of its own plays that many times.
class RepeatPairing {
public:
    // `closingCount` is the count beside the staff's last sign, `staffCount` the staff's own.
    void addStaff(const Staff& staff, const std::vector<RepeatSign>& signs,
                  std::optional<int> closingCount, std::optional<int> staffCount);

    // The repeats, by `from` and the longer first. Two over the same stretch are one, with the
    // larger count; one that crosses an earlier one is dropped, so any two nest or lie apart.
    std::vector<Repeat> finish();

private:
    std::optional<qint64> open_;
    std::vector<Repeat> repeats_;
};

}  // namespace fretloom
