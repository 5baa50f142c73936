#include "ui/WindowTitle.h"

namespace fretloom {

using namespace Qt::StringLiterals;

QString escapeTitlePlaceholders(const QString& title) {
    QString escaped = title;
    return escaped.replace(u"[*]"_s, u"[*][*]"_s);
}

QString unescapeTitlePlaceholders(const QString& title) {
    QString plain = title;
    return plain.replace(u"[*][*]"_s, u"[*]"_s);
}

}  // namespace fretloom
