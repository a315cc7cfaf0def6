#pragma once

#include <QDialog>

class QLineEdit;
struct ServerAddress;

// Asks the password of a server database, masked. The password lives only as long as the caller keeps it (the
// engine, in memory); nothing of it is written anywhere.
class PasswordDialog : public QDialog
{
    Q_OBJECT

public:
    // again: the password typed before was refused, which the dialog says above the field.
    PasswordDialog(const ServerAddress &address, bool again, QWidget *parent = nullptr);

    QString password() const;

private:
    QLineEdit *m_password = nullptr;
};
