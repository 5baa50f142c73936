// The editor's start-up, linked as the program is: the steps of main() with no arguments, up to
// the first paint of the window.

#include "StartProbe.h"
#include "documents/CommandLine.h"
#include "ui/FontSetUpAhead.h"
#include "ui/MainWindow.h"
#include "ui/StartUp.h"

int main(int argc, char** argv) {
    fretloom::bench::startProbesOffscreen();
    if (const std::optional<int> exitCode = fretloom::answerWithoutWindow(argc, argv))
        return *exitCode;
    fretloom::FontSetUpAhead fonts;
    QApplication app(argc, argv);
    const fretloom::CommandLine line = fretloom::readCommandLine(QApplication::arguments());
    fonts.finish();
    fretloom::MainWindow window;
    fretloom::showAtStart(window, line.file);
    return fretloom::bench::finishStartProbe(window);
}
