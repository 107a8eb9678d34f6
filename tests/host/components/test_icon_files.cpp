#include "components/SuiteIconLibrary.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const QString kSetupapi = QStringLiteral(KESTROVA_FIXTURES "/../../data/program/system32/setupapi.dll");

// Only a regular file within the size limit is read; the limit holds for what is read.
TEST(IconFiles, OnlyRegularFilesWithinTheLimitAreRead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pipe = dir.filePath("pipe.dll");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QFile large(dir.filePath("large.dll"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    large.write("KSICOLIB\0\0\0\0", 12);
    ASSERT_TRUE(large.resize(SuiteIconLibrary::MaxFileBytes + 1)); // sparse: no disk is used
    large.close();
    QFile limit(dir.filePath("limit.dll"));
    ASSERT_TRUE(limit.open(QIODevice::WriteOnly));
    ASSERT_TRUE(limit.resize(SuiteIconLibrary::MaxFileBytes));
    limit.close();

    const struct {
        const char *name;
        QString path;
        bool read;
    } rows[] = {
        {"library", kSetupapi, true},
        {"file at the limit", limit.fileName(), true},
        {"file past the limit", large.fileName(), false},
        {"endless device", QStringLiteral("/dev/zero"), false},
        {"device", QStringLiteral("/dev/null"), false},
        {"pipe without a writer", pipe, false},
        {"folder", dir.path(), false},
        {"missing", dir.filePath("missing.dll"), false},
    };
    for (const auto &row : rows) {
        const std::optional<QByteArray> bytes = SuiteIconLibrary::ReadIconFile(row.path);
        EXPECT_EQ(bytes.has_value(), row.read) << row.name;
        EXPECT_LE(bytes.value_or(QByteArray()).size(), SuiteIconLibrary::MaxFileBytes) << row.name;
    }
    EXPECT_TRUE(SuiteIconLibrary::Load(kSetupapi));
    EXPECT_FALSE(SuiteIconLibrary::Load(QStringLiteral("/dev/zero")));
    EXPECT_FALSE(SuiteIconLibrary::Load(pipe));
    EXPECT_FALSE(SuiteIconLibrary::Load(large.fileName()));
}

} // namespace
