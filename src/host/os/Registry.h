#pragma once

// Stand-in for the registry calls of advapi32: an in-memory tree of keys and typed values with
// the status codes and buffer behaviour of the real calls. Key and value names compare without
// regard to letter case; sub-keys enumerate in name order, values in the order they were written.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace os {

using HKEY = std::uint32_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr std::uint32_t REG_MULTI_SZ = 7;
inline constexpr std::uint32_t REG_QWORD = 11;

inline constexpr std::int32_t ERROR_SUCCESS = 0;
inline constexpr std::int32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr std::int32_t ERROR_ACCESS_DENIED = 5;
inline constexpr std::int32_t ERROR_INVALID_HANDLE = 6;
inline constexpr std::int32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr std::int32_t ERROR_MORE_DATA = 234;
inline constexpr std::int32_t ERROR_NO_MORE_ITEMS = 259;

inline constexpr std::uint32_t KEY_WOW64_64KEY = 0x100;
inline constexpr std::uint32_t KEY_READ = 0x20019;
inline constexpr std::uint32_t KEY_WRITE = 0x20006;
inline constexpr std::uint32_t KEY_ALL_ACCESS = 0xF003F;

struct RegistryValue
{
    QString name;
    std::uint32_t type = REG_NONE;
    QByteArray data; // exactly the bytes the real registry would store (UTF-16LE for strings)
};

// One key of the tree. Keys are shared so that a link (CurrentControlSet) and an open handle can
// keep a key alive after it was removed from its parent.
class RegistryKey
{
public:
    explicit RegistryKey(QString name = {});

    const QString &name() const { return m_name; }
    QDateTime lastWriteTime() const { return m_lastWrite; }

    std::shared_ptr<RegistryKey> child(const QString &name) const;
    std::shared_ptr<RegistryKey> createChild(const QString &name);
    void attachChild(const QString &name, std::shared_ptr<RegistryKey> key);
    bool removeChild(const QString &name);
    // The sub-keys in name order, each with the name it has under this key.
    std::vector<std::pair<QString, std::shared_ptr<RegistryKey>>> children() const;

    const RegistryValue *value(const QString &name) const;
    void setValue(const QString &name, std::uint32_t type, QByteArray data);
    bool removeValue(const QString &name);
    const std::vector<RegistryValue> &values() const { return m_values; }

private:
    void touch();

    QString m_name;
    QDateTime m_lastWrite;
    struct Child
    {
        QString name; // as it was written; a link's own name, not its target's
        std::shared_ptr<RegistryKey> key;
    };
    std::map<QString, Child> m_children; // by lower-cased name
    std::vector<RegistryValue> m_values;
    // Names without regard to letter case, as the registry compares them, without making a
    // folded copy of the name for every look-up.
    struct FoldedHash
    {
        std::size_t operator()(const QString &name) const;
    };
    struct FoldedEqual
    {
        bool operator()(const QString &a, const QString &b) const { return a.compare(b, Qt::CaseInsensitive) == 0; }
    };
    std::unordered_map<QString, std::size_t, FoldedHash, FoldedEqual> m_valueIndex; // place in m_values
};

// The predefined roots with their trees.
class RegistryTree
{
public:
    RegistryTree();

    std::shared_ptr<RegistryKey> root(HKEY predefined) const;
    // Path parts are separated by "\"; empty parts are ignored. Null when a part is missing.
    std::shared_ptr<RegistryKey> find(HKEY predefined, const QString &path) const;
    std::shared_ptr<RegistryKey> create(HKEY predefined, const QString &path);
    bool remove(HKEY predefined, const QString &path);

    // Convenience writers for building trees (sources, fixtures, tests).
    void setString(HKEY root, const QString &path, const QString &name, const QString &text,
                   std::uint32_t type = REG_SZ);
    void setMultiString(HKEY root, const QString &path, const QString &name, const QStringList &texts);
    void setDword(HKEY root, const QString &path, const QString &name, std::uint32_t value);
    void setBinary(HKEY root, const QString &path, const QString &name, std::uint32_t type,
                   const QByteArray &bytes);

private:
    std::map<HKEY, std::shared_ptr<RegistryKey>> m_roots;
};

// Encodings the real registry uses for string data.
QByteArray regStringData(const QString &text);             // UTF-16LE with one terminating NUL
QByteArray regMultiStringData(const QStringList &texts);   // each text NUL-ended, then one more NUL
QString regDecodeUtf16(const QByteArray &bytes);           // all units, NULs kept, odd byte dropped

// The process-wide registry that the registry calls below address. Each management-service query
// installs the registry of the machine it read (Wmi.h); tests may install a tree of their own.
RegistryTree &machineRegistry();
void installMachineRegistry(RegistryTree tree);

// The calls, with the real ones' results. Access masks are accepted and not enforced.
std::int32_t regOpenKeyEx(HKEY root, const QString &subKey, std::uint32_t options, std::uint32_t access,
                          HKEY *result);
std::int32_t regCreateKeyEx(HKEY root, const QString &subKey, std::uint32_t access, HKEY *result);
std::int32_t regCloseKey(HKEY key);
// data may be null to ask for the size only. A buffer smaller than the value gives
// ERROR_MORE_DATA with *size set to the size needed (and *type set).
std::int32_t regQueryValueEx(HKEY key, const QString &valueName, std::uint32_t *type, std::uint8_t *data,
                             std::uint32_t *size);
std::int32_t regSetValueEx(HKEY key, const QString &valueName, std::uint32_t type, const std::uint8_t *data,
                           std::uint32_t size);
std::int32_t regDeleteValue(HKEY key, const QString &valueName);
// Deletes a key that has no sub-keys, as the real call does.
std::int32_t regDeleteKey(HKEY root, const QString &subKey);
std::int32_t regDeleteKeyEx(HKEY root, const QString &subKey, std::uint32_t access);
// nameCapacity counts characters including the terminating NUL.
std::int32_t regEnumKeyEx(HKEY key, std::uint32_t index, QString *name, std::uint32_t nameCapacity,
                          QDateTime *lastWriteTime);
std::int32_t regEnumValue(HKEY key, std::uint32_t index, QString *name, std::uint32_t nameCapacity,
                          std::uint32_t *type, std::uint8_t *data, std::uint32_t *size);

// A 64-bit process on a 64-bit system: never redirected.
bool isWow64Process();

// ExpandEnvironmentStrings, as REG_EXPAND_SZ data is expanded: each %NAME% whose variable is set
// is replaced by its value; SystemRoot and windir name the stand-in Windows folder (the program
// folder) unless the environment sets them. Unknown names and a lone "%" stay as they are.
QString ExpandEnvironmentStrings(const QString &text);

} // namespace os
