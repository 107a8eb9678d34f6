#include "os/CsvReader.h"
#include "os/RegFile.h"
#include "os/SnapshotMachine.h"
#include "os/Wmi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace os;

namespace {

QString valueText(const RegistryTree &tree, const QString &path, const QString &name)
{
    const auto key = tree.find(HKEY_LOCAL_MACHINE, path);
    const RegistryValue *value = key ? key->value(name) : nullptr;
    return value ? regDecodeUtf16(value->data) : QStringLiteral("<none>");
}

QByteArray utf16le(const QString &text, bool bom = true)
{
    QByteArray bytes = bom ? QByteArray("\xFF\xFE", 2) : QByteArray();
    for (const QChar ch : text) {
        bytes.append(char(ch.unicode() & 0xFF));
        bytes.append(char(ch.unicode() >> 8));
    }
    return bytes;
}

TEST(Csv, ReadsPowerShellExportCsv)
{
    const CsvTable table = parseCsv(QStringLiteral("#TYPE Selected.Win32_PnPEntity\r\n"
                                                   "\"DeviceID\",\"Name\",\"Manufacturer\"\r\n"
                                                   "\"PCI\\VEN_1\",\"A \"\"quoted\"\" name\",\r\n"
                                                   "\"X\",\"\",\"Two\nlines\"\r\n"
                                                   "\"Short\"\r\n"));
    ASSERT_EQ(table.header, QStringList({"DeviceID", "Name", "Manufacturer"}));
    ASSERT_EQ(table.records.size(), 3u);
    EXPECT_EQ(table.records[0][1].toString(), "A \"quoted\" name");
    EXPECT_TRUE(table.records[0][2].isNull()) << "an empty unquoted field is null";
    EXPECT_FALSE(table.records[1][1].isNull()) << "an empty quoted field is an empty text";
    EXPECT_EQ(table.records[1][2].toString(), "Two\nlines");
    EXPECT_EQ(table.records[2].size(), 1u) << "a short record lacks the last columns";
}

// Get-PnpDevice exports the error code under its problem name; the name counts as its number.
TEST(Csv, ProblemNamesOfTheErrorCodeAreTheirNumbers)
{
    const std::vector<WmiObject> devices =
        SnapshotMachine::devicesFromCsv("\"DeviceID\",\"ConfigManagerErrorCode\"\r\n"
                                        "\"A\",\"CM_PROB_NONE\"\r\n\"B\",\"CM_PROB_FAILED_INSTALL\"\r\n"
                                        "\"C\",\"CM_PROB_DISABLED\"\r\n\"D\",\"cm_prob_phantom\"\r\n"
                                        "\"E\",\"CM_PROB_NOT_YET_NAMED\"\r\n\"F\",\"31\"\r\n\"G\",\r\n");
    ASSERT_EQ(devices.size(), 7u);
    const QVariant expected[] = {0u, 28u, 22u, 45u, "CM_PROB_NOT_YET_NAMED", "31", QVariant()};
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const QVariant code = *devices[i].get("ConfigManagerErrorCode");
        EXPECT_EQ(code.toString().toStdString(), expected[i].toString().toStdString()) << i;
        EXPECT_EQ(code.isNull(), expected[i].isNull()) << i;
    }
}

TEST(RegFile, ReadsRegeditExports)
{
    RegistryTree tree;
    const QString text = QStringLiteral(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\Test]\r\n"
        "@=\"default\"\r\n"
        "\"Path\"=\"C:\\\\Windows\\\\\\\"x\\\"\"\r\n"
        "\"Number\"=dword:000000ff\r\n"
        "\"Bytes\"=hex:de,ad,\\\r\n"
        "  be,ef\r\n"
        "\"Multi\"=hex(7):41,00,00,00,42,00,00,00,00,00\r\n"
        "\"Expand\"=hex(2):25,00,58,00,25,00,00,00\r\n"
        "\"Odd\"=hex(b):01,00,00,00,00,00,00,00\r\n"
        "; a comment\r\n"
        "[-HKEY_LOCAL_MACHINE\\SYSTEM\\Gone]\r\n"
        "\"Lost\"=\"x\"\r\n"
        "[HKLM\\SYSTEM\\Short]\r\n"
        "\"Deleted\"=-\r\n");
    const RegFileReport report = readRegText(text, tree);
    EXPECT_EQ(report.keys, 2);
    EXPECT_EQ(valueText(tree, "SYSTEM\\Test", {}), QString("default") + QChar(0));
    EXPECT_EQ(valueText(tree, "system\\test", "Path"), QString("C:\\Windows\\\"x\"") + QChar(0));
    const auto key = tree.find(HKEY_LOCAL_MACHINE, "SYSTEM\\Test");
    ASSERT_TRUE(key);
    // A value the parser lost fails here instead of crashing the whole program below.
    for (const char *name : {"Number", "Bytes", "Multi", "Expand", "Odd"})
        ASSERT_NE(key->value(name), nullptr) << name;
    EXPECT_EQ(key->value("Number")->type, REG_DWORD);
    EXPECT_EQ(key->value("Number")->data, QByteArray("\xff\x00\x00\x00", 4));
    EXPECT_EQ(key->value("Bytes")->data, QByteArray("\xde\xad\xbe\xef", 4)) << "continued hex line";
    EXPECT_EQ(key->value("Multi")->type, REG_MULTI_SZ);
    EXPECT_EQ(key->value("Expand")->type, REG_EXPAND_SZ);
    EXPECT_EQ(key->value("Odd")->type, 11u) << "a type without a name keeps its number";
    EXPECT_EQ(tree.find(HKEY_LOCAL_MACHINE, "SYSTEM\\Gone"), nullptr) << "a deletion creates nothing";
    EXPECT_EQ(key->values().size(), 7u);
}

