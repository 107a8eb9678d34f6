#include "core/ModInformation.h"
#include "core/ModMain.h"
#include "core/RegistryRoutines.h"

#include <gtest/gtest.h>

using namespace os;

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Kestrova\\Test");

class Routines : public ::testing::Test
{
protected:
    void SetUp() override
    {
        installMachineRegistry(RegistryTree());
        registry.sethKey(HKEY_LOCAL_MACHINE);
        registry.setKeyRoot(kKey);
    }
    void put(const QString &name, std::uint32_t type, const QByteArray &data)
    {
        machineRegistry().setBinary(HKEY_LOCAL_MACHINE, kKey, name, type, data);
    }
    RegistryRoutines registry;
};

struct Conversion
{
    const char *name;
    std::uint32_t type;
    QByteArray data;
    bool expand;
    bool hex;
    QVariant expected; // "default" stands for the default coming back
};

QByteArray wide(const QString &text)
{
    return regStringData(text);
}

TEST_F(Routines, ConvertsEachTypeAsTheReadsDo)
{
    qputenv("KESTROVA_REG_VAR", "X");
    const QVariant fallback(QStringLiteral("default"));
    const Conversion rows[] = {
        {"string", REG_SZ, wide("abc"), false, false, "abc"},
        {"string cut at its NUL", REG_SZ, wide(QString("ab") + QChar(0) + "cd"), false, false, "ab"},
        {"empty data keeps the default", REG_SZ, {}, false, false, fallback},
        {"string starting with NUL is empty", REG_SZ, wide(QString(QChar(0)) + "x"), false, false, ""},
        {"expandable, expanded", REG_EXPAND_SZ, wide("a%KESTROVA_REG_VAR%"), true, false, "aX"},
        {"expandable, not expanded", REG_EXPAND_SZ, wide("a%KESTROVA_REG_VAR%"), false, false, "a%KESTROVA_REG_VAR%"},
        {"a plain string is expanded too", REG_SZ, wide("%KESTROVA_REG_VAR%"), true, false, "X"},
        {"binary", REG_BINARY, QByteArray("\x0a\xff\x00", 3), false, false, "0A FF 00"},
        {"dword", REG_DWORD, QByteArray("\xff\x00\x00\x00", 4), false, false, 255},
        {"dword as hex", REG_DWORD, QByteArray("\xff\x00\x00\x00", 4), false, true, "FF"},
        {"negative dword", REG_DWORD, QByteArray("\xfe\xff\xff\xff", 4), false, false, -2},
        {"negative dword as hex", REG_DWORD, QByteArray("\xfe\xff\xff\xff", 4), false, true, "FFFFFFFE"},
        {"short dword", REG_DWORD, QByteArray("\x01", 1), false, false, 1},
        {"multi-string keeps its NULs", REG_MULTI_SZ, regMultiStringData({"A", "B"}), false, false,
         QString("A") + QChar(0) + "B" + QChar(0)},
        {"multi-string with an empty first string", REG_MULTI_SZ, regMultiStringData({"", "B"}), false, false, fallback},
        {"unknown type", 11, QByteArray(8, '\1'), false, false, fallback},
    };
    for (const Conversion &row : rows) {
        put("V", row.type, row.data);
        std::uint32_t type = 0;
        EXPECT_EQ(registry.GetRegistryValue("V", fallback, &type, row.expand, row.hex), row.expected) << row.name;
        EXPECT_EQ(type, row.type) << row.name;
    }
}

TEST_F(Routines, AMissingValueOrKeyGivesTheDefault)
{
    std::uint32_t type = 77;
    EXPECT_EQ(registry.GetRegistryValue("Nothing", 5, &type), QVariant(5));
    EXPECT_EQ(type, 77u);
    registry.setKeyRoot("SOFTWARE\\Missing");
    EXPECT_FALSE(registry.KeyExists());
    EXPECT_EQ(registry.GetRegistryValue("Nothing", 6), QVariant(6));
    EXPECT_FALSE(registry.GetStringValue("Nothing").isValid());
}

TEST_F(Routines, AValueLargerThanTheFirstBufferIsReadWhole)
{
    const QString big(3000, QLatin1Char('x'));
    put("Big", REG_SZ, wide(big));
    EXPECT_EQ(registry.GetRegistryValue("Big").toString(), big);
    EXPECT_EQ(registry.GetStringValue("Big").toString(), big);
    QStringList many;
    for (int i = 0; i < 200; ++i)
        many << QStringLiteral("PCI\\VEN_%1").arg(i);
    put("Multi", REG_MULTI_SZ, regMultiStringData(many));
    EXPECT_EQ(registry.GetRegistryValue("Multi").toString().split(QChar(0)).size(), 201);
}

