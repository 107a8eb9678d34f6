#include "components/SuiteControlsGlobalSettings.h"
#include "core/ModInformation.h"
#include "core/ModMain.h"
#include "os/LiveMachine.h"
#include "os/SnapshotMachine.h"
#include "os/Wmi.h"
#include "platform/ModFileIcons.h"
#include "runtime/App.h"
#include "runtime/DoEvents.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>

#include <sys/stat.h>

namespace {

const QString kProgram = QStringLiteral(KESTROVA_FIXTURES "/../../data/program");

class ClassIcons : public ::testing::Test
{
protected:
    void SetUp() override
    {
        runtime::App::setPath(QDir(kProgram).absolutePath());
        ModMain::SystemFolder = QDir(kProgram).absolutePath() + QStringLiteral("/system32/");
        icons()->RemoveAll();
        ModFileIcons::ForgetReadIcons();
    }
    void TearDown() override { os::setMachineSource(nullptr); }

    static SuiteImageManagerIcons *icons() { return SuiteControlsGlobalSettings::Global().Icons(); }
};

TEST_F(ClassIcons, LibrariesGiveTheIconOfTheResourceNumber)
{
    ModFileIcons::AddFileIcon(1, ModMain::SystemFolder + "SETUPAPI.DLL", -27);
    ModFileIcons::AddFileIcon(2, ModMain::SystemFolder + "setupapi.dll", 27);
    ModFileIcons::AddFileIcon(3, ModMain::SystemFolder + "setupapi.dll", -999);
    ModFileIcons::AddFileIcon(4, ModMain::SystemFolder + "missing.dll", -27);
    ModFileIcons::AddFileIcon(5, ModMain::SystemFolder + "setupapi.dll", INT_MIN);
    EXPECT_TRUE(icons()->Contains(1)) << "a library path in capitals counts";
    EXPECT_TRUE(icons()->Contains(2)) << "5 and -5 name the same resource";
    EXPECT_FALSE(icons()->Contains(3));
    EXPECT_FALSE(icons()->Contains(4));
    EXPECT_FALSE(icons()->Contains(5));
    const QImage a = icons()->icon(1).pixmap(16, 16).toImage();
    const QImage b = icons()->icon(2).pixmap(16, 16).toImage();
    EXPECT_EQ(a, b);
}

TEST_F(ClassIcons, PathsWithBackslashesAndOtherCaseResolve)
{
    ModFileIcons::AddFileIcon(1, QDir(kProgram).absolutePath() + "\\System32\\BthCI.dll", -201);
    EXPECT_TRUE(icons()->Contains(1));
}

TEST_F(ClassIcons, IconFilesAndTheSetupapiFallBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(QColor(0, 0, 255));
    const QString ico = dir.filePath("class.ico");
    ASSERT_TRUE(image.save(ico, "ICO"));
    ModFileIcons::AddFileIcon(1, ico, 0);
    ASSERT_TRUE(icons()->Contains(1));
    EXPECT_EQ(icons()->icon(1).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(0, 0, 255));

    // An icon file without an icon at the index, and a missing file: the same index of setupapi.dll.
    ModFileIcons::AddFileIcon(2, ico, -19);
    ModFileIcons::AddFileIcon(3, ModMain::SystemFolder + "mmsys.cpl", -19);
    ModFileIcons::AddFileIcon(4, dir.filePath("nothing.ico"), -999);
    EXPECT_TRUE(icons()->Contains(2));
    EXPECT_TRUE(icons()->Contains(3));
    EXPECT_FALSE(icons()->Contains(4));
    QFile broken(dir.filePath("broken.ico"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    static const char garbage[] = "\0\0\1\0\xff\xff garbage";
    broken.write(garbage, sizeof garbage - 1);
    broken.close();
    ModFileIcons::AddFileIcon(5, broken.fileName(), 0);
    EXPECT_TRUE(icons()->Contains(5)) << "a damaged file: index 0 of setupapi.dll, its first icon";
}

// Every class that a machine shows has an icon in the stand-in system folder.
void expectEveryClassHasAnIcon(os::MachineSource &source)
{
    const os::Machine machine = source.read();
    os::installMachineRegistry(machine.registry);
    ASSERT_FALSE(machine.devices.empty());
    for (const os::WmiObject &device : machine.devices) {
        const std::optional<QVariant> guid = device.get("ClassGuid");
        if (!guid || guid->isNull())
            continue;
        std::int32_t index = 0;
        const QString source = ModInformation::GetClassIconSource(guid->toString(), index);
        SuiteControlsGlobalSettings::Global().Icons()->RemoveAll();
        ModFileIcons::AddFileIcon(index + 5000, source, index);
        EXPECT_TRUE(SuiteControlsGlobalSettings::Global().Icons()->Contains(index + 5000))
            << guid->toString().toStdString() << " " << source.toStdString() << "," << index;
    }
}

// Every device of a class names the same file: it is read once per file and index until the
// scan lets go of what was read; the yield after an icon file's extraction stays either way.
TEST_F(ClassIcons, EachFileAndIndexIsReadOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString library = dir.filePath("class.dll");
    ASSERT_TRUE(QFile::copy(ModMain::SystemFolder + "setupapi.dll", library));
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(QColor(0, 160, 0));
    const QString ico = dir.filePath("class.ico");
    ASSERT_TRUE(image.save(ico, "ICO"));

    int yields = 0;
    runtime::SetYieldHook([&yields](int) { ++yields; });
    ModFileIcons::AddFileIcon(1, library, -27);
    ModFileIcons::AddFileIcon(2, ico, 0);
    EXPECT_EQ(yields, 1);
    ASSERT_TRUE(QFile::remove(library));
    ASSERT_TRUE(QFile::remove(ico));

    ModFileIcons::AddFileIcon(3, library, -27);
    ModFileIcons::AddFileIcon(4, ico, 0);
    ModFileIcons::AddFileIcon(5, library, -19); // not read before: the file is gone
    EXPECT_EQ(yields, 2);
    runtime::SetYieldHook({});
    EXPECT_TRUE(icons()->Contains(3));
    EXPECT_TRUE(icons()->Contains(4));
    EXPECT_EQ(icons()->icon(4).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(0, 160, 0));
    EXPECT_FALSE(icons()->Contains(5));

    ModFileIcons::ForgetReadIcons();
    ModFileIcons::AddFileIcon(6, library, -27);
    EXPECT_FALSE(icons()->Contains(6)) << "read again after the scan let go";
}

TEST_F(ClassIcons, EveryClassOfTheSavedDesktop)
{
    os::SnapshotMachine machine(QStringLiteral(KESTROVA_FIXTURES "/machines/win10-desktop"));
    expectEveryClassHasAnIcon(machine);
}

TEST_F(ClassIcons, EveryClassOfTheFakeAndTheLiveMachine)
{
    const QString fake = QStringLiteral(KESTROVA_FIXTURES "/machines/sysfs-desktop");
    os::LiveMachine fixture({fake + "/sys", fake + "/proc", fake + "/ids"});
    expectEveryClassHasAnIcon(fixture);
    os::LiveMachine live;
    expectEveryClassHasAnIcon(live);
}

} // namespace

// A class key may name anything as its icon file. A device that never ends (/dev/zero), a pipe
// that no one writes and a folder are not read: the scan goes on at once, as with a missing file.
TEST_F(ClassIcons, DevicesPipesAndFoldersAreNotReadAsIconFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pipe = dir.filePath("class.ico");
    const QString pipeLibrary = dir.filePath("class.dll");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipeLibrary).constData(), 0600), 0);

    const struct {
        const char *name;
        QString path;
        std::int32_t index;
        bool fallsBackToSetupapi;
    } rows[] = {
        {"endless device", QStringLiteral("/dev/zero"), 0, true},
        {"endless device, resource", QStringLiteral("/dev/zero"), -5, true},
        {"pipe", pipe, 0, true},
        {"pipe named as a library", pipeLibrary, -5, false},
        {"folder", dir.path(), 0, true},
    };
    std::int32_t key = 1;
    for (const auto &row : rows) {
        ModFileIcons::AddFileIcon(key, row.path, row.index);
        EXPECT_EQ(icons()->Contains(key), row.fallsBackToSetupapi) << row.name;
        ++key;
    }
}
