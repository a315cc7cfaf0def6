#include "qtmessages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {

enum class Buttons { Ok, YesNo };
enum class Focus { Keep, Restore };

// Returns true when the Yes (or OK) button closed the box.
bool Run(QMessageBox::Icon icon, const QString &caption, const QString &text, QWidget *owner, Buttons buttons,
         Focus focus)
{
    const QPointer<QWidget> previous = QApplication::activeWindow();
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, owner ? owner : QApplication::activeWindow());
    box.setObjectName(QStringLiteral("messageBox"));
    // Engine messages may hold "<" and ">"; they must not be taken for markup.
    box.setTextFormat(Qt::PlainText);
    QPushButton *accept = nullptr;
    if (buttons == Buttons::YesNo) {
        accept = box.addButton(QStringLiteral("Igen"), QMessageBox::YesRole);
        accept->setObjectName(QStringLiteral("btnYes"));
        QPushButton *no = box.addButton(QStringLiteral("Nem"), QMessageBox::NoRole);
        no->setObjectName(QStringLiteral("btnNo"));
        // Esc and the title bar's close answer No.
        box.setEscapeButton(no);
    } else {
        accept = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        accept->setObjectName(QStringLiteral("btnOk"));
        box.setEscapeButton(accept);
    }
    box.setDefaultButton(accept);
    box.exec();
    const bool accepted = box.clickedButton() == accept;
    if (focus == Focus::Restore && previous)
        previous->activateWindow();
    return accepted;
}

} // namespace

void QtMessages::ShowError(const QString &text, QWidget *owner)
{
    Run(QMessageBox::Critical, QStringLiteral("Hiba"), text, owner, Buttons::Ok, Focus::Restore);
}

void QtMessages::ShowWarning(const QString &text, QWidget *owner)
{
    Run(QMessageBox::Warning, QStringLiteral("Figyelmeztetés"), text, owner, Buttons::Ok, Focus::Keep);
}

void QtMessages::ShowInfo(const QString &text, QWidget *owner)
{
    Run(QMessageBox::Information, QStringLiteral("Üzenet"), text, owner, Buttons::Ok, Focus::Keep);
}

void QtMessages::ShowApplicationError(const QString &text, QWidget *owner)
{
    Run(QMessageBox::Critical, QStringLiteral("Dromvel.Pro"), text, owner, Buttons::Ok, Focus::Restore);
}

bool QtMessages::AskYesNo(const QString &text, const QString &caption, QWidget *owner)
{
    return Run(QMessageBox::Question, caption, text, owner, Buttons::YesNo, Focus::Restore);
}
