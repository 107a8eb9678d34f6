#pragma once

#include "HardwareRows.h"

#include <QString>

#include <vector>

namespace hwids {

// Writes a new database with the schema and the rows; names and makers become shared rows. Built
// beside the output and moved over it, so a failed build never leaves half a database.
bool writeHwidsFile(const QString &schemaPath, const QString &output, const std::vector<Entry> &rows, const QString &version);

// "year.month.day" of the newest list, "0.0.0" when no list had a date.
QString versionOf(QDate date);

}
