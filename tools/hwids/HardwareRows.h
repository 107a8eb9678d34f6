#pragma once

#include "IdCatalogue.h"

#include <QString>

#include <vector>

namespace hwids {

// One hardware ID as Windows writes it (upper-case hex), with a name and a maker for it.
struct Entry {
    QString hardwareId;
    QString name;
    QString maker;
};

constexpr int kNameSize = 100;   // the size of devicenames.devicename and mfgs.mfg

// "Chip (Board)": the device first, since the longest ID wins and names the device; a board line
// that only repeats the chip's name gives the chip's name. Fits the column by shortening the board.
QString subsystemName(const QString &device, const QString &board);

// Whether a PCI device's name says it is a USB host controller, and of which root hubs:
// "USB\ROOT_HUB30", "USB\ROOT_HUB20", "USB\ROOT_HUB"; all three where the name does not tell.
QStringList rootHubKinds(const QString &controllerName);

// Every row the database gets from the catalogue, sorted by hardware ID.
std::vector<Entry> hardwareRows(const IdCatalogue &catalogue);

}
