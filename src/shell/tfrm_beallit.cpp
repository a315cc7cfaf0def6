#include "tfrm_beallit.h"

#include "clientcashpayments.h"
#include "engine.h"
#include "filedialogs.h"
#include "formbehaviour.h"
#include "numberedit.h"
#include "schema.h"
#include "session.h"
#include "settingsstore.h"
#include "util.h"
#include "windowplacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString FormName = QStringLiteral("Tfrm_Beallit");

// The owner row's fields with their labels, in the order of the page.
struct OwnerField
{
    const char *field;
    QString label;
};

const QList<OwnerField> &OwnerFields()
{
    static const QList<OwnerField> fields = {
        {"tulajdonos", QStringLiteral("Név")},
        {"irsz", QStringLiteral("Irányítószám")},
        {"varos", QStringLiteral("Város")},
        {"cim", QStringLiteral("Cím")},
        {"telefon", QStringLiteral("Telefon")},
        {"mobil", QStringLiteral("Mobil")},
        {"fax", QStringLiteral("Fax")},
        {"adoszam", QStringLiteral("Adószám")},
        {"bankszamlaszam", QStringLiteral("Bankszámlaszám")},
    };
    return fields;
}

int FieldWidth(const QString &table, const QString &field)
{
    const TableDef *def = Schema::Table(table);
    const FieldDef *f = def ? def->field(field) : nullptr;
    return f && f->width > 0 ? f->width : 32767;
}

// A check box cannot wrap its text, so the long warning sits in a label beside an empty box; clicking the
// label works the box as clicking its own text would.
class BoxLabel : public QLabel
{
public:
    BoxLabel(const QString &text, QCheckBox *box, QWidget *parent) : QLabel(text, parent), m_box(box)
    {
        setWordWrap(true);
        setTextFormat(Qt::PlainText);
        setBuddy(box);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && m_box->isEnabled()) {
            m_box->setFocus(Qt::MouseFocusReason);
            m_box->toggle();
        }
        QLabel::mouseReleaseEvent(event);
    }

private:
    QCheckBox *m_box;
};

} // namespace

