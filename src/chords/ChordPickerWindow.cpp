#include "chords/ChordPickerWindow.h"

#include "sheet/SheetAccess.h"
#include "widgets/ComboBoxNames.h"
#include "widgets/DialogFont.h"
#include "widgets/PlaceBeside.h"
#include "widgets/ProgramIcon.h"
#include "widgets/ReturnPressesButton.h"
#include "widgets/SingleLineBox.h"
#include "widgets/Twips.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

// Client area, in twips.
constexpr int kClientWidth = 5595;
constexpr int kClientHeight = 1410;

// All three chord boxes share one place; only the current style's box is shown.
constexpr QRect kChordBoxPlace = twipsRect(1200, 240, 1455, 315);

// A push button whose caption wraps onto a second line when it is wider than the button, as
// "Change to: Power chords" is.
class WrappingButton : public QPushButton {
public:
    WrappingButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const QString caption = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        const QRect room = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        style()->drawItemText(&painter, room, Qt::AlignCenter | Qt::TextWordWrap, palette(),
                              isEnabled(), caption, QPalette::ButtonText);
    }
};

// Selects a box's whole text whenever the box takes the focus, so that what the user types
// replaces "Open Chords" rather than joining it. A click selects once the button is let go,
// unless it dragged a selection of its own; coming back to the window or from the box's list
// leaves the caret where it was.
class SelectOnFocus : public QObject {
public:
    using QObject::QObject;

