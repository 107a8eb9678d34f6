#include "support_improve.h"
#include "support/ColorPresets.h"
#include "support/HwidsDatabase.h"

#include "chrome/TitelBar.h"
#include "components/SuiteListView.h"
#include "controls/AnimationBar.h"
#include "controls/PanelFx.h"
#include "controls/dcButton.h"
#include "core/ModDatabase.h"
#include "core/ModMain.h"
#include "core/Modini.h"
#include "os/WinInet.h"
#include "runtime/App.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"
#include "runtime/ListBox.h"
#include "runtime/Menu.h"
#include "runtime/MsgBox.h"
#include "runtime/TextBox.h"
#include "runtime/Timer.h"
#include "skin/ModColors.h"
#include "skin/SchemeTable.h"
#include "windows/FrmImprove.h"
#include "windows/FrmMenu.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace improvetest;

namespace {

const QString kSuccess = QStringLiteral("Done! - Uploaded to Quordane: Successful!");
const QString kFailure = QStringLiteral("Done! - Uploaded to Quordane: Failed! Please email 'new_hardware.txt' file to support@quordane.example");

// Three working devices, one hardware ID each; the list shows them as Alpha, Bravo, Charlie.
const std::vector<Device> kThreeDevices{
    {"PCI\\VEN_1AF4&DEV_1000\\3&11", "Charlie Network Adapter", "Charliecorp", {"PCI\\VEN_1AF4&DEV_1000&SUBSYS_00011AF4"}},
    {"USB\\VID_1234&PID_5678\\1", "Alpha Camera", "Alphacorp", {"USB\\VID_1234&PID_5678&REV_0100"}},
    {"HID\\VID_ABCD&PID_0001\\1", "Bravo USB Receiver", "Bravo Inc", {"HID\\VID_ABCD&PID_0001"}},
};

class Improve : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        runtime::App::setPath(folder.path());
        ModMain::ClosingProgram = false;
        os::SetConnectedStateForTesting(true);
        os::SetInternetTimeouts({2000, 2000});
        ASSERT_FALSE(testsupport::makeHwidsDatabase(folder.path(), {QStringLiteral("INSERT INTO version VALUES ('1.0.0')")}).isEmpty());
        ModDatabase::OpenDatabase();
        useMachine(kThreeDevices);
    }

    void TearDown() override
    {
        for (runtime::Form *form : runtime::Forms::All())
            runtime::Unload(form);
        settle();
        ModDatabase::CloseDatabase();
        forgetMachine();
        os::SetConnectedStateForTesting(std::nullopt);
        os::SetInternetTimeouts({});
        runtime::SetPopupMenuHook({});
        ModMain::MenuTargetForm = nullptr;
        runtime::App::setPath(QString());
    }

    // Lets unloaded windows go for good.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void pointUploadAt(int port)
    {
        ASSERT_TRUE(Modini::WriteIni(QStringLiteral("main"), QStringLiteral("WebServer"), QStringLiteral("http://127.0.0.1:%1").arg(port)));
    }

    void writeKeywords(const QByteArray &bytes)
    {
        QFile file(folder.filePath(QStringLiteral("improve_database_keywords_to_skip.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static FrmImprove *open()
    {
        FrmImprove *form = runtime::Forms::Get<FrmImprove>();
        form->Show();
        return form;
    }

    // "name,maker,hardware ID" per row, in list order.
    static QStringList rows(FrmImprove *form)
    {
        QStringList out;
        SuiteListView *list = form->ListViewHardware;
        for (int i = 1; i <= list->ListItems().Count(); ++i) {
            const SuiteListItem *row = list->ListItems().Item(i);
            out << row->Text() + ',' + row->SubItems(1) + ',' + row->SubItems(2);
        }
        return out;
    }

    static QStringList scan(FrmImprove *form)
    {
        form->CommandGetHardware_Click();
        return rows(form);
    }

    QByteArray newHardware() const
    {
        QFile file(folder.filePath(QStringLiteral("new_hardware.txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    static bool inDatabase(const QString &id, const QString &name, const QString &maker)
    {
        return ModDatabase::IsHardwareInDatabase(id + "|||" + name + "|||" + maker);
    }

    QTemporaryDir folder;
};

TEST_F(Improve, LoadsAtRestWithTheDesignTextsAndSize)
{
    FrmImprove *form = open();
    EXPECT_EQ(open(), form) << "one window while it is loaded";
    EXPECT_EQ(form->Caption(), "Improve Database");
    EXPECT_DOUBLE_EQ(form->Width(), 8520);
    EXPECT_DOUBLE_EQ(form->Height(), 8715);
    EXPECT_EQ(form->InfoLabelListTotal->Caption(), "Total Hardware Not In Database: 0");
    EXPECT_EQ(form->ImportantLabel1->Caption(), "*English Systems Only - PLEASE REMOVE ANY DEVICE THAT HAS NON ENGLISH WORDS!");
    EXPECT_EQ(form->ImportantLabelSubmitStatus->Caption(), "");
    EXPECT_EQ(form->CommandGetHardware->Caption(), "1. Scan Hardware");
    EXPECT_EQ(form->CommandSaveSubmit->Caption(), "2. Add to Database && Submit to Quordane");
    EXPECT_TRUE(form->CommandGetHardware->Enabled());
    EXPECT_FALSE(form->CommandSaveSubmit->Enabled());
    EXPECT_FALSE(form->PanelProgress->Visible());
    EXPECT_EQ(form->PanelProgress->TitleCaption(), "Please Wait...");
    EXPECT_EQ(form->LabelStatus->Caption(), "Status:");
    EXPECT_FALSE(form->List1->Visible());
    EXPECT_EQ(form->LabelResize->Caption(), "o");
    EXPECT_EQ(form->LabelResize->MousePointer(), runtime::vbSizeNWSE) << "the grip shows the sizing cursor";
    EXPECT_TRUE(form->Timer1->isRunning());
    EXPECT_EQ(form->Timer1->Interval(), 250);
    EXPECT_FALSE(form->TimerStatus->Enabled());
    EXPECT_EQ(form->TimerStatus->Interval(), 100);

    // The text box gives its lines back with LF alone.
    const QStringList paragraphs = form->LabelText1->Text().remove('\r').split("\n\n");
    ASSERT_EQ(paragraphs.size(), 5);
    EXPECT_EQ(paragraphs[0], "Want to help improve the database for the program? This is the spot!");
    EXPECT_TRUE(paragraphs[2].endsWith("named 'new_hardware.txt')"));
    EXPECT_EQ(paragraphs[3], "The text file uploaded to the server will be checked and then applied to the main database after a few days.");
    EXPECT_TRUE(paragraphs[4].endsWith("making the database more detailed.\n"));

    SuiteListView *list = form->ListViewHardware;
    ASSERT_EQ(list->ColumnHeaders().Count(), 3);
    EXPECT_EQ(list->ColumnHeaders().Item(3)->Text(), "Hardware IDs");
    EXPECT_EQ(list->ColumnHeaders().Item(3)->Key(), "HardwareIDs");
    EXPECT_TRUE(list->SortActive());
    EXPECT_EQ(list->SortColumn(), 0);
    EXPECT_EQ(list->SortDirection(), 0);

    // The start size is also the smallest; the panel stays centred over the list.
    form->Move(form->Left(), form->Top(), 6000, 6000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->Width() == 8520 && form->Height() == 8715; }, 1000));
    form->Move(form->Left(), form->Top(), 10020, 9915);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->Width() == 10020; }, 1000));
    EXPECT_NEAR(form->PanelProgress->Left() + form->PanelProgress->Width() / 2,
                list->Left() + list->Width() / 2, 30);
    EXPECT_NEAR(form->PanelProgress->Top() + form->PanelProgress->Height() / 2,
                list->Top() + list->Height() / 2, 30);
}

TEST_F(Improve, TheFrameIsDrawnInTheDrawingColourAndOutlivesARefreshAndAResize)
{
    FrmImprove *form = open();
    form->setForeColor(0x0000FF);   // red, as the colour engine will set the border colour
    form->Move(form->Left(), form->Top(), 9000, 9000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->Width() == 9000; }, 1000));
    form->Refresh();
    QCoreApplication::processEvents();
    const QImage shown = form->grab().toImage();
    const QRgb red = qRgb(255, 0, 0);
    const int middleY = shown.height() * 3 / 4;
    EXPECT_EQ(shown.pixel(0, middleY), red) << "left edge";
    EXPECT_EQ(shown.pixel(shown.width() - 1, middleY), red) << "right edge";
    EXPECT_EQ(shown.pixel(shown.width() / 2, shown.height() - 1), red) << "bottom edge";
    EXPECT_NE(shown.pixel(shown.width() / 2, shown.height() - 5), red) << "one line, not a fill";
    // One pixel wide, as the main and lookup windows' frames.
    EXPECT_NE(shown.pixel(1, middleY), red) << "left edge";
    EXPECT_NE(shown.pixel(shown.width() - 2, middleY), red) << "right edge";
    EXPECT_NE(shown.pixel(shown.width() / 2, shown.height() - 2), red) << "bottom edge";

    // The title bar follows the width and is drawn over it, not left in its see-through colour.
    const QImage bar = form->TitelBar1->grab().toImage();
    EXPECT_EQ(bar.width(), shown.width());
    EXPECT_NE(bar.pixel(bar.width() / 2, bar.height() / 2), qRgb(0xF8, 0xB8, 0xF7));
}

