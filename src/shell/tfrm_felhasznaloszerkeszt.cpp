#include "tfrm_felhasznaloszerkeszt.h"

#include "engine.h"
#include "formbehaviour.h"
#include "messages.h"
#include "schema.h"
#include "session.h"
#include "users.h"
#include "windowplacement.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString FormName = QStringLiteral("Tfrm_FelhasznaloSzerkeszt");
const QString Incomplete = QStringLiteral("Hiányos adat megadás");
const QString Unchanged = QStringLiteral("változatlan");

int FieldWidth(const QString &field)
{
    const FieldDef *f = Schema::Table(QStringLiteral("felhasznalo"))->field(field);
    return f ? f->width : 32767;
}

} // namespace

Tfrm_FelhasznaloSzerkeszt::Tfrm_FelhasznaloSzerkeszt(Session &session, Engine &engine, Messages &messages,
                                                     const QVariant &rowId, QWidget *parent)
    : QDialog(parent), m_session(session), m_engine(engine), m_messages(messages), m_rowId(rowId),
      m_code(new QLineEdit(this)), m_name(new QLineEdit(this)), m_password(new QLineEdit(this)),
      m_confirm(new QLineEdit(this)), m_admin(new QCheckBox(QStringLiteral("Rendszergazda"), this)),
      m_masterEdit(new QCheckBox(QStringLiteral("Törzsadattár szerkesztés"), this))
{
    setObjectName(FormName);
    setWindowTitle(QStringLiteral("Felhasználó adatainak szerkesztése"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_code->setObjectName(QStringLiteral("edtFelhasznalo"));
    m_code->setMaxLength(FieldWidth(QStringLiteral("felhasznalo")));
    m_name->setObjectName(QStringLiteral("edtFelhasznaloNev"));
    m_name->setMaxLength(FieldWidth(QStringLiteral("felhasznalo_nev")));
    m_password->setObjectName(QStringLiteral("edtJelszo"));
    m_password->setMaxLength(int(PasswordLength));
    m_password->setEchoMode(QLineEdit::Password);
    m_confirm->setObjectName(QStringLiteral("edtJelszo2"));
    m_confirm->setMaxLength(int(PasswordLength));
    m_confirm->setEchoMode(QLineEdit::Password);
    m_admin->setObjectName(QStringLiteral("cbRendszergazda"));
    m_masterEdit->setObjectName(QStringLiteral("cbTorzsszerkeszt"));

    auto *fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    fields->addRow(QStringLiteral("belépőkód"), m_code);
    fields->addRow(QStringLiteral("felhasználó neve"), m_name);
    fields->addRow(QStringLiteral("Jelszó"), m_password);
    fields->addRow(QStringLiteral("Jelszó még egyszer"), m_confirm);
    fields->addRow(QString(), m_admin);
    fields->addRow(QString(), m_masterEdit);

    const OkCancelRow buttons = OkCancelButtons(this);
    connect(buttons.ok, &QPushButton::clicked, this, &Tfrm_FelhasznaloSzerkeszt::ok);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    load();

    ApplyFontSize(this, session.fontSize);
    m_name->setMinimumWidth(fontMetrics().averageCharWidth() * 24);
    PaintFocusedField(this);
    EnterMovesFocus(this);
    RestoreWindowPos(this, session.ini, FormName);
    m_code->setFocus();
}

void Tfrm_FelhasznaloSzerkeszt::load()
{
    if (m_rowId.isNull())
        return; // a new user has both rights off and an empty confirmation
    const std::optional<UserRecord> user = ReadUser(m_engine, m_rowId);
    if (!user) {
        // Deleted meanwhile by another workstation: what is typed becomes a new user.
        m_rowId = QVariant();
        return;
    }
    m_code->setText(user->code);
    m_name->setText(user->name);
    // The stored password is a hash and is never shown: both fields start empty, and left empty they keep it.
    m_hasPassword = user->hasPassword;
    if (m_hasPassword) {
        m_password->setPlaceholderText(Unchanged);
        m_confirm->setPlaceholderText(Unchanged);
    }
    m_admin->setChecked(user->admin);
    m_masterEdit->setChecked(user->masterEdit);
}

void Tfrm_FelhasznaloSzerkeszt::ok()
{
    // A user with a stored password keeps it when both fields are left empty.
    if (m_password->text().isEmpty() && !m_hasPassword) {
        m_messages.ShowError(Incomplete, this);
        return;
    }
    if (m_password->text() != m_confirm->text()) {
        m_messages.ShowError(QStringLiteral("Hibás jelszó megadás"), this);
        return;
    }
    // The code is the key: an empty one cannot be stored, a taken one is refused by the unique index.
    if (m_code->text().isEmpty()) {
        m_messages.ShowError(Incomplete, this);
        return;
    }
    UserRecord user;
    user.rowId = m_rowId;
    user.code = m_code->text();
    user.name = m_name->text();
    user.password = m_password->text();
    user.admin = m_admin->isChecked();
    user.masterEdit = m_masterEdit->isChecked();
    try {
        m_rowId = SaveUser(m_engine, user, m_session.user);
    } catch (const EngineError &) {
        m_messages.ShowError(Incomplete, this);
        return;
    }
    accept();
}

void Tfrm_FelhasznaloSzerkeszt::done(int result)
{
    StoreWindowPos(this, m_session.ini, FormName);
    QDialog::done(result);
}
