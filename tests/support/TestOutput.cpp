#include "TestOutput.h"

#include <QDir>

namespace testsupport {

QString writeTestPng(const QString &group, const QString &name, const QImage &image)
{
    const QString folder = QStringLiteral(KESTROVA_TEST_OUTPUT) + QLatin1Char('/') + group;
    if (!QDir().mkpath(folder))
        return {};
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    return image.save(path, "PNG") ? path : QString();
}

}
