#pragma once

#include <QString>

namespace runtime {

// A name of a folder joined to it: the one way a path is put together here. A name that is a
// full path already stays as it is.
QString JoinedPath(const QString &folder, const QString &name);

// The running program: its folder, version and title.
class App {
public:
    // The program folder without a trailing separator: the executable's folder, unless a test
    // pointed it elsewhere with setPath (an empty path goes back to the executable's folder).
    static QString Path();
    static void setPath(const QString &path);
    // A file of the program folder by its name: the one way the windows join a path to it.
    static QString FilePath(const QString &name);

    static int Major();
    static int Minor();
    static int Revision();
    // Test hook and start-up setting; the build's project version is the default.
    static void setVersion(int major, int minor, int revision);

    // The program's title (the message-box title by default): "Kestrova" unless set.
    static QString Title();
    static void setTitle(const QString &title);

    // The executable's name without its folder.
    static QString EXEName();
};

} // namespace runtime
