#pragma once

#include "components/SuiteFrameShadow.h"
#include "components/SuiteIcons.h"

#include <QObject>

// The control suite's global settings object: one per process, made on first use and owned by
// the application object. It holds the icon collection that the lists share (property 108) and
// the frame-shadow service that draws the windows' shadows.
class SuiteControlsGlobalSettings : public QObject
{
    Q_OBJECT

public:
    static SuiteControlsGlobalSettings &Global();

    SuiteImageManagerIcons *Icons() { return &m_icons; }
    SuiteFrameShadow *FrameShadow() { return &m_frameShadow; }

private:
    explicit SuiteControlsGlobalSettings(QObject *parent);

    SuiteImageManagerIcons m_icons;
    SuiteFrameShadow m_frameShadow;
};
