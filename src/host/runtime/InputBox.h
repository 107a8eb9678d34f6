#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace runtime {

// A modal input box: the prompt, an edit line holding the default answer, OK and Cancel, with the
// title (App::Title() when empty). Answers the text typed, or "" when cancelled.
QString InputBox(const QString &prompt, const QString &title = QString(), const QString &defaultText = QString());

// Replaces the box by a function (tests): it gets prompt, title and default and answers the text,
// or nullopt for Cancel. An empty function restores the box. Answers the hook installed before.
using InputBoxHook = std::function<std::optional<QString>(const QString &prompt, const QString &title, const QString &defaultText)>;
InputBoxHook SetInputBoxHook(InputBoxHook hook);

} // namespace runtime
