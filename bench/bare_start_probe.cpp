// The yardstick for start-up, linked against Qt Widgets alone: an empty QMainWindow, or with
// --label one that shows a single label, which is what any window with text pays at least, or with
// --size=WxH an empty one of that size: filling a window's pixels costs the same whatever is in it.

#include "StartProbe.h"

#include <QLabel>
#include <QMainWindow>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    fretloom::bench::startProbesOffscreen();
    const bool withLabel = argc == 2 && std::strcmp(argv[1], "--label") == 0;
    int width = 0;
    int height = 0;
    const bool sized = argc == 2 && std::sscanf(argv[1], "--size=%dx%d", &width, &height) == 2;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QMainWindow window;
    if (withLabel)
        window.setCentralWidget(new QLabel(QStringLiteral("Number:")));
    if (sized)
        window.resize(width, height);
    window.show();
    return fretloom::bench::finishStartProbe(window);
}
