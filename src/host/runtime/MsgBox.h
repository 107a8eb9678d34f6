#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace runtime {

// Buttons and icon of a message box (added together).
enum MsgBoxStyle {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};
// The answers.
enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

struct MsgBoxCall {
    QString prompt;
    int buttons = vbOKOnly;
    QString title;
};

// A modal message box; the title defaults to App::Title(). Answers the button pressed.
int MsgBox(const QString &prompt, int buttons = vbOKOnly, const QString &title = QString());

// Replaces the dialog by a function (tests); an empty function restores the dialog. Answers the
// hook that was installed before.
using MsgBoxHook = std::function<int(const MsgBoxCall &)>;
MsgBoxHook SetMsgBoxHook(MsgBoxHook hook);

// For tests: while it lives, every MsgBox is recorded in calls and answered with answer.
class MsgBoxRecorder {
public:
    explicit MsgBoxRecorder(int answer = vbOK);
    ~MsgBoxRecorder();
    MsgBoxRecorder(const MsgBoxRecorder &) = delete;
    MsgBoxRecorder &operator=(const MsgBoxRecorder &) = delete;

    QList<MsgBoxCall> calls;
    int answer;

private:
    MsgBoxHook m_previous;
};

} // namespace runtime
