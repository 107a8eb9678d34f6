#include "os/ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray utf16(const QString &text)
{
    return QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(text);
}

class ProfileFile : public ::testing::Test {
protected:
    QString write(const QByteArray &bytes, const QString &name = QStringLiteral("settings.ini"))
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    QByteArray bytes(const QString &path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QString read(const QString &section, const QString &key, const QString &path, unsigned size = 2048)
    {
        QString value;
        const unsigned copied = os::GetPrivateProfileString(section, key, QString(), value, size, path);
        EXPECT_EQ(copied, unsigned(value.size()));
        return value;
    }

    QTemporaryDir dir;
};

// What the platform's own profile writer leaves: UTF-16LE with its mark, CR LF, no blank lines.
const QString kPlatformLayout = QStringLiteral("[main]\r\nCheckForUpdates=1\r\nCheckDisableShadow=0\r\n"
                                               "[colors]\r\nprogramback=16777215\r\nprogramtext=0\r\n");

TEST_F(ProfileFile, ReadsWhatThePlatformWriterLeaves)
{
    const QString path = write(utf16(kPlatformLayout));
    EXPECT_EQ(read(QStringLiteral("main"), QStringLiteral("CheckForUpdates"), path), QStringLiteral("1"));
    EXPECT_EQ(read(QStringLiteral("MAIN"), QStringLiteral("checkdisableshadow"), path), QStringLiteral("0"));
    EXPECT_EQ(read(QStringLiteral("colors"), QStringLiteral("programback"), path), QStringLiteral("16777215"));
    EXPECT_EQ(read(QStringLiteral("colors"), QStringLiteral("CheckForUpdates"), path), QString()) << "keys belong to their section";
    EXPECT_EQ(read(QStringLiteral("nothere"), QStringLiteral("x"), path), QString());
    EXPECT_EQ(read(QStringLiteral("main"), QStringLiteral("x"), dir.filePath(QStringLiteral("missing.ini"))), QString());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.ini")))) << "reading creates nothing";
}

struct ReadCase {
    const char *name;
    QString line;
    QString expected;
};

class ProfileLines : public ProfileFile, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ProfileLines, ValueIsTrimmedAndUnquoted)
{
    const QString path = write(QStringLiteral("; comment\r\n  [ Main ]  \r\n%1\r\n[other]\r\nkey=other\r\n").arg(GetParam().line).toUtf8());
    EXPECT_EQ(read(QStringLiteral("main"), QStringLiteral("key"), path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(, ProfileLines,
                         ::testing::Values(ReadCase{"Plain", QStringLiteral("key=value"), QStringLiteral("value")},
                                           ReadCase{"Spaces", QStringLiteral("  KEY  =  two words \t"), QStringLiteral("two words")},
                                           ReadCase{"DoubleQuotes", QStringLiteral("key=\" padded \""), QStringLiteral(" padded ")},
                                           ReadCase{"SingleQuotes", QStringLiteral("key='x'"), QStringLiteral("x")},
                                           ReadCase{"UnbalancedQuote", QStringLiteral("key=\"x"), QStringLiteral("\"x")},
                                           ReadCase{"EqualsInValue", QStringLiteral("key=a=b"), QStringLiteral("a=b")},
                                           ReadCase{"Empty", QStringLiteral("key="), QString()},
                                           ReadCase{"FirstKeyWins", QStringLiteral("key=1\r\nkey=2"), QStringLiteral("1")},
                                           ReadCase{"Missing", QStringLiteral("other=1"), QString()}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ProfileFile, ReadIsCutToTheBuffer)
{
    const QString path = write(utf16(QStringLiteral("[s]\r\nk=%1\r\n").arg(QString(3000, u'x'))));
    EXPECT_EQ(read(QStringLiteral("s"), QStringLiteral("k"), path).size(), 2047);
    EXPECT_EQ(read(QStringLiteral("s"), QStringLiteral("k"), path, 5), QStringLiteral("xxxx"));
    EXPECT_EQ(read(QStringLiteral("s"), QStringLiteral("k"), path, 0), QString());
    QString value;
    EXPECT_EQ(os::GetPrivateProfileString(QStringLiteral("s"), QStringLiteral("none"), QStringLiteral("fallback"), value, 2048, path), 8u);
    EXPECT_EQ(value, QStringLiteral("fallback"));
}

TEST_F(ProfileFile, WriteChangesOnlyTheKeysLine)
{
    const QString before = QStringLiteral("; kept as written\r\n[main]\r\n  CheckForUpdates = 0 ; old\r\n\r\n"
                                          "odd line\r\n[colors]\r\nprogramback=1\r\n");
    const QString path = write(utf16(before));
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("MAIN"), QStringLiteral("checkforupdates"), QStringLiteral("1"), path));
    EXPECT_EQ(bytes(path), utf16(QStringLiteral("; kept as written\r\n[main]\r\nCheckForUpdates=1\r\n\r\n"
                                                "odd line\r\n[colors]\r\nprogramback=1\r\n")));
}

TEST_F(ProfileFile, NewKeyGoesAfterTheSectionsLastKey)
{
    const QString path = write(utf16(QStringLiteral("[main]\r\na=1\r\nb=2\r\n\r\n; colours follow\r\n[colors]\r\nc=3\r\n")));
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("main"), QStringLiteral("New"), QStringLiteral("x"), path));
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("colors"), QStringLiteral("d"), QStringLiteral("4"), path));
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("empty"), QStringLiteral("e"), QStringLiteral("5"), path));
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("Empty"), QStringLiteral("f"), QStringLiteral("6"), path));
    EXPECT_EQ(bytes(path), utf16(QStringLiteral("[main]\r\na=1\r\nb=2\r\nNew=x\r\n\r\n; colours follow\r\n[colors]\r\nc=3\r\nd=4\r\n"
                                                "[empty]\r\ne=5\r\nf=6\r\n")));
}

