// Every text a window can show stands whole in its control: the text measured in the control's
// own font against the room the control draws it in, and the control inside its container.
#include "components/SuiteCaptionControl.h"
#include "controls/PanelFx.h"
#include "controls/dcButton.h"
#include "controls/dcButtonLayout.h"
#include "core/ModServer.h"
#include "runtime/Label.h"
#include "skin/FrmColors.h"
#include "skin/SchemeTable.h"
#include "update/DL_Properties.h"
#include "update/DownLoadFormat.h"
#include "update/FrmUpdate.h"
#include "windows/FrmImprove.h"
#include "windows/FrmLookup.h"
#include "windows/FrmMain.h"
#include "windows/MainWindowTexts.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

// The longest device name of the saved machines: the scans and lookups show device names.
const QString LongestDeviceName = QStringLiteral("Intel(R) USB 3.1 eXtensible Host Controller - 1.10 (Microsoft)");
// Online versions are refused beyond 14 characters; the local one is shown as read.
const QString LongestVersion = QStringLiteral("2026.12.31.000");
const QString LargestCount = QString::number(INT_MAX);
const QString LargestSize = FrmUpdate::SizeText(Q_INT64_C(99999999999));

struct Case {
    QString window;
    QString control;
    int index; // in a control array, else -1
    QString text;
};

void PrintTo(const Case &row, std::ostream *out)
{
    *out << row.window.toStdString() << "." << row.control.toStdString() << (row.index >= 0 ? "(" + std::to_string(row.index) + ")" : "")
         << " \"" << row.text.toStdString() << "\"";
}

// The room the control draws its caption in, and the font it draws it with.
struct Room {
    QRect rect;
    QFont font;
    bool wraps;
};

std::optional<Room> roomOf(QWidget *control)
{
    if (auto *label = qobject_cast<runtime::Label *>(control))
        return Room{label->rect(), label->Font().toQFont(), true};
    if (auto *captioned = qobject_cast<SuiteCaptionControl *>(control))
        return Room{captioned->CaptionRect(), captioned->Font().toQFont(), false};
    if (auto *button = qobject_cast<dcButton *>(control)) {
        const int margin = dcButtonLayout::Margin;
        return Room{button->rect().adjusted(margin, margin, -margin, -margin), button->Font().toQFont(), false};
    }
    if (auto *panel = qobject_cast<PanelFx *>(control)) {
        // The title sits 4 pixels in from the left edge in the band across the top.
        const QFont font = panel->Font().toQFont();
        return Room{QRect(4, 0, panel->width() - 8, QFontMetrics(font).height()), font, false};
    }
    return std::nullopt;
}

// Every window once, as designed (constructed, not loaded: the place each control starts at).
class Windows {
public:
    Windows()
    {
        add(QStringLiteral("FrmMain"), new FrmMain);
        add(QStringLiteral("FrmLookup"), new FrmLookup);
        add(QStringLiteral("FrmImprove"), new FrmImprove);
        add(QStringLiteral("FrmUpdate"), new FrmUpdate);
        add(QStringLiteral("FrmColors"), new FrmColors);
        add(QStringLiteral("DL_Properties"), new DL_Properties);
    }

    QWidget *control(const Case &row) const
    {
        QWidget *window = m_windows.value(row.window);
        if (!window)
            return nullptr;
        if (auto *host = dynamic_cast<runtime::ControlHost *>(window)) {
            if (runtime::Control *found = host->findControl(row.control, row.index))
                return found;
        }
        return window->findChild<QWidget *>(row.control);
    }

private:
    void add(const QString &name, QWidget *window)
    {
        m_windows.insert(name, window);
        m_owned.emplace_back(window);
    }
    QHash<QString, QWidget *> m_windows;
    std::vector<std::unique_ptr<QWidget>> m_owned;
};

