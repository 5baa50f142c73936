#include "ui/QtDialogService.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <pwd.h>
#include <unistd.h>

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

// A warning over `parent`; names are shown as typed, never read as markup.
void showWarning(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// The home folder of a user, or nothing when there is no such user.
QString homeOf(const QString& user) {
    if (user.isEmpty())
        return QDir::homePath();
    const passwd* entry = ::getpwnam(QFile::encodeName(user).constData());
    return entry && entry->pw_dir ? QFile::decodeName(entry->pw_dir) : QString();
}

// The paths a name typed into the file dialog can stand for: the name itself, in the dialog's
// folder unless it starts with "/", and for a name that starts with "~" the home folder it names.
QStringList readingsOf(const QString& typed, const QString& folder) {
    if (typed.startsWith(u'/'))
        return {typed};
    QStringList readings{folder.endsWith(u'/') ? folder + typed : folder + u'/' + typed};
    if (typed.startsWith(u'~')) {
        const qsizetype slash = typed.indexOf(u'/');
        const QString home = homeOf(typed.mid(1, slash < 0 ? -1 : slash - 1));
        if (!home.isEmpty()) {
            const QString path = slash < 0 ? home : home + typed.mid(slash);
            if (!readings.contains(path))
                readings << path;
        }
    }
    return readings;
}

// Qt's own file dialog, taking what the user typed as one exact path. Qt's dialog reads text in
// double quotes as a list of names in its folder ("a" "b"), so a name with quotes in it stood for
// another file; here the name box always holds one name, whatever its characters, and a name
// that could mean two files is asked for again.
class ExactFileDialog : public QFileDialog {
public:
    ExactFileDialog(QWidget* parent, const FileDialogRequest& request, AcceptMode mode)
        : QFileDialog(parent) {
        // Qt's own dialog behaves the same on every desktop.
        setOption(DontUseNativeDialog);
        setNameFilter(request.filter);
        setAcceptMode(mode);
        setFileMode(mode == AcceptOpen ? ExistingFile : AnyFile);
        // Asking before replacing is the default; no suffix is added to a name typed without one.
        if (QLineEdit* box = nameBox()) {
            // Qt's completion would select the files it reads out of quotes; the list shows the
            // one file the name stands for instead, before the Open or Save button looks at it.
            disconnect(box, SIGNAL(textChanged(QString)), this,
                       SLOT(_q_autoCompleteFileName(QString)));
            disconnect(box, SIGNAL(textChanged(QString)), this, SLOT(_q_updateOkButton()));
            connect(box, &QLineEdit::textChanged, this,
                    [this](const QString& typed) { selectInList(typed); });
            connect(box, SIGNAL(textChanged(QString)), this, SLOT(_q_updateOkButton()));
        }
        if (!request.startPath.isEmpty())
            selectFile(request.startPath);
    }

    const std::optional<QString>& chosen() const { return chosen_; }

protected:
    void accept() override {
        QLineEdit* box = nameBox();
        const QString typed = box ? box->text() : QString();
        if (typed.isEmpty()) {
            // Nothing typed: Qt goes by what is selected in the list.
            QFileDialog::accept();
            if (result() == Accepted && !selectedFiles().isEmpty())
                chosen_ = selectedFiles().constFirst();
            return;
        }

        const bool saving = acceptMode() == AcceptSave;
        const QStringList readings = readingsOf(typed, directory().absolutePath());
        QStringList possible;
        for (const QString& path : readings) {
            const QFileInfo info(path);
            if (info.exists() || (saving && info.absoluteDir().exists()))
                possible << path;
        }
        if (possible.isEmpty()) {
            const QFileInfo first(readings.constFirst());
            if (saving)
                tell(u"The folder \"%1\" does not exist."_s.arg(first.absolutePath()));
            else
                tell(u"The file \"%1\" does not exist."_s.arg(first.absoluteFilePath()));
            return;
        }
        if (possible.size() > 1) {
            tell(
                u"\"%1\" could be \"%2\" or \"%3\". Type the whole path of the one you mean."_s.arg(
                    typed, possible[0], possible[1]));
            return;
        }

        const QString path = possible.constFirst();
        const QFileInfo info(path);
        if (info.isDir()) {
            setDirectory(path);
            box->clear();
            return;
        }
        if (saving && !info.exists() && !fitsItsFolder(info))
            return;
        if (saving && info.exists() && !mayReplace(info.fileName()))
            return;
        chosen_ = path;
        QDialog::accept();
    }

private:
    QLineEdit* nameBox() const { return findChild<QLineEdit*>(u"fileNameEdit"_s); }

    void tell(const QString& text) { showWarning(this, windowTitle(), text); }

    bool mayReplace(const QString& name) {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        u"%1 already exists.\nDo you want to replace it?"_s.arg(name),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }

    // Whether the folder takes a name this long; the dialog measures characters, the file
    // system bytes.
    bool fitsItsFolder(const QFileInfo& info) {
        const long limit =
            ::pathconf(QFile::encodeName(info.absolutePath()).constData(), _PC_NAME_MAX);
        if (limit < 0 || QFile::encodeName(info.fileName()).size() <= limit)
            return true;
        tell(u"The name \"%1\" is longer than the %2 bytes a file name can have in \"%3\"."_s
                 .arg(info.fileName())
                 .arg(limit)
                 .arg(info.absolutePath()));
        return false;
    }

    void selectInList(const QString& typed) {
        auto* view = findChild<QAbstractItemView*>(u"listView"_s);
        auto* model = view ? qobject_cast<QFileSystemModel*>(view->model()) : nullptr;
        if (!model)
            return;
        QModelIndex index;
        if (!typed.isEmpty()) {
            QStringList existing;
            for (const QString& path : readingsOf(typed, directory().absolutePath()))
                if (QFileInfo::exists(path))
                    existing << path;
            if (existing.size() == 1)
                index = model->index(existing.constFirst());
        }
        QItemSelectionModel* selection = view->selectionModel();
        if (index.isValid() && index.parent() == view->rootIndex()) {
            if (!selection->isRowSelected(index.row(), index.parent()) ||
                selection->selectedRows().size() != 1)
                selection->select(index,
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        } else if (selection->hasSelection()) {
            selection->clearSelection();
        }
    }

    std::optional<QString> chosen_;
};

// Qt's file and colour dialogs keep the folders visited, their view and the custom colours in a
// settings file of the user's (QtProject.conf) and read them back. The program keeps nothing
// between runs, so those settings are pointed below a file, where no folder can ever be:
// nothing is read and nothing is written.
void keepNoDialogSettings() {
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, u"/dev/null"_s);
}

}  // namespace

