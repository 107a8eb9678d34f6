#include "platform/ModDPI.h"
#include "platform/ModSkin.h"
#include "platform/SystemFolderPaths.h"

#include "os/Folders.h"
#include "os/LayeredWindow.h"
#include "os/SharedLibrary.h"
#include "os/SystemParameters.h"
#include "runtime/App.h"
#include "runtime/Form.h"
#include "runtime/PictureBox.h"

#include "support/TestOutput.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct DpiCase {
    int dpi;
    float scale;
};

class InitDPIScaleTest : public ::testing::TestWithParam<DpiCase> {
protected:
    void TearDown() override
    {
        os::SetScreenLogPixels(std::nullopt);
        ModDPI::DPIScale = 0.0f;
    }
};

TEST_P(InitDPIScaleTest, MapsTheScreensPixelsPerInch)
{
    os::SetScreenLogPixels(GetParam().dpi);
    ModDPI::InitDPIScale();
    EXPECT_FLOAT_EQ(ModDPI::DPIScale, GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, InitDPIScaleTest,
                         ::testing::Values(DpiCase{0, 1.0f}, DpiCase{72, 1.0f}, DpiCase{96, 1.0f}, DpiCase{97, 1.25f},
                                           DpiCase{120, 1.25f}, DpiCase{121, 1.5f}, DpiCase{144, 1.5f},
                                           DpiCase{145, 2.0f}, DpiCase{192, 2.0f}, DpiCase{193, 2.25f},
                                           DpiCase{200, 2.25f}, DpiCase{216, 2.25f}, DpiCase{217, 2.5f},
                                           DpiCase{240, 2.5f}, DpiCase{241, 3.0f}, DpiCase{288, 3.0f}),
                         [](const ::testing::TestParamInfo<DpiCase> &info) { return "Dpi" + std::to_string(info.param.dpi); });

TEST(DPIScale, ZeroUntilInitialised)
{
    EXPECT_FLOAT_EQ(ModDPI::DPIScale, 0.0f);
    EXPECT_FLOAT_EQ(ModDPI::ScaleForDpi(-5), 1.0f);
}

class SpecialFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        runtime::App::setPath(program.path());
        ModSpecialFolders::ResetProbe();
    }
    void TearDown() override { runtime::App::setPath(QString()); }
    QTemporaryDir program;
};

TEST_F(SpecialFoldersTest, SystemFolderComesFromShell32AfterOneProbe)
{
    ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("system32")));
    EXPECT_FALSE(ModSpecialFolders::ProbeState().probed);
    EXPECT_EQ(ModSpecialFolders::GetSystemFolderPath(), QDir::toNativeSeparators(program.path() + QStringLiteral("/system32")));
    const ModSpecialFolders::FolderFunctionProbe probe = ModSpecialFolders::ProbeState();
    EXPECT_TRUE(probe.probed);
    EXPECT_TRUE(probe.inShell32);
    EXPECT_FALSE(probe.inShfolder); // only probed when shell32 lacks the function
}

TEST_F(SpecialFoldersTest, ShfolderServesWhenShell32LacksTheFunctionAndTheProbeIsNotRepeated)
{
    ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("system32")));
    const QString expected = QDir::toNativeSeparators(program.path() + QStringLiteral("/system32"));
    const auto folderFunction = reinterpret_cast<os::FARPROC>(&os::SHGetFolderPathW);
    // The stand-in libraries are the process's: whatever happens here, they end as they began.
    struct Restore {
        os::FARPROC function;
        ~Restore()
        {
            os::RegisterStandInExport(QStringLiteral("shell32"), "SHGetFolderPathW", function);
            os::RegisterStandInExport(QStringLiteral("shfolder"), "SHGetFolderPathW", nullptr);
        }
    } restore{folderFunction};
    os::RegisterStandInExport(QStringLiteral("shell32"), "SHGetFolderPathW", nullptr);
    os::RegisterStandInExport(QStringLiteral("shfolder"), "SHGetFolderPathW", folderFunction);

    EXPECT_EQ(ModSpecialFolders::GetSystemFolderPath(), expected);
    EXPECT_FALSE(ModSpecialFolders::ProbeState().inShell32);
    EXPECT_TRUE(ModSpecialFolders::ProbeState().inShfolder);

    // shell32 offers it again, but later requests keep what the first one found.
    os::RegisterStandInExport(QStringLiteral("shell32"), "SHGetFolderPathW", folderFunction);
    os::RegisterStandInExport(QStringLiteral("shfolder"), "SHGetFolderPathW", nullptr);
    EXPECT_EQ(ModSpecialFolders::GetSystemFolderPath(), QString()) << "still asks shfolder, which no longer has it";
    EXPECT_FALSE(ModSpecialFolders::ProbeState().inShell32);
    ModSpecialFolders::ResetProbe();
    EXPECT_EQ(ModSpecialFolders::GetSystemFolderPath(), expected);
    EXPECT_TRUE(ModSpecialFolders::ProbeState().inShell32);
}

