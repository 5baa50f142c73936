#include "ui/FontSetUpAhead.h"

#include <fontconfig/fontconfig.h>

namespace fretloom {

FontSetUpAhead::FontSetUpAhead() : reader_([] { FcInit(); }) {}

FontSetUpAhead::~FontSetUpAhead() {
    finish();
}

void FontSetUpAhead::finish() {
    if (reader_.joinable())
        reader_.join();
}

}  // namespace fretloom