TEST_F(Improve, TheScanListsOneRowPerDeviceTheDatabaseLacks)
{
    ModDatabase::AddHardwareToDatabase("HID\\VID_ABCD&PID_0001|||Bravo USB Receiver|||Bravo Inc");
    FrmImprove *form = open();
    EXPECT_EQ(scan(form), (QStringList{"Alpha Camera,Alphacorp,USB\\VID_1234&PID_5678&REV_0100",
                                       "Charlie Network Adapter,Charliecorp,PCI\\VEN_1AF4&DEV_1000&SUBSYS_00011AF4"}));
    EXPECT_FALSE(form->CommandGetHardware->Enabled()) << "one scan per opening";
    EXPECT_TRUE(form->CommandSaveSubmit->Enabled());
    EXPECT_TRUE(form->ListViewHardware->Visible());
    EXPECT_FALSE(form->PanelProgress->Visible());
    EXPECT_FALSE(form->DB1->runningStyle().has_value());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->InfoLabelListTotal->Caption() == "Total Hardware Not In Database: 2"; }, 1000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->TimerStatus->Enabled(); }, 1000));
    EXPECT_EQ(form->LabelStatus->Caption(), "Status: Done.");
}

// Keyword files against the three devices; the rows left, by name.
struct KeywordCase {
    const char *name;
    QByteArray file;
    QStringList left;
};

