#include "os/Folders.h"
#include "os/SharedLibrary.h"

#include <gtest/gtest.h>

namespace {

int standInAnswer() { return 42; }

TEST(SharedLibrary, RealLibraryAnswersWhatItExports)
{
    os::HMODULE libc = os::LoadLibrary(QStringLiteral("libc.so.6"));
    ASSERT_NE(libc, nullptr);
    EXPECT_NE(os::GetProcAddress(libc, "printf"), nullptr);
    EXPECT_EQ(os::GetProcAddress(libc, "no_such_function_here"), nullptr);
    EXPECT_EQ(os::GetModuleHandle(QStringLiteral("libc.so.6")), libc);
    EXPECT_TRUE(os::FreeLibrary(libc));
}

TEST(SharedLibrary, MissingLibraryIsNotLoaded)
{
    EXPECT_EQ(os::LoadLibrary(QStringLiteral("libno_such_library.so.9")), nullptr);
    EXPECT_EQ(os::GetModuleHandle(QStringLiteral("libno_such_library.so.9")), nullptr);
    EXPECT_EQ(os::GetProcAddress(nullptr, "printf"), nullptr);
    EXPECT_FALSE(os::FreeLibrary(nullptr));
}

TEST(SharedLibrary, StandInsAreAlwaysLoadedUnderThePlatformsNames)
{
    os::HMODULE shell32 = os::GetModuleHandle(QStringLiteral("Shell32.DLL"));
    ASSERT_NE(shell32, nullptr);
    EXPECT_EQ(os::LoadLibrary(QStringLiteral("shell32")), shell32);
    EXPECT_EQ(os::GetProcAddress(shell32, "SHGetFolderPathW"), reinterpret_cast<os::FARPROC>(&os::SHGetFolderPathW));
    EXPECT_EQ(os::GetProcAddress(shell32, "SHGetFolderPathA"), nullptr);
    EXPECT_TRUE(os::FreeLibrary(shell32));
    EXPECT_EQ(os::GetModuleHandle(QStringLiteral("shfolder")), nullptr);
}

TEST(SharedLibrary, RegisteredStandInExportIsFound)
{
    os::RegisterStandInExport(QStringLiteral("Comctl32.dll"), "_TrackMouseEvent", reinterpret_cast<os::FARPROC>(&standInAnswer));
    os::HMODULE comctl = os::GetModuleHandle(QStringLiteral("comctl32"));
    ASSERT_NE(comctl, nullptr);
    auto function = reinterpret_cast<int (*)()>(os::GetProcAddress(comctl, "_TrackMouseEvent"));
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(function(), 42);
}

}
