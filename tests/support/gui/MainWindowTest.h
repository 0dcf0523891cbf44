#pragma once
// Fixture for tests that drive the main window: a fresh data folder, the
// window started as the program starts it, the scripted fake for every box.

#include "gui/FakeInteraction.h"
#include "main/frmMain.h"

#include <QString>

#include <memory>

namespace quillan::test {

class MainWindowTest : public GuiTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the window (Form_Load); `expectLoaded` false for start-up
    // failures the test provokes itself.
    void start(bool expectLoaded = true);

    // The program's data folder (created by the program when it writes).
    static QString dataFolder();
    static QString dataFile(const QString &name);
    // The folder holding the program text file and the help file.
    static QString programFolder();

    std::unique_ptr<frmMain> window;
};

} // namespace quillan::test
