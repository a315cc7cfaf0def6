#include "tfrm_biznyomtatas.h"

#include "formbehaviour.h"
#include "session.h"
#include "voucherprinting.h"
#include "windowplacement.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString FormName = QStringLiteral("Tfrm_BizNyomtatas");

} // namespace

Tfrm_BizNyomtatas::Tfrm_BizNyomtatas(Session &session, bool requestEnabled, QWidget *parent)
    : QDialog(parent), m_session(session), m_voucher(new QCheckBox(QStringLiteral("Pénztárbizonylat"), this)),
      m_request(new QCheckBox(QStringLiteral("Készpénzigénylés elszámolásra"), this))
{
    setObjectName(FormName);
    setWindowTitle(QStringLiteral("Bizonylat nyomtatás"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_voucher->setObjectName(QStringLiteral("cbPenztarbiz"));
    m_voucher->setChecked(true);
    m_request->setObjectName(QStringLiteral("cbKpElszamol"));
    m_request->setChecked(requestEnabled);
    m_request->setEnabled(requestEnabled);

    auto *group = new QGroupBox(QStringLiteral("Nyomtatás"), this);
    group->setObjectName(QStringLiteral("gbNyomtatas"));
    auto *boxes = new QVBoxLayout(group);
    boxes->addWidget(m_voucher);
    boxes->addWidget(m_request);

    const OkCancelRow buttons = OkCancelButtons(this);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ApplyFontSize(this, session.fontSize);
    EnterMovesFocus(this);
    RestoreWindowPos(this, session.ini, FormName);
    buttons.ok->setFocus();
}

bool Tfrm_BizNyomtatas::voucherChosen() const
{
    return m_voucher->isChecked();
}

bool Tfrm_BizNyomtatas::requestChosen() const
{
    return m_request->isEnabled() && m_request->isChecked();
}

void Tfrm_BizNyomtatas::done(int result)
{
    StoreWindowPos(this, m_session.ini, FormName);
    QDialog::done(result);
}

void BizNyomtatas(Session &session, Engine &engine, const Report::DocumentOutput &output, bool requestEnabled,
                  qint64 row, QWidget *parent)
{
    bool voucher = false;
    bool request = false;
    {
        Tfrm_BizNyomtatas dialog(session, requestEnabled, parent);
        if (dialog.exec() != QDialog::Accepted)
            return;
        voucher = dialog.voucherChosen();
        request = dialog.requestChosen();
    }
    if (voucher)
        PenztarbizNyomtat(session, engine, output, row, false, parent);
    if (request)
        KpElszamolNyomtat(session, engine, output, row, false, parent);
}
