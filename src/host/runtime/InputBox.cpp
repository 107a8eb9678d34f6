#include "runtime/InputBox.h"

#include "runtime/App.h"
#include "runtime/DoEvents.h"

#include <QApplication>
#include <QInputDialog>

namespace runtime {

namespace {

InputBoxHook &hook()
{
    static InputBoxHook current;
    return current;
}

std::optional<QString> askWithDialog(const QString &prompt, const QString &title, const QString &defaultText)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setInputMode(QInputDialog::TextInput);
    // The dialog's own loop runs the program's handlers: what they unload must outlive it.
    const YieldScope scope;
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

}

QString InputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    const QString shownTitle = title.isEmpty() ? App::Title() : title;
    const std::optional<QString> answer = hook() ? hook()(prompt, shownTitle, defaultText)
                                                 : askWithDialog(prompt, shownTitle, defaultText);
    return answer.value_or(QString());
}

InputBoxHook SetInputBoxHook(InputBoxHook newHook) { return std::exchange(hook(), std::move(newHook)); }

} // namespace runtime
