#include "gui/MainWindowTest.h"

#include <QPushButton>

namespace quillan::test {

TEST_F(MainWindowTest, StartsWithTheFocusOnHelp)
{
    start();
    EXPECT_TRUE(window->blnStartupCompleted);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->cmdStop->isVisible());
}

} // namespace quillan::test
