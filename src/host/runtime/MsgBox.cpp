#include "runtime/MsgBox.h"

#include "runtime/App.h"
#include "runtime/DoEvents.h"

#include <QApplication>
#include <QMessageBox>

namespace runtime {

namespace {

MsgBoxHook &hook()
{
    static MsgBoxHook installed;
    return installed;
}

int showDialog(const MsgBoxCall &call)
{
    QMessageBox box;
    box.setWindowTitle(call.title);
    box.setText(call.prompt);
    switch (call.buttons & 0xF0) {
    case vbCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case vbQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case vbExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case vbInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int result;
    };
    QList<Choice> choices;
    switch (call.buttons & 0x0F) {
    case vbOKCancel:
        choices = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
        break;
    case vbAbortRetryIgnore:
        choices = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
        break;
    case vbYesNoCancel:
        choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
        break;
    case vbYesNo:
        choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
        break;
    case vbRetryCancel:
        choices = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
        break;
    default:
        choices = {{QMessageBox::Ok, vbOK}};
        break;
    }
    for (const Choice &choice : choices)
        box.addButton(choice.button);
    const int defaultIndex = (call.buttons & vbDefaultButton3) ? 2 : (call.buttons & vbDefaultButton2) ? 1 : 0;
    box.setDefaultButton(choices.value(defaultIndex, choices.first()).button);

    YieldScope scope;
    const int pressed = box.exec();
    for (const Choice &choice : choices) {
        if (pressed == choice.button)
            return choice.result;
    }
    // Closed without a button: the cancel answer where there is one, else the first button.
    for (const Choice &choice : choices) {
        if (choice.result == vbCancel)
            return vbCancel;
    }
    return choices.first().result;
}

}

int MsgBox(const QString &prompt, int buttons, const QString &title)
{
    const MsgBoxCall call{prompt, buttons, title.isEmpty() ? App::Title() : title};
    if (hook())
        return hook()(call);
    return showDialog(call);
}

MsgBoxHook SetMsgBoxHook(MsgBoxHook replacement) { return std::exchange(hook(), std::move(replacement)); }

MsgBoxRecorder::MsgBoxRecorder(int answerWith) : answer(answerWith)
{
    m_previous = SetMsgBoxHook([this](const MsgBoxCall &call) {
        calls.append(call);
        return answer;
    });
}

MsgBoxRecorder::~MsgBoxRecorder() { SetMsgBoxHook(std::move(m_previous)); }

} // namespace runtime
