#include "tfrm_elszamol.h"

#include "clientsettlement.h"
#include "formbehaviour.h"
#include "masterlookups.h"
#include "messages.h"
#include "numberedit.h"
#include "schema.h"
#include "session.h"
#include "util.h"
#include "voucherrows.h"
#include "windowplacement.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString DateFormat = QStringLiteral("yyyy.MM.dd");

QLineEdit *ReadOnlyField(QWidget *parent, const QString &name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

} // namespace

Tfrm_Elszamol::Tfrm_Elszamol(Session &session, Engine &engine, Messages &messages, MovementTypeChooser chooseType,
                             QWidget *parent)
    : QDialog(parent), m_session(session), m_engine(engine), m_messages(messages), m_chooseType(std::move(chooseType))
{
    setObjectName(QStringLiteral("frm_Elszamol"));
    setWindowTitle(QStringLiteral("Elszámolás"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ApplyFontSize(this, session.fontSize);

    m_client = ReadOnlyField(this, QStringLiteral("ugyfel_nev"));
    m_client->setMinimumWidth(m_client->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    m_deadline = ReadOnlyField(this, QStringLiteral("elszamol_kell_dat"));
    m_voucher = ReadOnlyField(this, QStringLiteral("ssz"));
    m_amount = ReadOnlyField(this, QStringLiteral("osszeg"));
    m_amount->setAlignment(Qt::AlignRight);

    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("elszamol_dat"));
    m_date->setDisplayFormat(DateFormat);
    m_date->setCalendarPopup(true);
    m_documents = new QLineEdit(this);
    m_documents->setObjectName(QStringLiteral("elszamol_biz"));
    m_documents->setMaxLength(Schema::Table(QStringLiteral("dromvel"))->field(QStringLiteral("elszamol_biz"))->width);
    UpperCaseTyping(m_documents);
    m_spent = new NumberEdit(NumberEdit::UnsignedAmount, this);
    m_spent->setObjectName(QStringLiteral("elszamol_tenyl_osszeg"));
    m_spent->setAlignment(Qt::AlignRight);
    m_hint = NumberEdit::HintLine(this);
    m_spent->showRefusalsIn(m_hint);

    auto *advance = new QFormLayout;
    advance->addRow(QStringLiteral("ügyfél"), m_client);
    advance->addRow(QStringLiteral("elszámolás határidő"), m_deadline);
    advance->addRow(QStringLiteral("kiadási bizonylat"), m_voucher);
    advance->addRow(QStringLiteral("összeg"), m_amount);
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto *settlement = new QFormLayout;
    settlement->addRow(QStringLiteral("elsz.dátum"), m_date);
    settlement->addRow(QStringLiteral("bizonylat(ok)"), m_documents);
    settlement->addRow(QStringLiteral("összeg"), m_spent);

    const OkCancelRow buttons = OkCancelButtons(this);
    connect(buttons.ok, &QPushButton::clicked, this, &Tfrm_Elszamol::ok);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(advance);
    layout->addWidget(line);
    layout->addLayout(settlement);
    layout->addWidget(m_hint);
    layout->addLayout(buttons.row);
    KeepAccentsWhole(this);
    PaintFocusedField(this);
    EnterMovesFocus(this);
}

bool Tfrm_Elszamol::open(int dromvel, const QDate &today)
{
    const QVariantMap row = ReadVoucherRow(m_engine, dromvel);
    if (row.isEmpty())
        return false;
    m_dromvel = dromvel;
    m_client->setText(ClientName(m_engine, ValueOr(row.value(QStringLiteral("ugyfel")), 0)));
    m_deadline->setText(row.value(QStringLiteral("elszamol_kell_dat")).toDate().toString(DateFormat));
    m_voucher->setText(FormatFloat(QStringLiteral("00000"), ValueOr(row.value(QStringLiteral("ssz")), 0)));
    m_amount->setText(FormatFloat(m_session.formatFt, ValueOr(row.value(QStringLiteral("osszeg")), 0.0)));
    m_date->setDate(today);
    m_documents->setText(ValueOr(row.value(QStringLiteral("elszamol_biz")), QString()));
    // The amount spent starts as the whole advance.
    m_spent->setValue(row.value(QStringLiteral("osszeg")));
    return true;
}

void Tfrm_Elszamol::ok()
{
    if (!m_spent->isComplete()) {
        m_messages.ShowError(QStringLiteral("Hibás szám a(z) „összeg” mezőben. %1").arg(m_spent->hint()), this);
        m_spent->setFocus(Qt::OtherFocusReason);
        return;
    }
    const double spent = ValueOr(m_spent->value(), 0.0);
    const BookingDay day = MainWindowDay(m_session);
    const SettlementPost post =
        PostSettlement(m_engine, m_dromvel, m_session.till, day, {m_date->date(), m_documents->text(), spent});
    if (post.check != SettlementCheck::Allowed) {
        m_messages.ShowError(SettlementCheckText(post.check), this);
        m_refused = true;
        reject();
        return;
    }
    WarnOverLimit(post.client, m_messages, this);
    if (SpentDiffers(post.advance, spent)) {
        const SettlementTarget target{m_dromvel, m_session.till, m_session.user, day, false};
        Tfrm_ElszamolKerdez question(m_session, m_engine, m_messages, m_chooseType, target, post.advance, spent, this);
        question.exec();
    }
    // Stored: the result is OK whatever the difference dialog did.
    accept();
}

void Tfrm_Elszamol::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        RestoreWindowPos(this, m_session.ini, objectName());
        m_date->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

void Tfrm_Elszamol::done(int result)
{
    if (m_placed)
        StoreWindowPos(this, m_session.ini, objectName());
    QDialog::done(result);
}

bool Elszamol(Session &session, Engine &engine, Messages &messages, int dromvel, const MovementTypeChooser &chooseType,
              QWidget *parent)
{
    if (dromvel <= 0)
        return false;
    const SettlementCheck check =
        CheckSettlement(engine, ReadVoucherRow(engine, dromvel), session.till, MainWindowDay(session));
    if (check != SettlementCheck::Allowed) {
        messages.ShowError(SettlementCheckText(check), parent);
        // A row that is gone leaves the view to be read again.
        return check == SettlementCheck::NotFound;
    }
    Tfrm_Elszamol form(session, engine, messages, chooseType, parent);
    if (!form.open(dromvel))
        return true;
    return form.exec() == QDialog::Accepted || form.refused();
}
