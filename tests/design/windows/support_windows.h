#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace windowstest {

// A program folder of its own for one test: the runtime points at it, it holds a hwids.mdb made
// from the statements, and the program-wide state starts fresh. At the end every window left is
// deleted, the database closed and the state reset.
class ProgramFolder {
public:
    explicit ProgramFolder(const QStringList &statements = {});
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder &) = delete;
    ProgramFolder &operator=(const ProgramFolder &) = delete;

    QString path() const { return m_dir.path(); }
    bool ok() const { return m_ok; }
    void writeSettings(const QString &text) const;

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

// Lets the message loop run until the condition holds or the time is up; answers the condition.
bool waitFor(const std::function<bool()> &condition, int timeoutMs = 20000);

// Every window unloaded (ended as the program ends) and deleted.
void unloadEverything();

// The fixture statements of a small database: names 1..n, makers 1..n, the given hwids rows
// (hwid, info) and the version.
QStringList fixtureStatements(const QStringList &names, const QStringList &makers,
                              const QList<QPair<QString, QString>> &hwids, const QString &version = QStringLiteral("1.2.3"));

} // namespace windowstest
