#include "tfrm_torzsugyfel.h"

#include "engine.h"
#include "masterlookups.h"
#include "numberedit.h"
#include "session.h"
#include "uicolours.h"
#include "util.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString Table = QStringLiteral("ugyfel");

QString MoneyFormat(const Session &session)
{
    return session.formatFt.isEmpty() ? QStringLiteral("### ### ##0") : session.formatFt;
}

} // namespace

UrlOpener DesktopUrlOpener()
{
    return [](const QUrl &url) { return QDesktopServices::openUrl(url); };
}

Tfrm_TorzsUgyfel::Tfrm_TorzsUgyfel(Session &session, Engine &engine, Messages &messages, QWidget *parent)
    : RecordEditor(session, messages, QStringLiteral("frm_TorzsUgyfel"), QStringLiteral("Ügyfél adatok szerkesztése"),
                   parent),
      m_engine(engine), m_openUrl(DesktopUrlOpener())
{
    auto *pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    auto *page = new QWidget(pages);
    page->setObjectName(QStringLiteral("tsUgyfel"));
    pages->addTab(page, QStringLiteral("Ügyfél adatok"));

    auto text = [this, page](const char *field) {
        QLineEdit *edit = textField(Table, QString::fromLatin1(field));
        edit->setParent(page);
        return edit;
    };
    m_name = text("ugyfel_nev");
    setWidthInChars(m_name, 45, 0);
    m_idCard = text("szigszam");
    m_days = numberField(QStringLiteral("elszamol"), NumberEdit::WholeNumber, QStringLiteral("előleg elsz.nap"));
    m_days->setParent(page);
    m_phone = text("telefon");
    m_fax = text("fax");
    m_mobile = text("mobil");

    auto *address = new QGroupBox(QStringLiteral("Cím adatok"), page);
    address->setObjectName(QStringLiteral("gbCim"));
    m_postcode = textField(Table, QStringLiteral("cim_irsz"));
    m_town = textField(Table, QStringLiteral("cim_varos"));
    m_street = textField(Table, QStringLiteral("cim_cim"));
    for (QWidget *w :
         {static_cast<QWidget *>(m_postcode), static_cast<QWidget *>(m_town), static_cast<QWidget *>(m_street)})
        w->setParent(address);
    setWidthInChars(m_postcode, 0, 7);
    m_postcode->installEventFilter(this);

    m_mail = text("emil");
    m_mailButton = new QToolButton(page);
    m_mailButton->setObjectName(QStringLiteral("bEmil"));
    m_mailButton->setIcon(
        QIcon::fromTheme(QStringLiteral("mail-send"), style()->standardIcon(QStyle::SP_ArrowForward)));
    m_mailButton->setToolTip(QStringLiteral("Levél írása erre a címre"));
    m_mailButton->setFocusPolicy(Qt::NoFocus);
    connect(m_mailButton, &QToolButton::clicked, this, &Tfrm_TorzsUgyfel::sendMail);

    m_unit = new QComboBox(page);
    m_unit->setObjectName(QStringLiteral("szervegyseg"));
    m_unit->setEditable(false);
    m_limit = numberField(QStringLiteral("elszamollimit"), NumberEdit::Amount, QStringLiteral("elszámolási limit"));
    m_limit->setParent(page);
    m_due = new QLineEdit(page);
    m_due->setObjectName(QStringLiteral("elszamolasra"));
    m_due->setReadOnly(true);
    m_due->setFocusPolicy(Qt::NoFocus);
    m_due->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLineEdit *number : {static_cast<QLineEdit *>(m_days), static_cast<QLineEdit *>(m_limit), m_due})
        setWidthInChars(number, 0, 16);

    auto label = [](const QString &caption, QWidget *buddy, const char *name) {
        auto *l = new QLabel(caption, buddy->parentWidget());
        l->setObjectName(QString::fromLatin1(name));
        l->setBuddy(buddy);
        return l;
    };

    auto *addressLayout = new QGridLayout(address);
    addressLayout->setObjectName(QStringLiteral("lytCim"));
    addressLayout->addWidget(label(QStringLiteral("irsz"), m_postcode, "lIrsz"), 0, 0);
    addressLayout->addWidget(m_postcode, 0, 1);
    addressLayout->addWidget(label(QStringLiteral("város"), m_town, "lVaros"), 0, 2);
    addressLayout->addWidget(m_town, 0, 3);
    addressLayout->addWidget(label(QStringLiteral("cím"), m_street, "lCim"), 1, 0);
    addressLayout->addWidget(m_street, 1, 1, 1, 3);
    addressLayout->setColumnStretch(3, 1);

    auto *mailRow = new QHBoxLayout;
    mailRow->setObjectName(QStringLiteral("lytEmil"));
    mailRow->setSpacing(2);
    mailRow->addWidget(m_mail, 1);
    mailRow->addWidget(m_mailButton);

    auto *grid = new QGridLayout(page);
    grid->setObjectName(QStringLiteral("lytUgyfel"));
    int row = 0;
    grid->addWidget(label(QStringLiteral("ügyfél"), m_name, "lUgyfelNev"), row, 0);
    grid->addWidget(m_name, row++, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("szig.szám"), m_idCard, "lSzigszam"), row, 0);
    grid->addWidget(m_idCard, row, 1);
    grid->addWidget(label(QStringLiteral("előleg elsz.nap"), m_days, "lElszamol"), row, 2, Qt::AlignRight);
    grid->addWidget(m_days, row++, 3);
    grid->addWidget(label(QStringLiteral("telefon"), m_phone, "lTelefon"), row, 0);
    grid->addWidget(m_phone, row, 1);
    grid->addWidget(label(QStringLiteral("fax"), m_fax, "lFax"), row, 2, Qt::AlignRight);
    grid->addWidget(m_fax, row++, 3);
    grid->addWidget(label(QStringLiteral("mobil"), m_mobile, "lMobil"), row, 0);
    grid->addWidget(m_mobile, row++, 1);
    grid->addWidget(address, row++, 0, 1, 4);
    grid->addWidget(label(QStringLiteral("emil"), m_mail, "lEmil"), row, 0);
    grid->addLayout(mailRow, row++, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("szerv.egység"), m_unit, "lSzervegyseg"), row, 0);
    grid->addWidget(m_unit, row++, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("elszámolási limit"), m_limit, "lElszamollimit"), row, 0);
    grid->addWidget(m_limit, row++, 1);
    grid->addWidget(label(QStringLiteral("jelenleg elszámolandó"), m_due, "lElszamolasra"), row, 0);
    grid->addWidget(m_due, row++, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    QWidget *order[] = {m_name, m_idCard, m_days, m_phone, m_fax,   m_mobile,   m_postcode,
                        m_town, m_street, m_mail, m_unit,  m_limit, okButton(), cancelButton()};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    auto *pageLayout = new QVBoxLayout;
    pageLayout->setObjectName(QStringLiteral("lytPages"));
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(pages);

    loadUnits();
    setFirstField(m_name);
    finishLayout(pageLayout);
    // The drop-down is painted like the edit fields while it has the focus.
    const QColor c = FocusColor();
    setStyleSheet(styleSheet() + QStringLiteral("QComboBox#szervegyseg:focus { background: rgb(%1, %2, %3); }"
                                                "QLineEdit#elszamolasra { background: palette(window); }")
                                     .arg(c.red())
                                     .arg(c.green())
                                     .arg(c.blue()));
}

