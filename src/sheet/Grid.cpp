#include "sheet/Grid.h"

namespace fretloom {

using namespace Qt::StringLiterals;

QString rowPrefix(Row row) {
    static const std::array<QString, kStringCount> prefixes = {u"e"_s, u"b"_s, u"g"_s,
                                                               u"d"_s, u"a"_s, u"f"_s};
    return prefixes[index(row)];
}

QString cellName(Row row, int column) {
    return rowPrefix(row) + QString::number(column);
}

RowCaptions standardCaptions() {
    return {u"e"_s, u"B"_s, u"G"_s, u"D"_s, u"A"_s, u"E"_s};
}

}  // namespace fretloom
