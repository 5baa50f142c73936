#pragma once

#include "documents/FileSystem.h"
#include "documents/TabFiles.h"

#include <QObject>

class QAction;

namespace fretloom {

class SheetWindow;

// The File menu's commands on the tab file: Open, Save, Save As and Print, with the current path
// and the leaving rule they share.
class FileCommands : public QObject {
    Q_OBJECT

public:
    FileCommands(SheetWindow& sheet, QObject* parent);

    QAction* openCommand() const { return pen1_; }
    QAction* saveCommand() const { return ave1_; }
    QAction* saveAsCommand() const { return saveAs_; }
    QAction* printCommand() const { return rint1_; }

    TabFiles& tabFiles() { return tabFiles_; }
    FileSystem& fileSystem() { return files_; }

private:
    void print();

    SheetWindow& sheet_;
    DiskFileSystem files_;
    TabFiles tabFiles_;
    QAction* pen1_;
    QAction* ave1_;
    QAction* saveAs_;
    QAction* rint1_;
};

}  // namespace fretloom