TEST_F(SpecialFoldersTest, MissingFolderGivesEmptyTextUnlessCreated)
{
    EXPECT_EQ(ModSpecialFolders::GetSystemFolderPath(), QString());
    EXPECT_FALSE(ModSpecialFolders::GetSpecialFolderPath(ModSpecialFolders::CSIDL_SYSTEM, 0, true).isEmpty());
    EXPECT_TRUE(QDir(program.path() + QStringLiteral("/system32")).exists());
    EXPECT_EQ(ModSpecialFolders::GetSpecialFolderPath(0x7777), QString());
}

TEST(IsFunctionExported, AnswersHonestlyForRealLibrariesAndStandIns)
{
    EXPECT_TRUE(ModSpecialFolders::IsFunctionExported(QStringLiteral("printf"), QStringLiteral("libc.so.6")));
    EXPECT_FALSE(ModSpecialFolders::IsFunctionExported(QStringLiteral("no_such"), QStringLiteral("libc.so.6")));
    EXPECT_FALSE(ModSpecialFolders::IsFunctionExported(QStringLiteral("printf"), QStringLiteral("libno_such_library.so.3")));
    EXPECT_TRUE(ModSpecialFolders::IsFunctionExported(QStringLiteral("SHGetFolderPathW"), QStringLiteral("shell32")));
    EXPECT_FALSE(ModSpecialFolders::IsFunctionExported(QStringLiteral("SHGetFolderPathW"), QStringLiteral("shfolder")));
}

TEST(IsFunctionExported, LibraryLoadedForTheQuestionIsUnloadedAgain)
{
    const QString library = QStringLiteral("libanl.so.1");
    ASSERT_EQ(os::GetModuleHandle(library), nullptr);
    EXPECT_TRUE(ModSpecialFolders::IsFunctionExported(QStringLiteral("getaddrinfo_a"), library));
    EXPECT_EQ(os::GetModuleHandle(library), nullptr);
}

constexpr quint32 Key = 0x00F7B8F8;

TEST(SetTransparentColor, KeyPixelsGoSeeThroughTheRestStaysAndOtherStylesAreKept)
{
    runtime::Form form(QStringLiteral("FrmMain"));
    form.resize(30, 20);
    form.setBackColor(0x00332211);
    auto *bar = new runtime::PictureBox(&form, QStringLiteral("TitelBar1"));
    bar->setGeometry(0, 0, 30, 8);
    bar->setBackColor(Key);
    bar->hdc()->fillRect(gdi::Rect{3, 0, 27, 8}, gdi::Brush::solid(0x00FF9933));
    bar->hdc()->setPixelV(27, 7, Key + 1); // one unit off the key
    os::SetWindowExStyle(&form, os::WS_EX_TOOLWINDOW);

    ModSkin::SetTransparentColor(&form, Key);

    EXPECT_EQ(os::GetWindowExStyle(&form), os::WS_EX_TOOLWINDOW | os::WS_EX_LAYERED);
    const QRegion visible = form.mask();
    EXPECT_FALSE(visible.contains(QPoint(0, 0)));
    EXPECT_FALSE(visible.contains(QPoint(29, 7)));
    EXPECT_TRUE(visible.contains(QPoint(27, 7)));
    EXPECT_TRUE(visible.contains(QPoint(10, 3)));
    EXPECT_TRUE(visible.contains(QPoint(15, 15)));
    EXPECT_EQ(form.windowOpacity(), 1.0); // only the key colour is affected
    testsupport::writeTestPng(QStringLiteral("platform"), QStringLiteral("transparent_color_window"),
                              os::ComposeWindowImage(&form));
}

TEST(SetTransparentColor, NullWindowIsIgnored)
{
    ModSkin::SetTransparentColor(nullptr, Key);
}

}