class ImproveKeywords : public Improve, public ::testing::WithParamInterface<KeywordCase> {};

TEST_P(ImproveKeywords, RemoveEveryRowWhoseDeviceLineHoldsOne)
{
    writeKeywords(GetParam().file);
    FrmImprove *form = open();
    QStringList names;
    for (const QString &row : scan(form))
        names << row.section(',', 0, 0);
    EXPECT_EQ(names, GetParam().left);
    EXPECT_EQ(form->CommandSaveSubmit->Enabled(), !GetParam().left.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return form->InfoLabelListTotal->Caption() == "Total Hardware Not In Database: " + QString::number(GetParam().left.size());
    }, 1000));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImproveKeywords,
    ::testing::Values(
        KeywordCase{"NoFile", {}, {"Alpha Camera", "Bravo USB Receiver", "Charlie Network Adapter"}},
        KeywordCase{"OtherLetterCase", "uSb\r\n", {"Charlie Network Adapter"}},
        KeywordCase{"OnlyInTheHardwareId", "ven_1af4\r\n", {"Alpha Camera", "Bravo USB Receiver"}},
        KeywordCase{"InTheMaker", "ALPHACORP\r\n", {"Bravo USB Receiver", "Charlie Network Adapter"}},
        KeywordCase{"AcrossTheSeparator", "0001|||bravo\r\n", {"Alpha Camera", "Charlie Network Adapter"}},
        KeywordCase{"EmptyLinesIgnored", "\r\n\r\n\r\n", {"Alpha Camera", "Bravo USB Receiver", "Charlie Network Adapter"}},
        KeywordCase{"OneSpaceIsAKeyword", "\r\n \r\n", {}},
        KeywordCase{"LineEndsOfOtherSystems", "camera\nnetwork\r", {"Bravo USB Receiver"}}),
    [](const ::testing::TestParamInfo<KeywordCase> &info) { return std::string(info.param.name); });

