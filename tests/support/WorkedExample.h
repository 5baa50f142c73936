#pragma once

#include "sheet/Grid.h"
#include "support/UserInput.h"

#include <QStringList>

namespace fretloom::testing {

// The bar a new user writes from e1 with the keyboard alone: a C chord in column 1, a bar line
// in column 2, 12 on the top string in column 3 and 5 on the G string in column 4, walking each
// row with Tab and pressing the Enter button with Space once Tab has passed f16.
inline void typeWorkedExample() {
    using namespace Qt::StringLiterals;
    const QStringList columnOne = {u"0"_s, u"1"_s, u"0"_s, u"2"_s, u"3"_s, u"3"_s};
    for (int r = 0; r < kStringCount; ++r) {
        ASSERT_EQ(focusedName(), cellName(kAllRows[r], 1));
        type(columnOne[r]);
        press(Qt::Key_Tab);
        type(u"|"_s);
        press(Qt::Key_Tab);
        if (r == 0)
            type(u"12"_s);
        if (r == 2) {
            press(Qt::Key_Tab);
            type(u"5"_s);
            pressTimes(Qt::Key_Tab, 13);
        } else {
            pressTimes(Qt::Key_Tab, 14);
        }
    }
    ASSERT_EQ(focusedName(), u"Command1"_s);
    press(Qt::Key_Space);
}

}  // namespace fretloom::testing
