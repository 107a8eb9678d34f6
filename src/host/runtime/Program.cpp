#include "runtime/Program.h"

#include "runtime/Forms.h"

#include <QApplication>

namespace runtime {

int RunProgram(int &argc, char **argv, const std::function<Form *()> &startup)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrova"));
    // The program ends when its last form is unloaded (hidden forms count), not when the last
    // visible window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    int exitCode = 0;
    if (Form *form = startup()) {
        form->Show();
        if (!form->IsLoaded())
            delete form;
        if (Forms::Count() > 0)
            exitCode = QApplication::exec();
    }
    for (Form *form : Forms::All())
        delete form;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return exitCode;
}

} // namespace runtime
