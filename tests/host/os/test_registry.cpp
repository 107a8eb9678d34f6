#include "os/Registry.h"

#include <gtest/gtest.h>

#include <vector>

using namespace os;

namespace {

class RegistryCalls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegistryTree tree;
        tree.setString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test", "Text", "hello");
        tree.setDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test", "Number", 255);
        tree.setString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test\\beta", {}, "b");
        tree.setString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test\\Alpha", {}, "a");
        installMachineRegistry(std::move(tree));
    }

    HKEY open(const QString &path)
    {
        HKEY key = 0;
        EXPECT_EQ(regOpenKeyEx(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key), ERROR_SUCCESS) << path.toStdString();
        return key;
    }
};

TEST_F(RegistryCalls, OpeningAMissingKeyReportsFileNotFound)
{
    HKEY key = 0;
    EXPECT_EQ(regOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nothing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(regOpenKeyEx(0x1234, "SOFTWARE", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryCalls, NamesIgnoreLetterCase)
{
    const HKEY key = open("software\\TEST");
    std::uint32_t size = 0;
    EXPECT_EQ(regQueryValueEx(key, "TEXT", nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 12u); // five UTF-16 units and the terminating NUL
    regCloseKey(key);
}

TEST_F(RegistryCalls, ASmallBufferGivesMoreDataWithTheSizeNeeded)
{
    const HKEY key = open("SOFTWARE\\Test");
    std::vector<std::uint8_t> buffer(4);
    std::uint32_t size = 4;
    std::uint32_t type = 0;
    EXPECT_EQ(regQueryValueEx(key, "Text", &type, buffer.data(), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(type, REG_SZ);
    buffer.resize(size);
    EXPECT_EQ(regQueryValueEx(key, "Text", &type, buffer.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(buffer[0], 'h');
    EXPECT_EQ(regQueryValueEx(key, "Missing", &type, buffer.data(), &size), ERROR_FILE_NOT_FOUND);
    regCloseKey(key);
    EXPECT_EQ(regQueryValueEx(key, "Text", &type, buffer.data(), &size), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryCalls, SubKeysEnumerateInNameOrderThenNoMoreItems)
{
    const HKEY key = open("SOFTWARE\\Test");
    QString name;
    EXPECT_EQ(regEnumKeyEx(key, 0, &name, 260, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(name, "Alpha");
    EXPECT_EQ(regEnumKeyEx(key, 1, &name, 260, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(name, "beta");
    EXPECT_EQ(regEnumKeyEx(key, 2, &name, 260, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(regEnumKeyEx(key, 0, &name, 3, nullptr), ERROR_MORE_DATA);
    regCloseKey(key);
}

TEST_F(RegistryCalls, ValuesEnumerateInWritingOrder)
{
    const HKEY key = open("SOFTWARE\\Test");
    QString name;
    std::uint32_t type = 0;
    std::uint8_t data[16];
    std::uint32_t size = sizeof data;
    EXPECT_EQ(regEnumValue(key, 0, &name, 260, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(name, "Text");
    size = 2;
    EXPECT_EQ(regEnumValue(key, 1, &name, 260, &type, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    size = sizeof data;
    EXPECT_EQ(regEnumValue(key, 1, &name, 260, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(data[0], 255);
    EXPECT_EQ(regEnumValue(key, 2, &name, 260, &type, data, &size), ERROR_NO_MORE_ITEMS);
    regCloseKey(key);
}

TEST_F(RegistryCalls, AKeyWithSubKeysIsNotDeleted)
{
    EXPECT_EQ(regDeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(regDeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test\\Alpha"), ERROR_SUCCESS);
    EXPECT_EQ(regDeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test\\Alpha"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryCalls, AnOpenHandleOutlivesTheKeysRemoval)
{
    const HKEY key = open("SOFTWARE\\Test\\beta");
    EXPECT_EQ(regDeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test\\beta"), ERROR_SUCCESS);
    std::uint32_t size = 0;
    EXPECT_EQ(regQueryValueEx(key, {}, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(regCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(regCloseKey(key), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryCalls, CreatedKeysTakeWrittenValues)
{
    HKEY key = 0;
    ASSERT_EQ(regCreateKeyEx(HKEY_CURRENT_USER, "Software\\New\\Deep", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    const std::uint8_t bytes[] = {1, 2, 3};
    EXPECT_EQ(regSetValueEx(key, "Bin", REG_BINARY, bytes, 3), ERROR_SUCCESS);
    EXPECT_EQ(regDeleteValue(key, "Bin"), ERROR_SUCCESS);
    EXPECT_EQ(regDeleteValue(key, "Bin"), ERROR_FILE_NOT_FOUND);
    regCloseKey(key);
    EXPECT_NE(machineRegistry().find(HKEY_CURRENT_USER, "software\\new\\deep"), nullptr);
}

struct ExpandCase
{
    const char *name;
    QString text;
    QString expected;
};

TEST(ExpandEnvironmentStrings, ReplacesSetVariablesOnly)
{
    qputenv("KESTROVA_TEST_VAR", "value");
    qunsetenv("KESTROVA_UNSET_VAR");
    const ExpandCase cases[] = {
        {"set", "a%KESTROVA_TEST_VAR%b", "avalueb"},
        {"unset stays", "%KESTROVA_UNSET_VAR%\\x", "%KESTROVA_UNSET_VAR%\\x"},
        {"lone percent", "100%", "100%"},
        {"unset then set", "%KESTROVA_UNSET_VAR%%KESTROVA_TEST_VAR%", "%KESTROVA_UNSET_VAR%value"},
        {"empty name", "%%", "%%"},
    };
    for (const ExpandCase &row : cases)
        EXPECT_EQ(ExpandEnvironmentStrings(row.text), row.expected) << row.name;
    EXPECT_FALSE(ExpandEnvironmentStrings("%SystemRoot%\\x").startsWith('%'));
}

} // namespace
