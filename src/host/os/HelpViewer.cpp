#include "os/HelpViewer.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <cstring>

namespace os {

namespace {

struct Viewer {
    std::function<bool(const QString &)> opener;
    HELPWININFO position{};
};

Viewer &viewer()
{
    static Viewer state;
    return state;
}

bool openFile(const QString &path)
{
    if (viewer().opener)
        return viewer().opener(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace

bool WinHelp(QWidget *owner, const QString &helpFile, unsigned command, quintptr data)
{
    Q_UNUSED(owner)
    switch (command) {
    case HELP_QUIT:
        return true;
    case HELP_SETWINPOS: {
        if (!data)
            return false;
        HELPWININFO info;
        std::memcpy(&info, reinterpret_cast<const void *>(data), sizeof info);
        if (info.wStructSize != qint32(sizeof info))
            return false;
        viewer().position = info;
        return true;
    }
    case HELP_CONTEXT:
    case HELP_CONTENTS:
    case HELP_HELPONHELP:
    case HELP_SETINDEX:
    case HELP_CONTEXTPOPUP:
    case HELP_FINDER:
    case HELP_KEY: {
        const QString path = QDir::fromNativeSeparators(helpFile);
        if (path.isEmpty() || !QFileInfo(path).isFile())
            return false;
        return openFile(QFileInfo(path).absoluteFilePath());
    }
    default:
        return false;
    }
}

HELPWININFO HelpWindowPosition()
{
    return viewer().position;
}

void SetHelpOpener(std::function<bool(const QString &path)> opener)
{
    viewer().opener = std::move(opener);
}

} // namespace os
