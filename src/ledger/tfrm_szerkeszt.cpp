#include "tfrm_szerkeszt.h"

#include "clientsettlement.h"
#include "engine.h"
#include "formbehaviour.h"
#include "ledgerops.h"
#include "masterlookups.h"
#include "messages.h"
#include "numberedit.h"
#include "picklists.h"
#include "schema.h"
#include "session.h"
#include "tillstore.h"
#include "util.h"
#include "voucheractions.h"
#include "voucherbooking.h"
#include "windowplacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString DateFormat = QStringLiteral("yyyy.MM.dd");
const QString NoTillText = QStringLiteral("Nincs kiválasztott kassza. Előbb hozzon létre egy kasszát "
                                          "(Törzsadatok / Kasszák), és válassza ki (Rekordok / Kassza választás).");
const QString NoMovementTypeText =
    QStringLiteral("Nincs kiválasztott kassza típus. Előbb vegyen fel egyet (Törzsadatok / Kassza típusok).");
const QString NoClientText =
    QStringLiteral("Nincs kiválasztott ügyfél. Előbb vegyen fel egyet (Törzsadatok / Ügyfelek).");
const int RemarkWidth = 255;
const int WordsWidth = 520;

int Width(const char *field)
{
    const FieldDef *def = Schema::Table(QStringLiteral("dromvel"))->field(QString::fromLatin1(field));
    return def ? def->width : 0;
}

QString Name(const char *base, int line)
{
    return QString::fromLatin1(base) + QString::number(line + 1);
}

QLineEdit *ReadOnlyField(QWidget *parent, const QString &name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

// A check box that shows a flag and takes no input.
QCheckBox *FlagBox(const QString &caption, QWidget *parent, const QString &name)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QDateEdit *DateField(QWidget *parent, const QString &name)
{
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(DateFormat);
    edit->setCalendarPopup(true);
    return edit;
}

// A booked voucher disables its lists; their values must stay as readable as the read-only fields.
void KeepTextReadable(QWidget *widget)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
    palette.setColor(QPalette::Disabled, QPalette::Base, palette.color(QPalette::Active, QPalette::Base));
    widget->setPalette(palette);
}

QComboBox *PickList(QWidget *parent, const QString &name, int width)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->lineEdit()->setMaxLength(width);
    KeepTextReadable(combo);
    return combo;
}

QLabel *Caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

VoucherChoosers VoucherChoosers::Default(Session &session, Engine &engine, Messages &messages)
{
    VoucherChoosers c;
    c.type = [&session, &engine, &messages](QWidget *parent) {
        return KasszaTipValasztKibe(session, engine, messages, -1, true, QStringLiteral("Kassza típusok"), parent);
    };
    c.newClient = [&session, &engine, &messages](QWidget *parent) {
        return UgyfelValasztNap(session, engine, messages, -1, true, parent);
    };
    c.client = [&session, &engine, &messages](int ugyfel, QWidget *parent) {
        return UgyfelValaszt(session, engine, messages, ugyfel, true, parent);
    };
    return c;
}

