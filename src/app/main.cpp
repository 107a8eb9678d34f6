#include "chrome/ModShadow.h"
#include "core/ModMain.h"
#include "core/Modini.h"
#include "platform/ModDPI.h"
#include "runtime/App.h"
#include "runtime/Forms.h"
#include "runtime/Program.h"
#include "skin/FrmColors.h"

// Until the main window exists, the start-up loads the colour window hidden as the main window
// will (after the DPI factor and the shadow setting), and shows it.
int main(int argc, char **argv)
{
    return runtime::RunProgram(argc, argv, [] {
        ModDPI::InitDPIScale();
        ModMain::DisableShadow = Modini::ReadIni(QStringLiteral("main"), QStringLiteral("CheckDisableShadow")) == QLatin1String("1");
        ModShadow::ShadowEnabled = !ModMain::DisableShadow;
        ModShadow::InitShadow();
        return runtime::Forms::Get<FrmColors>();
    });
}
