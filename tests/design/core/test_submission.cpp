#include "support/GivenMachine.h"

#include "components/SuiteListView.h"
#include "core/ModMain.h"
#include "core/ModSubmission.h"
#include "os/SnapshotMachine.h"
#include "os/Wmi.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

using namespace os;

namespace {

struct Dev
{
    QString id;
    QVariant name;
    QVariant maker;
    QStringList hardwareIds; // none: the registry lists none
    int code = 0;
};

class Submission : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModMain::ClosingProgram = false;
        list = new SuiteListView(&window, "ListViewHardware");
        for (const char *caption : {"Name", "Manufacturer", "Hardware ID"})
            list->ColumnHeaders().Add({}, caption, 1500);
        status = new runtime::Label(&window, "LabelStatus");
    }
    void TearDown() override { setMachineSource(nullptr); }

    void scan(const std::vector<Dev> &devices) { scanMachine(machineOf(devices)); }

    void scanMachine(Machine machine)
    {
        setMachineSource(std::make_unique<testsupport::GivenMachine>(std::move(machine)));
        ModSubmission::GetHardwareForSubmission(list, status);
    }

    static Machine machineOf(const std::vector<Dev> &devices)
    {
        Machine machine;
        for (const Dev &dev : devices) {
            WmiObject object;
            object.set("DeviceID", dev.id);
            object.set("Name", dev.name);
            object.set("Manufacturer", dev.maker);
            object.set("ConfigManagerErrorCode", dev.code);
            machine.devices.push_back(object);
            if (!dev.hardwareIds.isEmpty())
                machine.registry.setMultiString(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Enum\\" + dev.id,
                                                "HardwareID", dev.hardwareIds);
        }
        return machine;
    }

    QStringList rows() const
    {
        QStringList out;
        for (int i = 1; i <= list->ListItems().Count(); ++i) {
            SuiteListItem *item = list->ListItems().Item(i);
            out << item->Text() + "," + item->SubItems(1) + "," + item->SubItems(2);
        }
        return out;
    }

    QWidget window;
    SuiteListView *list = nullptr;
    runtime::Label *status = nullptr;
};

TEST_F(Submission, EachHardwareIdBecomesARow)
{
    scan({{"PCI\\A\\1", "Net card", "Maker", {"PCI\\VEN_1&DEV_2", "PCI\\VEN_1"}}});
    EXPECT_EQ(rows(), QStringList({"Net card,Maker,PCI\\VEN_1&DEV_2", "Net card,Maker,PCI\\VEN_1"}));
    EXPECT_EQ(list->ListItems().Item(1)->Key(), "net card|maker|pci\\ven_1&dev_2");
    EXPECT_EQ(status->Caption(), "Status: Updating List...");
}

TEST_F(Submission, SharedAndCaseOnlyDifferentIdsGiveOneRow)
{
    scan({{"PCI\\A\\1", "Card", "Maker", {"PCI\\VEN_1&DEV_2"}},
          {"PCI\\A\\2", "Card", "Maker", {"pci\\ven_1&dev_2", "PCI\\EXTRA"}}});
    EXPECT_EQ(rows(), QStringList({"Card,Maker,PCI\\VEN_1&DEV_2", "Card,Maker,PCI\\EXTRA"}));
}

TEST_F(Submission, ADeviceWithoutHardwareIdsListsItsDeviceId)
{
    scan({{"ACPI\\XYZ0001\\0", "Gadget", "Maker", {}}});
    EXPECT_EQ(rows(), QStringList({"Gadget,Maker,ACPI\\XYZ0001\\0"}));
}

TEST_F(Submission, ALongListOfIdsIsKept)
{
    QStringList ids;
    for (int i = 0; i < 8; ++i)
        ids << QStringLiteral("ACPI\\GenuineIntel_-_Intel64_Family_6_Model_158_-_Intel(R) Core(TM) i7-9700K CPU %1").arg(i);
    scan({{"ACPI\\CPU\\_0", "Intel(R) Core(TM) i7-9700K CPU @ 3.60GHz", "Intel", ids}});
    EXPECT_EQ(list->ListItems().Count(), 8) << "a hardware-ID text longer than 255 characters";
}

TEST_F(Submission, NamesAndMakersLongerThan255CharactersAreKeptWhole)
{
    const QString name = QString(300, u'n');
    const QString maker = QString(260, u'm');
    scan({{"PCI\\A\\1", name, maker, {"PCI\\X"}}});
    EXPECT_EQ(rows(), QStringList({name + "," + maker + ",PCI\\X"}));
}

struct Filter
{
    const char *name;
    Dev device;
    bool listed;
};

class SubmissionFilter : public Submission, public ::testing::WithParamInterface<Filter>
{
};