TEST_F(Routines, GetStringValueReadsPlainStringsOnly)
{
    put("S", REG_SZ, wide(QString("a") + QChar(0) + "b"));
    put("E", REG_EXPAND_SZ, wide("%KESTROVA_REG_VAR%"));
    EXPECT_EQ(registry.GetStringValue("S").toString(), QString("a") + QChar(0) + "b") << "not cut at a NUL";
    EXPECT_FALSE(registry.GetStringValue("E").isValid());
}

TEST_F(Routines, WritesEachTypeAndReadsItBack)
{
    ASSERT_EQ(registry.CreateKey(QString()), "0");
    EXPECT_TRUE(registry.KeyExists());
    EXPECT_TRUE(registry.SetRegistryValue("S", "text", REG_SZ));
    EXPECT_EQ(registry.GetRegistryValue("S").toString(), "text");
    EXPECT_TRUE(registry.SetRegistryValue("D", "ff", REG_DWORD, true));
    EXPECT_EQ(registry.GetRegistryValue("D").toInt(), 255);
    EXPECT_TRUE(registry.SetRegistryValue("N", "FFFFFFFF", REG_DWORD, true));
    EXPECT_EQ(registry.GetRegistryValue("N").toInt(), -1);
    EXPECT_TRUE(registry.SetRegistryValue("R", 2.5, REG_DWORD));
    EXPECT_EQ(registry.GetRegistryValue("R").toInt(), 2) << "rounded half to even";
    EXPECT_FALSE(registry.SetRegistryValue("Bad", "xyz", REG_DWORD, true));
    EXPECT_TRUE(registry.SetRegistryValue("B", QByteArray("\x01\x02", 2), REG_BINARY));
    EXPECT_EQ(registry.GetRegistryValue("B").toString(), "01 02");
    EXPECT_TRUE(registry.SetRegistryValue("M", QString("A") + QChar(0) + "B" + QChar(0) + QChar(0), REG_MULTI_SZ));
    EXPECT_EQ(registry.GetRegistryValue("M").toString(), QString("A") + QChar(0) + "B" + QChar(0));
    EXPECT_FALSE(registry.SetRegistryValue("Q", 1, 11)) << "other types are not written";
    EXPECT_EQ(registry.DeleteValue("S"), ERROR_SUCCESS);
    EXPECT_EQ(registry.DeleteValue("S"), ERROR_FILE_NOT_FOUND);
    registry.setKeyRoot("SOFTWARE\\Missing");
    EXPECT_FALSE(registry.SetRegistryValue("S", "text", REG_SZ));
    EXPECT_EQ(registry.DeleteValue("S"), ERROR_FILE_NOT_FOUND);
}

TEST_F(Routines, CreatesAndDeletesSubKeys)
{
    EXPECT_EQ(registry.CreateKey(QStringLiteral("Child")), "0");
    registry.setSubkey("Child");
    EXPECT_TRUE(registry.KeyExists());
    EXPECT_EQ(registry.DeleteKey("Child"), ERROR_SUCCESS);
    EXPECT_FALSE(registry.KeyExists());
    EXPECT_EQ(registry.DeleteKey("Child"), ERROR_FILE_NOT_FOUND);
}

TEST_F(Routines, Enumerates)
{
    machineRegistry().setString(HKEY_LOCAL_MACHINE, kKey + "\\b", "x", "1");
    machineRegistry().setString(HKEY_LOCAL_MACHINE, kKey + "\\a", "x", "1");
    put("One", REG_SZ, wide("1"));
    put("Big", REG_BINARY, QByteArray(5000, '\x11'));
    put("Two", REG_DWORD, QByteArray("\x02\0\0\0", 4));
    EXPECT_EQ(registry.EnumRegistryKeys(HKEY_LOCAL_MACHINE, kKey), QStringList({"a", "b"}));
    EXPECT_TRUE(registry.EnumRegistryKeys(HKEY_LOCAL_MACHINE, "SOFTWARE\\Missing").isEmpty());
    const QStringList dated = registry.EnumRegistryKeysWithLastModified(HKEY_LOCAL_MACHINE, kKey);
    ASSERT_EQ(dated.size(), 2);
    EXPECT_TRUE(dated[0].startsWith("a|")) << dated[0].toStdString();
    const auto values = registry.EnumRegistryValues(HKEY_LOCAL_MACHINE, kKey, false, true);
    ASSERT_EQ(values.size(), 3u) << "a value past the 4096-byte buffer is read after growing it";
    EXPECT_EQ(values[0].first, "One");
    EXPECT_EQ(values[1].second.toString().size(), 5000 * 3 - 1);
    EXPECT_EQ(values[2].second.toString(), "2");
}

