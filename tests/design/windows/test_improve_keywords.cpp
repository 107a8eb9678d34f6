#include "runtime/ListBox.h"
#include "windows/ModList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

struct FileCase {
    const char *name;
    QByteArray bytes;
    QStringList entries;
};

class KeywordFile : public ::testing::TestWithParam<FileCase> {
protected:
    QTemporaryDir folder;
    QWidget window;
    runtime::ListBox *list = new runtime::ListBox(&window, QStringLiteral("List1"));
};

TEST_P(KeywordFile, GivesEveryLineThatIsNotEmptyUnchanged)
{
    const QString path = folder.filePath(QStringLiteral("improve_database_keywords_to_skip.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GetParam().bytes);
    file.close();
    ModList::LoadListFromFile(list, path);
    EXPECT_EQ(list->Items(), GetParam().entries);
    EXPECT_EQ(list->ListCount(), GetParam().entries.size());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, KeywordFile,
    ::testing::Values(FileCase{"CrLf", "usb\r\nvirtual\r\n", {"usb", "virtual"}},
                      FileCase{"NoEndAtTheLast", "usb\r\nvirtual", {"usb", "virtual"}},
                      FileCase{"EmptyLinesSkipped", "\r\n\r\nusb\r\n\r\n", {"usb"}},
                      FileCase{"SpacesKept", " \r\n  usb  \r\n", {" ", "  usb  "}},
                      FileCase{"LfAndCr", "a\nb\rc\r\n", {"a", "b", "c"}},
                      FileCase{"Empty", "", {}}),
    [](const ::testing::TestParamInfo<FileCase> &info) { return std::string(info.param.name); });

TEST(KeywordFileMissing, LeavesTheListAsItWas)
{
    QTemporaryDir folder;
    QWidget window;
    auto *list = new runtime::ListBox(&window, QStringLiteral("List1"));
    ModList::AddListItem(list, QStringLiteral("kept"));
    ModList::LoadListFromFile(list, folder.filePath(QStringLiteral("missing.txt")));
    ModList::LoadListFromFile(list, folder.path());
    EXPECT_EQ(list->Items(), QStringList{QStringLiteral("kept")});
    ModList::AddListItem(nullptr, QStringLiteral("ignored"));
}

TEST(KeywordFileName, IsFoundWithTheDesignsSeparatorAndLetterCase)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("improve_database_keywords_to_skip.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("vmware\r\n");
    file.close();
    QWidget window;
    auto *list = new runtime::ListBox(&window, QStringLiteral("List1"));
    ModList::LoadListFromFile(list, folder.path() + QStringLiteral("\\Improve_Database_Keywords_To_Skip.txt"));
    EXPECT_EQ(list->Items(), QStringList{QStringLiteral("vmware")});
}

// The file that ships: no empty entry, nothing that every device line holds.
TEST(ShippedKeywordFile, HoldsNoEmptyOrVeryShortKeyword)
{
    QWidget window;
    auto *list = new runtime::ListBox(&window, QStringLiteral("List1"));
    ModList::LoadListFromFile(list, QStringLiteral(KESTROVA_FIXTURES "/../../data/program/improve_database_keywords_to_skip.txt"));
    ASSERT_GT(list->ListCount(), 5);
    for (const QString &keyword : list->Items()) {
        EXPECT_GE(keyword.trimmed().size(), 4) << keyword.toStdString();
        EXPECT_FALSE(keyword.contains(QLatin1String("|||"))) << keyword.toStdString();
    }
}

}
