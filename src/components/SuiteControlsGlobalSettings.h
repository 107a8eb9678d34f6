#pragma once

#include "components/SuiteIcons.h"

#include <QObject>

// The control suite's global settings object: one per process, made on first use and owned by
// the application object. It holds the icon collection that the lists share (property 108).
class SuiteControlsGlobalSettings : public QObject
{
    Q_OBJECT

public:
    static SuiteControlsGlobalSettings &Global();

    SuiteImageManagerIcons *Icons() { return &m_icons; }

private:
    explicit SuiteControlsGlobalSettings(QObject *parent);

    SuiteImageManagerIcons m_icons;
};
