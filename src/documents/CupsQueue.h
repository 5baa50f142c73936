#pragma once

#include <QString>
#include <optional>

namespace fretloom {

// What the CUPS scheduler says about one print queue. Qt hands a job to CUPS without looking
// at the answer, so a queue that turns jobs away would lose the printout without a word; this
// asks the scheduler itself. Where the CUPS library cannot be loaded, nothing is known.
class CupsQueue {
public:
    struct Api;

    // Asks the scheduler about the queue now.
    explicit CupsQueue(const QString& printerName);

    // Why the queue takes no jobs at the moment, or nothing when it does or the scheduler could
    // not tell.
    std::optional<QString> refusal() const { return refusal_; }

    // To be called right after a job went to the queue on this thread: why the scheduler turned
    // that job down, or nothing when it took it (or the queue was unknown to begin with).
    std::optional<QString> jobRefusal() const;

private:
    static const Api* cups();

    const Api* api_ = nullptr;
    bool known_ = false;
    std::optional<QString> refusal_;
};

}  // namespace fretloom
