#pragma once

#include "listwindow.h"

class Engine;
class Messages;
class UserListModel;

// "Felhasználók adatai": the users with their two rights. New, edit and delete go through the user editor.
class Tfrm_Felhasznalo : public ListWindow
{
    Q_OBJECT
public:
    Tfrm_Felhasznalo(Session &session, Engine &engine, Messages &messages, QWidget *parent = nullptr);

    // Reads the rows again and puts the cursor on the row with that row id (or the nearest row).
    void refresh(const QVariant &rowId = QVariant());
    // Row id of the cursor's row; null on an empty list.
    QVariant currentRowId() const;

protected:
    void newRow() override;
    void editRow() override;
    void deleteRow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitColumns();

    Engine &m_engine;
    Messages &m_messages;
    UserListModel *m_model;
};

// Opens the user list modally. The caller checks the administrator right.
void FelhasznalokMegnyit(Session &session, Engine &engine, Messages &messages, QWidget *parent = nullptr);