TEST(RegFile, Regedit4StringsAreWidened)
{
    RegistryTree tree;
    readRegFile(QByteArray("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"M\"=hex(7):41,00,42,00,00\r\n"), tree);
    const auto key = tree.find(HKEY_LOCAL_MACHINE, "A");
    ASSERT_TRUE(key);
    ASSERT_NE(key->value("M"), nullptr);
    EXPECT_EQ(regDecodeUtf16(key->value("M")->data), QString("A") + QChar(0) + "B" + QChar(0) + QChar(0));
}

// Damaged saved files: what parses is used, the rest is skipped, nothing crashes.
struct BrokenFile
{
    const char *name;
    QByteArray csv;
    QByteArray reg;
    int devices;          // devices that survive
    QString survivingKey; // a key that must still be read, or empty
};

class BrokenSnapshot : public ::testing::TestWithParam<BrokenFile>
{
};

TEST_P(BrokenSnapshot, UsesWhatParses)
{
    const BrokenFile &row = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile csv(dir.filePath("pnpentity.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(row.csv);
    csv.close();
    QFile reg(dir.filePath("registry.reg"));
    ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
    reg.write(row.reg);
    reg.close();

    SnapshotMachine machine(dir.path());
    const Machine read = machine.read();
    EXPECT_EQ(int(read.devices.size()), row.devices);
    if (!row.survivingKey.isEmpty()) {
        EXPECT_NE(read.registry.find(HKEY_LOCAL_MACHINE, row.survivingKey), nullptr);
    }
}

const QByteArray kHeader = "\"DeviceID\",\"Name\"\r\n";
const QByteArray kGoodReg = "Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\Ok]\r\n\"A\"=\"b\"\r\n";

std::vector<BrokenFile> brokenFiles()
{
    const QByteArray longField(1024 * 1024, 'x');
    return {
        {"TruncatedInsideQuotes", kHeader + "\"A\",\"one\"\r\n\"B\",\"cut off", kGoodReg, 1, "SYSTEM\\Ok"},
        {"TruncatedReg", kHeader + "\"A\",\"one\"\r\n",
         "Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\Ok]\r\n\"A\"=hex:0", 1, "SYSTEM\\Ok"},
        {"MalformedRegLines", kHeader,
         "Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\Ok\r\n[NOWHERE\\X]\r\n\"v\"=\"w\"\r\n"
         "[HKEY_LOCAL_MACHINE\\SYSTEM\\Ok2]\r\n\"A\"=dword:xyz\r\n\"B\"=hex:zz\r\nnot a value\r\n\"C\"=\"unterminated\r\n"
         "\"D\"=dword:123456789\r\n\"E\"=hex(7:00\r\n\"F\"=\"ok\"\r\n",
         0, "SYSTEM\\Ok2"},
        {"UnknownValueTypes", kHeader + "\"A\",\"one\"\r\n",
         "Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\Ok]\r\n\"Q\"=qword:0000000000000001\r\n"
         "\"W\"=hex(ffff0000):01,02\r\n\"X\"=hex(100000000):01\r\n\"Y\"=hex():01\r\n\"Z\"=string:abc\r\n",
         1, "SYSTEM\\Ok"},
        {"Utf16WithoutMark", kHeader + "\"A\",\"one\"\r\n",
         utf16le(QString::fromLatin1(kGoodReg), false), 1, "SYSTEM\\Ok"},
        {"WrongEncoding", QByteArray("\xFF\xFE", 2) + kHeader + "\"A\",\"one\"\r\n", kGoodReg, 0, "SYSTEM\\Ok"},
        {"Latin1Bytes", kHeader + "\"A\",\"Ger\xE4t\"\r\n", kGoodReg, 1, "SYSTEM\\Ok"},
        {"MegabyteLine", kHeader + "\"A\",\"" + longField + "\"\r\n\"B\",\"two\"\r\n",
         kGoodReg + "\"Long\"=\"" + longField + "\"\r\n\"Hex\"=hex:" + QByteArray(300000, ',') + "\r\n", 2,
         "SYSTEM\\Ok"},
        {"BinaryGarbage", QByteArray("\x00\x01\x02\xFF\xFE\x00", 6), QByteArray("\x00\xFF\x00\xFE\x01", 5), 0, {}},
        {"MissingFiles", {}, {}, 0, {}},
        {"HeaderOnly", "#TYPE x\r\n" + kHeader, kGoodReg, 0, "SYSTEM\\Ok"},
    };
}

INSTANTIATE_TEST_SUITE_P(Files, BrokenSnapshot, ::testing::ValuesIn(brokenFiles()),
                         [](const ::testing::TestParamInfo<BrokenFile> &info) { return std::string(info.param.name); });

class SavedMachine : public ::testing::Test
{
protected:
    void TearDown() override { setMachineSource(nullptr); }
};

TEST_F(SavedMachine, TheWindows10DesktopListsItsDevicesWithTheirRegistry)
{
    setMachineSource(std::make_unique<SnapshotMachine>(QStringLiteral(KESTROVA_FIXTURES "/machines/win10-desktop")));
    const auto services = GetObject(QStringLiteral("winmgmts:\\\\.\\root\\CIMV2"));
    ASSERT_TRUE(services);
    const std::vector<WmiObject> all = services->ExecQuery(kQueryAllDevices, 48);
    EXPECT_GE(all.size(), 100u);
    const std::vector<WmiObject> working = services->ExecQuery(kQueryWorkingDevices, 48);
    EXPECT_LT(working.size(), all.size());
    for (const WmiObject &device : working)
        EXPECT_EQ(device.get("ConfigManagerErrorCode")->toInt(), 0);

    // The export has ControlSet001 only; CurrentControlSet reaches it as on a live system.
    EXPECT_NE(machineRegistry().find(HKEY_LOCAL_MACHINE,
                                     "SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e97d-e325-11ce-bfc1-08002be10318}"),
              nullptr);
    HKEY system = 0;
    ASSERT_EQ(regOpenKeyEx(HKEY_LOCAL_MACHINE, "SYSTEM", 0, KEY_READ, &system), ERROR_SUCCESS);
    QStringList names;
    QString name;
    for (std::uint32_t i = 0; regEnumKeyEx(system, i, &name, 260, nullptr) == ERROR_SUCCESS; ++i)
        names << name;
    regCloseKey(system);
    EXPECT_EQ(names, QStringList({"ControlSet001", "CurrentControlSet", "Select"})) << "the link under its own name";
    const QString id = all.front().get("DeviceID")->toString();
    EXPECT_NE(machineRegistry().find(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Enum\\" + id), nullptr);
}

TEST_F(SavedMachine, OnlyTheTwoQueriesAndTheCimv2NamespaceAnswer)
{
    setMachineSource(std::make_unique<SnapshotMachine>(QStringLiteral(KESTROVA_FIXTURES "/machines/win10-desktop")));
    EXPECT_FALSE(GetObject("winmgmts:\\\\.\\root\\default"));
    EXPECT_FALSE(GetObject("something"));
    const auto services = GetObject("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2");
    ASSERT_TRUE(services);
    EXPECT_TRUE(services->ExecQuery("SELECT Name FROM Win32_PnPEntity").empty());
    EXPECT_TRUE(services->ExecQuery("SELECT * FROM Win32_Processor").empty());
    EXPECT_TRUE(services->ExecQuery("").empty());
    EXPECT_FALSE(services->ExecQuery("select *  from win32_pnpentity").empty());
}

TEST_F(SavedMachine, TheEnvironmentNamesTheFolder)
{
    qputenv("KESTROVA_MACHINE", KESTROVA_FIXTURES "/machines/win10-desktop");
    setMachineSource(machineSourceFromEnvironment());
    qunsetenv("KESTROVA_MACHINE");
    EXPECT_GE(machineSource().read().devices.size(), 100u);
}

} // namespace