TEST_F(Improve, AScanThatRemovesEveryRowLeavesTheSubmitButtonDisabled)
{
    for (const Device &device : kThreeDevices)
        ModDatabase::AddHardwareToDatabase(device.hardwareIds.front() + "|||" + device.name + "|||" + device.maker);
    FrmImprove *form = open();
    EXPECT_TRUE(scan(form).isEmpty());
    EXPECT_FALSE(form->CommandSaveSubmit->Enabled());
    QTest::mouseClick(form->CommandSaveSubmit, Qt::LeftButton);
    QTest::mouseClick(form->CommandGetHardware, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(newHardware(), "<missing>") << "a disabled button submits nothing";
    EXPECT_TRUE(form->ListViewHardware->Visible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->InfoLabelListTotal->Caption() == "Total Hardware Not In Database: 0"; }, 1000));
}

TEST_F(Improve, SubmittingWritesTheLinesLastRowFirstAddsThemAndUploadsTheFile)
{
    UploadServer server;
    pointUploadAt(server.port());
    {
        QFile earlier(folder.filePath("new_hardware.txt"));
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("an earlier submission that is much longer than the new one\r\n");
    }
    FrmImprove *form = open();
    ASSERT_EQ(scan(form).size(), 3);
    form->ListViewHardware->ListItems().Item(1)->setText("  Alpha Camera ");
    QTest::mouseClick(form->CommandSaveSubmit, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->ImportantLabelSubmitStatus->Caption().isEmpty(); }, 5000));

    const QByteArray expected = "PCI\\VEN_1AF4&DEV_1000&SUBSYS_00011AF4|||Charlie Network Adapter|||Charliecorp\r\n"
                                "HID\\VID_ABCD&PID_0001|||Bravo USB Receiver|||Bravo Inc\r\n"
                                "USB\\VID_1234&PID_5678&REV_0100|||Alpha Camera|||Alphacorp\r\n";
    EXPECT_EQ(newHardware(), expected);
    ASSERT_EQ(server.uploads().size(), 1u);
    EXPECT_EQ(server.uploads().front(), expected);
    EXPECT_EQ(form->ImportantLabelSubmitStatus->Caption(), kSuccess);
    EXPECT_EQ(form->ListViewHardware->ListItems().Count(), 0);
    EXPECT_FALSE(form->CommandSaveSubmit->Enabled());
    EXPECT_FALSE(form->CommandGetHardware->Enabled());
    EXPECT_TRUE(form->ListViewHardware->Visible());
    EXPECT_FALSE(form->PanelProgress->Visible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->LabelStatus->Caption() == "Status: Done."; }, 1000));
    for (const Device &device : kThreeDevices)
        EXPECT_TRUE(inDatabase(device.hardwareIds.front(), device.name, device.maker)) << device.name.toStdString();

    // Closed and opened again, the window starts afresh and its scan finds nothing left to send.
    runtime::Unload(form);
    settle();
    FrmImprove *reopened = open();
    EXPECT_NE(reopened, form);
    EXPECT_TRUE(reopened->CommandGetHardware->Enabled());
    EXPECT_EQ(reopened->ImportantLabelSubmitStatus->Caption(), "");
    EXPECT_TRUE(scan(reopened).isEmpty());
}

TEST_F(Improve, RowsRemovedWithTheDeleteKeyAreNeitherStoredNorSentAndComeBack)
{
    UploadServer server;
    pointUploadAt(server.port());
    FrmImprove *form = open();
    ASSERT_EQ(scan(form).size(), 3);
    SuiteListView *list = form->ListViewHardware;
    list->ListItems().Item(2)->setSelected(true);
    QTest::keyClick(list->view(), Qt::Key_Delete);
    EXPECT_EQ(rows(form).size(), 2);
    ASSERT_NE(list->SelectedItem(), nullptr) << "the next row is selected";
    QTest::keyClick(list->view(), Qt::Key_Delete);
    EXPECT_EQ(rows(form), QStringList{"Alpha Camera,Alphacorp,USB\\VID_1234&PID_5678&REV_0100"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->InfoLabelListTotal->Caption() == "Total Hardware Not In Database: 1"; }, 1000));

    form->CommandSaveSubmit_Click();
    EXPECT_EQ(newHardware(), "USB\\VID_1234&PID_5678&REV_0100|||Alpha Camera|||Alphacorp\r\n");
    EXPECT_FALSE(inDatabase("HID\\VID_ABCD&PID_0001", "Bravo USB Receiver", "Bravo Inc"));

    runtime::Unload(form);
    settle();
    QStringList names;
    for (const QString &row : scan(open()))
        names << row.section(',', 0, 0);
    EXPECT_EQ(names, (QStringList{"Bravo USB Receiver", "Charlie Network Adapter"}));
}

