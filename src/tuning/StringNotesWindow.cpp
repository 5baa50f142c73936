#include "tuning/StringNotesWindow.h"

#include "sheet/SheetAccess.h"
#include "tuning/StringNotes.h"
#include "widgets/DialogFont.h"
#include "widgets/PlaceBeside.h"
#include "widgets/ProgramIcon.h"
#include "widgets/ReturnPressesButton.h"
#include "widgets/SingleLineBox.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

constexpr int kClientWidth = 3885;
constexpr int kClientHeight = 2325;

// The boxes stand in one column, top string first, 360 twips apart.
constexpr int kBoxLeft = 720;
constexpr int boxTop(Row row) {
    return 120 + 360 * index(row);
}

struct NameLabel {
    const char16_t* name;
    const char16_t* caption;
    QRect twips;
};

// The label naming each box, by row.
const std::array<NameLabel, kStringCount> kNameLabels = {{
    {u"Label3", u"Top e", twipsRect(120, 120, 495, 255)},
    {u"Label6", u"B", twipsRect(480, 480, 135, 255)},
    {u"Label4", u"G", twipsRect(480, 840, 135, 255)},
    {u"Label7", u"D", twipsRect(480, 1200, 135, 255)},
    {u"Label2", u"A", twipsRect(480, 1560, 135, 255)},
    {u"Label5", u"Bottom E", twipsRect(0, 1920, 735, 375)},
}};

QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption,
                       const QString& toolTip, QRect geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

StringNotesWindow::StringNotesWindow(StringCaptions& captions, QWidget* owner)
    : ToolWindow(owner), captions_(captions) {
    setObjectName(u"Form5"_s);
    setWindowTitle(u"Fretloom"_s);
    setWindowIcon(programIcon());
    setFont(dialogFont());
    setFixedSize(twipsSize(kClientWidth, kClientHeight));
    setAccessibleName(u"String notes"_s);
    setAccessibleDescription(u"Renames the strings for other tunings"_s);

    const RowCaptions notes = defaultNotes();
    for (Row row : kAllRows) {
        const NameLabel& named = kNameLabels[index(row)];
        auto* label = new QLabel(QString::fromUtf16(named.caption), this);
        label->setObjectName(QString::fromUtf16(named.name));
        label->setGeometry(named.twips);

        auto* box = new QLineEdit(notes[index(row)], this);
        box->setObjectName(noteBoxName(row));
        keepToOneLine(box, kCellMaxLength);
        box->setGeometry(twipsRect(kBoxLeft, boxTop(row), 735, 285));
        label->setBuddy(box);
        box->setAccessibleName(label->text() + u" string"_s);
        box->setAccessibleDescription(u"The name Change gives this string in the grid"_s);
        boxes_[index(row)] = box;
    }

    auto* warning = new QLabel(
        u"Please note that changing string notes can make chords sound incorrect"_s, this);
    warning->setObjectName(u"Label1"_s);
    warning->setWordWrap(true);
    warning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    warning->setGeometry(twipsRect(1560, 120, 2295, 735));

    command2_ = addButton(this, u"Command2"_s, u"Default"_s,
                          u"This changes strings back to standard tuning"_s,
                          twipsRect(1680, 960, 855, 375));
    command1_ = addButton(this, u"Command1"_s, u"Change"_s, u"This will apply string changes"_s,
                          twipsRect(2760, 960, 855, 375));
    connect(command1_, &QPushButton::clicked, this, &StringNotesWindow::change);
    connect(command2_, &QPushButton::clicked, this, &StringNotesWindow::restoreDefaults);

    QWidget* previous = nullptr;
    for (Row row : kNoteBoxFocusOrder) {
        if (previous)
            setTabOrder(previous, box(row));
        previous = box(row);
    }
    setTabOrder(previous, command1_);
    setTabOrder(command1_, command2_);
    box(kNoteBoxFocusOrder.front())->setFocus();
    pressFocusedButtonOnReturn(this);
    placeBeside(*this, owner);
}

RowCaptions StringNotesWindow::readBoxes() const {
    RowCaptions texts;
    for (Row row : kAllRows)
        texts[index(row)] = box(row)->text();
    return texts;
}

void StringNotesWindow::change() {
    for (const CaptionChange& change : changeStringNotes(readBoxes()))
        captions_.setRowCaption(change.row, change.caption);
}

void StringNotesWindow::restoreDefaults() {
    const RowCaptions notes = defaultNotes();
    for (Row row : kAllRows)
        box(row)->setText(notes[index(row)]);
}

}  // namespace fretloom
