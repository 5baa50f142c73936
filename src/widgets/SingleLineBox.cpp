#include "widgets/SingleLineBox.h"

#include "sheet/SingleLine.h"

#include <QLineEdit>
#include <QValidator>

namespace fretloom {

namespace {

// Qt's own length limit counts UTF-16 units and cuts a pasted text wherever the limit falls, so
// the boxes leave it at its default and let this do the limiting. Qt runs it after every change,
// with the caret just after what came in.
class OneLineValidator : public QValidator {
public:
    OneLineValidator(std::optional<int> maxCharacters, QLineEdit* box)
        : QValidator(box), maxCharacters_(maxCharacters), accepted_(box->text()) {}

    State validate(QString& input, int& caret) const override {
        const BoxText fitted = fitSingleLine(input, caret, maxCharacters_);
        if (fitted.text == input) {
            accepted_ = input;
            return Acceptable;
        }
        // Nothing of the edit fits: Qt takes back an invalid edit whole.
        if (fitted.text == accepted_)
            return Invalid;
        input = fitted.text;
        caret = static_cast<int>(fitted.caret);
        accepted_ = input;
        return Acceptable;
    }

private:
    std::optional<int> maxCharacters_;
    mutable QString accepted_;  // the box's text as last accepted
};

}  // namespace

void keepToOneLine(QLineEdit* box, std::optional<int> maxCharacters) {
    box->setValidator(new OneLineValidator(maxCharacters, box));
}

}  // namespace fretloom
