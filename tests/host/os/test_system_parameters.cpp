#include "os/SystemParameters.h"

#include "runtime/Screen.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

TEST(SystemParameters, InjectedPixelsPerInchReachTheRuntimeAndTheIconSizes)
{
    os::SetScreenLogPixels(144);
    EXPECT_EQ(os::GetScreenLogPixelsX(), 144);
    EXPECT_DOUBLE_EQ(runtime::Screen::TwipsPerPixelX(), 10);
    EXPECT_EQ(os::GetSystemMetrics(os::SM_CXSMICON), 24);
    EXPECT_EQ(os::GetSystemMetrics(os::SM_CYICON), 48);
    os::SetScreenLogPixels(96);
    EXPECT_EQ(os::GetSystemMetrics(os::SM_CXSMICON), 16);
    EXPECT_EQ(os::GetSystemMetrics(os::SM_CXICON), 32);
    os::SetScreenLogPixels(std::nullopt);
    EXPECT_EQ(os::GetSystemMetrics(12345), 0);
}

TEST(SystemParameters, WorkAreaIsTheScreensAvailableGeometry)
{
    const QRect area = os::GetWorkArea();
    EXPECT_EQ(area, QGuiApplication::primaryScreen()->availableGeometry());
    EXPECT_EQ(os::GetSystemMetrics(os::SM_CXSCREEN), QGuiApplication::primaryScreen()->geometry().width());
}

TEST(SystemParameters, FullWindowDragIsKeptInTheProcess)
{
    EXPECT_TRUE(os::GetDragFullWindows());
    os::SetDragFullWindows(false);
    EXPECT_FALSE(os::GetDragFullWindows());
    os::SetDragFullWindows(true);
    EXPECT_TRUE(os::GetDragFullWindows());
}

}
