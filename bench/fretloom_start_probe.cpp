// The editor's start-up, linked as the program is: the steps of main() with no arguments, up to
// the first paint of the window. With --bare it shows an empty QMainWindow instead, so the bare
// window pays for loading the same libraries as the editor and only the window itself differs.

#include "StartProbe.h"
#include "documents/CommandLine.h"
#include "playback/CommandLineExport.h"
#include "ui/FontSetUpAhead.h"
#include "ui/MainWindow.h"
#include "ui/MenuBarIconWhenDrawn.h"
#include "ui/StartUp.h"

#include <QMainWindow>
#include <cstring>

int main(int argc, char** argv) {
    fretloom::bench::startProbesOffscreen();
    if (argc == 2 && std::strcmp(argv[1], "--bare") == 0) {
        int qtArgc = 1;
        QApplication app(qtArgc, argv);
        QMainWindow window;
        window.show();
        return fretloom::bench::finishStartProbe(window);
    }
    if (const std::optional<int> exitCode =
            fretloom::answerWithoutWindow(argc, argv, &fretloom::exportOnCommandLine))
        return *exitCode;
    fretloom::FontSetUpAhead fonts;
    QApplication app(argc, argv);
    const fretloom::CommandLine line = fretloom::readCommandLine(QApplication::arguments());
    fonts.finish();
    fretloom::readMenuBarIconWhenDrawn();
    fretloom::MainWindow window;
    fretloom::showAtStart(window, line.file);
    return fretloom::bench::finishStartProbe(window);
}
