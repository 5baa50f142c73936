#include "chords/ChordPicker.h"
#include "support/RandomText.h"

#include <cmath>
#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using fretloom::testing::RandomText;
using fretloom::testing::spelled;

// Blanks that may stand around the number.
QString randomBlanks(RandomText& random) {
    static constexpr std::array<char16_t, 8> blanks = {u' ',   u'\t',  u'\n',  u'\r',
                                                       0x00A0, 0x2029, 0x3000, 0x0085};
    QString text;
    for (int i = random.number(0, 2); i > 0; --i)
        text += QChar(random.pick(blanks));
    return text;
}

QString randomDigits(RandomText& random, int minCount, int maxCount) {
    QString digits;
    // Leading zeros now and then, to reach past what an int holds.
    if (random.chance(15))
        digits += QString(random.number(1, 20), u'0');
    for (int i = random.number(minCount, maxCount); i > 0; --i)
        digits += QChar(char16_t(u'0' + random.number(0, 9)));
    return digits;
}

// A plain decimal number in ASCII: sign, digits, maybe a point and a short fraction.
QString randomNumber(RandomText& random) {
    QString number;
    const int sign = random.number(1, 10);
    if (sign == 1)
        number += u'-';
    else if (sign == 2)
        number += u'+';
    // Mostly one or two digits, so the columns come up often.
    number += random.chance(80) ? randomDigits(random, 1, 2) : randomDigits(random, 0, 12);
    if (random.chance(25)) {
        // A short fraction, so that reading it as a double keeps every digit that counts.
        number += u'.';
        number += QString(random.number(0, 4), u'0');
        for (int i = random.chance(50) ? random.number(1, 4) : 0; i > 0; --i)
            number += QChar(char16_t(u'0' + random.number(0, 9)));
    }
    return number;
}

// Clean numbers with blanks around them name the column they equal and nothing else.
TEST(ColumnTextFuzz, PlainNumbersNameTheColumnTheyEqual) {
    RandomText random(16);
    int named = 0;
    for (int round = 0; round < 20000; ++round) {
        const QString number = randomNumber(random);
        const QString text = randomBlanks(random) + number + randomBlanks(random);
        bool isNumber = false;
        const double value = number.toDouble(&isNumber);
        std::optional<int> expected;
        if (isNumber && value >= 1 && value <= kColumnCount && value == std::floor(value))
            expected = int(value);

        const std::optional<int> column = columnFromText(text);
        EXPECT_EQ(column, expected) << "round " << round << " " << spelled(text);
        named += column.has_value();
        if (::testing::Test::HasFailure())
            break;
    }
    EXPECT_GT(named, 2000);
}

// Any text at all, numbers with a stray character among them included: never a crash, never a
// column outside 1..16, and a column only where the text read as a number equals it.
TEST(ColumnTextFuzz, AnyTextNamesAColumnOnlyWhenItsNumberIsThatColumn) {
    RandomText random(1603);
    int named = 0;
    for (int round = 0; round < 20000; ++round) {
        QString text;
        if (random.chance(50)) {
            text = random.text(0, 8);
        } else {
            text = randomBlanks(random) + randomNumber(random) + randomBlanks(random);
            const int at = random.number(0, int(text.size()));
            if (random.chance(50) && at < text.size())
                text[at] = random.unit();
            else
                text.insert(at, random.unit());
        }

        const std::optional<int> column = columnFromText(text);
        if (!column)
            continue;
        ++named;
        EXPECT_GE(*column, 1) << "round " << round << " " << spelled(text);
        EXPECT_LE(*column, kColumnCount) << "round " << round << " " << spelled(text);
        bool isNumber = false;
        const double value = text.trimmed().toDouble(&isNumber);
        EXPECT_TRUE(isNumber) << "round " << round << " " << spelled(text);
        EXPECT_EQ(value, double(*column)) << "round " << round << " " << spelled(text);
        if (::testing::Test::HasFailure())
            break;
    }
    EXPECT_GT(named, 500);
}

}  // namespace
}  // namespace fretloom
