#include "tfrm_torzskassza_szerkeszt.h"

#include "formbehaviour.h"
#include "numberedit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString Table = QStringLiteral("kassza");

QLabel *FieldLabel(const QString &text, QWidget *buddy, const char *name)
{
    auto *label = new QLabel(text, buddy->parentWidget());
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

} // namespace

Tfrm_TorzsKassza_Szerkeszt::Tfrm_TorzsKassza_Szerkeszt(Session &session, Messages &messages, bool newTill,
                                                       QWidget *parent)
    : RecordEditor(session, messages, QStringLiteral("frm_TorzsKassza_Szerkeszt"), QStringLiteral("Kassza szerkesztés"),
                   parent),
      m_newTill(newTill)
{
    m_name = textField(Table, QStringLiteral("kassza_nev"));
    setProminent(m_name);
    setWidthInChars(m_name, 26, 0);
    m_currency = textField(Table, QStringLiteral("valuta"));
    UpperCaseTyping(m_currency);
    m_receiptCode = textField(Table, QStringLiteral("betujel_be"));
    m_paymentCode = textField(Table, QStringLiteral("betujel_ki"));
    for (QLineEdit *shortField : {m_currency, m_receiptCode, m_paymentCode})
        setWidthInChars(shortField, 0, 8);
    m_opening = numberField(QStringLiteral("nyito"), NumberEdit::Amount, QStringLiteral("nyitó összeg a kasszában"));
    setProminent(m_opening);
    m_cashLimit = numberField(QStringLiteral("zaro_max"), NumberEdit::UnsignedAmount,
                              QStringLiteral("záró pénzkészlet maximuma"));

    auto *grid = new QGridLayout;
    grid->setObjectName(QStringLiteral("lytFields"));
    grid->addWidget(FieldLabel(QStringLiteral("kassza neve"), m_name, "lKasszaNev"), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(FieldLabel(QStringLiteral("valuta"), m_currency, "lValuta"), 1, 0);
    grid->addWidget(m_currency, 1, 1);
    grid->addWidget(FieldLabel(QStringLiteral("betűjel be"), m_receiptCode, "lBetujelBe"), 2, 0);
    grid->addWidget(m_receiptCode, 2, 1);
    grid->addWidget(FieldLabel(QStringLiteral("betűjel ki"), m_paymentCode, "lBetujelKi"), 3, 0);
    grid->addWidget(m_paymentCode, 3, 1);
    m_openingLabel = FieldLabel(QStringLiteral("nyitó összeg a kasszában"), m_opening, "lNyito");
    grid->addWidget(m_openingLabel, 4, 0);
    grid->addWidget(m_opening, 4, 1, 1, 2);
    grid->addWidget(FieldLabel(QStringLiteral("záró pénzkészlet maximuma"), m_cashLimit, "lZaroMax"), 5, 0);
    grid->addWidget(m_cashLimit, 5, 1, 1, 2);
    grid->setColumnStretch(2, 1);

    // An existing till's opening amount lives in its ledger; it is not edited here.
    m_opening->setVisible(newTill);
    m_openingLabel->setVisible(newTill);

    setFirstField(m_name);
    finishLayout(grid);
}

void Tfrm_TorzsKassza_Szerkeszt::setValues(const QVariantMap &values)
{
    m_name->setText(values.value(QStringLiteral("kassza_nev")).toString());
    m_currency->setText(values.value(QStringLiteral("valuta")).toString());
    m_receiptCode->setText(values.value(QStringLiteral("betujel_be")).toString());
    m_paymentCode->setText(values.value(QStringLiteral("betujel_ki")).toString());
    m_cashLimit->setValue(values.value(QStringLiteral("zaro_max")));
    if (m_newTill)
        m_opening->setValue(values.value(QStringLiteral("nyito")));
}

QVariantMap Tfrm_TorzsKassza_Szerkeszt::values() const
{
    QVariantMap result{{QStringLiteral("kassza_nev"), m_name->text()},
                       {QStringLiteral("valuta"), m_currency->text()},
                       {QStringLiteral("betujel_be"), m_receiptCode->text()},
                       {QStringLiteral("betujel_ki"), m_paymentCode->text()},
                       {QStringLiteral("zaro_max"), m_cashLimit->value()}};
    if (m_newTill)
        result.insert(QStringLiteral("nyito"), m_opening->value());
    return result;
}
