#pragma once

#include "listwindow.h"

class UserListModel;

// "Felhasználók adatai": the users with their two rights. New, edit and delete go through the user editor.
class Tfrm_Felhasznalo : public ListWindow
{
    Q_OBJECT
public:
    explicit Tfrm_Felhasznalo(Session &session, QWidget *parent = nullptr);

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

    UserListModel *m_model;
};

// Opens the user list modally. The caller checks the administrator right.
void FelhasznalokMegnyit(Session &session, QWidget *parent = nullptr);
