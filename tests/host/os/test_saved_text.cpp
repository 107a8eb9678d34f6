// Saved machines in the encodings and line ends that Windows tools leave, and in the shapes a
// fuzzer builds: 8-bit files in the Windows code page, marks lost, CR-only lines, very wide
// records and very big keys.
#include "os/CsvReader.h"
#include "os/RegFile.h"
#include "os/SnapshotMachine.h"
#include "os/SnapshotText.h"

#include <QStringEncoder>

#include <optional>

#include <gtest/gtest.h>

using namespace os;

namespace {

TEST(SavedText, EightBitFilesAreWindows1252)
{
    EXPECT_EQ(decodeSavedText("Contoso\x99 Caf\xE9 \x80 \x93quoted\x94"), QString::fromUtf8("Contoso™ Café € “quoted”"));
    // The bytes the code page leaves undefined still decode, each to the control of its number.
    EXPECT_EQ(decodeSavedText("\x81\x8D\x8F\x90\x9D"), QString::fromUtf8("\u0081\u008D\u008F\u0090\u009D"));
    EXPECT_EQ(decodeSavedText("Caf\xC3\xA9"), QString::fromUtf8("Café")) << "valid UTF-8 stays UTF-8";

    QByteArray everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte.append(char(byte));
    EXPECT_EQ(encodeWindows1252(decodeWindows1252(everyByte)), everyByte) << "every byte round-trips";
    EXPECT_FALSE(encodeWindows1252(QString::fromUtf8("日本")));
    EXPECT_FALSE(encodeWindows1252(QString(QChar(0x80)))) << "a control the code page puts the euro sign in";
}

TEST(SavedText, Utf16WithoutItsMarkInEitherByteOrder)
{
    const QString text = QStringLiteral("\"DeviceID\",\"Name\"\r\n\"A\",\"one\"\r\n");
    EXPECT_EQ(decodeSavedText(QStringEncoder(QStringConverter::Utf16LE).encode(text)), text);
    EXPECT_EQ(decodeSavedText(QStringEncoder(QStringConverter::Utf16BE).encode(text)), text);
}

// An Export-Csv -Encoding Default file and a REGEDIT4 export of a German machine.
TEST(SavedText, EightBitSnapshotsReadTheirNamesWhole)
{
    const std::vector<WmiObject> devices =
        SnapshotMachine::devicesFromCsv("\"DeviceID\",\"Name\"\r\n\"A\",\"Contoso\x99 Ger\xE4t\"\r\n");
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].get("Name")->toString(), QString::fromUtf8("Contoso™ Gerät"));

    RegistryTree tree;
    readRegFile("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"Name\"=\"Contoso\x99\"\r\n"
                "\"Path\"=hex(2):25,00\r\n\"Ids\"=hex(7):99,00,e4,00,00\r\n",
                tree);
    const auto key = tree.find(HKEY_LOCAL_MACHINE, "A");
    ASSERT_TRUE(key);
    EXPECT_EQ(regDecodeUtf16(key->value("Name")->data), QString::fromUtf8("Contoso™") + QChar(0));
    EXPECT_EQ(regDecodeUtf16(key->value("Ids")->data), QString::fromUtf8("™") + QChar(0) + QString::fromUtf8("ä") + QChar(0) + QChar(0));
}

TEST(SavedText, CarriageReturnsAloneEndRecords)
{
    const CsvTable table = parseCsv(QStringLiteral("#TYPE x\r\"DeviceID\",\"Name\"\r\"A\",\"one\"\r\"B\",\"two\r\nlines\"\r"));
    ASSERT_EQ(table.header, QStringList({"DeviceID", "Name"}));
    ASSERT_EQ(table.records.size(), 2u);
    EXPECT_EQ(table.records[1][1].toString(), QStringLiteral("two\r\nlines")) << "inside quotes a CR is text";
}