Tfrm_Szerkeszt::Tfrm_Szerkeszt(Session &session, Engine &engine, Messages &messages, VoucherChoosers choosers,
                               QWidget *parent)
    : QDialog(parent), m_session(session), m_engine(engine), m_messages(messages), m_choosers(std::move(choosers))
{
    setObjectName(QStringLiteral("frm_Szerkeszt"));
    setWindowTitle(QStringLiteral("Kassza tétel szerkesztés"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ApplyFontSize(this, session.fontSize);
    buildLayout();
    KeepAccentsWhole(this);
    PaintFocusedField(this);
    EnterMovesFocus(this);
    // Installed after the Enter filter, so it sees the key first.
    m_received->installEventFilter(this);
}

void Tfrm_Szerkeszt::buildLayout()
{
    m_kiadva = FlagBox(QStringLiteral("Lezárt bizonylat"), this, QStringLiteral("kiadva"));

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("kibe_nev"));
    QFont headingFont = m_heading->font();
    headingFont.setBold(true);
    headingFont.setPointSize(headingFont.pointSize() + 5);
    m_heading->setFont(headingFont);

    m_sorszam = ReadOnlyField(this, QStringLiteral("sorszam"));
    m_sorszam->setMinimumWidth(m_sorszam->fontMetrics().horizontalAdvance(QStringLiteral("XX0000000")) + 12);
    m_date = DateField(this, QStringLiteral("dat_kiadva"));

    auto *top = new QHBoxLayout;
    top->addWidget(m_heading, 1);
    top->addWidget(Caption(QStringLiteral("sorszám"), this));
    top->addWidget(m_sorszam);
    top->addSpacing(12);
    top->addWidget(Caption(QStringLiteral("dátum"), this));
    top->addWidget(m_date);

    m_client = new QComboBox(this);
    m_client->setObjectName(QStringLiteral("ugyfel_nev"));
    m_client->setMinimumContentsLength(30);
    m_client->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    KeepTextReadable(m_client);
    m_clientButton = new QPushButton(QStringLiteral("..."), this);
    m_clientButton->setObjectName(QStringLiteral("bUgyfel"));
    m_clientButton->setToolTip(QStringLiteral("Ügyfél választása a listából"));
    m_clientButton->setFixedWidth(m_clientButton->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    connect(m_clientButton, &QPushButton::clicked, this, &Tfrm_Szerkeszt::chooseClient);

    auto *clientLine = new QHBoxLayout;
    clientLine->addWidget(new QLabel(QStringLiteral("A pénztár fizessen az alábbiak szerint "), this));
    clientLine->addWidget(m_client, 1);
    clientLine->addWidget(m_clientButton);
    clientLine->addWidget(new QLabel(QStringLiteral("-nak"), this));

    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("osszeg"));
    QFont bold = m_total->font();
    bold.setBold(true);
    m_total->setFont(bold);
    m_words = new QLabel(QStringLiteral("Számbetű"), this);
    m_words->setObjectName(QStringLiteral("szambetu"));
    // A long amount in words wraps at its blanks instead of widening the form.
    m_words->setWordWrap(true);
    m_currency = new QLabel(this);
    m_currency->setObjectName(QStringLiteral("valuta"));

    auto *totalLine = new QHBoxLayout;
    totalLine->addWidget(new QLabel(QStringLiteral("Összesen:"), this));
    auto *amount = new QHBoxLayout;
    amount->setSpacing(0);
    amount->addWidget(m_total);
    amount->addWidget(new QLabel(QStringLiteral(", azaz"), this));
    totalLine->addLayout(amount);
    totalLine->addWidget(m_words);
    totalLine->addWidget(m_currency);
    totalLine->addStretch(1);

    auto *lines = new QGridLayout;
    lines->setObjectName(QStringLiteral("lytTetelek"));
    const char *titles[] = {"készpénzforg. jogcím", "biz.szám", "szöveg", "összeg"};
    for (int c = 0; c < 4; ++c)
        lines->addWidget(new QLabel(QString::fromUtf8(titles[c]), this), 0, c);
    for (int i = 0; i < 3; ++i) {
        Line &line = m_lines[i];
        line.forgjogcim = PickList(this, Name("forgjogcim", i), Width("forgjogcim1"));
        line.bizszam = new QLineEdit(this);
        line.bizszam->setObjectName(Name("bizszam", i));
        line.bizszam->setMaxLength(Width("bizszam1"));
        line.szoveg = PickList(this, Name("szoveg", i), Width("szoveg1"));
        line.osszeg = new NumberEdit(NumberEdit::UnsignedAmount, this);
        line.osszeg->setObjectName(Name("osszeg", i));
        line.osszeg->setMaximumWidth(line.osszeg->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 14 + 12);
        connect(line.osszeg, &QLineEdit::textChanged, this, &Tfrm_Szerkeszt::updateTotal);
        lines->addWidget(line.forgjogcim, i + 1, 0);
        lines->addWidget(line.bizszam, i + 1, 1);
        lines->addWidget(line.szoveg, i + 1, 2);
        lines->addWidget(line.osszeg, i + 1, 3);
    }
    m_hint = NumberEdit::HintLine(this);
    for (const Line &line : m_lines)
        line.osszeg->showRefusalsIn(m_hint);
    lines->setColumnStretch(0, 3);
    lines->setColumnStretch(1, 3);
    lines->setColumnStretch(2, 5);
    lines->setColumnStretch(3, 2);

    m_settlement = new QGroupBox(QStringLiteral("Elszámolás"), this);
    m_settlement->setObjectName(QStringLiteral("grpElszamolas"));
    m_elszamolKell = FlagBox(QStringLiteral("El kell számolnia"), m_settlement, QStringLiteral("elszamol_kell"));
    m_deadline = DateField(m_settlement, QStringLiteral("elszamol_kell_dat"));
    m_elszamolSsz = ReadOnlyField(m_settlement, QStringLiteral("elszamol_ssz"));
    m_elszamolva = FlagBox(QStringLiteral("Elszámolva?"), m_settlement, QStringLiteral("elszamolva"));
    m_elszamolDat = ReadOnlyField(m_settlement, QStringLiteral("elszamol_dat"));
    m_elszamolBiz = ReadOnlyField(m_settlement, QStringLiteral("elszamol_biz"));
    m_elszamolSsz->setMaximumWidth(m_elszamolSsz->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 9 + 12);
    auto *settlement = new QGridLayout(m_settlement);
    settlement->addWidget(m_elszamolKell, 0, 0, 1, 2);
    settlement->addWidget(m_elszamolva, 0, 2, 1, 2);
    settlement->addWidget(Caption(QStringLiteral("elszámolás határideje"), m_settlement), 1, 0);
    settlement->addWidget(m_deadline, 1, 1);
    settlement->addWidget(Caption(QStringLiteral("sorszám"), m_settlement), 1, 2);
    settlement->addWidget(m_elszamolSsz, 1, 3);
    settlement->addWidget(Caption(QStringLiteral("elszámolás"), m_settlement), 2, 0);
    settlement->addWidget(m_elszamolDat, 2, 1);
    settlement->addWidget(Caption(QStringLiteral("elsz.bizonylatok"), m_settlement), 3, 0);
    settlement->addWidget(m_elszamolBiz, 3, 1, 1, 3);
    settlement->setColumnStretch(1, 1);

    auto *remarkGroup = new QGroupBox(QStringLiteral("Szöveg (megjegyzés)"), this);
    remarkGroup->setObjectName(QStringLiteral("grpSzoveg"));
    m_remark = new QPlainTextEdit(remarkGroup);
    m_remark->setObjectName(QStringLiteral("szoveg"));
    m_remark->setTabChangesFocus(true);
    m_remark->setFixedHeight(m_remark->fontMetrics().lineSpacing() * 3 + 14);
    connect(m_remark, &QPlainTextEdit::textChanged, this, [this] {
        // The field holds 255 characters; more would be cut silently when stored.
        const QString text = m_remark->toPlainText();
        if (text.size() > RemarkWidth) {
            m_remark->setPlainText(text.left(RemarkWidth));
            m_remark->moveCursor(QTextCursor::End);
        }
    });
    m_remarkButton = new QPushButton(QStringLiteral("Tételszövegekből"), remarkGroup);
    m_remarkButton->setObjectName(QStringLiteral("bSzovegbol"));
    m_remarkButton->setToolTip(QStringLiteral("A megjegyzés a tételsorok szövegeiből"));
    connect(m_remarkButton, &QPushButton::clicked, this, &Tfrm_Szerkeszt::remarkFromLines);
    auto *remark = new QVBoxLayout(remarkGroup);
    remark->addWidget(m_remark);
    remark->addWidget(m_remarkButton, 0, Qt::AlignRight);

    auto *groups = new QHBoxLayout;
    groups->addWidget(m_settlement, 1);
    groups->addWidget(remarkGroup, 1);
    groups->setAlignment(m_settlement, Qt::AlignTop);

    m_type = ReadOnlyField(this, QStringLiteral("kasszatip_nev"));
    m_user = ReadOnlyField(this, QStringLiteral("felhasznalo"));
    m_received = new NumberEdit(NumberEdit::UnsignedAmount, this);
    m_received->setObjectName(QStringLiteral("elvett"));
    m_received->showRefusalsIn(m_hint);
    m_change = ReadOnlyField(this, QStringLiteral("visszajar"));
    m_change->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *footer = new QGridLayout;
    footer->addWidget(Caption(QStringLiteral("kasszatípus"), this), 0, 0);
    footer->addWidget(m_type, 0, 1);
    footer->addWidget(Caption(QStringLiteral("felhasználó"), this), 1, 0);
    footer->addWidget(m_user, 1, 1);
    footer->addWidget(Caption(QStringLiteral("elvett összeg (Enter)"), this), 0, 2);
    footer->addWidget(m_received, 0, 3);
    footer->addWidget(Caption(QStringLiteral("Visszajár"), this), 1, 2);
    footer->addWidget(m_change, 1, 3);
    footer->setColumnStretch(1, 3);
    footer->setColumnStretch(3, 1);
    footer->setColumnMinimumWidth(2, 20);

    m_keszButton = new QPushButton(QStringLiteral("Kész (lezár)"), this);
    m_keszButton->setObjectName(QStringLiteral("bKesz"));
    m_elmentButton = new QPushButton(QStringLiteral("Elment (függő)"), this);
    m_elmentButton->setObjectName(QStringLiteral("bElment"));
    m_megsemButton = new QPushButton(QStringLiteral("Mégsem"), this);
    m_megsemButton->setObjectName(QStringLiteral("bMegsem"));
    for (QPushButton *b : {m_keszButton, m_elmentButton, m_megsemButton})
        b->setAutoDefault(true);
    connect(m_keszButton, &QPushButton::clicked, this, &Tfrm_Szerkeszt::kesz);
    connect(m_elmentButton, &QPushButton::clicked, this, &Tfrm_Szerkeszt::elment);
    connect(m_megsemButton, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_keszButton);
    buttons->addWidget(m_elmentButton);
    buttons->addWidget(m_megsemButton);

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);

    auto *layout = new QVBoxLayout(this);
    layout->setObjectName(QStringLiteral("lytSzerkeszt"));
    layout->addWidget(m_kiadva);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addLayout(clientLine);
    layout->addLayout(totalLine);
    layout->addSpacing(6);
    layout->addLayout(lines);
    layout->addSpacing(6);
    layout->addLayout(groups);
    layout->addLayout(footer);
    layout->addWidget(m_hint);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    // Entry order: date, client, the lines across, deadline, remark, received cash, buttons.
    QList<QWidget *> order{m_date, m_client, m_clientButton};
    for (const Line &line : m_lines)
        order << line.forgjogcim << line.bizszam << line.szoveg << line.osszeg;
    order << m_deadline << m_remark << m_remarkButton << m_received << m_keszButton << m_elmentButton << m_megsemButton;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    resize(sizeHint().expandedTo(QSize(900, 0)));
}