TEST_F(Improve, AnEmptiedListStillWritesAndUploadsAnEmptyFile)
{
    UploadServer server;
    pointUploadAt(server.port());
    FrmImprove *form = open();
    ASSERT_EQ(scan(form).size(), 3);
    SuiteListView *list = form->ListViewHardware;
    while (list->ListItems().Count() > 0) {
        list->ListItems().Item(1)->setSelected(true);
        QTest::keyClick(list->view(), Qt::Key_Delete);
    }
    ASSERT_TRUE(form->CommandSaveSubmit->Enabled());
    QTest::mouseClick(form->CommandSaveSubmit, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->ImportantLabelSubmitStatus->Caption().isEmpty(); }, 5000));
    EXPECT_EQ(newHardware(), QByteArray());
    ASSERT_EQ(server.uploads().size(), 1u);
    EXPECT_EQ(server.uploads().front(), QByteArray());
    EXPECT_EQ(form->ImportantLabelSubmitStatus->Caption(), kSuccess);
}

// A server that cannot be reached or refuses the file: the failure is told, the database keeps
// the devices and the file stays for the user to send.
struct UnreachableCase {
    const char *name;
    bool silent;
    int answerStatus = 0; // a server that answers with this status; none when 0
    testsupport::RawHttpServer::Behaviour answer = testsupport::RawHttpServer::Behaviour::Answer; // and so
};

class ImproveUnreachable : public Improve, public ::testing::WithParamInterface<UnreachableCase> {};

TEST_P(ImproveUnreachable, ToldAsAFailureWithTheSupportAddressAndTheDatabaseKeepsTheRows)
{
    std::unique_ptr<SilentServer> silent;
    std::unique_ptr<testsupport::RawHttpServer> refusing;
    if (GetParam().answerStatus != 0) {
        refusing = std::make_unique<testsupport::RawHttpServer>(GetParam().answer, GetParam().answerStatus);
        pointUploadAt(refusing->port());
    } else if (GetParam().silent) {
        silent = std::make_unique<SilentServer>();
        pointUploadAt(silent->port());
    } else {
        pointUploadAt(closedPort());
    }
    FrmImprove *form = open();
    ASSERT_EQ(scan(form).size(), 3);
    form->CommandSaveSubmit_Click();
    EXPECT_EQ(form->ImportantLabelSubmitStatus->Caption(), kFailure);
    EXPECT_EQ(newHardware().count("\r\n"), 3);
    for (const Device &device : kThreeDevices)
        EXPECT_TRUE(inDatabase(device.hardwareIds.front(), device.name, device.maker)) << device.name.toStdString();
    EXPECT_FALSE(form->PanelProgress->Visible());
}

INSTANTIATE_TEST_SUITE_P(Servers, ImproveUnreachable,
                         ::testing::Values(UnreachableCase{"RefusesConnections", false}, UnreachableCase{"NeverAnswers", true},
                                           UnreachableCase{"AnswersNotFound", false, 404},
                                           UnreachableCase{"AnswersServerError", false, 500},
                                           UnreachableCase{"AnswersOnlyContinue", false, 200,
                                                           testsupport::RawHttpServer::Behaviour::EndlessContinue},
                                           UnreachableCase{"AnswersHeadersThatNeverEnd", false, 200,
                                                           testsupport::RawHttpServer::Behaviour::HeadersWithoutEnd}),
                         [](const ::testing::TestParamInfo<UnreachableCase> &info) { return std::string(info.param.name); });

