#include "components/SuiteControlsGlobalSettings.h"
#include "components/SuiteListView.h"
#include "core/ModHardware.h"
#include "core/ModMain.h"
#include "os/LiveMachine.h"
#include "os/SnapshotMachine.h"
#include "os/Wmi.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace os;

namespace {

const QString kOther = QStringLiteral("{4D36E97E-E325-11CE-BFC1-08002BE10318}");
const QString kSystem = QStringLiteral("{4d36e97d-e325-11ce-bfc1-08002be10318}");

// A machine given in the test.
class GivenMachine : public MachineSource
{
public:
    explicit GivenMachine(std::function<Machine()> make) : m_make(std::move(make)) {}
    Machine read() override { return m_make(); }

private:
    std::function<Machine()> m_make;
};

struct Props
{
    QVariant id, name, maker, code, guid;
};

WmiObject object(const Props &p)
{
    WmiObject device;
    device.set("DeviceID", p.id);
    device.set("Name", p.name);
    device.set("Manufacturer", p.maker);
    device.set("ConfigManagerErrorCode", p.code);
    device.set("ClassGuid", p.guid);
    return device;
}

class Lists : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModMain::ClosingProgram = false;
        ModMain::SystemFolder = QStringLiteral(KESTROVA_FIXTURES "/../../data/program/system32/");
        hardware = new SuiteListView(&window, "ListViewHardware");
        noDrivers = new SuiteListView(&window, "ListViewNoDrivers");
        problems = new SuiteListView(&window, "ListViewProblems");
        noSystem = new SuiteListView(&window, "ListViewNoSystemDevices");
        for (SuiteListView *list : all())
            for (int i = 0; i < 6; ++i)
                list->ColumnHeaders().Add({}, QStringLiteral("C%1").arg(i), 1500);
        status = new runtime::Label(&window, "LabelStatus");
    }
    void TearDown() override
    {
        ModMain::ClosingProgram = false;
        setMachineSource(nullptr);
    }

    std::vector<SuiteListView *> all() const { return {hardware, noDrivers, problems, noSystem}; }

    void scan(std::vector<WmiObject> devices, RegistryTree registry = defaultRegistry())
    {
        auto shared = std::make_shared<Machine>();
        shared->devices = std::move(devices);
        shared->registry = std::move(registry);
        setMachineSource(std::make_unique<GivenMachine>([shared] { return Machine{shared->devices, shared->registry}; }));
        ModHardware::GetHardware(hardware, noDrivers, problems, noSystem, status);
    }

    static RegistryTree defaultRegistry()
    {
        RegistryTree tree;
        const QString cls = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
        tree.setString(HKEY_LOCAL_MACHINE, cls + kOther, {}, "Other devices");
        tree.setString(HKEY_LOCAL_MACHINE, cls + kOther, "Icon", "-18");
        tree.setString(HKEY_LOCAL_MACHINE, cls + kSystem, {}, "System  devices ");
        tree.setString(HKEY_LOCAL_MACHINE, cls + kSystem, "Icon", "-27");
        tree.setString(HKEY_LOCAL_MACHINE, cls + kSystem + "\\0000", "DriverVersion", "1.0");
        tree.setMultiString(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Enum\\PCI\\GOOD\\1", "HardwareID", {"PCI\\A", "PCI\\B"});
        tree.setString(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Enum\\PCI\\GOOD\\1", "Driver", kSystem + "\\0000");
        return tree;
    }

    static QStringList row(SuiteListView *list, int index)
    {
        SuiteListItem *item = list->ListItems().Item(index);
        if (!item)
            return {};
        QStringList cells{item->Text()};
        for (int i = 1; i <= 5; ++i)
            cells << item->SubItems(i);
        return cells;
    }

    std::vector<int> counts() const
    {
        std::vector<int> result;
        for (SuiteListView *list : all())
            result.push_back(list->ListItems().Count());
        return result; // hardware, no drivers, problems, no system devices
    }

    QWidget window;
    SuiteListView *hardware = nullptr;
    SuiteListView *noDrivers = nullptr;
    SuiteListView *problems = nullptr;
    SuiteListView *noSystem = nullptr;
    runtime::Label *status = nullptr;
};

TEST_F(Lists, AWorkingDeviceMakesAFullRow)
{
    scan({object({"PCI\\GOOD\\1", "  Good\tdevice ", "Maker", 0u, kSystem})});
    EXPECT_EQ(counts(), (std::vector<int>{1, 0, 0, 1}));
    EXPECT_EQ(row(hardware, 1), QStringList({"Good device", "Maker", "(0) OK", "System devices", "1.0", "PCI\\A|PCI\\B|"}));
    EXPECT_EQ(hardware->ListItems().Item(1)->IconKey(), 5000 - 27);
    EXPECT_TRUE(SuiteControlsGlobalSettings::Global().Icons()->Contains(5000 - 27));
    for (SuiteListView *list : all())
        EXPECT_EQ(list->Icons(), SuiteControlsGlobalSettings::Global().Icons());
    EXPECT_EQ(status->Caption(), "Status: Done");
}

struct RuleCase
{
    const char *name;
    Props device;
    std::vector<int> counts; // hardware, no drivers, problems, no system devices
};

class ListRules : public Lists, public ::testing::WithParamInterface<RuleCase>
{
};

TEST_P(ListRules, SortsTheDeviceIntoItsLists)
{
    scan({object(GetParam().device)});
    EXPECT_EQ(counts(), GetParam().counts);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, ListRules,
    ::testing::Values(
        RuleCase{"Working", {"PCI\\X\\1", "Dev", "Maker", 0u, kSystem}, {1, 0, 0, 1}},
        RuleCase{"StandardSystemDevice", {"PCI\\X\\1", "Dev", "(Standard System Devices)", 0u, kSystem}, {1, 0, 0, 0}},
        RuleCase{"NullMaker", {"PCI\\X\\1", "Dev", QVariant(), 0u, kSystem}, {1, 0, 0, 1}},
        RuleCase{"NoClassGuid", {"PCI\\X\\1", "Dev", "(Standard system devices)", 0u, QVariant()}, {1, 1, 1, 0}},
        RuleCase{"BlankClassGuid", {"PCI\\X\\1", "Dev", "M", 0u, "   "}, {1, 1, 1, 1}},
        RuleCase{"DefaultGuidInUpperCase", {"PCI\\X\\1", "Dev", "M", 0u, kOther}, {1, 1, 1, 1}},
        RuleCase{"DefaultGuidInLowerCase", {"PCI\\X\\1", "Dev", "M", 0u, kOther.toLower()}, {1, 0, 0, 1}},
        RuleCase{"Code28", {"PCI\\X\\1", "Dev", QVariant(), 28u, kOther.toLower()}, {1, 1, 1, 1}},
        RuleCase{"Code22", {"PCI\\X\\1", "Dev", "M", 22u, kSystem}, {1, 0, 1, 1}},
        RuleCase{"CodeAsText", {"PCI\\X\\1", "Dev", "M", "28", kSystem}, {1, 1, 1, 1}},
        RuleCase{"BasicDisplayAdapter", {"PCI\\X\\1", "Microsoft Basic Display Adapter", "M", 0u, kSystem}, {1, 1, 0, 1}},
        RuleCase{"StandardVga", {"PCI\\X\\1", "Standard VGA Graphics Adapter", "M", 0u, kSystem}, {1, 1, 0, 1}},
        RuleCase{"RootSkipped", {"ROOT\\LEGACY\\0000", "Dev", "M", 28u, QVariant()}, {0, 0, 0, 0}},
        RuleCase{"VolumeSkipped", {"STORAGE\\VolumeSnapshot\\1", "Dev", "M", 0u, kSystem}, {0, 0, 0, 0}},
        RuleCase{"RootHubPrefixSkipped", {"USB\\ROOT_HUB30XYZ\\4&1", "Dev", "M", 0u, kSystem}, {0, 0, 0, 0}},
        RuleCase{"SoftwareDeviceSkipped", {"swd\\mmdevapi\\x", "Dev", "M", 0u, kSystem}, {0, 0, 0, 0}},
        RuleCase{"PortableDeviceSkipped", {"WPDBUSENUMROOT\\UMB\\2", "Dev", "M", 0u, kSystem}, {0, 0, 0, 0}},
        RuleCase{"UsbDeviceListed", {"USB\\VID_1&PID_2\\3", "Dev", "M", 0u, kSystem}, {1, 0, 0, 1}},
        RuleCase{"AllPropertiesNull", {QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}, {1, 1, 1, 1}}),
    [](const ::testing::TestParamInfo<RuleCase> &info) { return std::string(info.param.name); });

TEST_F(Lists, EmptyAndBlankValues)
{
    WmiObject absent; // no properties at all
    scan({object({"PCI\\X\\1", "", "", QVariant(), QVariant()}), object({"PCI\\X\\2", "   ", "M", 0u, kSystem}), absent});
    EXPECT_EQ(row(hardware, 1).mid(0, 3), QStringList({"Unknown", "Unknown", "() Unknown Error"}));
    EXPECT_EQ(row(hardware, 1)[3], "Other devices") << "the default class's name";
    EXPECT_EQ(row(hardware, 1)[5], "PCI\\X\\1") << "no hardware IDs: the device ID";
    EXPECT_EQ(row(hardware, 2)[0], "") << "a name of spaces is not replaced";
    EXPECT_EQ(row(hardware, 3)[4], "") << "no device ID, no driver version";
    EXPECT_EQ(row(hardware, 3)[5], "Unknown");
}

TEST_F(Lists, IdenticalDevicesGiveIdenticalRows)
{
    scan({object({"PCI\\GOOD\\1", "Dev", "M", 0u, kSystem}), object({"PCI\\GOOD\\1", "Dev", "M", 0u, kSystem})});
    ASSERT_EQ(hardware->ListItems().Count(), 2);
    EXPECT_EQ(row(hardware, 1), row(hardware, 2));
}

TEST_F(Lists, ClosingMidScanKeepsTheRowsSoFar)
{
    std::vector<WmiObject> devices;
    for (int i = 0; i < 10; ++i)
        devices.push_back(object({QStringLiteral("PCI\\X\\%1").arg(i), QStringLiteral("Dev %1").arg(i), "M", 0u, kSystem}));
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (hardware->ListItems().Count() >= 3)
            ModMain::ClosingProgram = true;
    });
    watcher.start(0);
    scan(devices);
    EXPECT_GE(hardware->ListItems().Count(), 3);
    EXPECT_LT(hardware->ListItems().Count(), 10);
    EXPECT_TRUE(status->Caption().startsWith("Status: Getting ")) << status->Caption().toStdString();
}

