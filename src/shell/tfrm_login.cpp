#include "tfrm_login.h"

#include "engine.h"
#include "formbehaviour.h"
#include "inputdialog.h"
#include "messages.h"
#include "session.h"
#include "users.h"
#include "util.h"
#include "workarea.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

namespace {

const QString InvalidUser = QStringLiteral("Érvénytelen felhasználó, vagy jelszó");

} // namespace

Tfrm_Login::Tfrm_Login(Session &session, Engine &engine, Messages &messages, QWidget *parent)
    : QDialog(parent), m_session(session), m_engine(engine), m_messages(messages), m_user(new QLineEdit(this)),
      m_password(new QLineEdit(this))
{
    setObjectName(QStringLiteral("Tfrm_Login"));
    setWindowTitle(QStringLiteral("Belépés azonosítás"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_user->setObjectName(QStringLiteral("edtFelhasznalo"));
    m_password->setObjectName(QStringLiteral("edtJelszo"));
    m_password->setEchoMode(QLineEdit::Password);
    auto *fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    fields->addRow(QStringLiteral("Felhasználó"), m_user);
    fields->addRow(QStringLiteral("Jelszó"), m_password);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto *newPassword = new QPushButton(QStringLiteral("Új jelszó"), this);
    newPassword->setObjectName(QStringLiteral("btnUjJelszo"));
    connect(ok, &QPushButton::clicked, this, &Tfrm_Login::login);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(newPassword, &QPushButton::clicked, this, &Tfrm_Login::changePassword);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    buttons->addWidget(newPassword);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ApplyFontSize(this, session.fontSize);
    m_user->setMinimumWidth(fontMetrics().averageCharWidth() * 28);
    PaintFocusedField(this);
    EnterMovesFocus(this);
    m_user->setFocus();

    adjustSize();
    const QRect area = WorkArea();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

std::optional<UserRecord> Tfrm_Login::checkCredentials()
{
    std::optional<UserRecord> user = FindUser(m_engine, m_user->text(), m_password->text());
    if (!user)
        m_messages.ShowError(InvalidUser, this);
    return user;
}

void Tfrm_Login::login()
{
    m_session.user = m_user->text();
    const std::optional<UserRecord> user = checkCredentials();
    if (!user)
        return;
    m_session.userName = user->name;
    m_session.admin = user->admin;
    m_session.masterEdit = user->masterEdit;
    accept();
}

void Tfrm_Login::changePassword()
{
    if (!checkCredentials())
        return;
    QString first;
    if (!InputDialog(QStringLiteral("Jelszó megadása"), QStringLiteral("Add meg az új jelszót"), QString(), first,
                     this))
        return;
    // An empty password can never log in, so storing one would lock the user out.
    if (first.isEmpty()) {
        m_messages.ShowError(QStringLiteral("Hiányos adat megadás"), this);
        return;
    }
    QString second;
    if (!InputDialog(QStringLiteral("Megerősítés"), QStringLiteral("Add újra az új jelszót"), QString(), second, this))
        return;
    if (first != second) {
        m_messages.ShowError(QStringLiteral("A megadott jelszavak nem egyezőek"), this);
        return;
    }
    StorePassword(m_engine, m_user->text(), first);
    m_messages.ShowInfo(QStringLiteral("Jelszó változtatás kész."), this);
}

bool Belepes(Session &session, Engine &engine, Messages &messages, QWidget *parent)
{
    try {
        Tfrm_Login dialog(session, engine, messages, parent);
        return dialog.exec() == QDialog::Accepted;
    } catch (const std::exception &e) {
        messages.ShowError(QStringLiteral("Ismeretlen hiba, indítsa újra a programot.\n") +
                           QString::fromUtf8(e.what()));
    }
    return false;
}