bool Tfrm_Szerkeszt::openNew(const QDate &today)
{
    // The choosers answer 0 on an empty list: a voucher needs a till, a movement type and a client that exist.
    if (!TillExists(m_engine, m_session.till)) {
        m_messages.ShowError(NoTillText, parentWidget());
        return false;
    }
    const KasszaTipChoice type = m_choosers.type(parentWidget());
    if (type.kasszatip == -1)
        return false;
    if (!FindVoucherMasters(m_engine, m_session.till, type.kasszatip, 0).movementType) {
        m_messages.ShowError(NoMovementTypeText, parentWidget());
        return false;
    }
    const UgyfelChoice client = m_choosers.newClient(parentWidget());
    if (client.ugyfel == -1)
        return false;
    if (!FindVoucherMasters(m_engine, m_session.till, type.kasszatip, client.ugyfel).client) {
        m_messages.ShowError(NoClientText, parentWidget());
        return false;
    }
    m_row = NewVoucherValues(m_engine, m_session.till, m_session.user, type, client, today);
    m_dromvel = -1;
    showRow();
    return true;
}

bool Tfrm_Szerkeszt::openExisting(int dromvel)
{
    m_row = ReadVoucherRow(m_engine, dromvel);
    if (m_row.isEmpty()) {
        m_messages.ShowError(VoucherWriteText(VoucherWrite::NotFound), parentWidget());
        return false;
    }
    m_dromvel = dromvel;
    showRow();
    return true;
}