TEST_F(Lists, AListClearedWhileTheRegistryIsReadGetsOnlyWholeRows)
{
    std::vector<WmiObject> devices;
    for (int i = 0; i < 10; ++i)
        devices.push_back(object({QStringLiteral("PCI\\GOOD\\1"), QStringLiteral("Dev %1").arg(i), "M", 0u, kSystem}));
    QTimer clearer;
    QObject::connect(&clearer, &QTimer::timeout, [&] { hardware->ListItems().Clear(); });
    clearer.start(0);
    scan(devices);
    for (int i = 0; i < hardware->ListItems().Count(); ++i)
        EXPECT_EQ(row(hardware, i).mid(1), (QStringList{"M", "(0) OK", "System devices", "1.0", "PCI\\A|PCI\\B|"}));
}

// Each scan starts from cleared shared icons, and what the class icon files gave in the last scan
// goes with them: a file changed between two scans shows its new icon, a file gone shows none.
TEST_F(Lists, AClassIconFileChangedBetweenScansIsReadAgain)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SuiteImageManagerIcons *icons = SuiteControlsGlobalSettings::Global().Icons();
    const auto writeIcon = [](const QString &path, const QColor &colour) {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(colour);
        return image.save(path, "ICO");
    };
    const auto colourOf = [icons](int key) { return icons->icon(key).pixmap(16, 16).toImage().pixelColor(8, 8); };
    const QString ico = dir.filePath("class.ico");
    const QString library = dir.filePath("class.dll");
    const struct {
        const char *name;
        QString iconPath;
        std::function<bool()> before, change;
        std::function<void(int key)> expectAfter;
    } rows[] = {
        {"icon file repainted", ico + ",0", [&] { return writeIcon(ico, Qt::blue); }, [&] { return writeIcon(ico, Qt::red); },
         [&](int key) { EXPECT_EQ(colourOf(key), QColor(Qt::red)); }},
        {"library removed", library + ",-27", [&] { return QFile::copy(ModMain::SystemFolder + "setupapi.dll", library); },
         [&] { return QFile::remove(library); }, [&](int key) { EXPECT_FALSE(icons->Contains(key)); }},
    };
    const QString cls = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        RegistryTree registry = defaultRegistry();
        registry.setMultiString(HKEY_LOCAL_MACHINE, cls + kOther, "IconPath", {row.iconPath});
        const WmiObject device = object({"PCI\\OTHER\\1", "Other device", "Maker", 0u, kOther});
        ASSERT_TRUE(row.before());
        hardware->ListItems().Clear();
        scan({device}, registry);
        ASSERT_EQ(hardware->ListItems().Count(), 1);
        const int key = hardware->ListItems().Item(1)->IconKey();
        ASSERT_TRUE(icons->Contains(key));
        ASSERT_TRUE(row.change());
        hardware->ListItems().Clear();
        scan({device}, registry);
        ASSERT_EQ(hardware->ListItems().Count(), 1);
        EXPECT_EQ(hardware->ListItems().Item(1)->IconKey(), key);
        row.expectAfter(key);
    }
}

