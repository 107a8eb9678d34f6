#include "os/Folders.h"

#include "runtime/App.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

namespace {

QString call(int folder, long *result)
{
    std::array<char16_t, os::MAX_PATH> buffer{};
    buffer.fill(u'x');
    *result = os::SHGetFolderPathW(nullptr, folder, nullptr, 0, buffer.data());
    return QString::fromUtf16(buffer.data());
}

class FoldersTest : public ::testing::Test {
protected:
    void SetUp() override { runtime::App::setPath(program.path()); }
    void TearDown() override { runtime::App::setPath(QString()); }
    QTemporaryDir program;
};

TEST_F(FoldersTest, SystemFolderIsSystem32InTheProgramFolder)
{
    ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("system32")));
    long result = -1;
    EXPECT_EQ(call(os::CSIDL_SYSTEM, &result), QDir::toNativeSeparators(program.path() + QStringLiteral("/system32")));
    EXPECT_EQ(result, os::S_OK);
}

TEST_F(FoldersTest, MissingFolderAnswersSFalseUnlessCreated)
{
    long result = -1;
    call(os::CSIDL_SYSTEM, &result);
    EXPECT_EQ(result, os::S_FALSE);
    call(os::CSIDL_SYSTEM | os::CSIDL_FLAG_CREATE, &result);
    EXPECT_EQ(result, os::S_OK);
    EXPECT_TRUE(QDir(program.path() + QStringLiteral("/system32")).exists());
}

TEST_F(FoldersTest, UnknownFolderAndNullBufferFail)
{
    long result = 0;
    EXPECT_EQ(call(0x7777, &result), QString());
    EXPECT_EQ(result, os::E_INVALIDARG);
    EXPECT_EQ(os::SHGetFolderPathW(nullptr, os::CSIDL_SYSTEM, nullptr, 0, nullptr), os::E_INVALIDARG);
}

TEST_F(FoldersTest, PathTooLongForTheBufferFails)
{
    runtime::App::setPath(QStringLiteral("/") + QString(300, QLatin1Char('d')));
    long result = 0;
    EXPECT_EQ(call(os::CSIDL_SYSTEM, &result), QString());
    EXPECT_EQ(result, os::E_FAIL);
}

}