QString Tfrm_Szerkeszt::field(const char *name) const
{
    return ValueOr(m_row.value(QString::fromLatin1(name)), QString());
}

bool Tfrm_Szerkeszt::isAdvance() const
{
    return field("elszamol_kell") == QLatin1String("I");
}

void Tfrm_Szerkeszt::fillPickLists()
{
    const QStringList titles = DistinctLineValues(m_engine, QStringLiteral("forgjogcim"));
    const QStringList texts = DistinctLineValues(m_engine, QStringLiteral("szoveg"));
    for (const Line &line : m_lines) {
        line.forgjogcim->clear();
        line.forgjogcim->addItems(titles);
        line.szoveg->clear();
        line.szoveg->addItems(texts);
    }
}

void Tfrm_Szerkeszt::fillClients()
{
    const QVariant current = m_client->currentData();
    m_client->clear();
    for (const ClientRecord &client : Clients(m_engine))
        m_client->addItem(client.name, client.id);
    const int ugyfel = current.isValid() ? current.toInt() : ValueOr(m_row.value(QStringLiteral("ugyfel")), 0);
    m_client->setCurrentIndex(m_client->findData(ugyfel));
}

void Tfrm_Szerkeszt::chooseClient()
{
    const int current = m_client->currentIndex() >= 0 ? m_client->currentData().toInt()
                                                      : ValueOr(m_row.value(QStringLiteral("ugyfel")), 0);
    const int chosen = m_choosers.client(current, this);
    if (chosen == -1)
        return;
    // The chooser can add clients too.
    fillClients();
    m_client->setCurrentIndex(m_client->findData(chosen));
}

