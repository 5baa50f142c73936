#include "sheet/Bar.h"

#include "sheet/LineBreaks.h"
#include "sheet/ModeCaption.h"

namespace fretloom {

void tabs(Grid& grid) {
    for (RowCells& cells : grid.rows)
        for (QString& cell : cells)
            if (cell.isEmpty())
                cell = QString::fromUtf16(kFiller);
}

QString rowLine(const QString& caption, const RowCells& cells) {
    qsizetype length = caption.size() + 21 + 2;
    for (const QString& cell : cells)
        length += cell.size();
    QString line;
    line.reserve(length);
    line += caption;
    line += u"  |-";
    for (const QString& cell : cells) {
        line += cell;
        line += u'-';
    }
    line += u'|';
    line += QStringView(kLineEnd);
    return line;
}

QString um(const Grid& grid, const RowCaptions& captions) {
    QString block;
    for (Row row : {Row::g, Row::d, Row::a, Row::f})
        block += rowLine(captions[index(row)], grid.row(row));
    block += QStringView(kLineEnd);
    return block;
}

QString commitBar(Grid& grid, const RowCaptions& captions, const QString& modeCaption) {
    tabs(grid);
    QString block;
    // The upper strings differ between the modes; um adds the four every mode shares.
    for (Row row : committedRows(modeFromCaption(modeCaption)))
        if (row == Row::e || row == Row::b)
            block += rowLine(captions[index(row)], grid.row(row));
    block += um(grid, captions);
    return block;
}

void deldeldel(Grid& grid) {
    for (RowCells& cells : grid.rows)
        for (QString& cell : cells)
            cell.clear();
}

int countBars(QStringView tab) {
    int bars = 0;
    bool counted = false;  // the run of lines the walk is in has been counted
    qsizetype start = 0;
    for (qsizetype i = 0; i <= tab.size(); ++i) {
        if (i < tab.size() && !isParagraphBreak(tab[i].unicode()))
            continue;
        const QStringView line = tab.sliced(start, i - start).trimmed();
        if (line.isEmpty()) {
            counted = false;
        } else if (!counted && line.endsWith(u'|')) {
            ++bars;
            counted = true;
        }
        if (i + 1 < tab.size() && tab[i] == u'\r' && tab[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    return bars;
}

}  // namespace fretloom
