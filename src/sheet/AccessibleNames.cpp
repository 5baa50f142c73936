#include "sheet/AccessibleNames.h"

namespace fretloom {

using namespace Qt::StringLiterals;

QString accessibleCellName(const QString& caption, Row row, int column) {
    // Spaces are not spoken: a caption of spaces only sounds like no name at all.
    const QString string = caption.trimmed().isEmpty() ? u"unnamed string %1"_s.arg(index(row) + 1)
                                                       : u"string %1"_s.arg(caption);
    return u"%1, column %2"_s.arg(string).arg(column);
}

QString accessibleCellDescription(Row row) {
    QString position = u"string %1 of %2"_s.arg(index(row) + 1).arg(kStringCount);
    if (row == Row::e)
        position += u", the highest"_s;
    else if (row == Row::f)
        position += u", the lowest"_s;
    return position;
}

}  // namespace fretloom
