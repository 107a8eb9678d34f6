#include "chrome/ModShadow.h"
#include "core/ModMain.h"
#include "core/Modini.h"
#include "platform/ModDPI.h"
#include "runtime/Forms.h"
#include "runtime/Program.h"
#include "skin/FrmColors.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

// The colour window's close button only hides it; while it stands in for the main window, that
// ends the program (a minimised window's hide comes from the window system and does not).
class QuitWhenHidden : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            QCoreApplication::quit();
        return QObject::eventFilter(watched, event);
    }
};

}

// Until the main window exists, the start-up loads the colour window hidden as the main window
// will (after the DPI factor and the shadow setting), and shows it.
int main(int argc, char **argv)
{
    return runtime::RunProgram(argc, argv, [] {
        ModDPI::InitDPIScale();
        ModMain::DisableShadow = Modini::ReadIni(QStringLiteral("main"), QStringLiteral("CheckDisableShadow")) == QLatin1String("1");
        ModShadow::ShadowEnabled = !ModMain::DisableShadow;
        ModShadow::InitShadow();
        FrmColors *colors = runtime::Forms::Get<FrmColors>();
        colors->installEventFilter(new QuitWhenHidden(colors));
        return colors;
    });
}
