#include "runtime/App.h"
#include "runtime/Form.h"
#include "runtime/Program.h"

// The start-up form stands in for the main window until the windows take over.
int main(int argc, char **argv)
{
    return runtime::RunProgram(argc, argv, [] {
        using runtime::App;
        auto *form = new runtime::Form(QStringLiteral("FrmMain"));
        form->setCaption(QStringLiteral("Quordane - Kestrova v%1.%2.%3").arg(App::Major()).arg(App::Minor()).arg(App::Revision()));
        form->setBackColor(0x00F0F0F0);
        form->Move(0, 0, 11250, 8250);
        return form;
    });
}