TEST_P(SubmissionFilter, DecidesWhetherTheDeviceIsOffered)
{
    scan({GetParam().device});
    EXPECT_EQ(list->ListItems().Count() > 0, GetParam().listed) << rows().join(';').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Devices, SubmissionFilter,
    ::testing::Values(
        Filter{"Plain", {"PCI\\A\\1", "Card", "Maker", {"PCI\\X"}}, true},
        Filter{"NotWorking", {"PCI\\A\\1", "Card", "Maker", {"PCI\\X"}, 28}, false},
        Filter{"RootDevice", {"ROOT\\A\\1", "Card", "Maker", {"PCI\\X"}}, false},
        Filter{"UmbDevice", {"UMB\\A\\1", "Card", "Maker", {"PCI\\X"}}, false},
        Filter{"StandardName", {"PCI\\A\\1", "STANDARD SATA AHCI Controller", "Maker", {"PCI\\X"}}, false},
        Filter{"AtaChannel", {"PCI\\A\\1", "ATA Channel 0", "Maker", {"PCI\\X"}}, false},
        Filter{"GenericHub", {"USB\\A\\1", "Generic USB Hub", "Maker", {"USB\\X"}}, false},
        Filter{"HidMouse", {"HID\\A\\1", "HID-compliant mouse", "Microsoft", {"HID\\X"}}, false},
        Filter{"UnknownMaker", {"PCI\\A\\1", "Card", "UNKNOWN vendor", {"PCI\\X"}}, false},
        Filter{"StandardSystemDevices", {"PCI\\A\\1", "Card", "(Standard system devices)", {"PCI\\X"}}, false},
        Filter{"NullMaker", {"PCI\\A\\1", "Card", QVariant(), {"PCI\\X"}}, false},
        Filter{"EmptyName", {"PCI\\A\\1", "", "Maker", {"PCI\\X"}}, false},
        Filter{"AccentedName", {"PCI\\A\\1", QString::fromUtf8("Ger\u00e4t"), "Maker", {"PCI\\X"}}, false},
        Filter{"WhitelistSigns",
               {"PCI\\A\\1", QString::fromUtf16(u"Intel\u00AE \u201CFast\u201D Card\u2122 \u2013 x\u00B2"), "Maker", {"PCI\\X"}},
               true},
        Filter{"OnlyGenericIds", {"USBSTOR\\A\\1", "Stick", "Maker", {"USBSTOR\\GenCdRom", "GenDisk", "HID_DEVICE"}}, false},
        Filter{"OtherGenericIds",
               {"PCI\\A\\1", "Card", "Maker", {" GENCDROM", "Umb\\X", "UUID{1}", "Internal_IDE_Channel", " "}}, false},
        Filter{"StorageVolume", {"STORAGE\\VOLUME\\1", "Card", "Maker", {"PCI\\X"}}, false},
        Filter{"UsbRootHub", {"USB\\ROOT_HUB30\\1", "Card", "Maker", {"PCI\\X"}}, false},
        Filter{"SoftwareDevice", {"SWD\\A\\1", "Card", "Maker", {"PCI\\X"}}, false},
        Filter{"UuidDevice", {"UUID\\A\\1", "Card", "Maker", {"PCI\\X"}}, false},
        Filter{"PortableDeviceBus", {"WPDBUSENUMROOT\\A\\1", "Card", "Maker", {"PCI\\X"}}, false},
        Filter{"CompositeDevice", {"USB\\A\\1", "USB Composite Device", "Maker", {"USB\\X"}}, false},
        Filter{"MassStorage", {"USB\\A\\1", "USB Mass Storage Device", "Maker", {"USB\\X"}}, false},
        Filter{"PrintingSupport", {"USB\\A\\1", "USB Printing Support", "Maker", {"USB\\X"}}, false},
        Filter{"GenericMonitor", {"DISPLAY\\A\\1", "Generic PnP Monitor", "Maker", {"MONITOR\\X"}}, false},
        Filter{"HidKeyboard", {"HID\\A\\1", "HID Keyboard Device", "Maker", {"HID\\X"}}, false},
        Filter{"PrimaryIde", {"PCIIDE\\A\\1", "Primary IDE Channel", "Maker", {"X"}}, false},
        Filter{"SecondaryIde", {"PCIIDE\\A\\1", "Secondary IDE Channel", "Maker", {"X"}}, false},
        Filter{"NameThatOnlyBeginsLikeAnExcludedOne", {"USB\\A\\1", "Generic USB Hub 2", "Maker", {"USB\\X"}}, true}),
    [](const ::testing::TestParamInfo<Filter> &info) { return std::string(info.param.name); });

TEST_F(Submission, TabsAndNoBreakSpacesAreNormalised)
{
    scan({{"PCI\\A\\1", QString("Fast\tCard") + QChar(0xA0) + " x", "Maker", {"PCI\\X"}}});
    EXPECT_EQ(rows(), QStringList({"Fast Card x,Maker,PCI\\X"}));
}

