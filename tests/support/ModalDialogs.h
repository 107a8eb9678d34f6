#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace testsupport {

// Runs `action` on the modal dialog of type D as soon as it shows, from inside its own event
// loop: a test sets this up, then calls whatever shows the dialog modally. Checks every few ms.
template <class D>
void whenModal(std::function<void(D *)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action = std::move(action)] {
        auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(dialog);
    });
    timer->start();
}

// Types a name (or a path) into a file dialog's name box, as the user does: deterministic where
// QFileDialog::selectFile depends on the folder having loaded.
inline void typeFileName(QFileDialog *dialog, const QString &name)
{
    if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        edit->setText(name);
}

// Ends a dialog a test left open (its expectations failed), so the test fails instead of hanging.
inline void closeIfOpen(QDialog *dialog)
{
    if (dialog && dialog->isVisible())
        dialog->reject();
}

// OK through QDialog, whose accept is public where a subclass (QFileDialog) hides its own.
inline void accept(QDialog *dialog)
{
    dialog->accept();
}

} // namespace testsupport
