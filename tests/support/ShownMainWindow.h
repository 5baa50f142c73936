#pragma once

#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"
#include "ui/MainWindow.h"
#include "ui/TabBox.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace fretloom::testing {

// A main window shown and active, its dialogs scripted. At the end it closes as a user closes
// it, answering No should it ask to save, and is gone before the next test starts.
class ShownMainWindow : public ::testing::Test {
protected:
    void SetUp() override { showAndActivate(window); }
    void TearDown() override {
        dialogs.answerNoIfAskedToSave(!window.tabBox()->isEmptyText());
        window.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ScriptedDialogs dialogs;
    MainWindow window{&dialogs};
};

}  // namespace fretloom::testing
