#include "chrome/ModShadow.h"

#include "chrome/TitelBarColors.h"
#include "components/SuiteControlsGlobalSettings.h"
#include "platform/ModDPI.h"
#include "runtime/DoEvents.h"

#include <QWidget>

namespace ModShadow {

namespace {

// The suite's frame-shadow service (the one program-wide instance).
SuiteFrameShadow &service()
{
    return *SuiteControlsGlobalSettings::Global().FrameShadow();
}

constexpr long kOptions = 24;
constexpr int kOpacity = 255;

}

void InitShadow()
{
    SuiteFrameShadow &shadow = service();
    if (shadow.IsAvailable()) {
        const float scale = ModDPI::DPIScale;
        const long first = titelbar::nearest(10.0 * scale);
        const long second = titelbar::nearest(15.0 * scale);
        const int k = titelbar::nearest(scale);
        shadow.SetOptions(kOptions);
        shadow.SetShadingCurve({0.0f, 1.0f, 0.0f}, {0.0f, float(k) / 100.0f, 1.0f});
        runtime::DoEvents();
        shadow.SetBatchUpdate(true);
        shadow.SetSize(first);
        shadow.SetOffsetX(0);
        shadow.SetOffsetY(0);
        shadow.SetSecondSize(second);
        shadow.SetOpacity(kOpacity);
        runtime::DoEvents();
        shadow.SetGlobalSize(first);
        shadow.SetGlobalOffsetX(0);
        shadow.SetGlobalOffsetY(0);
        shadow.SetGlobalSecondSize(second);
        shadow.SetGlobalOpacity(kOpacity);
        runtime::DoEvents();
        shadow.SetBatchUpdate(false);
    }
    runtime::DoEvents();
}

void UpdateShadow(QWidget *Form, runtime::OleColor shadowColor)
{
    SuiteFrameShadow &shadow = service();
    if (!ShadowEnabled) {
        if (shadow.HasShadow(Form))
            shadow.Detach(Form);
    } else if (shadow.IsAvailable()) {
        const runtime::StillLoaded formAlive(Form);
        shadow.SetBatchUpdate(true);
        shadow.SetColor(long(shadowColor));
        runtime::DoEvents();
        shadow.SetGlobalColor(long(shadowColor));
        runtime::DoEvents();
        if (Form && formAlive && !shadow.HasShadow(Form))
            shadow.Attach(Form, -1, 0, 0, 0, 0, 0);
        shadow.SetBatchUpdate(false);
    }
    runtime::DoEvents();
}

}
