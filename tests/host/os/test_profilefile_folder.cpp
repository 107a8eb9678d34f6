#include "os/ProfileFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <ostream>
#include <string>

namespace {

enum class Outcome { Written, Refused, StillRoot };

void PrintTo(Outcome outcome, std::ostream *out)
{
    *out << (outcome == Outcome::Written ? "written" : outcome == Outcome::Refused ? "refused" : "still root");
}

constexpr uid_t kNobody = 65534;

// Root ignores file permissions, and CI runs as root: there the write runs in a child process
// that gives up root first, so the permissions apply to it as to any user.
Outcome runAsOrdinaryUser(const std::function<bool()> &write)
{
    if (::geteuid() != 0)
        return write() ? Outcome::Written : Outcome::Refused;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0 || ::geteuid() == 0)
            ::_exit(int(Outcome::StillRoot));
        ::_exit(int(write() ? Outcome::Written : Outcome::Refused));
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return Outcome::StillRoot;
    return Outcome(WEXITSTATUS(status));
}

QByteArray utf16(const QString &text)
{
    return QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(text);
}

const QString kLayout = QStringLiteral("[main]\r\nCheckForUpdates=1\r\nCheckDisableShadow=0\r\n"
                                       "[colors]\r\nprogramback=16777215\r\n");

// settings.ini in a program folder, with the permissions a test gives the two.
class ProfileFilePermissions : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        // The child that gave up root must reach the folder through the temporary one.
        ::chmod(QFile::encodeName(root.path()).constData(), 0755);
        folder = root.filePath(QStringLiteral("program"));
        ASSERT_EQ(::mkdir(QFile::encodeName(folder).constData(), 0755), 0);
        path = folder + QStringLiteral("/settings.ini");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(utf16(kLayout));
    }

    void TearDown() override { ::chmod(QFile::encodeName(folder).constData(), 0755); }

    void setModes(mode_t folderMode, mode_t fileMode)
    {
        ::chmod(QFile::encodeName(path).constData(), fileMode);
        ::chmod(QFile::encodeName(folder).constData(), folderMode);
    }

    Outcome writeAsOrdinaryUser(const QString &file)
    {
        return runAsOrdinaryUser([&] {
            return os::WritePrivateProfileString(QStringLiteral("main"), QStringLiteral("CheckForUpdates"),
                                                 QStringLiteral("0"), file);
        });
    }

    // The settings file's text, readable in a failure message.
    std::string text() const
    {
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (!bytes.startsWith("\xFF\xFE"))
            return "<not UTF-16LE with its mark>";
        return QString(QStringDecoder(QStringConverter::Utf16LE).decode(bytes.mid(2))).toStdString();
    }

    QTemporaryDir root;
    QString folder;
    QString path;
};

// Installed where its user may change the file but not the folder: written in place.
TEST_F(ProfileFilePermissions, WritableFileInALockedFolderIsWrittenInPlace)
{
    setModes(0555, 0666);
    const Outcome outcome = writeAsOrdinaryUser(path);
    ASSERT_NE(outcome, Outcome::StillRoot) << "could not give up root";
    EXPECT_EQ(outcome, Outcome::Written);
    QString expected = kLayout;
    expected.replace(QStringLiteral("CheckForUpdates=1"), QStringLiteral("CheckForUpdates=0"));
    EXPECT_EQ(text(), expected.toStdString()) << "the value changed and every other line kept";
}

TEST_F(ProfileFilePermissions, NewFileInALockedFolderIsRefused)
{
    setModes(0555, 0666);
    const QString other = folder + QStringLiteral("/other.ini");
    const Outcome outcome = writeAsOrdinaryUser(other);
    ASSERT_NE(outcome, Outcome::StillRoot) << "could not give up root";
    EXPECT_EQ(outcome, Outcome::Refused);
    EXPECT_FALSE(QFile::exists(other));
}

// A write-protected file stays as it is even where the folder would let it be replaced.
TEST_F(ProfileFilePermissions, ReadOnlyFileInAnOpenFolderIsRefused)
{
    setModes(0777, 0444);
    const Outcome outcome = writeAsOrdinaryUser(path);
    ASSERT_NE(outcome, Outcome::StillRoot) << "could not give up root";
    EXPECT_EQ(outcome, Outcome::Refused);
    EXPECT_EQ(text(), kLayout.toStdString());
}

}
