#pragma once

#include "recordeditor.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

// Editor of one movement type ("Kassza típus szerkesztés"). The "Szorzó" choice sets szorzo and kibe together.
class Tfrm_TorzsKasszaTip_Szerkeszt : public RecordEditor
{
    Q_OBJECT

public:
    Tfrm_TorzsKasszaTip_Szerkeszt(Session &session, Messages &messages, QWidget *parent = nullptr);

    // kasszatip_nev, szorzo (-1 selects "Kiadás", anything else "Bevétel") and elszamolas.
    void setValues(const QVariantMap &values);
    // kasszatip_nev, szorzo, kibe, elszamolas.
    QVariantMap values() const override;
    // szorzo and kibe: the choice is stored whole on every OK, so the two always agree.
    QStringList alwaysWritten() const override;

private:
    QLineEdit *m_name;
    QRadioButton *m_payment;
    QRadioButton *m_receipt;
    QCheckBox *m_advance;
};