std::vector<Case> cases()
{
    std::vector<Case> rows;
    const auto add = [&rows](const char *window, const char *control, const QStringList &texts, int index = -1) {
        for (const QString &text : texts)
            rows.push_back({QLatin1String(window), QLatin1String(control), index, text});
    };

    add("FrmMain", "LabelStatus",
        {QStringLiteral("Status: Reading Database Version && Device Count From hwids.mdb"), QStringLiteral("Status:"),
         QStringLiteral("Status: Getting ") + LongestDeviceName, QStringLiteral("Status: Done")});
    add("FrmMain", "PanelProgress", {QStringLiteral("Please Wait...")});
    add("FrmMain", "LabelTotalDevices", {QStringLiteral("Devices In Database: ") + MainWindowTexts::FormatDeviceCount(INT_MAX)});
    add("FrmMain", "LabelDatabaseVersion", {QStringLiteral("Database Version: ") + LongestVersion});
    add("FrmMain", "ImportantLabelUpdateAvailable", {QStringLiteral("Database Update Available!")});
    add("FrmMain", "InfoLabel3", {QStringLiteral("*Right Click On List For More Options")});
    add("FrmMain", "CommandGetHardware", {QStringLiteral("Refresh Hardware Lists")});
    add("FrmMain", "dcButton1", {QStringLiteral("Lookup Selected Device")});
    add("FrmMain", "CommandImproveHardware", {QStringLiteral("Improve Database")});
    add("FrmMain", "CommandColors", {QStringLiteral("Program Colors")});
    add("FrmMain", "CommandCheckForUpdates", {QStringLiteral("Update")});

    add("FrmLookup", "ImportantLabelName", {QStringLiteral("Device: ") + LongestDeviceName});
    add("FrmLookup", "LabelHardwareID", {QStringLiteral("Hardware IDs:")});
    add("FrmLookup", "LabelPossible", {QStringLiteral("Possible Matches:")});
    add("FrmLookup", "ImportantLabel2", {QStringLiteral("- Best Possible Match")});
    add("FrmLookup", "InfoLabel1", {QStringLiteral("*Right Click On List For More Options")});
    add("FrmLookup", "LabelStatus",
        {QStringLiteral("Status: Searching..."), QStringLiteral("Results: No Matches"),
         QStringLiteral("Results: %1 Possible Matches").arg(LargestCount)});
    add("FrmLookup", "CommandSearchGoogleID", {QStringLiteral("Search Google For Drivers (By These Hardware IDs)")});

    add("FrmImprove", "InfoLabelListTotal", {QStringLiteral("Total Hardware Not In Database: ") + LargestCount});
    add("FrmImprove", "ImportantLabel1",
        {QStringLiteral("*English Systems Only - PLEASE REMOVE ANY DEVICE THAT HAS NON ENGLISH WORDS!")});
    add("FrmImprove", "ImportantLabelSubmitStatus",
        {QStringLiteral("Done! - Uploaded to Quordane: Successful!"),
         QStringLiteral("Done! - Uploaded to Quordane: Failed! Please email 'new_hardware.txt' file to ") + ModServer::SupportEmail()});
    add("FrmImprove", "LabelStatus",
        {QStringLiteral("Status: Getting ") + LongestDeviceName, QStringLiteral("Status: Updating List..."),
         QStringLiteral("Status: Searching Database... ") + LongestDeviceName,
         QStringLiteral("Status: Adding To Database... ") + LongestDeviceName,
         QStringLiteral("Status: Uploading new_hardware.txt to Quordane"), QStringLiteral("Status: Done.")});
    add("FrmImprove", "PanelProgress", {QStringLiteral("Please Wait...")});
    add("FrmImprove", "CommandGetHardware", {QStringLiteral("1. Scan Hardware")});
    add("FrmImprove", "CommandSaveSubmit", {QStringLiteral("2. Add to Database && Submit to Quordane")});

    add("FrmUpdate", "PanelProgram", {QStringLiteral("Current Program Version: 9999.9999.9999")});
    add("FrmUpdate", "PanelDatabase", {QStringLiteral("Device Database Version: ") + LongestVersion});
    add("FrmUpdate", "PanelDownloading",
        {QStringLiteral("Downloading Database..."), QStringLiteral("Decompressing Database..."),
         QStringLiteral("Decompressed Successfully")});
    for (const char *online : {"Label1", "Label4"})
        add("FrmUpdate", online,
            {QStringLiteral("Online Version: Checking..."), QStringLiteral("Online Version: Error"),
             QStringLiteral("Online Version: ") + LongestVersion});
    for (const char *result : {"Label2", "Label3"})
        add("FrmUpdate", result, {QStringLiteral("Update Available: YES"), QStringLiteral("Update Available: NO")});
    add("FrmUpdate", "CommmandOpenQuordane", {QStringLiteral("Open Quordane")});
    add("FrmUpdate", "CommandDownloadDatabase", {QStringLiteral("Download Database")});
    add("FrmUpdate", "CommandCancel", {QStringLiteral("Cancel")});
    add("FrmUpdate", "CheckForUpdates", {QStringLiteral("Check For Updates At Program Startup")});
    add("FrmUpdate", "lblTotalBytes", {QStringLiteral("Total Bytes - ") + LargestSize});
    add("FrmUpdate", "lblCBytes", {QStringLiteral("Bytes Read - "), QStringLiteral("Current Bytes Read - ") + LargestSize});
    QStringList statuses;
    for (const char *status :
         {"Download aborted, no connection present!", "Error Reading File Headers!", "cancelled.", "Initiating Connection.",
          "Connection Accepted, Retrieving File Information.", "Unauthorized Access, Download Terminated!",
          "Access Denied, Download Terminated!", "File Not Found!", "Retrieving File Information Complete!",
          "Download Aborted Due To Error In Download!", "Recieving File...", "Paused.", "Download Successful!", "Cancelled.",
          "Resume File Not Found, Aborting Download!", "Resume NotSupported, Aborting Download!", "Cancelling..", "Unpausing"})
        statuses << QStringLiteral("Status - ") + QLatin1String(status);
    add("FrmUpdate", "lblStatus", statuses);
    add("FrmUpdate", "InfoLabelpercent", {QStringLiteral("Percent Downloaded - "), QStringLiteral("Percent Complete - 100")});
    // A whole file at a byte a second, and the largest rate a file can show.
    add("FrmUpdate", "lblTime",
        {QStringLiteral("Time Remaining - ") + DownLoadFormat::FormatTimeLeft(float(INT_MAX)),
         QStringLiteral("Time Remaining - ") + DownLoadFormat::FormatTimeLeft(3599)});
    add("FrmUpdate", "InfolabelRate",
        {QStringLiteral("Transfer Rate - ") + DownLoadFormat::FormatRate(INT_MAX), QStringLiteral("Transfer Rate - ") + DownLoadFormat::FormatRate(1023)});
    add("FrmUpdate", "lblerr",
        {QStringLiteral("Error Code - [1] Uknown Error!"), QStringLiteral("Error Code - [2] File Doesn't Exist!"),
         QStringLiteral("Error Code - [3] Server Timed Out!"), QStringLiteral("Error Code - [4] Download Was Cancelled By User!"),
         QStringLiteral("Error Code - [5] No Connection Present!"), QStringLiteral("Error Code - [6] Internal Server Error!"),
         QStringLiteral("Error Code - [401] Unauthorized Access!"), QStringLiteral("Error Code - [403] Access Denied!")});
    add("FrmUpdate", "ImportantLabelUnzip",
        // The unpack's sizes read as the update window's own for megabytes ("2048.00 MB").
        {QStringLiteral("Decompressing Database... Progress: ") + LargestSize + QStringLiteral(" of ") + LargestSize,
         QStringLiteral("Decompressed Successfully"), QStringLiteral("Failed to decompress the download database file!"),
         QStringLiteral("Failed to open the download database file!")});

    for (int group : {0, 1, 2, 4})
        add("FrmColors", "FrameNormal",
            {QStringList{"Title Bar && Border", "Program", "Buttons && Tabs", "", "Text Boxes && Lists"}.at(group)}, group);
    for (int swatch : {6, 7, 8, 9, 10, 26, 27, 28, 29, 4, 5, 2, 3, 0, 1, 12, 13, 14})
        add("FrmColors", "ColorPicker", {QLatin1String(SchemeTable::BySwatch(swatch)->caption)}, swatch);
    add("FrmColors", "CheckDisableShadow", {QStringLiteral("Disable Border Shadow")});
    add("FrmColors", "Label1", {QStringLiteral("Color Presets:")});
    add("FrmColors", "Command2", {QStringLiteral("Save Current Colors As Preset")});

    add("DL_Properties", "lblUrl", {QStringLiteral("Url Of File:")});
    add("DL_Properties", "lblSaveLocation", {QStringLiteral("Save Location:")});
    add("DL_Properties", "lblCHUNK", {QStringLiteral("CHUNK SIZE:")});
    add("DL_Properties", "Label1", {QStringLiteral("* Note - The best chunk size to use on a 56K is 1024.")});
    add("DL_Properties", "Chkpreserve", {QStringLiteral("Check to preserve file extension.")});
    add("DL_Properties", "ChkOC", {QStringLiteral("Check to test Internet Connection before downloading.")});
    add("DL_Properties", "ChkPC", {QStringLiteral("Check to prompt user if (s)he would like to overwrite file(s).")});
    return rows;
}