    void watch(QComboBox* box) {
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QComboBox*>(watched);
        if (box && event->type() == QEvent::FocusIn) {
            QLineEdit* text = box->lineEdit();
            switch (static_cast<QFocusEvent*>(event)->reason()) {
            case Qt::ActiveWindowFocusReason:
            case Qt::PopupFocusReason:
                break;
            case Qt::MouseFocusReason:
                clicked_ = text;
                break;
            default:
                text->selectAll();
            }
        } else if (event->type() == QEvent::MouseButtonRelease && clicked_ && watched == clicked_) {
            if (!clicked_->hasSelectedText())
                clicked_->selectAll();
            clicked_ = nullptr;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QLineEdit> clicked_;  // took the focus by a click not yet let go
};

QLabel* addLabel(QWidget* parent, const QString& name, const QString& caption, QRect place) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    return label;
}

// An editable drop-down list that keeps exactly what the user types: no completion from the
// list (typing "E" stays "E" rather than becoming "Eb"), no new entries on Return, and one line
// only. A screen reader calls it by `spokenName`, whatever it holds.
QComboBox* addBox(QWidget* parent, const QString& name, const QString& spokenName,
                  const QStringList& entries, const QString& text, QRect place) {
    auto* box = new QComboBox(parent);
    box->setAccessibleName(spokenName);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    keepToOneLine(box->lineEdit());
    box->addItems(entries);
    box->setCurrentIndex(-1);
    box->setEditText(text);
    box->setGeometry(place);
    return box;
}

QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, QRect place) {
    auto* button = new WrappingButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

ChordPickerWindow::ChordPickerWindow(GridColumnCells& grid, QWidget* beside)
    : ToolWindow(beside), grid_(grid) {
    keepComboBoxNamesFixed();
    setObjectName(u"Form4"_s);
    setWindowTitle(u"Fretloom"_s);
    setWindowIcon(programIcon());
    setFixedSize(twipsSize(kClientWidth, kClientHeight));
    setFont(dialogFont());

    label1_ = addLabel(this, u"Label1"_s, u"Pick A Chord:"_s, twipsRect(0, 240, 1095, 255));
    power_ = addBox(this, u"Power"_s, u"Chord"_s, chordBoxEntries(ChordStyle::Power),
                    initialChordBoxText(ChordStyle::Power), kChordBoxPlace);
    norm_ = addBox(this, u"norm"_s, u"Chord"_s, chordBoxEntries(ChordStyle::Open),
                   initialChordBoxText(ChordStyle::Open), kChordBoxPlace);
    bar_ = addBox(this, u"Bar"_s, u"Chord"_s, chordBoxEntries(ChordStyle::Barre),
                  initialChordBoxText(ChordStyle::Barre), kChordBoxPlace);
    label2_ = addLabel(this, u"Label2"_s, u"Choose a column:"_s, twipsRect(2760, 240, 1335, 255));
    where_ = addBox(this, u"where"_s, u"Column"_s, columnBoxEntries(),
                    QString::fromUtf16(kInitialColumnText), twipsRect(4200, 240, 1095, 315));
    command1_ = addButton(this, u"Command1"_s, u"Enter"_s, twipsRect(3120, 720, 1335, 495));
    command1_->setToolTip(u"This enters the chord"_s);
    command2_ = addButton(this, u"Command2"_s, styleButtonCaption(ChordStyle::Open),
                          twipsRect(1440, 720, 1215, 495));

    power_->hide();
    bar_->hide();
    describeForScreenReaders();

    // Keyboard order; the hidden chord boxes keep their places in it and are skipped.
    setTabOrder(power_, norm_);
    setTabOrder(norm_, command1_);
    setTabOrder(command1_, where_);
    setTabOrder(where_, bar_);
    setTabOrder(bar_, command2_);
    norm_->setFocus();
    norm_->lineEdit()->selectAll();
    auto* selector = new SelectOnFocus(this);
    for (QComboBox* box : {norm_, power_, bar_, where_})
        selector->watch(box);

    connect(command1_, &QPushButton::clicked, this, &ChordPickerWindow::enterChord);
    connect(command2_, &QPushButton::clicked, this, &ChordPickerWindow::changeStyle);
    pressFocusedButtonOnReturn(this);
    placeBeside(*this, beside);
}

QComboBox* ChordPickerWindow::chordBox(ChordStyle style) const {
    switch (style) {
    case ChordStyle::Open:
        return norm_;
    case ChordStyle::Power:
        return power_;
    case ChordStyle::Barre:
        return bar_;
    }
    return nullptr;
}

std::optional<ChordStyle> ChordPickerWindow::chordStyle() const {
    for (ChordStyle style : {ChordStyle::Open, ChordStyle::Power, ChordStyle::Barre})
        if (!chordBox(style)->isHidden())
            return style;
    return std::nullopt;
}

void ChordPickerWindow::changeStyle() {
    const std::optional<ChordStyle> shown = chordStyle();
    if (!shown)
        return;
    const StyleSwitch change = switchStyle(*shown);
    chordBox(change.show)->show();
    chordBox(change.hide)->hide();
    chordBox(change.hide)->setEditText(change.hiddenText);
    command2_->setText(change.caption);
    label1_->setBuddy(chordBox(change.show));
}

void ChordPickerWindow::describeForScreenReaders() {
    // The boxes are named "Chord" and "Column" (see addBox), and each label is the buddy of its
    // box as well; "Pick A Chord:" follows the chord box that is shown.
    setAccessibleName(u"Chord picker"_s);
    setAccessibleDescription(u"Writes a chord or a bar line into one column of the grid"_s);
    label1_->setBuddy(norm_);
    label2_->setBuddy(where_);
    norm_->setAccessibleDescription(u"The open chord or bar line that Enter writes"_s);
    power_->setAccessibleDescription(u"The power chord that Enter writes"_s);
    bar_->setAccessibleDescription(u"The barre chord that Enter writes"_s);
    where_->setAccessibleDescription(u"The grid column, 1 to 16, that Enter writes into"_s);
    command2_->setAccessibleDescription(
        u"Switches between open, power and barre chords; the caption names the next style"_s);
}

void ChordPickerWindow::enterChord() {
    const ChordShape shape =
        resolveChord(power_->currentText(), norm_->currentText(), bar_->currentText());
    const std::optional<int> column = columnFromText(where_->currentText());
    if (!column)
        return;
    grid_.writeColumn(*column, shape);
}

}  // namespace fretloom
