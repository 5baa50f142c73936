#pragma once

#include <QString>
#include <ostream>

// Lets failing expectations show chord texts instead of raw bytes. Internal linkage keeps it
// out of the way of any other printer in the test program.
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