Windows *windows()
{
    static Windows *made = new Windows; // lives to the end of the run, as the program's windows do
    return made;
}

class TextFits : public ::testing::TestWithParam<Case> {};

TEST_P(TextFits, WholeInItsControlAndTheControlInsideItsContainer)
{
    const Case &row = GetParam();
    QWidget *control = windows()->control(row);
    ASSERT_TRUE(control) << row.window.toStdString() << "." << row.control.toStdString();
    const QWidget *container = control->parentWidget();
    ASSERT_TRUE(container);
    EXPECT_TRUE(container->rect().contains(control->geometry()))
        << "the control at " << control->x() << "," << control->y() << " " << control->width() << "x" << control->height()
        << " lies outside its container of " << container->width() << "x" << container->height();

    if (auto *box = qobject_cast<QCheckBox *>(control)) {
        QCheckBox measured(row.text);
        measured.setFont(box->font());
        EXPECT_LE(measured.sizeHint().width(), box->width()) << row.text.toStdString();
        return;
    }
    const std::optional<Room> room = roomOf(control);
    ASSERT_TRUE(room) << "no caption room known for " << control->metaObject()->className();
    const QFontMetrics metrics(room->font);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | (room->wraps ? Qt::TextWordWrap : 0);
    const QRect needed = metrics.boundingRect(QRect(0, 0, room->rect.width(), 100000), flags, row.text);
    EXPECT_LE(needed.width(), room->rect.width()) << row.text.toStdString();
    EXPECT_LE(needed.height(), room->rect.height()) << row.text.toStdString() << (room->wraps ? " (wrapped)" : "");
}

