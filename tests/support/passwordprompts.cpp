#include "passwordprompts.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

PasswordPrompts::PasswordPrompts(const QVariantList &answers) : m_answers(answers)
{
    connect(&m_timer, &QTimer::timeout, this, &PasswordPrompts::look);
    m_timer.start(10);
}

void PasswordPrompts::look()
{
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    // Each dialog is answered once; the next one may be built at the same address.
    if (!dialog || dialog->objectName() != QLatin1String("PasswordDialog") || dialog->property("answered").toBool())
        return;
    dialog->setProperty("answered", true);
    const auto text = [dialog](const char *name) {
        const auto *label = dialog->findChild<QLabel *>(QLatin1String(name));
        return label ? label->text() : QString();
    };
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("edJelszo"));
    seen.append({dialog->windowTitle(), dialog->findChild<QLabel *>(QStringLiteral("lblHiba")) != nullptr,
                 edit && edit->echoMode() == QLineEdit::Password, text("lblAdatbazis"), text("lblFelhasznalo")});
    const QVariant answer = m_answers.isEmpty() ? QVariant() : m_answers.takeFirst();
    if (!answer.isValid() || !edit) {
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnCancel")), Qt::LeftButton);
        return;
    }
    edit->insert(answer.toString()); // keyClicks takes Latin-1 only
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
}
