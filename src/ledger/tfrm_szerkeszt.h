#pragma once

#include "bookingcheck.h"
#include "choosers.h"

#include <QDate>
#include <QDialog>
#include <QVariantMap>
#include <array>
#include <functional>

class Engine;
class Messages;
class NumberEdit;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct Session;

// The choosers the voucher form opens; tests replace them with scripted answers.
struct VoucherChoosers
{
    // A new voucher's movement type and client (with the client's settlement days).
    std::function<KasszaTipChoice(QWidget *parent)> type;
    std::function<UgyfelChoice(QWidget *parent)> newClient;
    // The client button: positioned on the current client; -1 when closed without a choice.
    std::function<int(int ugyfel, QWidget *parent)> client;

    // The master-data list windows in choose mode.
    static VoucherChoosers Default(Session &session, Engine &engine, Messages &messages);
};

// "Kassza tétel szerkesztés": one voucher row, new or existing. "Kész (lezár)" books it, "Elment (függő)"
// stores it pending, "Mégsem" and Esc discard. A booked voucher opens read-only.
class Tfrm_Szerkeszt : public QDialog
{
    Q_OBJECT

public:
    Tfrm_Szerkeszt(Session &session, Engine &engine, Messages &messages, VoucherChoosers choosers,
                   QWidget *parent = nullptr);

    // A new voucher of the session's till: the type and client choosers run first; false when either is
    // cancelled (nothing is written).
    bool openNew(const QDate &today = QDate::currentDate());
    // The stored row; false (with a message) when it no longer exists.
    bool openExisting(int dromvel);

    // Key of the row the form stored or booked; -1 when it stored nothing.
    int storedKey() const { return m_storedKey; }
    // The form booked its row ("Kész (lezár)").
    bool bookedHere() const { return m_bookedHere; }
    bool isAdvance() const;
    bool isReadOnly() const { return m_readOnly; }

    // The voucher's total: the sum of the three line amounts (an empty line counts as 0).
    double total() const;

public slots:
    void kesz();
    void elment();
    // Fills the remark from the non-empty line texts.
    void remarkFromLines();
    // "Visszajár" := received cash - total.
    void computeChange();
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Line
    {
        QComboBox *forgjogcim = nullptr;
        QLineEdit *bizszam = nullptr;
        QComboBox *szoveg = nullptr;
        NumberEdit *osszeg = nullptr;
    };

    void buildLayout();
    void fillPickLists();
    void fillClients();
    void chooseClient();
    void showRow();
    void setReadOnly(bool readOnly);
    void updateTotal();
    // Tells why the voucher cannot be booked now and does what the answer asks.
    void refuse(BookingCheck check);
    // False (with a message, focus on the field) when an amount field holds an unfinished number.
    bool amountsComplete();
    // The form's editable values, keyed by field name.
    QVariantMap editedValues() const;
    QVariantMap valuesToWrite() const;
    QString field(const char *name) const;

    Session &m_session;
    Engine &m_engine;
    Messages &m_messages;
    VoucherChoosers m_choosers;
    QVariantMap m_row;  // the row as opened (all fields of a new row)
    int m_dromvel = -1; // the stored row's key; -1 for a new one
    int m_storedKey = -1;
    bool m_bookedHere = false;
    bool m_readOnly = false;
    bool m_placed = false;

    QCheckBox *m_kiadva = nullptr;
    QLabel *m_heading = nullptr;
    QLineEdit *m_sorszam = nullptr;
    QDateEdit *m_date = nullptr;
    QComboBox *m_client = nullptr;
    QPushButton *m_clientButton = nullptr;
    QLabel *m_total = nullptr;
    QLabel *m_words = nullptr;
    QLabel *m_currency = nullptr;
    std::array<Line, 3> m_lines;
    QGroupBox *m_settlement = nullptr;
    QCheckBox *m_elszamolKell = nullptr;
    QDateEdit *m_deadline = nullptr;
    QLineEdit *m_elszamolSsz = nullptr;
    QCheckBox *m_elszamolva = nullptr;
    QLineEdit *m_elszamolDat = nullptr;
    QLineEdit *m_elszamolBiz = nullptr;
    QPlainTextEdit *m_remark = nullptr;
    QPushButton *m_remarkButton = nullptr;
    QLineEdit *m_type = nullptr;
    NumberEdit *m_received = nullptr;
    QLabel *m_hint = nullptr; // why an amount field refused a keystroke
    QLineEdit *m_change = nullptr;
    QLineEdit *m_user = nullptr;
    QPushButton *m_keszButton = nullptr;
    QPushButton *m_elmentButton = nullptr;
    QPushButton *m_megsemButton = nullptr;
};