struct WriteCase {
    const char *name;
    QByteArray before;
    QByteArray after;
};

class ProfileWrites : public ProfileFile, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(ProfileWrites, KeepTheFilesEncodingAndLineEnds)
{
    const QString path = write(GetParam().before);
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("main"), QStringLiteral("k"), QString::fromUtf8("wert ü"), path));
    EXPECT_EQ(bytes(path), GetParam().after);
    EXPECT_EQ(read(QStringLiteral("main"), QStringLiteral("k"), path), QString::fromUtf8("wert ü"));
}

INSTANTIATE_TEST_SUITE_P(
    , ProfileWrites,
    ::testing::Values(
        WriteCase{"EmptyUnicode", QByteArray("\xFF\xFE"), utf16(QString::fromUtf8("[main]\r\nk=wert ü\r\n"))},
        WriteCase{"EmptyPlain", QByteArray(), QByteArray("[main]\r\nk=wert \xC3\xBC\r\n")},
        WriteCase{"Utf8", QByteArray("[main]\r\nname=M\xC3\xBCller\r\n"), QByteArray("[main]\r\nname=M\xC3\xBCller\r\nk=wert \xC3\xBC\r\n")},
        WriteCase{"Utf8WithMark", QByteArray("\xEF\xBB\xBF[main]\r\n"), QByteArray("\xEF\xBB\xBF[main]\r\nk=wert \xC3\xBC\r\n")},
        WriteCase{"Windows1252", QByteArray("[main]\r\nname=M\xFCller\r\n"), QByteArray("[main]\r\nname=M\xFCller\r\nk=wert \xFC\r\n")},
        WriteCase{"LineFeedsOnly", QByteArray("[other]\nx=1\n"), QByteArray("[other]\nx=1\n[main]\nk=wert \xC3\xBC\n")},
        WriteCase{"NoFinalLineEnd", QByteArray("[main]\r\nx=1"), QByteArray("[main]\r\nx=1\r\nk=wert \xC3\xBC\r\n")},
        // Line feeds, and a lone carriage return at the very end: the write completes it.
        WriteCase{"LoneCarriageReturnAtTheEnd", QByteArray("[main]\nx=1\r"), QByteArray("[main]\nx=1\r\nk=wert \xC3\xBC\n")},
        WriteCase{"LoneCarriageReturnAfterAnotherSection", QByteArray("[other]\nx=1\r"),
                  QByteArray("[other]\nx=1\r\n[main]\nk=wert \xC3\xBC\n")},
        WriteCase{"LoneCarriageReturnAtTheEndUnicode", utf16(QStringLiteral("[main]\nx=1\r")),
                  utf16(QString::fromUtf8("[main]\nx=1\r\nk=wert ü\n"))},
        WriteCase{"LoneCarriageReturnOnTheReplacedLastKey", QByteArray("[main]\nx=1\nk=old\r"),
                  QByteArray("[main]\nx=1\nk=wert \xC3\xBC\r\n")},
        WriteCase{"LoneCarriageReturnOnTheReplacedLastKeyUnicode", utf16(QStringLiteral("[main]\r\nK=old\r")),
                  utf16(QString::fromUtf8("[main]\r\nK=wert ü\r\n"))},
        WriteCase{"OnlyALoneCarriageReturn", QByteArray("[main]\r"), QByteArray("[main]\r\nk=wert \xC3\xBC\r\n")},
        WriteCase{"BigEndian", QByteArray("\xFE\xFF\0[\0m\0a\0i\0n\0]\0\r\0\n", 18),
                  QByteArray("\xFE\xFF") + QStringEncoder(QStringConverter::Utf16BE).encode(QString::fromUtf8("[main]\r\nk=wert ü\r\n"))}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ProfileFile, MissingFileIsCreatedAsPlainText)
{
    const QString path = dir.filePath(QStringLiteral("new.ini"));
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("v"), path));
    EXPECT_EQ(bytes(path), QByteArray("[main]\r\nk=v\r\n"));
    EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("v"),
                                               dir.filePath(QStringLiteral("no/such/folder.ini"))));
    EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("v"), dir.path()));
}

