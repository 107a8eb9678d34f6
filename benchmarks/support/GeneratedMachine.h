#pragma once

#include <QString>
#include <QTemporaryDir>

namespace benchsupport {

// A saved machine of `devices` devices written into `dir` (its folder answered): every tenth
// without a driver, every seventh a standard system device, each with two hardware IDs and a
// driver key, in five classes.
QString MakeSavedMachine(const QTemporaryDir &dir, int devices);

}
