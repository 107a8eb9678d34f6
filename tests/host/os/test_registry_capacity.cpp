#include "os/Registry.h"

#include <gtest/gtest.h>

using namespace os;

namespace {

// A name fits its buffer only with room for the terminating NUL: one character short of that
// is the boundary where an enumeration must ask for more.
TEST(RegistryEnumeration, NameNeedsRoomForItsTerminator)
{
    RegistryTree tree;
    tree.setString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test\\Alpha", {}, "a");
    tree.setString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test", "Value", "v");
    installMachineRegistry(std::move(tree));
    HKEY key = 0;
    ASSERT_EQ(regOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test", 0, KEY_READ, &key), ERROR_SUCCESS);

    struct Case {
        std::uint32_t capacity;
        std::int32_t status;
    };
    for (const Case c : {Case{5, ERROR_MORE_DATA}, Case{6, ERROR_SUCCESS}}) {
        QString name;
        EXPECT_EQ(regEnumKeyEx(key, 0, &name, c.capacity, nullptr), c.status) << "key, capacity " << c.capacity;
        EXPECT_EQ(name.toStdString(), c.status == ERROR_SUCCESS ? "Alpha" : "") << "key, capacity " << c.capacity;
        name.clear();
        EXPECT_EQ(regEnumValue(key, 0, &name, c.capacity, nullptr, nullptr, nullptr), c.status)
            << "value, capacity " << c.capacity;
        EXPECT_EQ(name.toStdString(), c.status == ERROR_SUCCESS ? "Value" : "") << "value, capacity " << c.capacity;
    }
    regCloseKey(key);
}

}
