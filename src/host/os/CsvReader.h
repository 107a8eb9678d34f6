#pragma once

// Reader of the CSV that PowerShell's Export-Csv writes: an optional "#TYPE" line, a header of
// quoted names, then one record per line with quoted fields, "" for a quote inside a field, line
// breaks allowed inside quotes, and an empty unquoted field for a null value.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <algorithm>

#include <vector>

namespace os {

struct CsvTable
{
    QStringList header;
    // One entry per header column that the record reaches: a null QVariant for an empty unquoted
    // field, else the text. A record shorter than the header lacks the last columns.
    std::vector<std::vector<QVariant>> records;
};

// Never fails: a record cut off inside quotes is dropped, everything before it is kept.
CsvTable parseCsv(const QString &text);

} // namespace os
