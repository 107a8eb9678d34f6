// Writes to settings files that are not as this system writes them: bytes that do not decode,
// an 8-bit file whose code page must not be guessed anew, values its code page lacks, a UTF-16
// file of odd length, a doubled byte-order mark. A write changes the line of its key and
// nothing else, and never loses the value while answering success.
#include "os/ProfileFile.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray utf16(const QString &text)
{
    return QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(text);
}

class ProfileEncodings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("settings.ini"));
    }

    void put(const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray bytes()
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QString read(const QString &key, const QString &section = QStringLiteral("main"))
    {
        QString value;
        os::GetPrivateProfileString(section, key, QStringLiteral("<missing>"), value, 2048, path);
        return value;
    }

    bool write(const QString &key, const QString &value, const QString &section = QStringLiteral("main"))
    {
        return os::WritePrivateProfileString(section, key, value, path);
    }

    QTemporaryDir dir;
    QString path;
};

// Bytes that are not valid in the file's encoding stay as they are in every line not written.
TEST_F(ProfileEncodings, UndecodableBytesOfOtherLinesAreKept)
{
    const struct {
        const char *name;
        QByteArray before;
        QByteArray after;
    } rows[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF[main]\r\nname=M\xFCller \xC3\r\nk=0\r\n", "\xEF\xBB\xBF[main]\r\nname=M\xFCller \xC3\r\nk=1\r\n"},
        {"UTF-16 with a lone surrogate", utf16(QStringLiteral("[main]\r\nname=")) + QByteArray("\x00\xD8", 2)
                                             + utf16(QStringLiteral("\r\nk=0\r\n")).mid(2),
         utf16(QStringLiteral("[main]\r\nname=")) + QByteArray("\x00\xD8", 2) + utf16(QStringLiteral("\r\nk=1\r\n")).mid(2)},
    };
    for (const auto &row : rows) {
        put(row.before);
        const QString name = read(QStringLiteral("name"));
        ASSERT_TRUE(write(QStringLiteral("k"), QStringLiteral("1"))) << row.name;
        EXPECT_EQ(bytes(), row.after) << row.name;
        EXPECT_EQ(read(QStringLiteral("name")), name) << row.name;
        EXPECT_EQ(read(QStringLiteral("k")), QStringLiteral("1")) << row.name;
    }
}

// An 8-bit file is Windows-1252 because one of its bytes is not UTF-8. Writing that byte away
// would make the file read as UTF-8 next time, and "Ã©" of another key read as "é": the file
// takes the write as UTF-16LE with its mark instead, every key reading as before.
TEST_F(ProfileEncodings, An8BitFileIsNotReadDifferentlyAfterAWrite)
{
    put("[main]\r\nname=\xC3\xA9t\r\nk=caf\xE9\r\n");
    ASSERT_EQ(read(QStringLiteral("name")), QString::fromUtf8("Ã©t"));
    ASSERT_TRUE(write(QStringLiteral("k"), QStringLiteral("cafe")));
    EXPECT_EQ(read(QStringLiteral("name")), QString::fromUtf8("Ã©t"));
    EXPECT_EQ(read(QStringLiteral("k")), QStringLiteral("cafe"));
    EXPECT_EQ(bytes(), utf16(QString::fromUtf8("[main]\r\nname=Ã©t\r\nk=cafe\r\n")));

    // A key whose own name would read differently once written stays found as well.
    put("[main]\r\nk=caf\xE9\r\n");
    ASSERT_TRUE(write(QString::fromUtf8("Ã©"), QStringLiteral("1")));
    ASSERT_TRUE(write(QStringLiteral("k"), QStringLiteral("cafe")));
    EXPECT_EQ(read(QString::fromUtf8("Ã©")), QStringLiteral("1"));

    // While the file stays Windows-1252 it is written as Windows-1252, other bytes untouched.
    put("[main]\r\nname=\xC3\xA9t\xE9\r\nk=0\r\n");
    ASSERT_TRUE(write(QStringLiteral("k"), QString::fromUtf8("€ ™")));
    EXPECT_EQ(bytes(), QByteArray("[main]\r\nname=\xC3\xA9t\xE9\r\nk=\x80 \x99\r\n"));
}

