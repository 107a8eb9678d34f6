#include "components/SuiteControlsGlobalSettings.h"

#include <QCoreApplication>
#include <QPointer>

SuiteControlsGlobalSettings::SuiteControlsGlobalSettings(QObject *parent) : QObject(parent) {}

SuiteControlsGlobalSettings &SuiteControlsGlobalSettings::Global()
{
    static QPointer<SuiteControlsGlobalSettings> settings;
    if (!settings)
        settings = new SuiteControlsGlobalSettings(QCoreApplication::instance());
    return *settings;
}
