#pragma once

#include "users.h"

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;
struct Session;

// "Belépés azonosítás": user code and password checked against the users table. Accepted only on a valid
// pair; the user and both rights are then in the session. "Új jelszó" changes the typed user's password.
class Tfrm_Login : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_Login(Session &session, QWidget *parent = nullptr);

private:
    void login();
    void changePassword();
    std::optional<UserRecord> checkCredentials();

    Session &m_session;
    QLineEdit *m_user;
    QLineEdit *m_password;
};

// The login at start-up. False when the program is to end: cancelled, closed, or the dialog failed (said
// through the session's messages).
bool Belepes(Session &session, QWidget *parent = nullptr);