void Tfrm_Szerkeszt::showRow()
{
    fillPickLists();

    const bool booked = field("kiadva") == QLatin1String("I");
    m_kiadva->setChecked(booked);
    m_heading->setText(DirectionName(m_engine, field("kibe")));
    m_sorszam->setText(
        LedgerOps::VoucherNumber(m_row.value(QStringLiteral("betujel")), m_row.value(QStringLiteral("ssz"))));
    m_date->setDate(m_row.value(QStringLiteral("dat_kiadva")).toDate());
    fillClients();

    for (int i = 0; i < 3; ++i) {
        const Line &line = m_lines[i];
        line.forgjogcim->setCurrentText(field(Name("forgjogcim", i).toLatin1().constData()));
        line.bizszam->setText(field(Name("bizszam", i).toLatin1().constData()));
        line.szoveg->setCurrentText(field(Name("szoveg", i).toLatin1().constData()));
        line.osszeg->setValue(m_row.value(Name("osszeg", i)));
    }

    m_settlement->setVisible(isAdvance());
    m_elszamolKell->setChecked(isAdvance());
    const QDate deadline = m_row.value(QStringLiteral("elszamol_kell_dat")).toDate();
    m_deadline->setDate(deadline.isValid() ? deadline : m_date->date());
    m_elszamolSsz->setText(QString::number(ValueOr(m_row.value(QStringLiteral("elszamol_ssz")), 0)));
    m_elszamolva->setChecked(field("elszamolva") == QLatin1String("I"));
    m_elszamolDat->setText(m_row.value(QStringLiteral("elszamol_dat")).toDate().toString(DateFormat));
    m_elszamolBiz->setText(field("elszamol_biz"));

    m_remark->setPlainText(field("szoveg"));
    m_type->setText(MovementTypeName(m_engine, ValueOr(m_row.value(QStringLiteral("kasszatip")), 0)));
    m_user->setText(field("felhasznalo"));
    const QString currency = TillCurrency(m_engine, ValueOr(m_row.value(QStringLiteral("kassza")), 0));
    m_currency->setText(currency.trimmed().isEmpty() ? QStringLiteral("Ft") : currency);
    m_received->setValue(0.0);
    m_change->clear();

    updateTotal();
    setReadOnly(booked);
}