TEST_F(Improve, ASupportAddressSetInTheSettingsIsTheOneTold)
{
    pointUploadAt(closedPort());
    ASSERT_TRUE(Modini::WriteIni("main", "SupportEmail", "hardware@example.org"));
    FrmImprove *form = open();
    scan(form);
    form->CommandSaveSubmit_Click();
    EXPECT_EQ(form->ImportantLabelSubmitStatus->Caption(),
              "Done! - Uploaded to Quordane: Failed! Please email 'new_hardware.txt' file to hardware@example.org");
    // The address is what the user needs: the line holds it whole at the window's start size.
    runtime::Label *result = form->ImportantLabelSubmitStatus;
    const QString failure = kFailure;
    EXPECT_LE(QFontMetrics(result->Font().toQFont()).horizontalAdvance(failure), result->width());
}

TEST_F(Improve, ALockedDatabaseEndsTheSubmissionWithoutACrashAndTheFileStillGoesOut)
{
    UploadServer server;
    pointUploadAt(server.port());
    FrmImprove *form = open();
    ASSERT_EQ(scan(form).size(), 3);

    sqlite3 *locker = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(folder.filePath("hwids.mdb")).constData(), &locker), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(locker, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    form->CommandSaveSubmit_Click();
    sqlite3_exec(locker, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(locker);

    EXPECT_EQ(newHardware().count("\r\n"), 3);
    ASSERT_EQ(server.uploads().size(), 1u);
    EXPECT_EQ(server.uploads().front(), newHardware());
    EXPECT_EQ(form->ImportantLabelSubmitStatus->Caption(), kSuccess);
    EXPECT_EQ(form->ListViewHardware->ListItems().Count(), 0);
}

TEST_F(Improve, WithTheDatabaseClosedTheScanKeepsEveryRowAndTheFileStillGoesOut)
{
    UploadServer server;
    pointUploadAt(server.port());
    ModDatabase::CloseDatabase();
    FrmImprove *form = open();
    EXPECT_EQ(scan(form).size(), 3);
    form->CommandSaveSubmit_Click();
    EXPECT_EQ(newHardware().count("\r\n"), 3);
    ASSERT_EQ(server.uploads().size(), 1u);
    EXPECT_EQ(form->ImportantLabelSubmitStatus->Caption(), kSuccess);
}

TEST_F(Improve, AFileThatCannotBeCreatedIsToldAsAFailedUploadAndTheDatabaseStillGrows)
{
    UploadServer server;
    pointUploadAt(server.port());
    // A folder in the file's place: nothing can create it, whoever runs the test.
    ASSERT_TRUE(QDir(folder.path()).mkdir("new_hardware.txt"));
    FrmImprove *form = open();
    ASSERT_EQ(scan(form).size(), 3);
    form->CommandSaveSubmit_Click();
    EXPECT_EQ(form->ImportantLabelSubmitStatus->Caption(), kFailure);
    EXPECT_TRUE(server.uploads().empty());
    EXPECT_EQ(form->ListViewHardware->ListItems().Count(), 0);
    for (const Device &device : kThreeDevices)
        EXPECT_TRUE(inDatabase(device.hardwareIds.front(), device.name, device.maker)) << device.name.toStdString();
}

TEST_F(Improve, StatusShowsTheDeviceBeingSearchedWhileTheDatabaseIsAsked)
{
    FrmImprove *form = open();
    QString shown;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        // Held at the database test until the status timer has copied the text.
        if (shown.isEmpty() && form->sStatus.startsWith("Searching Database... ")) {
            const QString expected = "Status: " + form->sStatus;
            if (QTest::qWaitFor([&] { return form->LabelStatus->Caption() == expected; }, 1000))
                shown = expected;
            EXPECT_TRUE(form->PanelProgress->Visible());
            EXPECT_FALSE(form->ListViewHardware->Visible());
        }
    });
    watcher.start(0);
    scan(form);
    watcher.stop();
    EXPECT_TRUE(shown == "Status: Searching Database... Charlie Network Adapter" || shown == "Status: Searching Database... Bravo USB Receiver")
        << shown.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->LabelStatus->Caption() == "Status: Done."; }, 1000));
    EXPECT_FALSE(form->TimerStatus->Enabled());
}