TEST_F(Submission, ClosingStopsBeforeAnyRow)
{
    ModMain::ClosingProgram = true;
    scan({{"PCI\\A\\1", "Card", "Maker", {"PCI\\X"}}});
    EXPECT_EQ(list->ListItems().Count(), 0);
    ModMain::ClosingProgram = false;
}

TEST(SubmissionText, IsPlainTextAndKeywords)
{
    EXPECT_TRUE(ModSubmission::IsPlainText(""));
    EXPECT_TRUE(ModSubmission::IsPlainText("Realtek(R) PCIe GbE Family Controller #2"));
    EXPECT_TRUE(ModSubmission::IsPlainText(QString("a\tb") + QChar(0xA0)));
    EXPECT_FALSE(ModSubmission::IsPlainText(QString::fromUtf8("caf\u00e9")));
    EXPECT_FALSE(ModSubmission::IsPlainText(QString("a") + QChar(0)));
    EXPECT_EQ(ModSubmission::TextChars.size(), 107);
    EXPECT_TRUE(ModSubmission::ContainsSkipKeyword("VMWARE Virtual Disk", {"nothing", "vmware"}));
    EXPECT_FALSE(ModSubmission::ContainsSkipKeyword("Card", {"vmware"}));
    EXPECT_FALSE(ModSubmission::ContainsSkipKeyword("Card", {}));
}

TEST_F(Submission, TheSavedWindows10Desktop)
{
    setMachineSource(std::make_unique<SnapshotMachine>(QStringLiteral(KESTROVA_FIXTURES "/machines/win10-desktop")));
    ModSubmission::GetHardwareForSubmission(list, status);
    const QStringList all = rows();
    EXPECT_GT(all.size(), 20);
    for (const QString &row : all) {
        EXPECT_FALSE(row.startsWith("USB Composite Device")) << row.toStdString();
        EXPECT_FALSE(row.contains("(Standard system devices)")) << row.toStdString();
        EXPECT_FALSE(row.endsWith(",GenDisk")) << row.toStdString();
        EXPECT_FALSE(row.contains("SM Bus Controller")) << "not working";
    }
    EXPECT_TRUE(all.contains("NVIDIA GeForce RTX 2080,NVIDIA,PCI\\VEN_10DE&DEV_1E87&SUBSYS_37523842&REV_A1"));
}

// The improve window unloaded at any yield of its scan: the scan ends there and adds no row to
// the list of a window that is on its way out.
TEST(SubmissionOfAnUnloadedWindow, TheScanEndsAtTheYieldThatSawTheUnload)
{
    ModMain::ClosingProgram = false;
    setMachineSource(std::make_unique<SnapshotMachine>(QStringLiteral(KESTROVA_FIXTURES "/machines/win10-desktop")));
    for (int n : {1, 3, 20, 150, 400}) {
        QPointer<runtime::Form> form = new runtime::Form(QStringLiteral("FrmImprove"));
        runtime::Load(form);
        auto *list = new SuiteListView(form, "ListViewHardware");
        for (int c = 0; c < 3; ++c)
            list->ColumnHeaders().Add({}, QStringLiteral("C%1").arg(c), 1500);
        auto *status = new runtime::Label(form, "LabelStatus");
        int rowsAtUnload = -1;
        runtime::SetYieldHook([&](int count) {
            if (count == n)
                QTimer::singleShot(0, [&] {
                    rowsAtUnload = list->ListItems().Count();
                    runtime::Unload(form);
                });
        });
        ModSubmission::GetHardwareForSubmission(list, status);
        runtime::SetYieldHook({});
        ASSERT_TRUE(form) << "yield " << n; // deleted only once no yielding code runs
        EXPECT_EQ(list->ListItems().Count(), rowsAtUnload) << "yield " << n;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(form);
    }
    setMachineSource(nullptr);
}

// A HardwareID stored as one string (REG_SZ) has no "|" in its text: the generic IDs are skipped
// on that path too, and any other ID is listed as it stands.
TEST_F(Submission, ASingleStringHardwareIdSkipsOnlyGenericIds)
{
    struct Case
    {
        const char *id;
        QStringList expected;
    };
    const Case cases[] = {
        {"GenDisk", {}},
        {"gendisk_vendor", {}},
        {"USBSTOR\\GenCdRom", {}},
        {"HID_DEVICE_SYSTEM_KEYBOARD", {}},
        {"ACME\\Widget_7", {"Disk,Maker,ACME\\Widget_7"}},
    };
    const QString deviceId = QStringLiteral("SCSI\\DISK&VEN_X\\1");
    for (const Case &c : cases) {
        list->ListItems().Clear();
        Machine machine = machineOf({{deviceId, "Disk", "Maker", {}}});
        machine.registry.setString(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Enum\\" + deviceId, "HardwareID", c.id);
        scanMachine(std::move(machine));
        EXPECT_EQ(rows().join("; ").toStdString(), c.expected.join("; ").toStdString()) << c.id;
    }
}

} // namespace
