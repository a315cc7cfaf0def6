#pragma once

#include "users.h"

#include <QDialog>
#include <optional>

class Engine;
class Messages;
class QLineEdit;
class QPushButton;
struct Session;

// "Belépés azonosítás": user code and password checked against the users table. Accepted only on a valid
// pair; the user and both rights are then in the session. "Új jelszó" changes the typed user's password.
class Tfrm_Login : public QDialog
{
    Q_OBJECT
public:
    Tfrm_Login(Session &session, Engine &engine, Messages &messages, QWidget *parent = nullptr);

private:
    void login();
    void changePassword();
    std::optional<UserRecord> checkCredentials();

    Session &m_session;
    Engine &m_engine;
    Messages &m_messages;
    QLineEdit *m_user;
    QLineEdit *m_password;
};

// The login at start-up. False when the program is to end: cancelled, closed, or the dialog failed (said
// through the messages).
bool Belepes(Session &session, Engine &engine, Messages &messages, QWidget *parent = nullptr);
