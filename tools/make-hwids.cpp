// Builds the bundled hwids.mdb from the public ID lists.
//
//   make-hwids <schema.sql> <output hwids.mdb> [--pci-ids FILE] [--usb-ids FILE] [--hwdb FILE]...
//
// Any number of lists of each form; where they name one ID differently the newer list wins, and
// the database's version is the newest list's date.

#include "hwids/HardwareRows.h"
#include "hwids/HwidsFile.h"
#include "hwids/IdCatalogue.h"

#include <QFile>

#include <cstdio>
#include <cstring>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: make-hwids <schema.sql> <output> [--pci-ids FILE] [--usb-ids FILE] [--hwdb FILE]...\n");
    return 2;
}

}

int main(int argc, char **argv)
{
    if (argc < 3 || (argc - 3) % 2 != 0)
        return usage();
    hwids::IdCatalogue catalogue;
    for (int i = 3; i < argc; i += 2) {
        const QString path = QFile::decodeName(argv[i + 1]);
        bool read = false;
        if (std::strcmp(argv[i], "--pci-ids") == 0)
            read = hwids::readPciIds(path, catalogue);
        else if (std::strcmp(argv[i], "--usb-ids") == 0)
            read = hwids::readUsbIds(path, catalogue);
        else if (std::strcmp(argv[i], "--hwdb") == 0)
            read = hwids::readHwdb(path, catalogue);
        else
            return usage();
        if (!read)
            return 1;
    }
    const bool written = hwids::writeHwidsFile(QFile::decodeName(argv[1]), QFile::decodeName(argv[2]), hwids::hardwareRows(catalogue),
                                               hwids::versionOf(catalogue.newest()));
    return written ? 0 : 1;
}
