#pragma once

#include <QDialog>
#include <QTimer>

// Plays the operator in a modal dialog: act runs once the dialog is open, and a
// dialog still open afterwards is cancelled, so that a failed check never leaves a
// test hanging. The dialog may open later, from inside a timer.
template<typename Act> void WhenOpened(QDialog &dialog, Act act)
{
    auto *watch = new QTimer(&dialog);
    watch->setInterval(1);
    QObject::connect(watch, &QTimer::timeout, &dialog, [&dialog, watch, act] {
        if (!dialog.isVisible()) {
            return;
        }
        watch->stop();
        watch->deleteLater();
        act();
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
    watch->start();
}

// Runs the dialog modally with act playing the operator; gives the dialog's result.
template<typename Act> int RunModal(QDialog &dialog, Act act)
{
    WhenOpened(dialog, act);
    return dialog.exec();
}
