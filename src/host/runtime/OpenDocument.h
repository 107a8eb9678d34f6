#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace runtime {

// Opens an address in the user's default browser (what the shell's "Open" verb did). The result
// is not reported: the callers never looked at it.
void OpenDocument(const QString &address, QWidget *owner = nullptr);

// Replaces the opener by a function (tests); an empty function restores the browser. Answers the
// hook installed before.
using OpenDocumentHook = std::function<void(const QString &address)>;
OpenDocumentHook SetOpenDocumentHook(OpenDocumentHook hook);

// For tests: while it lives, every address is recorded instead of opened.
class OpenDocumentRecorder {
public:
    OpenDocumentRecorder();
    ~OpenDocumentRecorder();
    OpenDocumentRecorder(const OpenDocumentRecorder &) = delete;
    OpenDocumentRecorder &operator=(const OpenDocumentRecorder &) = delete;

    QStringList addresses;

private:
    OpenDocumentHook m_previous;
};

} // namespace runtime
