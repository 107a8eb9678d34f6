#include "support_windows.h"

#include "support/HwidsDatabase.h"

#include "core/ModDatabase.h"
#include "core/ModMain.h"
#include "runtime/App.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QPointer>
#include <QTest>

namespace windowstest {

namespace {

void resetState()
{
    ModMain::ClosingProgram = false;
    ModMain::AppVersion.clear();
    ModMain::DatabaseVersion.clear();
    ModMain::DevicesInDatabase = 0;
    ModMain::ProgramUpToDate = false;
    ModMain::DatabaseUpToDate = false;
    ModMain::CheckForUpdates = false;
    ModMain::DisableShadow = false;
    ModMain::MenuTargetForm = nullptr;
}

QString quoted(QString text) { return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\''); }

}

ProgramFolder::ProgramFolder(const QStringList &statements)
{
    resetState();
    runtime::App::setPath(m_dir.path());
    m_ok = m_dir.isValid() && !testsupport::makeHwidsDatabase(m_dir.path(), statements).isEmpty();
}

ProgramFolder::~ProgramFolder()
{
    unloadEverything();
    ModDatabase::CloseDatabase();
    ModDatabase::HwidsRecordset.reset();
    ModDatabase::VersionRecordset.reset();
    ModDatabase::DeviceNamesRecordset.reset();
    ModDatabase::MfgsRecordset.reset();
    runtime::App::setPath({});
    resetState();
}

void ProgramFolder::writeSettings(const QString &text) const
{
    QFile file(m_dir.filePath(QStringLiteral("Settings.ini")));
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

void unloadEverything()
{
    // Unloading one window can delete others (the main window unloads them all), so every
    // window is guarded before the first goes.
    QList<QPointer<runtime::Form>> guards;
    for (runtime::Form *form : runtime::Forms::All())
        guards.append(form);
    for (const QPointer<runtime::Form> &guard : std::as_const(guards)) {
        if (guard)
            runtime::Unload(guard);
        if (guard && guard->IsLoaded())
            delete guard.data();
    }
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}

QStringList fixtureStatements(const QStringList &names, const QStringList &makers,
                              const QList<QPair<QString, QString>> &hwids, const QString &version)
{
    QStringList statements;
    for (const QString &name : names)
        statements << QStringLiteral("INSERT INTO devicenames (devicename) VALUES (%1)").arg(quoted(name));
    for (const QString &maker : makers)
        statements << QStringLiteral("INSERT INTO mfgs (mfg) VALUES (%1)").arg(quoted(maker));
    for (const auto &row : hwids)
        statements << QStringLiteral("INSERT INTO hwids (hwid, info) VALUES (%1, %2)").arg(quoted(row.first), quoted(row.second));
    statements << QStringLiteral("INSERT INTO version (dbversion) VALUES (%1)").arg(quoted(version));
    return statements;
}

} // namespace windowstest