TEST_F(ProfileFile, FileNamesIgnoreLetterCaseAndBackslashes)
{
    write(utf16(kPlatformLayout), QStringLiteral("settings.ini"));
    const QString other = dir.path() + QStringLiteral("\\Settings.INI");
    EXPECT_EQ(read(QStringLiteral("main"), QStringLiteral("CheckForUpdates"), other), QStringLiteral("1"));
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("main"), QStringLiteral("CheckForUpdates"), QStringLiteral("0"), other));
    EXPECT_EQ(read(QStringLiteral("main"), QStringLiteral("CheckForUpdates"), dir.filePath(QStringLiteral("settings.ini"))), QStringLiteral("0"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Settings.INI"))));
}

TEST_F(ProfileFile, TenThousandLinesReadAndWrite)
{
    QString text;
    for (int i = 0; i < 10000; ++i)
        text += (i % 100 == 0 ? QStringLiteral("[section%1]\r\n").arg(i / 100) : QStringLiteral("key%1=%1\r\n").arg(i));
    const QString path = write(utf16(text));
    EXPECT_EQ(read(QStringLiteral("section99"), QStringLiteral("key9999"), path), QStringLiteral("9999"));
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("section0"), QStringLiteral("added"), QStringLiteral("1"), path));
    EXPECT_EQ(bytes(path), utf16(text.replace(QStringLiteral("key99=99\r\n"), QStringLiteral("key99=99\r\nadded=1\r\n"))));
}

// A file larger than any settings or preset file holds no keys and takes no write, however much
// of it looks like keys; a write that would make a file that large is refused too.
TEST_F(ProfileFile, AFileBeyondTheSizeBoundHoldsNoKeysAndTakesNoWrite)
{
    const QByteArray keys("[main]\r\nk=v\r\n");
    const auto padded = [&](qsizetype size) { return keys + QByteArray(size - keys.size() - 2, ';') + "\r\n"; };
    const QString path = write(padded(os::kMaxProfileFileBytes));
    EXPECT_EQ(read(QStringLiteral("main"), QStringLiteral("k"), path), QStringLiteral("v"));
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("w"), path));
    EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("longer"), path));
    EXPECT_EQ(read(QStringLiteral("main"), QStringLiteral("k"), path), QStringLiteral("w"));

    const QByteArray beyond = padded(os::kMaxProfileFileBytes + 1);
    write(beyond);
    EXPECT_EQ(read(QStringLiteral("main"), QStringLiteral("k"), path), QString());
    EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("w"), path));
    EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("new"), QStringLiteral("k"), QStringLiteral("w"), path));
    EXPECT_EQ(bytes(path), beyond);
}

TEST_F(ProfileFile, ReadOnlyFileIsLeftAsItWas)
{
    const QString path = write(utf16(kPlatformLayout));
    QFile::setPermissions(path, QFile::ReadOwner);
    if (QFileInfo(path).isWritable())
        GTEST_SKIP() << "running with rights that ignore file permissions";
    EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("main"), QStringLiteral("CheckForUpdates"), QStringLiteral("0"), path));
    EXPECT_EQ(bytes(path), utf16(kPlatformLayout));
}

}
