#pragma once

#include <QString>

namespace runtime {

// The system clipboard as the design used it: emptied, then given plain text.
class Clipboard {
public:
    static void Clear();
    static void SetText(const QString &text);
    static QString GetText();
};

} // namespace runtime
