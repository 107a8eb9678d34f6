#include "app/FinishLine.h"
#include "runtime/Forms.h"
#include "runtime/Program.h"
#include "windows/FrmMain.h"

#include <QFile>
#include <QTimer>

namespace {

// A start-up script that has no screen of its own to watch (scripts/run-headless) names a file in
// KESTROVA_READY_FILE: it is written once the first scan has shown its lists and the tab captions
// have their counts (the caption timer's next tick).
void AnnounceFirstScan(FrmMain *main)
{
    const QString path = qEnvironmentVariable("KESTROVA_READY_FILE");
    if (path.isEmpty())
        return;
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(main, &FrmMain::ScanEnded, main, [main, path, connection] {
        QObject::disconnect(*connection);
        QTimer::singleShot(400, main, [path] {
            QFile ready(path);
            if (ready.open(QIODevice::WriteOnly))
                ready.write("scanned\n");
        });
    });
}

// The start-up benchmark names a file in KESTROVA_FINISH_FILE: at the first turn of the message
// loop after the first scan the time and the peak size go there, and the program closes as
// though its close button had been pressed.
void FinishAfterFirstScan(FrmMain *main)
{
    const QString path = qEnvironmentVariable("KESTROVA_FINISH_FILE");
    if (path.isEmpty())
        return;
    QObject::connect(main, &FrmMain::ScanEnded, main, [main, path] {
        QTimer::singleShot(0, main, [main, path] {
            CrossFinishLine(path);
            runtime::Unload(main);
        });
    });
}

}

// The program has no entry routine of its own: the runtime loads the main window.
int main(int argc, char **argv)
{
    return runtime::RunProgram(argc, argv, [] {
        auto *main = new FrmMain();
        AnnounceFirstScan(main);
        FinishAfterFirstScan(main);
        return main;
    });
}
