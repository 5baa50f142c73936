// The yardstick for start-up, linked against Qt Widgets alone: an empty QMainWindow, or with
// --label one that shows a single label, which is what any window with text pays at least.

#include "StartProbe.h"

#include <QLabel>
#include <QMainWindow>
#include <cstring>

int main(int argc, char** argv) {
    fretloom::bench::startProbesOffscreen();
    const bool withLabel = argc == 2 && std::strcmp(argv[1], "--label") == 0;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QMainWindow window;
    if (withLabel)
        window.setCentralWidget(new QLabel(QStringLiteral("Number:")));
    window.show();
    return fretloom::bench::finishStartProbe(window);
}
