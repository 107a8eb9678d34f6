#include "runtime/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace runtime {

void Clipboard::Clear()
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->clear();
}

void Clipboard::SetText(const QString &text)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
}

QString Clipboard::GetText()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text() : QString();
}

} // namespace runtime