// The busy panel's status and bar take the chosen preset: they lie inside the panel.
TEST_F(Improve, TheBusyPanelTakesTheChosenPresetWhileAScanRuns)
{
    FrmImprove *form = open();
    for (const char *preset : {"Harbour", "Moss"}) {
        ASSERT_TRUE(testsupport::ChooseShippedPreset(QLatin1String(preset))) << preset;
        const quint32 text = ModColors::SchemeColor(SchemeTable::programtext);
        bool seen = false;
        runtime::SetYieldHook([&](int) {
            if (seen || !form->PanelProgress->Visible())
                return;
            seen = true;
            EXPECT_EQ(form->LabelStatus->ForeColor(), text) << preset;
            EXPECT_EQ(runtime::getPropertyByName(form->DB1, "LeftColorBarColor").toString().toLongLong(), qint32(text)) << preset;
            EXPECT_EQ(runtime::getPropertyByName(form->DB1, "BackGroundColor").toString().toLongLong(),
                      qint32(ModColors::SchemeColor(SchemeTable::programback)))
                << preset;
        });
        scan(form);
        runtime::SetYieldHook({});
        EXPECT_TRUE(seen) << preset;
    }
}

TEST_F(Improve, AColumnClickSortsByItAndASecondClickTurnsTheOrder)
{
    FrmImprove *form = open();
    scan(form);
    SuiteListView *list = form->ListViewHardware;
    form->ListViewHardware_ColumnClick(SuiteColumnHeader(list, 2));
    EXPECT_EQ(list->SortColumn(), 1);
    EXPECT_EQ(list->SortDirection(), 0);
    EXPECT_EQ(rows(form).front().section(',', 1, 1), "Alphacorp");
    form->ListViewHardware_ColumnClick(SuiteColumnHeader(list, 2));
    EXPECT_EQ(list->SortDirection(), 1);
    EXPECT_EQ(rows(form).front().section(',', 1, 1), "Charliecorp");
    form->ListViewHardware_ColumnClick(SuiteColumnHeader(list, 1));
    EXPECT_EQ(list->SortColumn(), 0);
    EXPECT_EQ(list->SortDirection(), 0);
}

TEST_F(Improve, ARightClickNamesThisWindowAsTheMenuTargetOrSaysTheListIsEmpty)
{
    FrmImprove *form = open();
    std::vector<runtime::Menu *> popups;
    runtime::SetPopupMenuHook([&](runtime::Menu *menu) {
        popups.push_back(menu);
        EXPECT_EQ(ModMain::MenuTargetForm.data(), form);
        return nullptr;
    });
    {
        runtime::MsgBoxRecorder boxes;
        QTest::mouseClick(form->ListViewHardware->view()->viewport(), Qt::RightButton);
        ASSERT_EQ(boxes.calls.size(), 1);
        EXPECT_EQ(boxes.calls.front().prompt, "The List Is Empty.");
        EXPECT_EQ(boxes.calls.front().buttons, runtime::vbOKOnly);
        EXPECT_TRUE(popups.empty());
    }
    scan(form);
    runtime::MsgBoxRecorder boxes;
    QTest::mouseClick(form->ListViewHardware->view()->viewport(), Qt::LeftButton);
    EXPECT_TRUE(popups.empty());
    QTest::mouseClick(form->ListViewHardware->view()->viewport(), Qt::RightButton);
    EXPECT_TRUE(boxes.calls.isEmpty());
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups.front(), runtime::Forms::Get<FrmMenu>()->MenuImprove);
    EXPECT_EQ(form->ListViewHardware, form->findControl("ListViewHardware")) << "the menu finds the list by name";
}

