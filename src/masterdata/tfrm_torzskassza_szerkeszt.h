#pragma once

#include "recordeditor.h"

class NumberEdit;
class QLabel;
class QLineEdit;

// Editor of one till ("Kassza szerkesztés"). The opening amount is offered only for a new till.
class Tfrm_TorzsKassza_Szerkeszt : public RecordEditor
{
    Q_OBJECT

public:
    Tfrm_TorzsKassza_Szerkeszt(Session &session, Messages &messages, bool newTill, QWidget *parent = nullptr);

    // kassza_nev, valuta, betujel_be, betujel_ki, zaro_max (empty: no limit) and, for a new till, nyito.
    void setValues(const QVariantMap &values);
    QVariantMap values() const override;

private:
    bool m_newTill;
    QLineEdit *m_name;
    QLineEdit *m_currency;
    QLineEdit *m_receiptCode;
    QLineEdit *m_paymentCode;
    NumberEdit *m_opening;
    NumberEdit *m_cashLimit;
    QLabel *m_openingLabel;
};
