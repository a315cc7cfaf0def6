#include "modaldialogs.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QtTest>

void OnNextModal(std::function<void(QDialog *)> f)
{
    QTimer::singleShot(0, [f] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            qWarning("no modal dialog is open");
            return;
        }
        dialog->activateWindow();
        if (!QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }))
            qWarning("the modal dialog did not become active");
        f(dialog);
        // A failed check leaves the dialog open; closing it lets the test report instead of hanging.
        if (dialog->isVisible())
            dialog->reject();
    });
}
