#pragma once

#include <QDialog>
#include <QVariant>

class Engine;
class Messages;
class QCheckBox;
class QLineEdit;
struct Session;

// "Felhasználó adatainak szerkesztése": one row of felhasznalo. OK posts the row and closes; a refused or
// failed post keeps the editor open. Mégsem leaves the row as it was.
class Tfrm_FelhasznaloSzerkeszt : public QDialog
{
    Q_OBJECT
public:
    // rowId: the user's row id, a null value for a new user.
    Tfrm_FelhasznaloSzerkeszt(Session &session, Engine &engine, Messages &messages, const QVariant &rowId,
                              QWidget *parent = nullptr);

    // Row id of the posted row (the new one after adding a user).
    QVariant rowId() const { return m_rowId; }

    void done(int result) override;

private:
    void load();
    void ok();

    Session &m_session;
    Engine &m_engine;
    Messages &m_messages;
    QVariant m_rowId;
    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_password;
    QLineEdit *m_confirm;
    QCheckBox *m_admin;
    QCheckBox *m_masterEdit;
    bool m_hasPassword = false; // the user being edited has a stored password
};
