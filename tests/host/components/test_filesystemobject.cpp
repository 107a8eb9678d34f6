#include "components/FileSystemObject.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(FileSystemObject, CreatesEmptyTextFilesWithTheirMark)
{
    QTemporaryDir dir;
    const Scripting::FileSystemObject fso;
    const QString unicode = dir.filePath(QStringLiteral("settings.ini"));
    EXPECT_FALSE(fso.FileExists(unicode));
    auto stream = fso.CreateTextFile(unicode, true, true);
    ASSERT_TRUE(stream);
    stream->Close();
    EXPECT_TRUE(fso.FileExists(unicode));
    EXPECT_TRUE(fso.FileExists(dir.path() + QStringLiteral("\\Settings.ini"))) << "names as the design writes them";
    EXPECT_EQ(contents(unicode), QByteArray("\xFF\xFE"));

    const QString plain = dir.filePath(QStringLiteral("plain.txt"));
    ASSERT_TRUE(fso.CreateTextFile(plain));
    EXPECT_EQ(contents(plain), QByteArray());

    EXPECT_FALSE(fso.CreateTextFile(unicode, false, true)) << "an existing file is kept without overwrite";
    EXPECT_EQ(contents(unicode), QByteArray("\xFF\xFE"));
    EXPECT_FALSE(fso.CreateTextFile(dir.path()));
    EXPECT_FALSE(fso.FileExists(dir.path())) << "a folder is no file";
    EXPECT_FALSE(fso.CreateTextFile(dir.filePath(QStringLiteral("missing/x.ini"))));
}

}
