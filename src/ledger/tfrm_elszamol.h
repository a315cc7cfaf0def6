#pragma once

#include "tfrm_elszamolkerdez.h"

#include <QDialog>

class Engine;
class Messages;
class NumberEdit;
class QDateEdit;
class QLabel;
class QLineEdit;
struct Session;

// "Elszámolás": the settlement of one booked advance. It shows the advance, takes the settlement date, the
// documents and the amount actually spent; OK marks the advance settled and takes it off the client's total, and
// when the amount spent differs, asks how to even out the till (Tfrm_ElszamolKerdez).
class Tfrm_Elszamol : public QDialog
{
    Q_OBJECT

public:
    Tfrm_Elszamol(Session &session, Engine &engine, Messages &messages, MovementTypeChooser chooseType,
                  QWidget *parent = nullptr);

    // The advance row; false when it no longer exists.
    bool open(int dromvel, const QDate &today = QDate::currentDate());
    // OK found the advance changed meanwhile on another workstation (settled, deleted, or its day closed) and
    // stored nothing.
    bool refused() const { return m_refused; }

public slots:
    void ok();
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Session &m_session;
    Engine &m_engine;
    Messages &m_messages;
    MovementTypeChooser m_chooseType;
    int m_dromvel = 0;
    bool m_placed = false;
    bool m_refused = false;

    QLineEdit *m_client = nullptr;
    QLineEdit *m_deadline = nullptr;
    QLineEdit *m_voucher = nullptr;
    QLineEdit *m_amount = nullptr;
    QDateEdit *m_date = nullptr;
    QLineEdit *m_documents = nullptr;
    NumberEdit *m_spent = nullptr;
    QLabel *m_hint = nullptr;
};

// "Elszámol" on the main window's row: the checks in order ("Ez a bizonylat még nem lett könyvelve.", "Ezt a
// tételt nem kell elszámolni.", "Ez a tétel már el lett számolva.", and with back-dating off "Ez a nap már le lett
// zárva." for a closed open day), then the settlement form. True when the main window should read the row again:
// the settlement was stored, or the row was found changed on another workstation.
bool Elszamol(Session &session, Engine &engine, Messages &messages, int dromvel, const MovementTypeChooser &chooseType,
              QWidget *parent = nullptr);
