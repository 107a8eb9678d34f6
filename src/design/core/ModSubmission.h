#pragma once

#include <QString>
#include <QStringList>

class SuiteListView;
namespace runtime {
class Label;
}

// The improve window's candidates: the working devices of this computer, without the generic and
// uninformative families and without names or makers outside the plain-text whitelist, one row
// per distinct name, maker and single hardware ID.
namespace ModSubmission {

// The 107 characters of the whitelist, in their order.
extern const QString TextChars;

// Adds rows only; lets the message loop run after nearly every step and stops when
// ClosingProgram is set.
void GetHardwareForSubmission(SuiteListView *list, runtime::Label *status);

// Every character of the text is a space, a Tab, a no-break space or one of TextChars.
bool IsPlainText(const QString &text);

// The text contains one of the entries (the keyword list box's items), letter case ignored.
bool ContainsSkipKeyword(const QString &text, const QStringList &entries);

// The key of a submission row: name, maker and hardware ID trimmed and lower-cased, joined by "|".
QString SubmissionKey(const QString &name, const QString &manufacturer, const QString &hardwareId);

} // namespace ModSubmission
