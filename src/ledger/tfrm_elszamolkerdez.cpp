#include "tfrm_elszamolkerdez.h"

#include "choosers.h"
#include "formbehaviour.h"
#include "messages.h"
#include "session.h"
#include "windowplacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

MovementTypeChooser DefaultMovementTypeChooser(Session &session, Engine &engine, Messages &messages)
{
    return [&session, &engine, &messages](const QString &caption, QWidget *parent) {
        return KasszaTipValaszt(session, engine, messages, -1, true, caption, parent);
    };
}

Tfrm_ElszamolKerdez::Tfrm_ElszamolKerdez(Session &session, Engine &engine, Messages &messages,
                                         MovementTypeChooser chooseType, const SettlementTarget &target, double advance,
                                         double spent, QWidget *parent)
    : QDialog(parent), m_session(session), m_engine(engine), m_messages(messages), m_chooseType(std::move(chooseType)),
      m_target(target), m_advance(advance), m_spent(spent)
{
    setObjectName(QStringLiteral("frm_ElszamolKerdez"));
    setWindowTitle(QStringLiteral("Elszámolás"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ApplyFontSize(this, session.fontSize);

    auto *question = new QLabel(
        QStringLiteral("Az elszámolandó összeg nem egyezik meg a felvett összeggel mit tegyen a program?"), this);
    question->setObjectName(QStringLiteral("lKerdes"));
    question->setWordWrap(true);

    auto *group = new QGroupBox(QStringLiteral("Elszámolás módja"), this);
    group->setObjectName(QStringLiteral("rgModszer"));
    auto *choices = new QVBoxLayout(group);
    auto *buttons = new QButtonGroup(this);
    const QString texts[] = {
        QStringLiteral("Bevét bizonylat a teljes összegről, majd kiadás bizonylat az elszámolt összegről"),
        QStringLiteral("A különbségből bevét, vagy kiadás bizonylat"), QStringLiteral("Semmit")};
    for (int i = 0; i < 3; ++i) {
        m_methods[i] = new QRadioButton(texts[i], group);
        m_methods[i]->setObjectName(QStringLiteral("rbModszer%1").arg(i));
        buttons->addButton(m_methods[i], i);
        choices->addWidget(m_methods[i]);
    }
    const int preset = session.metodus >= 0 && session.metodus <= 2 ? session.metodus : 0;
    setMethod(SettlementMethod(preset));

    m_pending = new QCheckBox(QStringLiteral("A generált bizonylatot(oka) hagyja függőben"), this);
    m_pending->setObjectName(QStringLiteral("cbFuggoben"));

    const OkCancelRow row = OkCancelButtons(this);
    connect(row.ok, &QPushButton::clicked, this, &Tfrm_ElszamolKerdez::ok);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addWidget(group);
    layout->addWidget(m_pending);
    layout->addLayout(row.row);
    question->setMinimumWidth(group->sizeHint().width());
    KeepAccentsWhole(this);
}

SettlementMethod Tfrm_ElszamolKerdez::method() const
{
    for (int i = 0; i < 3; ++i)
        if (m_methods[i]->isChecked())
            return SettlementMethod(i);
    return SettlementMethod::Nothing;
}

void Tfrm_ElszamolKerdez::setMethod(SettlementMethod method)
{
    m_methods[int(method)]->setChecked(true);
}

bool Tfrm_ElszamolKerdez::leavePending() const
{
    return m_pending->isChecked();
}

void Tfrm_ElszamolKerdez::ok()
{
    QList<SettlementVoucher> vouchers = SettlementVouchers(method(), m_advance, m_spent);
    for (SettlementVoucher &voucher : vouchers) {
        voucher.kasszatip = m_chooseType(voucher.typeCaption, this);
        // No type chosen: nothing is generated, and the user may pick another way or cancel.
        if (voucher.kasszatip == -1)
            return;
    }
    if (!vouchers.isEmpty()) {
        SettlementTarget target = m_target;
        target.leavePending = leavePending();
        const SettlementGeneration generation = GenerateSettlementVouchers(m_engine, target, vouchers);
        if (generation.check != BookingCheck::Allowed) {
            m_messages.ShowError(BookingCheckText(generation.check), this);
            return;
        }
        m_generated = generation.vouchers;
        for (const GeneratedVoucher &voucher : m_generated)
            if (voucher.heldBack)
                m_messages.ShowWarning(
                    QStringLiteral("A(z) %1 kiadási bizonylat függőben maradt: a kasszában nincs hozzá elegendő "
                                   "pénz. A pénz beérkezése után a Kész! gombbal könyvelhető.")
                        .arg(voucher.number),
                    this);
    }
    accept();
}

void Tfrm_ElszamolKerdez::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        RestoreWindowPos(this, m_session.ini, objectName());
    }
    QDialog::showEvent(event);
}

void Tfrm_ElszamolKerdez::done(int result)
{
    if (m_placed)
        StoreWindowPos(this, m_session.ini, objectName());
    QDialog::done(result);
}
