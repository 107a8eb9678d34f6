#include "runtime/App.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef KESTROVA_VERSION_MAJOR
#define KESTROVA_VERSION_MAJOR 1
#define KESTROVA_VERSION_MINOR 0
#define KESTROVA_VERSION_PATCH 0
#endif

namespace runtime {

namespace {

struct AppState {
    QString path;
    int major = KESTROVA_VERSION_MAJOR;
    int minor = KESTROVA_VERSION_MINOR;
    int revision = KESTROVA_VERSION_PATCH;
    QString title = QStringLiteral("Kestrova");
};

AppState &state()
{
    static AppState s;
    return s;
}

}

QString JoinedPath(const QString &folder, const QString &name) { return QDir(folder).filePath(name); }

QString App::Path()
{
    const QString path = state().path.isEmpty() ? QCoreApplication::applicationDirPath() : state().path;
    // The root keeps its separator; every other folder comes without one.
    return QDir::cleanPath(path);
}

void App::setPath(const QString &path) { state().path = path; }

QString App::FilePath(const QString &name) { return JoinedPath(Path(), name); }

int App::Major() { return state().major; }
int App::Minor() { return state().minor; }
int App::Revision() { return state().revision; }

void App::setVersion(int major, int minor, int revision)
{
    state().major = major;
    state().minor = minor;
    state().revision = revision;
}

QString App::Title() { return state().title; }
void App::setTitle(const QString &title) { state().title = title; }

QString App::EXEName() { return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(); }

} // namespace runtime
