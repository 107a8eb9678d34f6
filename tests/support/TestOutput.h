#pragma once

#include <QImage>
#include <QString>

namespace testsupport {

// Writes a rendered image to <build>/test-output/<group>/<name>.png so that a reader can look at
// the states a test drew. Returns the path written, or an empty string when it could not be saved.
QString writeTestPng(const QString &group, const QString &name, const QImage &image);

}