TEST_F(Improve, ADragOnTheGripSizesTheWindowFromItsCornerButNotBelowItsStartSize)
{
    FrmImprove *form = open();
    runtime::Label *grip = form->LabelResize;
    const QPoint start = grip->mapToGlobal(grip->rect().center());
    const QSize size = form->size();
    // The mouse is over the grip when the drag begins; the moves then come as events alone.
    QCursor::setPos(start);
    QCoreApplication::processEvents();
    auto move = [&](QPoint global) {
        QMouseEvent event(QEvent::MouseMove, grip->mapFromGlobal(global), global, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grip, &event);
    };
    QTest::mousePress(grip, Qt::LeftButton, {}, grip->rect().center());
    move(start);
    move(start + QPoint(60, 45));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->size() == size + QSize(60, 45); }, 1000));
    QCoreApplication::processEvents();
    {
        const QImage bar = form->TitelBar1->grab().toImage();
        EXPECT_EQ(bar.width(), form->width());
        EXPECT_NE(bar.pixel(bar.width() / 2, bar.height() / 2), qRgb(0xF8, 0xB8, 0xF7)) << "the bar is drawn at its new width";
    }
    move(start - QPoint(200, 200));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->size() == size; }, 1000)) << "held at its smallest size";
    QTest::mouseRelease(grip, Qt::LeftButton, {}, grip->mapFromGlobal(start - QPoint(200, 200)));
    move(start + QPoint(100, 100));
    QCoreApplication::processEvents();
    EXPECT_EQ(form->size(), size) << "the drag ended with the button";
    EXPECT_FALSE(grip->isHidden());
    EXPECT_EQ(grip->geometry().bottomRight(), form->rect().bottomRight()) << "the grip stays in the corner";
}

// Closing the window at a yield of a long handler: the handler leaves, nothing is touched
// after the window is gone (the sanitizers watch), and what the database was given is exactly
// what new_hardware.txt holds; nothing is uploaded.
struct ClosingCase {
    const char *name;
    bool submit;                 // close during the submission rather than the scan
    const char *statusPrefix;    // close once the status reads this
    int stored;                  // devices stored and written by then (submissions)
};

class ImproveClosing : public Improve, public ::testing::WithParamInterface<ClosingCase> {};

TEST_P(ImproveClosing, LeavesTheHandlerWithoutTouchingTheGoneWindow)
{
    UploadServer server;
    pointUploadAt(server.port());
    QPointer<FrmImprove> form = open();
    if (GetParam().submit) {
        ASSERT_EQ(scan(form).size(), 3);
    }

    const QString prefix = QString::fromLatin1(GetParam().statusPrefix);
    QString statusAtClose;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (form && form->IsLoaded()
            && (form->sStatus.startsWith(prefix) || form->LabelStatus->Caption().startsWith(prefix))) {
            statusAtClose = form->LabelStatus->Caption();
            runtime::Unload(form);
        }
    });
    closer.start(0);
    if (GetParam().submit)
        form->CommandSaveSubmit_Click();
    else
        form->CommandGetHardware_Click();
    closer.stop();
    ASSERT_TRUE(form);
    EXPECT_FALSE(form->IsLoaded());
    settle();
    EXPECT_TRUE(form.isNull());
    if (!GetParam().submit)
        return;

    EXPECT_TRUE(server.uploads().empty());
    const QList<QByteArray> lines = newHardware().split('\n');
    int stored = 0;
    for (const Device &device : kThreeDevices) {
        const QByteArray line = (device.hardwareIds.front() + "|||" + device.name + "|||" + device.maker + "\r").toLocal8Bit();
        const bool written = lines.contains(line);
        EXPECT_EQ(written, inDatabase(device.hardwareIds.front(), device.name, device.maker)) << device.name.toStdString();
        stored += written;
    }
    EXPECT_EQ(stored, GetParam().stored);
    if (prefix.startsWith("Uploading")) {
        EXPECT_EQ(statusAtClose, "Status: Uploading new_hardware.txt to Quordane") << "told before the upload holds the loop";
    }
}

INSTANTIATE_TEST_SUITE_P(Stages, ImproveClosing,
                         ::testing::Values(ClosingCase{"WhileGettingDevices", false, "Status: Getting", 0},
                                           ClosingCase{"WhileUpdatingTheList", false, "Status: Updating List", 0},
                                           ClosingCase{"WhileSearchingTheDatabase", false, "Searching Database", 0},
                                           ClosingCase{"WhileAddingToTheDatabase", true, "Adding To Database... Bravo", 2},
                                           ClosingCase{"BeforeTheUpload", true, "Uploading", 3}),
                         [](const ::testing::TestParamInfo<ClosingCase> &info) { return std::string(info.param.name); });

TEST_F(Improve, AWindowOpenedWhileTheProgramClosesUnloadsItself)
{
    ModMain::ClosingProgram = true;
    FrmImprove *form = runtime::Forms::Get<FrmImprove>();
    EXPECT_FALSE(form->IsLoaded());
    ModMain::ClosingProgram = false;
    settle();
}

} // namespace
