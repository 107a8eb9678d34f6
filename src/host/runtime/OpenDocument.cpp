#include "runtime/OpenDocument.h"

#include <QDesktopServices>
#include <QUrl>

namespace runtime {

namespace {

OpenDocumentHook &hook()
{
    static OpenDocumentHook installed;
    return installed;
}

}

void OpenDocument(const QString &address, QWidget *owner)
{
    Q_UNUSED(owner)
    if (hook()) {
        hook()(address);
        return;
    }
    // Tolerant parsing keeps the caller's "%26" and encodes the blanks a search text carries.
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

OpenDocumentHook SetOpenDocumentHook(OpenDocumentHook replacement)
{
    return std::exchange(hook(), std::move(replacement));
}

OpenDocumentRecorder::OpenDocumentRecorder()
    : m_previous(SetOpenDocumentHook([this](const QString &address) { addresses.append(address); }))
{
}

OpenDocumentRecorder::~OpenDocumentRecorder() { SetOpenDocumentHook(std::move(m_previous)); }

} // namespace runtime
