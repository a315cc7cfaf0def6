#pragma once

#include <QDialog>

class Engine;
class QCheckBox;
namespace Report {
class DocumentOutput;
}
struct Session;

// "Bizonylat nyomtatás": after a booking, which documents of the row to print.
class Tfrm_BizNyomtatas : public QDialog
{
    Q_OBJECT
public:
    // requestEnabled: the row is an advance, so its cash request can be printed too.
    Tfrm_BizNyomtatas(Session &session, bool requestEnabled, QWidget *parent = nullptr);

    bool voucherChosen() const;
    bool requestChosen() const;

    void done(int result) override;

private:
    Session &m_session;
    QCheckBox *m_voucher;
    QCheckBox *m_request;
};

// Asks and prints the chosen documents of the booked row on the printer; "Mégsem" prints nothing.
void BizNyomtatas(Session &session, Engine &engine, const Report::DocumentOutput &output, bool requestEnabled,
                  qint64 row, QWidget *parent = nullptr);