void Tfrm_TorzsUgyfel::loadUnits()
{
    m_unit->addItem(QString(), QVariant());
    for (const NamedKey &unit : OrganisationalUnits(m_engine))
        m_unit->addItem(unit.name, unit.key);
}

void Tfrm_TorzsUgyfel::setValues(const QVariantMap &values)
{
    auto text = [&values](const char *field) { return ValueOr(values.value(QString::fromLatin1(field)), QString()); };
    m_name->setText(text("ugyfel_nev"));
    m_idCard->setText(text("szigszam"));
    m_days->setValue(values.value(QStringLiteral("elszamol")));
    m_phone->setText(text("telefon"));
    m_fax->setText(text("fax"));
    m_mobile->setText(text("mobil"));
    m_postcode->setText(text("cim_irsz"));
    m_town->setText(text("cim_varos"));
    m_street->setText(text("cim_cim"));
    m_mail->setText(text("emil"));
    const QVariant unit = values.value(QStringLiteral("szervegyseg"));
    int index = 0;
    if (!unit.isNull()) {
        index = m_unit->findData(unit.toInt());
        if (index < 0) {
            // A unit that is no longer listed keeps its number rather than being lost on save.
            m_unit->addItem(unit.toString(), unit.toInt());
            index = m_unit->count() - 1;
        }
    }
    m_unit->setCurrentIndex(index);
    m_limit->setValue(values.value(QStringLiteral("elszamollimit")));
    const QVariant due = values.value(QStringLiteral("elszamolasra"));
    m_due->setText(due.isNull() ? QString() : FormatFloat(MoneyFormat(session()), due.toDouble()));
}

QVariantMap Tfrm_TorzsUgyfel::values() const
{
    return {{QStringLiteral("ugyfel_nev"), m_name->text()},
            {QStringLiteral("szigszam"), m_idCard->text()},
            {QStringLiteral("elszamol"), m_days->value()},
            {QStringLiteral("telefon"), m_phone->text()},
            {QStringLiteral("fax"), m_fax->text()},
            {QStringLiteral("mobil"), m_mobile->text()},
            {QStringLiteral("cim_irsz"), m_postcode->text()},
            {QStringLiteral("cim_varos"), m_town->text()},
            {QStringLiteral("cim_cim"), m_street->text()},
            {QStringLiteral("emil"), m_mail->text()},
            {QStringLiteral("szervegyseg"), m_unit->currentData()},
            {QStringLiteral("elszamollimit"), m_limit->value()}};
}

void Tfrm_TorzsUgyfel::fillTownFromPostcode()
{
    const QString postcode = m_postcode->text().trimmed();
    if (postcode.isEmpty() || !m_town->text().isEmpty())
        return;
    const QString town = TownOfPostcode(m_engine, postcode);
    if (!town.isEmpty())
        m_town->setText(town);
}

void Tfrm_TorzsUgyfel::sendMail()
{
    const QString address = m_mail->text().trimmed();
    if (address.isEmpty() || !m_openUrl)
        return;
    m_openUrl(QUrl(QStringLiteral("mailto:") + address, QUrl::TolerantMode));
}

bool Tfrm_TorzsUgyfel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_postcode && event->type() == QEvent::FocusOut)
        fillTownFromPostcode();
    return RecordEditor::eventFilter(watched, event);
}