void Tfrm_Szerkeszt::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    for (QDateEdit *date : {m_date, m_deadline}) {
        date->setReadOnly(readOnly);
        date->setCalendarPopup(!readOnly);
        date->setButtonSymbols(readOnly ? QAbstractSpinBox::NoButtons : QAbstractSpinBox::UpDownArrows);
    }
    m_client->setEnabled(!readOnly);
    for (const Line &line : m_lines) {
        line.forgjogcim->setEnabled(!readOnly);
        line.bizszam->setReadOnly(readOnly);
        line.szoveg->setEnabled(!readOnly);
        line.osszeg->setReadOnly(readOnly);
    }
    m_remark->setReadOnly(readOnly);
    for (QPushButton *b : {m_keszButton, m_elmentButton, m_clientButton, m_remarkButton})
        b->setEnabled(!readOnly);
}

double Tfrm_Szerkeszt::total() const
{
    double sum = 0;
    for (const Line &line : m_lines)
        sum += ValueOr(line.osszeg->value(), 0.0);
    return sum;
}

void Tfrm_Szerkeszt::updateTotal()
{
    const double sum = total();
    m_total->setText(FormatFloat(m_session.formatFt, sum));
    const QString words = AmountInWords(sum);
    m_words->setText(words);
    // A wrapping label would break even a short text; it wraps only beyond what the line has room for.
    m_words->setMinimumWidth(std::min(m_words->fontMetrics().horizontalAdvance(words) + 4, WordsWidth));
}

void Tfrm_Szerkeszt::remarkFromLines()
{
    QStringList texts;
    for (const Line &line : m_lines)
        if (!line.szoveg->currentText().isEmpty())
            texts.append(line.szoveg->currentText());
    m_remark->setPlainText(texts.join(QStringLiteral(", ")));
}

void Tfrm_Szerkeszt::computeChange()
{
    m_change->setText(FormatFloat(QString(), ParseAmount(m_received->text()) - total()));
}