Tfrm_Beallit::Tfrm_Beallit(Session &session, Engine &engine, FileDialogs &fileDialogs, QWidget *parent)
    : QDialog(parent), m_session(session), m_engine(engine), m_fileDialogs(fileDialogs), m_tabs(new QTabWidget(this)),
      m_path(new QLineEdit(this)), m_browse(new QPushButton(QStringLiteral("..."), this)),
      m_fullScreen(new QCheckBox(QStringLiteral("Megnyitáskor teljes képernyő"), this)),
      m_vanBelep(new QCheckBox(QStringLiteral("Belépésnél jelszót kér"), this)), m_vissza(new QCheckBox(this)),
      m_autoNyomtat(new QCheckBox(QStringLiteral("Automatikusan nyomtatás bizonylat lezárásakor"), this)),
      m_csakEgyet(new QCheckBox(QStringLiteral("Egy lapra csak egy példányt nyomtat"), this)),
      m_metodus(new QButtonGroup(this)), m_formatFt(new QLineEdit(this)),
      m_kpFizetesHavi(new NumberEdit(NumberEdit::UnsignedAmount, this))
{
    setObjectName(FormName);
    setWindowTitle(QStringLiteral("Beállítások"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // ---- first page: settings
    auto *settingsPage = new QWidget;
    settingsPage->setObjectName(QStringLiteral("tabBeallitas"));
    auto *pageLayout = new QVBoxLayout(settingsPage);

    auto *defaults = new QGroupBox(QStringLiteral("Alapértékek"), settingsPage);
    defaults->setObjectName(QStringLiteral("grpAlapertekek"));
    auto *defaultsLayout = new QGridLayout(defaults);
    auto *pathLabel = new QLabel(QStringLiteral("adatbázis elérési útvonala"), defaults);
    pathLabel->setBuddy(m_path);
    m_path->setObjectName(QStringLiteral("edtAdatbazis"));
    m_browse->setObjectName(QStringLiteral("btnTalloz"));
    m_browse->setToolTip(QStringLiteral("Adatbázis mappa választása"));
    connect(m_browse, &QPushButton::clicked, this, &Tfrm_Beallit::browse);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(m_path, 1);
    pathRow->addWidget(m_browse);
    m_fullScreen->setObjectName(QStringLiteral("cbFullScreen"));
    m_vanBelep->setObjectName(QStringLiteral("cbVanBelep"));
    m_vissza->setObjectName(QStringLiteral("cbVissza"));
    auto *visszaText = new BoxLabel(QStringLiteral("Időben vissza adatok rögzíthetőek\nFigyelmeztetés: A program NEM "
                                                   "figyeli, hogy a régebbi dátumra rögzítés utáni időpontra volt-e "
                                                   "már adat rögzítve, tehát a lehetőség engedélyezésével a "
                                                   "kasszazárások integritását veszélyeztetheti."),
                                    m_vissza, defaults);
    visszaText->setObjectName(QStringLiteral("lblVissza"));
    auto *visszaRow = new QHBoxLayout;
    visszaRow->addWidget(m_vissza, 0, Qt::AlignTop);
    visszaRow->addWidget(visszaText, 1);
    defaultsLayout->addWidget(pathLabel, 0, 0);
    defaultsLayout->addLayout(pathRow, 1, 0);
    defaultsLayout->addWidget(m_fullScreen, 2, 0);
    defaultsLayout->addWidget(m_vanBelep, 3, 0);
    defaultsLayout->addLayout(visszaRow, 4, 0);
    pageLayout->addWidget(defaults);

    auto *printing = new QGroupBox(QStringLiteral("Nyomtatás"), settingsPage);
    printing->setObjectName(QStringLiteral("grpNyomtatas"));
    auto *printingLayout = new QVBoxLayout(printing);
    m_autoNyomtat->setObjectName(QStringLiteral("cbAutoNyomtat"));
    m_csakEgyet->setObjectName(QStringLiteral("cbCsakEgyetNyomtat"));
    printingLayout->addWidget(m_autoNyomtat);
    printingLayout->addWidget(m_csakEgyet);
    pageLayout->addWidget(printing);

    auto *method =
        new QGroupBox(QStringLiteral("Elszámolásnál, ha az összeg eltér az utalványozottól akkor:"), settingsPage);
    method->setObjectName(QStringLiteral("grpMetodus"));
    auto *methodLayout = new QVBoxLayout(method);
    const QStringList choices = {QStringLiteral("Először bevétel az egészre, majd új kiadás az új összegről"),
                                 QStringLiteral("Új bizonylat kiadása különbségről"), QStringLiteral("Semmit")};
    for (int i = 0; i < choices.size(); ++i) {
        auto *radio = new QRadioButton(choices.at(i), method);
        radio->setObjectName(QStringLiteral("rbMetodus%1").arg(i));
        m_metodus->addButton(radio, i);
        methodLayout->addWidget(radio);
    }
    pageLayout->addWidget(method);

    auto *money = new QGroupBox(QStringLiteral("Nyomtatás"), settingsPage);
    money->setObjectName(QStringLiteral("grpPenzformatum"));
    auto *moneyLayout = new QFormLayout(money);
    m_formatFt->setObjectName(QStringLiteral("edtFormatFt"));
    m_formatFt->setMaxLength(FieldWidth(QStringLiteral("beallit"), QStringLiteral("formatft")));
    moneyLayout->addRow(QStringLiteral("Pénzformátum"), m_formatFt);
    m_kpFizetesHavi->setObjectName(QStringLiteral("edtKpFizetesHavi"));
    m_kpFizetesHavi->setToolTip(QStringLiteral("0: nincs figyelmeztetés"));
    moneyLayout->addRow(QStringLiteral("Havi készpénzes kifizetés ügyfelenként legfeljebb (Ft)"), m_kpFizetesHavi);
    pageLayout->addWidget(money);
    pageLayout->addStretch(1);

    // ---- second page: the owner shown on vouchers and reports
    auto *ownerPage = new QWidget;
    ownerPage->setObjectName(QStringLiteral("tabTulajdonos"));
    auto *ownerLayout = new QFormLayout(ownerPage);
    ownerLayout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (const OwnerField &f : OwnerFields()) {
        const QString field = QString::fromLatin1(f.field);
        auto *edit = new QLineEdit(ownerPage);
        edit->setObjectName(QStringLiteral("edt_") + field);
        edit->setMaxLength(FieldWidth(QStringLiteral("tulajdonos"), field));
        m_ownerEdits.insert(field, edit);
        ownerLayout->addRow(f.label, edit);
    }

    m_tabs->setObjectName(QStringLiteral("tabs"));
    // Enter on a focused tab title would press OK; the pages are switched by click or Ctrl+Tab instead.
    m_tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
    m_tabs->addTab(settingsPage, QStringLiteral("Beállítások"));
    m_tabs->addTab(ownerPage, QStringLiteral("Tulajdonos adatai"));

    const OkCancelRow buttons = OkCancelButtons(this);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons.row);

    // From memory; the rows come from the database.
    m_path->setText(session.databaseFolder);
    m_fullScreen->setChecked(session.fullScreen);
    m_vissza->setChecked(session.vissza);
    m_csakEgyet->setChecked(session.csakEgyetNyomtat);
    loadRows();

    ApplyFontSize(this, session.fontSize);
    m_browse->setFixedWidth(m_browse->fontMetrics().horizontalAdvance(m_browse->text()) + 24);
    // The warning wraps at a width that keeps the page readable at every font size.
    visszaText->setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    PaintFocusedField(this);
    EnterMovesFocus(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    RestoreWindowPos(this, session.ini, FormName);
    m_path->setFocus();
}

void Tfrm_Beallit::loadRows()
{
    m_settings = ReadSettings(m_engine);
    m_vanBelep->setChecked(m_settings.vanBelep);
    m_autoNyomtat->setChecked(m_settings.autoNyomtat);
    if (QAbstractButton *choice = m_metodus->button(ValueOr(m_settings.metodus, -1)))
        choice->setChecked(true);
    m_formatFt->setText(m_settings.formatFt);
    m_kpFizetesHavi->setValue(m_settings.kpFizetesHavi.isNull() ? QVariant(DefaultMonthlyCashPaymentLimit)
                                                                : m_settings.kpFizetesHavi);

    m_owner = ReadOwner(m_engine);
    for (auto it = m_ownerEdits.cbegin(); it != m_ownerEdits.cend(); ++it)
        it.value()->setText(m_owner.fields.value(it.key()).toString());
}

void Tfrm_Beallit::browse()
{
    const QString folder = m_fileDialogs.ExistingFolder(QStringLiteral("Adatbázis mappa"), m_path->text(), this);
    if (!folder.isEmpty())
        m_path->setText(folder);
}

void Tfrm_Beallit::post()
{
    m_settings.vanBelep = m_vanBelep->isChecked();
    m_settings.autoNyomtat = m_autoNyomtat->isChecked();
    // A stored value outside the three choices stays while none is marked.
    if (m_metodus->checkedId() >= 0)
        m_settings.metodus = m_metodus->checkedId();
    m_settings.formatFt = m_formatFt->text();
    m_settings.kpFizetesHavi = m_kpFizetesHavi->value();
    m_owner.fields.clear();
    for (auto it = m_ownerEdits.cbegin(); it != m_ownerEdits.cend(); ++it)
        m_owner.fields.insert(it.key(), it.value()->text());
    SaveSettings(m_engine, m_settings, m_owner, m_session.user);
}

void Tfrm_Beallit::done(int result)
{
    if (result == QDialog::Accepted) {
        m_session.vissza = m_vissza->isChecked();
        m_session.fullScreen = m_fullScreen->isChecked();
        m_session.csakEgyetNyomtat = m_csakEgyet->isChecked();
        m_session.databaseFolder = m_path->text();
    }
    StoreWindowPos(this, m_session.ini, FormName);
    QDialog::done(result);
}
