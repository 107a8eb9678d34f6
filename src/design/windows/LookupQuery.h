#pragma once

#include "core/ModDatabase.h"

#include <QString>
#include <QStringList>

// The lookup window's query and the texts of its rows, as pure functions.
namespace LookupQuery {

// The hardware IDs of an ID text: a non-empty text without CR LF is one ID, whole and untrimmed;
// otherwise each line trimmed of spaces, blank lines skipped.
QStringList IdsOf(const QString &idText);

// One statement for all IDs, every "'" doubled; empty when there is no ID.
QString Sql(const QStringList &ids);

// The (name ID, manufacturer ID) lines of an info field, read as the database reads them.
using ModDatabase::PairLines;

// The hidden sort column "L": the ID's length as three zero-padded digits.
QString LengthKey(const QString &hardwareId);

} // namespace LookupQuery