// A name that repeats in the header, in any letter case, is one property: its first column's
// place and name, its last column's value, as setting it again gives.
TEST(SavedText, WideRecordsAndRepeatedColumns)
{
    QByteArray csv = "\"DeviceID\",\"Name\",\"name\",\"Extra\",\"NAME\"";
    for (int i = 0; i < 20000; ++i)
        csv += ",\"P" + QByteArray::number(i) + "\"";
    csv += "\r\n\"A\",\"first\",\"second\",,\"third\"";
    for (int i = 0; i < 20000; ++i)
        csv += ",\"" + QByteArray::number(i) + "\"";
    csv += "\r\n\"B\",\"only\"\r\n";
    const std::vector<WmiObject> devices = SnapshotMachine::devicesFromCsv(csv);
    ASSERT_EQ(devices.size(), 2u);
    const auto &properties = devices[0].properties();
    ASSERT_EQ(properties.size(), 20003u);
    EXPECT_EQ(properties[1].first, QStringLiteral("Name"));
    EXPECT_EQ(properties[1].second.toString(), QStringLiteral("third"));
    EXPECT_TRUE(properties[2].second.isNull()) << "Extra, null";
    EXPECT_EQ(devices[0].get("P19999")->toString(), QStringLiteral("19999"));
    EXPECT_EQ(devices[1].properties().size(), 2u) << "a short record lacks the columns it does not reach";
    EXPECT_EQ(devices[1].get("NAME")->toString(), QStringLiteral("only"));
}

TEST(SavedText, BigKeysKeepEveryValueInWritingOrder)
{
    QString reg = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Big]\r\n");
    for (int i = 0; i < 40000; ++i)
        reg += QStringLiteral("\"V%1\"=dword:%2\r\n").arg(i).arg(i, 8, 16, QLatin1Char('0'));
    reg += QStringLiteral("\"v7\"=\"again\"\r\n");
    RegistryTree tree;
    const RegFileReport report = readRegText(reg, tree);
    EXPECT_EQ(report.values, 40001);
    const auto key = tree.find(HKEY_LOCAL_MACHINE, "Big");
    ASSERT_TRUE(key);
    ASSERT_EQ(key->values().size(), 40000u);
    EXPECT_EQ(key->values()[7].name, QStringLiteral("V7")) << "the first name stays";
    EXPECT_EQ(key->value("V7")->type, REG_SZ) << "the last value wins";
    EXPECT_EQ(key->values()[39999].name, QStringLiteral("V39999"));

    EXPECT_TRUE(key->removeValue("v100"));
    EXPECT_EQ(key->value("V100"), nullptr);
    EXPECT_EQ(key->values().size(), 39999u);
    EXPECT_EQ(key->value("V101"), &key->values()[100]) << "later values move up";
    key->setValue("V100", REG_DWORD, QByteArray(4, '\0'));
    EXPECT_EQ(key->values().back().name, QStringLiteral("V100"));
}

// Hex data as regedit writes it (lower or upper case, wrapped lines, blanks after the commas) is
// read byte for byte; a value with anything else in it is skipped.
TEST(SavedText, HexDataBytes)
{
    struct Case {
        const char *data;
        std::optional<QByteArray> bytes;
    };
    const Case cases[] = {
        {"hex:00,7f,80,ff", QByteArray("\x00\x7f\x80\xff", 4)},
        {"hex:AB,cD,0", QByteArray("\xab\xcd\x00", 3)},
        {"hex:01, 02,\\\r\n  03", QByteArray("\x01\x02\x03", 3)},
        {"hex:01,,02,", QByteArray("\x01\x02", 2)},
        {"hex:", QByteArray()},
        {"hex:100", std::nullopt},
        {"hex:0g", std::nullopt},
        {"hex:+f", std::nullopt},
        {"hex:0x", std::nullopt},
    };
    for (const Case &c : cases) {
        RegistryTree tree;
        const RegFileReport report = readRegText(
            QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"V\"=") + QLatin1String(c.data) + QStringLiteral("\r\n"),
            tree);
        const auto key = tree.find(HKEY_LOCAL_MACHINE, "K");
        ASSERT_TRUE(key) << c.data;
        const auto *value = key->value("V");
        if (!c.bytes) {
            EXPECT_EQ(value, nullptr) << c.data;
            EXPECT_EQ(report.skipped, 1) << c.data;
            continue;
        }
        ASSERT_NE(value, nullptr) << c.data;
        EXPECT_EQ(value->type, REG_BINARY) << c.data;
        EXPECT_EQ(value->data, *c.bytes) << c.data;
    }
}

} // namespace