QtDialogService::QtDialogService(QWidget* parent) : parent_(parent) {
    keepNoDialogSettings();
}

std::optional<QString> QtDialogService::chooseFileToOpen(const FileDialogRequest& request) {
    ExactFileDialog dialog(parent_, request, QFileDialog::AcceptOpen);
    dialog.exec();
    return dialog.chosen();
}

std::optional<QString> QtDialogService::chooseFileToSave(const FileDialogRequest& request) {
    ExactFileDialog dialog(parent_, request, QFileDialog::AcceptSave);
    dialog.exec();
    return dialog.chosen();
}

std::optional<FontChoice> QtDialogService::chooseFont(const FontChoice& preset) {
    QFont initial(preset.family);
    initial.setBold(preset.bold);
    initial.setItalic(preset.italic);
    initial.setPointSizeF(preset.pointSize);
    // The dialog can only preselect a face the font system lists. A face it merely stands in
    // for (Times New Roman is often Liberation Serif) opens on its stand-in, and choosing that
    // stand-in unchanged keeps the name the tab box had.
    const QString standIn = QFontInfo(initial).family();
    const bool listed = QFontDatabase::families().contains(preset.family);
    if (!listed)
        initial.setFamily(standIn);
    bool accepted = false;
    const QFont font = QFontDialog::getFont(&accepted, initial, parent_);
    if (!accepted)
        return std::nullopt;
    const QString family = !listed && font.family() == standIn ? preset.family : font.family();
    // Bitmap faces are sized in pixels and report no point size of their own.
    const double pointSize =
        font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    return FontChoice{family, font.bold(), font.italic(), pointSize};
}

std::optional<Rgb> QtDialogService::chooseColor(const Rgb& initial) {
    const QColor colour =
        QColorDialog::getColor(QColor(initial.red, initial.green, initial.blue), parent_);
    if (!colour.isValid())
        return std::nullopt;
    return Rgb{colour.red(), colour.green(), colour.blue()};
}

Answer QtDialogService::ask(const Question& question) {
    QMessageBox box(parent_);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(question.title);
    box.setText(question.text);
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (question.buttons == QuestionButtons::YesNoCancel)
        buttons |= QMessageBox::Cancel;
    box.setStandardButtons(buttons);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // The close box of a Yes/No question counts as No: nothing is lost by it.
        return question.buttons == QuestionButtons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
}

std::optional<int> QtDialogService::askNumber(const NumberQuestion& question) {
    bool accepted = false;
    const int value = QInputDialog::getInt(parent_, question.title, question.label, question.value,
                                           question.minimum, question.maximum, 1, &accepted);
    if (!accepted)
        return std::nullopt;
    return value;
}

void QtDialogService::warn(const QString& title, const QString& text) {
    showWarning(parent_, title, text);
}

void QtDialogService::showAbout(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok, parent_);
    box.exec();
}

}  // namespace fretloom