// A value with a character the code page lacks is not stored as substitutes while the write
// answers success: the file becomes UTF-16LE with its mark and holds it.
TEST_F(ProfileEncodings, AValueTheCodePageLacksIsKeptWhole)
{
    put("[main]\r\nname=M\xFCller\r\n[colors]\r\nprogramback=0\r\n");
    const QString value = QString::fromUtf8("日本 ✓ Ω");
    ASSERT_TRUE(write(QStringLiteral("k"), value));
    EXPECT_EQ(read(QStringLiteral("k")), value);
    EXPECT_EQ(read(QStringLiteral("name")), QString::fromUtf8("Müller"));
    EXPECT_EQ(read(QStringLiteral("programback"), QStringLiteral("colors")), QStringLiteral("0"));
    EXPECT_FALSE(bytes().contains('\x1A'));
    EXPECT_TRUE(bytes().startsWith("\xFF\xFE"));
}

// A lone surrogate is no text UTF-8 can hold: a UTF-8 file refuses it and stays as it was.
// UTF-16 holds it as it is, and a Windows-1252 file becomes UTF-16 for it.
TEST_F(ProfileEncodings, ALoneSurrogateIsHeldByUtf16AndRefusedByUtf8)
{
    const QString value = QStringLiteral("a") + QChar(0xD800);
    const struct {
        const char *name;
        QByteArray before;
        bool written;
    } rows[] = {
        {"UTF-8", "[main]\r\nk=0\r\n", false},
        {"UTF-8 with mark", "\xEF\xBB\xBF[main]\r\nk=0\r\n", false},
        {"UTF-16", utf16(QStringLiteral("[main]\r\nk=0\r\n")), true},
        {"Windows-1252", "[main]\r\nk=\xE9\r\n", true},
    };
    for (const auto &row : rows) {
        put(row.before);
        EXPECT_EQ(write(QStringLiteral("k"), value), row.written) << row.name;
        if (row.written)
            EXPECT_EQ(read(QStringLiteral("k")), value) << row.name;
        else
            EXPECT_EQ(bytes(), row.before) << row.name;
    }
}

TEST_F(ProfileEncodings, TheOddLastByteOfAUtf16FileIsKept)
{
    put(utf16(QStringLiteral("[main]\r\nk=0\r\n")) + QByteArray("\x41", 1));
    ASSERT_TRUE(write(QStringLiteral("k"), QStringLiteral("1")));
    ASSERT_TRUE(write(QStringLiteral("new"), QStringLiteral("2"), QStringLiteral("other")));
    EXPECT_EQ(bytes(), utf16(QStringLiteral("[main]\r\nk=1\r\n[other]\r\nnew=2\r\n")) + QByteArray("\x41", 1));
    EXPECT_EQ(read(QStringLiteral("new"), QStringLiteral("other")), QStringLiteral("2"));
}

// A second mark after the first is part of the first line: kept, and its section still found.
TEST_F(ProfileEncodings, ADoubledByteOrderMarkIsKept)
{
    const struct {
        const char *name;
        QByteArray before;
        QByteArray after;
    } rows[] = {
        {"UTF-16", utf16(QString(QChar(0xFEFF)) + QStringLiteral("[main]\r\nk=0\r\n")),
         utf16(QString(QChar(0xFEFF)) + QStringLiteral("[main]\r\nk=1\r\n"))},
        {"UTF-8", "\xEF\xBB\xBF\xEF\xBB\xBF[main]\r\nk=0\r\n", "\xEF\xBB\xBF\xEF\xBB\xBF[main]\r\nk=1\r\n"},
    };
    for (const auto &row : rows) {
        put(row.before);
        EXPECT_EQ(read(QStringLiteral("k")), QStringLiteral("0")) << row.name;
        ASSERT_TRUE(write(QStringLiteral("k"), QStringLiteral("1"))) << row.name;
        EXPECT_EQ(bytes(), row.after) << row.name;
    }
}

} // namespace
