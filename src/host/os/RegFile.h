#pragma once

// Reader of regedit's export format ("Windows Registry Editor Version 5.00" in UTF-16LE, or
// "REGEDIT4" in an 8-bit code page): [key] headers, "name"=... and @=... values of the types
// "string", dword:, hex:, hex(N): (hex(2) expandable and hex(7) multi-strings), lines continued
// with a trailing backslash. Deletions ([-key], "name"=-) are not applied: a saved machine is read
// as it was exported.

#include "os/Registry.h"

#include <QByteArray>
#include <QString>

namespace os {

struct RegFileReport
{
    int keys = 0;      // key headers taken
    int values = 0;    // values stored
    int skipped = 0;   // lines that did not parse (or belong to a key that did not)
};

// Adds what parses to the tree; never fails.
RegFileReport readRegFile(const QByteArray &bytes, RegistryTree &tree);
RegFileReport readRegText(const QString &text, RegistryTree &tree);

// The root named by the first part of a key path ("HKEY_LOCAL_MACHINE" or "HKLM" ...), 0 if none.
HKEY regRootByName(const QString &name);

} // namespace os