TEST_F(Lists, AClosingProgramScansNothing)
{
    status->setCaption("Status:");
    ModMain::ClosingProgram = true;
    scan({object({"PCI\\X\\1", "Dev", "M", 0u, kSystem})});
    EXPECT_EQ(counts(), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(status->Caption(), "Status:");
}

// The lists' window unloaded at any yield of the scan: the scan ends there and adds no row to
// the lists of a window that is on its way out.
TEST(ListsOfAnUnloadedWindow, TheScanEndsAtTheYieldThatSawTheUnload)
{
    ModMain::ClosingProgram = false;
    setMachineSource(std::make_unique<SnapshotMachine>(QStringLiteral(KESTROVA_FIXTURES "/machines/win10-desktop")));
    for (int n : {1, 2, 5, 40, 300}) {
        QPointer<runtime::Form> form = new runtime::Form(QStringLiteral("FrmScan"));
        runtime::Load(form);
        SuiteListView *lists[4];
        for (int i = 0; i < 4; ++i) {
            lists[i] = new SuiteListView(form, QStringLiteral("List%1").arg(i));
            for (int c = 0; c < 6; ++c)
                lists[i]->ColumnHeaders().Add({}, QStringLiteral("C%1").arg(c), 1500);
        }
        auto *status = new runtime::Label(form, "LabelStatus");
        int rowsAtUnload = -1;
        runtime::SetYieldHook([&](int count) {
            if (count == n)
                QTimer::singleShot(0, [&] {
                    rowsAtUnload = lists[0]->ListItems().Count();
                    runtime::Unload(form);
                });
        });
        ModHardware::GetHardware(lists[0], lists[1], lists[2], lists[3], status);
        runtime::SetYieldHook({});
        ASSERT_TRUE(form) << "yield " << n; // deleted only once no yielding code runs
        EXPECT_EQ(lists[0]->ListItems().Count(), rowsAtUnload) << "yield " << n;
        EXPECT_NE(status->Caption(), "Status: Done") << "yield " << n;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(form);
    }
    setMachineSource(nullptr);
}

TEST_F(Lists, TheSavedWindows10Desktop)
{
    setMachineSource(std::make_unique<SnapshotMachine>(QStringLiteral(KESTROVA_FIXTURES "/machines/win10-desktop")));
    ModHardware::GetHardware(hardware, noDrivers, problems, noSystem, status);
    EXPECT_GE(hardware->ListItems().Count(), 80);
    auto find = [](SuiteListView *list, const QString &name) -> QStringList {
        for (int i = 1; i <= list->ListItems().Count(); ++i)
            if (list->ListItems().Item(i)->Text() == name)
                return row(list, i);
        return {};
    };
    const QStringList smbus = find(noDrivers, "SM Bus Controller");
    ASSERT_FALSE(smbus.isEmpty());
    EXPECT_EQ(smbus[1], "Unknown");
    EXPECT_EQ(smbus[2], "(28) Drivers are not installed");
    EXPECT_EQ(smbus[3], "Other devices");
    EXPECT_EQ(smbus[4], "Unknown");
    EXPECT_EQ(smbus[5], "PCI\\VEN_8086&DEV_A323&SUBSYS_86941043&REV_10|PCI\\VEN_8086&DEV_A323&SUBSYS_86941043|"
                        "PCI\\VEN_8086&DEV_A323&CC_0C0500|PCI\\VEN_8086&DEV_A323&CC_0C05|");
    EXPECT_FALSE(find(problems, "SM Bus Controller").isEmpty());
    EXPECT_FALSE(find(noDrivers, "Microsoft Basic Display Adapter").isEmpty());
    EXPECT_EQ(find(problems, "Intel(R) Wireless-AC 9560 160MHz").value(2), "(22) Device is disabled");
    EXPECT_EQ(find(hardware, "NVIDIA GeForce RTX 2080").value(4), "27.21.14.5671");
    EXPECT_EQ(find(hardware, "NVIDIA GeForce RTX 2080").value(3), "Display adapters");
    EXPECT_TRUE(find(hardware, "Volume").isEmpty());
    EXPECT_TRUE(find(hardware, "WAN Miniport (IP)").isEmpty());
    EXPECT_TRUE(find(hardware, "USB Root Hub (USB 3.0)").isEmpty());
    EXPECT_TRUE(find(noSystem, "PCI Express Root Complex").isEmpty());
    for (int i = 1; i <= hardware->ListItems().Count(); ++i)
        EXPECT_TRUE(hardware->ListItems().Item(i)->SubItems(5).endsWith('|')) << row(hardware, i).join(',').toStdString();
}

// This machine, live: its PCI function without a driver stands in the no-drivers and problems
// lists with the text of code 28.
TEST_F(Lists, ThisMachinesDriverlessDevices)
{
    setMachineSource(std::make_unique<LiveMachine>());
    const Machine machine = machineSource().read();
    QStringList driverless;
    for (const WmiObject &device : machine.devices)
        if (device.get("ConfigManagerErrorCode")->toInt() == 28 && device.get("DeviceID")->toString().startsWith("PCI\\"))
            driverless << device.get("DeviceID")->toString();
    if (driverless.isEmpty())
        GTEST_SKIP() << "every PCI function of this machine has a driver";
    ModHardware::GetHardware(hardware, noDrivers, problems, noSystem, status);
    for (const QString &id : driverless) {
        for (SuiteListView *list : {noDrivers, problems}) {
            bool found = false;
            for (int i = 1; i <= list->ListItems().Count(); ++i) {
                const QStringList cells = row(list, i);
                if (cells[5].startsWith(id.section('\\', 0, 1) + '|')) {
                    EXPECT_EQ(cells[2], "(28) Drivers are not installed");
                    found = true;
                }
            }
            EXPECT_TRUE(found) << id.toStdString() << " in " << list->Name().toStdString();
        }
    }
}

} // namespace
