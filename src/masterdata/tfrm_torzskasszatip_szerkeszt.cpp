#include "tfrm_torzskasszatip_szerkeszt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

Tfrm_TorzsKasszaTip_Szerkeszt::Tfrm_TorzsKasszaTip_Szerkeszt(Session &session, Messages &messages, QWidget *parent)
    : RecordEditor(session, messages, QStringLiteral("frm_TorzsKasszaTip_Szerkeszt"),
                   QStringLiteral("Kassza típus szerkesztés"), parent)
{
    m_name = textField(QStringLiteral("kasszatip"), QStringLiteral("kasszatip_nev"));
    setWidthInChars(m_name, 45, 0);
    auto *nameLabel = new QLabel(QStringLiteral("kassza típus"), this);
    nameLabel->setObjectName(QStringLiteral("lKasszaTipNev"));
    nameLabel->setBuddy(m_name);

    auto *group = new QGroupBox(QStringLiteral("Szorzó"), this);
    group->setObjectName(QStringLiteral("rgSzorzo"));
    m_payment = new QRadioButton(QStringLiteral("Kiadás"), group);
    m_payment->setObjectName(QStringLiteral("rbKiadas"));
    m_receipt = new QRadioButton(QStringLiteral("Bevétel"), group);
    m_receipt->setObjectName(QStringLiteral("rbBevetel"));
    auto *buttons = new QButtonGroup(group);
    buttons->setObjectName(QStringLiteral("bgSzorzo"));
    buttons->addButton(m_payment);
    buttons->addButton(m_receipt);
    auto *groupLayout = new QHBoxLayout(group);
    groupLayout->setObjectName(QStringLiteral("lytSzorzo"));
    groupLayout->addWidget(m_payment);
    groupLayout->addWidget(m_receipt);
    groupLayout->addStretch(1);
    m_payment->setChecked(true);

    m_advance = new QCheckBox(QStringLiteral("Elszámolásra?"), this);
    m_advance->setObjectName(QStringLiteral("elszamolas"));

    auto *grid = new QGridLayout;
    grid->setObjectName(QStringLiteral("lytFields"));
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(group, 1, 1);
    grid->addWidget(m_advance, 2, 1);

    setFirstField(m_name);
    finishLayout(grid);
}

void Tfrm_TorzsKasszaTip_Szerkeszt::setValues(const QVariantMap &values)
{
    m_name->setText(values.value(QStringLiteral("kasszatip_nev")).toString());
    const QVariant szorzo = values.value(QStringLiteral("szorzo"));
    // An empty multiplier reads as a receipt type, as the stored row says nothing else.
    const bool payment = !szorzo.isNull() && szorzo.toInt() == -1;
    m_payment->setChecked(payment);
    m_receipt->setChecked(!payment);
    m_advance->setChecked(values.value(QStringLiteral("elszamolas")).toString() == QLatin1String("I"));
}

QVariantMap Tfrm_TorzsKasszaTip_Szerkeszt::values() const
{
    const bool payment = m_payment->isChecked();
    return {{QStringLiteral("kasszatip_nev"), m_name->text()},
            {QStringLiteral("szorzo"), payment ? -1 : 1},
            {QStringLiteral("kibe"), payment ? QStringLiteral("K") : QStringLiteral("B")},
            {QStringLiteral("elszamolas"), m_advance->isChecked() ? QStringLiteral("I") : QStringLiteral("N")}};
}

QStringList Tfrm_TorzsKasszaTip_Szerkeszt::alwaysWritten() const
{
    return {QStringLiteral("szorzo"), QStringLiteral("kibe")};
}
