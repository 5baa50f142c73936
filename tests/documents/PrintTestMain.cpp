#include <QApplication>
#include <cstdio>
#include <gtest/gtest.h>

// These tests really print. They talk to the CUPS scheduler that CUPS_SERVER names and refuse
// to run without it, so that they never reach the machine's own printers.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER")) {
        std::fputs("CUPS_SERVER is not set: run these tests through cups_print_test.sh, or with "
                   "CUPS_SERVER naming a scheduler of their own.\n",
                   stderr);
        return 1;
    }
    // Only the scheduler's default may decide where a job goes.
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
