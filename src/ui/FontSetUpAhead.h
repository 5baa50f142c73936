#pragma once

#include <thread>

namespace fretloom {

// Reads the system's font configuration on a second thread while Qt connects to the display.
// Otherwise the first label reads it on the main thread, and parsing those files is the largest
// single cost of showing any text at start. Qt's own set-up then finds it done.
class FontSetUpAhead {
public:
    FontSetUpAhead();
    ~FontSetUpAhead();
    FontSetUpAhead(const FontSetUpAhead&) = delete;
    FontSetUpAhead& operator=(const FontSetUpAhead&) = delete;

    // Waits until the configuration is read; call it before building the first window, so the
    // two threads never read it twice over.
    void finish();

private:
    std::thread reader_;
};

}  // namespace fretloom