bool Tfrm_Szerkeszt::amountsComplete()
{
    for (const Line &line : m_lines) {
        if (!line.osszeg->isComplete()) {
            m_messages.ShowError(QStringLiteral("Hibás szám a(z) „összeg” mezőben. %1").arg(line.osszeg->hint()), this);
            line.osszeg->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

QVariantMap Tfrm_Szerkeszt::editedValues() const
{
    QVariantMap values{
        {QStringLiteral("dat_kiadva"), m_date->date()},
        {QStringLiteral("ugyfel"),
         m_client->currentIndex() >= 0 ? m_client->currentData() : m_row.value(QStringLiteral("ugyfel"))},
        {QStringLiteral("osszeg"), total()},
        {QStringLiteral("szoveg"), m_remark->toPlainText()},
    };
    for (int i = 0; i < 3; ++i) {
        const Line &line = m_lines[i];
        values.insert(Name("forgjogcim", i), line.forgjogcim->currentText());
        values.insert(Name("bizszam", i), line.bizszam->text());
        values.insert(Name("szoveg", i), line.szoveg->currentText());
        values.insert(Name("osszeg", i), line.osszeg->value());
    }
    if (isAdvance())
        values.insert(QStringLiteral("elszamol_kell_dat"), m_deadline->date());
    return values;
}

// A new row is written whole; an existing one only in the fields the form edits.
QVariantMap Tfrm_Szerkeszt::valuesToWrite() const
{
    const QVariantMap edited = editedValues();
    if (m_dromvel > 0)
        return edited;
    QVariantMap row = m_row;
    for (auto it = edited.cbegin(); it != edited.cend(); ++it)
        row.insert(it.key(), it.value());
    return row;
}

void Tfrm_Szerkeszt::kesz()
{
    if (m_readOnly || !amountsComplete())
        return;
    // Back-dating lets a voucher be dated before the open day, never after it.
    const BookingDay day{m_session.openDay, m_session.closedUntil,
                         m_session.vissza ? DateRule::UpToOpenDay : DateRule::OpenDayOnly, m_session.user};
    const QVariantMap values = valuesToWrite();
    QVariantMap asBooked = m_row;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        asBooked.insert(it.key(), it.value());
    BookingCheck check = CheckBooking(m_engine, asBooked, day);
    if (check == BookingCheck::Allowed) {
        const BookingResult booked = BookVoucher(m_engine, m_dromvel, day, values);
        check = booked.check;
        if (check == BookingCheck::Allowed) {
            m_storedKey = booked.dromvel;
            m_bookedHere = true;
            WarnOverLimit(booked.client, m_messages, this);
            accept();
            return;
        }
    }
    refuse(check);
}

void Tfrm_Szerkeszt::refuse(BookingCheck check)
{
    Messages &messages = m_messages;
    switch (check) {
    case BookingCheck::Allowed:
        return;
    case BookingCheck::NotOpenDay:
        if (messages.AskYesNo(QStringLiteral("Bizonylat csak a megnyitott napra könyvelhető, függőbe tegyem?"),
                              QStringLiteral("Hiba"), this))
            elment();
        else
            m_date->setFocus(Qt::OtherFocusReason);
        return;
    case BookingCheck::DayClosed:
        messages.ShowError(QStringLiteral("Lezárt napra bizonylat nem könyvelhető"), this);
        m_date->setFocus(Qt::OtherFocusReason);
        return;
    case BookingCheck::NoAmount:
        messages.ShowError(BookingCheckText(check), this);
        m_lines[0].osszeg->setFocus(Qt::OtherFocusReason);
        return;
    case BookingCheck::NoClient:
        messages.ShowError(BookingCheckText(check), this);
        m_client->setFocus(Qt::OtherFocusReason);
        return;
    case BookingCheck::NoTill:
    case BookingCheck::NoMovementType:
    case BookingCheck::NotEnoughMoney:
        messages.ShowError(BookingCheckText(check), this);
        return;
    case BookingCheck::NotFound:
    case BookingCheck::AlreadyBooked:
        // Another workstation got there first; what this form holds can no longer be written.
        messages.ShowError(BookingCheckText(check), this);
        reject();
        return;
    }
}

void Tfrm_Szerkeszt::elment()
{
    if (m_readOnly || !amountsComplete())
        return;
    const QVariantMap values = valuesToWrite();
    int key = m_dromvel;
    const VoucherWrite saved = SavePendingVoucher(m_engine, key, values);
    if (saved != VoucherWrite::Done) {
        m_messages.ShowError(VoucherWriteText(saved), this);
        reject();
        return;
    }
    m_storedKey = key;
    accept();
}

void Tfrm_Szerkeszt::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        RestoreWindowPos(this, m_session.ini, objectName());
        if (m_readOnly)
            m_megsemButton->setFocus(Qt::OtherFocusReason);
        else
            m_lines[0].forgjogcim->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

bool Tfrm_Szerkeszt::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_received && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            computeChange();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_Szerkeszt::done(int result)
{
    if (result != Accepted)
        m_storedKey = -1;
    if (m_placed)
        StoreWindowPos(this, m_session.ini, objectName());
    QDialog::done(result);
}

int BizonylatSzerkeszt(Session &session, Engine &engine, Messages &messages, int dromvel,
                       const VoucherChoosers &choosers, const PrintChoice &print, QWidget *parent)
{
    Tfrm_Szerkeszt form(session, engine, messages, choosers, parent);
    if (dromvel == -1 ? !form.openNew() : !form.openExisting(dromvel))
        return -1;
    form.exec();
    if (form.bookedHere() && print)
        print(form.storedKey(), form.isAdvance(), parent);
    return form.storedKey();
}