std::string caseName(const ::testing::TestParamInfo<Case> &info)
{
    std::string name = QStringLiteral("%1_%2_%3").arg(info.param.window, info.param.control).arg(info.index).toStdString();
    for (char &c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, TextFits, ::testing::ValuesIn(cases()), caseName);

// Names longer than any the machines give: words, and one word that cannot wrap.
QString deviceNameOf200(bool words)
{
    const QString unit = words ? QStringLiteral("Intel(R) USB 3.1 eXtensible Host Controller - 1.10 (Microsoft) ") : QStringLiteral("X");
    return unit.repeated(200 / unit.size() + 1).left(200);
}

// The busy panel's status shows a name too long for it whole or up to its last whole line,
// never a line cut through at the label's or the panel's bottom.
TEST(BusyPanelStatus, ALongDeviceNameIsWholeOrCutAfterAWholeLine)
{
    for (const char *window : {"FrmMain", "FrmImprove"}) {
        for (const QString &prefix : {QStringLiteral("Status: Getting "), QStringLiteral("Status: Adding To Database... ")}) {
            for (bool words : {true, false}) {
                const QString text = prefix + deviceNameOf200(words);
                const std::string row = std::string(window) + (words ? " words " : " one word ") + prefix.toStdString();
                auto *label = qobject_cast<runtime::Label *>(windows()->control({QLatin1String(window), QStringLiteral("LabelStatus"), -1, {}}));
                ASSERT_TRUE(label) << row;
                ASSERT_TRUE(label->parentWidget()->rect().contains(label->geometry())) << row;
                label->setCaption(text);
                const QFontMetrics metrics(label->Font().toQFont());
                const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextWordWrap;
                const auto heightOf = [&](const QString &caption) {
                    return metrics.boundingRect(QRect(0, 0, label->width(), 100000), flags, caption).height();
                };
                const QString shown = label->ShownCaption();
                EXPECT_LE(heightOf(shown), label->height()) << row << ": " << shown.toStdString();
                if (shown != text) {
                    EXPECT_GT(heightOf(text), label->height()) << row << ": a text that fits is shown whole";
                    ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << row;
                    EXPECT_TRUE(text.startsWith(shown.chopped(1))) << row << ": " << shown.toStdString();
                }

                // Nothing is drawn below the last whole line.
                label->setForeColor(0x000000);
                label->setBackStyle(runtime::vbOpaque);
                label->setBackColor(0xFFFFFF);
                QImage image(label->size(), QImage::Format_RGB32);
                QPainter painter(&image);
                label->draw(painter, image.width(), image.height());
                painter.end();
                int lowestInk = -1;
                for (int y = 0; y < image.height(); ++y) {
                    for (int x = 0; x < image.width(); ++x) {
                        if (image.pixel(x, y) != qRgb(255, 255, 255))
                            lowestInk = y;
                    }
                }
                EXPECT_GE(lowestInk, 0) << row << ": the status shows";
                EXPECT_LT(lowestInk, heightOf(shown)) << row;
            }
        }
    }
}

} // namespace