// The device reads on a small machine.
class DeviceReads : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModMain::SystemFolder = QStringLiteral("/system/");
        qputenv("KESTROVA_ICONS", "/icons");
        RegistryTree tree;
        const QString cls = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
        tree.setMultiString(HKEY_LOCAL_MACHINE, cls + "{path}", "IconPath", {"%KESTROVA_ICONS%\\bt.dll, -20"});
        tree.setMultiString(HKEY_LOCAL_MACHINE, cls + "{nocomma}", "IconPath", {"C:\\x.ico"});
        tree.setString(HKEY_LOCAL_MACHINE, cls + "{plain}", "Icon", "5");
        tree.setString(HKEY_LOCAL_MACHINE, cls + "{pages}", "Icon", "-53");
        tree.setString(HKEY_LOCAL_MACHINE, cls + "{pages}", "EnumPropPages32", "storprop.dll,DiskPropPageProvider");
        tree.setString(HKEY_LOCAL_MACHINE, cls + "{emptypages}", "EnumPropPages32", ",Entry");
        tree.setString(HKEY_LOCAL_MACHINE, cls + "{plain}", {}, "Display name");
        tree.setString(HKEY_LOCAL_MACHINE, cls + "{pages}", "Class", "DiskDrive");
        tree.setString(HKEY_LOCAL_MACHINE, cls + "{plain}\\0003", "DriverVersion", "1.2.3");
        const QString en = "SYSTEM\\CurrentControlSet\\Enum\\";
        tree.setMultiString(HKEY_LOCAL_MACHINE, en + "PCI\\A\\1", "HardwareID", {"A", "B"});
        tree.setString(HKEY_LOCAL_MACHINE, en + "PCI\\A\\1", "Driver", "{plain}\\0003");
        tree.setString(HKEY_LOCAL_MACHINE, en + "PCI\\C\\1", "HardwareID", "single");
        tree.setString(HKEY_LOCAL_MACHINE, en + "PCI\\D\\1", "Driver", "{plain}\\0009");
        installMachineRegistry(std::move(tree));
    }
};

TEST_F(DeviceReads, ClassIconSource)
{
    struct Row
    {
        const char *guid;
        QString path;
        std::int32_t index;
    } rows[] = {
        {"{path}", "/icons\\bt.dll", -20},
        {"{nocomma}", "C:\\x.ico", 0},
        {"{plain}", "/system/setupapi.dll", -5},
        {"{pages}", "/system/storprop.dll", -53},
        {"{emptypages}", "/system/setupapi.dll", 0},
        {"{missing}", "/system/setupapi.dll", 0},
    };
    for (const Row &row : rows) {
        std::int32_t index = 99;
        EXPECT_EQ(ModInformation::GetClassIconSource(row.guid, index), row.path) << row.guid;
        EXPECT_EQ(index, row.index) << row.guid;
    }
    std::int32_t untouched = 7;
    EXPECT_EQ(ModInformation::GetClassIconSource({}, untouched), QString());
    EXPECT_EQ(untouched, 7);
}

TEST_F(DeviceReads, HardwareIdsDriverVersionAndClassName)
{
    EXPECT_EQ(ModInformation::GetHardwareIDs("PCI\\A\\1"), "A|B|");
    EXPECT_EQ(ModInformation::GetHardwareIDs("PCI\\C\\1"), "single");
    EXPECT_EQ(ModInformation::GetHardwareIDs("PCI\\NONE\\1"), "PCI\\NONE\\1");
    EXPECT_EQ(ModInformation::GetHardwareIDs({}), "Unknown");

    EXPECT_EQ(ModInformation::GetDriverVersion("pci\\a\\1"), "1.2.3");
    EXPECT_EQ(ModInformation::GetDriverVersion("PCI\\C\\1"), "Unknown") << "no driver";
    EXPECT_EQ(ModInformation::GetDriverVersion("PCI\\D\\1"), "Unknown") << "a driver key without a version";
    EXPECT_EQ(ModInformation::GetDriverVersion({}), QString());

    EXPECT_EQ(ModInformation::GetDeviceClassName("{plain}"), "Display name");
    EXPECT_EQ(ModInformation::GetDeviceClassName("{pages}"), "DiskDrive");
    EXPECT_EQ(ModInformation::GetDeviceClassName("{missing}"), "Unknown ({missing})");
    EXPECT_EQ(ModInformation::GetDeviceClassName({}), "Unknown ()");
}

} // namespace
