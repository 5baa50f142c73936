#include "FretloomVersion.h"
#include "documents/CommandLine.h"
#include "playback/CommandLineExport.h"
#include "ui/FontSetUpAhead.h"
#include "ui/MainWindow.h"
#include "ui/MenuBarIconWhenDrawn.h"
#include "ui/StartUp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    if (const std::optional<int> exitCode =
            fretloom::answerWithoutWindow(argc, argv, &fretloom::exportOnCommandLine))
        return *exitCode;

    fretloom::FontSetUpAhead fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fretloom"));
    QApplication::setApplicationVersion(QString::fromLatin1(kFretloomVersion));
    // Lets the desktop match the window to the installed entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("org.fretloom.Fretloom"));

    // Joined before any way out, so the reader never runs while QApplication tears down.
    fonts.finish();

    // Read again now that QApplication has taken out the options that are Qt's.
    const fretloom::CommandLine line = fretloom::readCommandLine(QApplication::arguments());
    if (line.outcome == fretloom::CommandLine::Outcome::Export)
        return fretloom::exportOnCommandLine(line);
    if (line.outcome != fretloom::CommandLine::Outcome::Start)
        return fretloom::answer(line);

    fretloom::readMenuBarIconWhenDrawn();
    fretloom::MainWindow window;
    fretloom::showAtStart(window, line.file);
    return app.exec();
}
