#include "passworddialog.h"

#include "formbehaviour.h"
#include "serveraddress.h"
#include "workarea.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The role libpq logs in as when the address names none.
QString RoleName(const ServerAddress &address)
{
    if (!address.user.isEmpty())
        return address.user;
    return qEnvironmentVariable("PGUSER", qEnvironmentVariable("USER"));
}

} // namespace

PasswordDialog::PasswordDialog(const ServerAddress &address, bool again, QWidget *parent)
    : QDialog(parent), m_password(new QLineEdit(this))
{
    setObjectName(QStringLiteral("PasswordDialog"));
    setWindowTitle(QStringLiteral("Jelszó"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *prompt = new QLabel(QStringLiteral("Az adatbázis-kiszolgáló jelszót kér."), this);
    prompt->setObjectName(QStringLiteral("lblKerdes"));
    auto *fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    auto *database = new QLabel(address.displayName(), this);
    database->setObjectName(QStringLiteral("lblAdatbazis"));
    fields->addRow(QStringLiteral("Adatbázis:"), database);
    const QString role = RoleName(address);
    if (!role.isEmpty()) {
        auto *user = new QLabel(role, this);
        user->setObjectName(QStringLiteral("lblFelhasznalo"));
        fields->addRow(QStringLiteral("Felhasználó:"), user);
    }
    m_password->setObjectName(QStringLiteral("edJelszo"));
    m_password->setEchoMode(QLineEdit::Password);
    fields->addRow(QStringLiteral("Jelszó:"), m_password);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    if (again) {
        auto *refused = new QLabel(QStringLiteral("A kiszolgáló nem fogadta el a jelszót. Próbálja újra."), this);
        refused->setObjectName(QStringLiteral("lblHiba"));
        refused->setStyleSheet(QStringLiteral("color: rgb(176, 0, 0);"));
        layout->addWidget(refused);
    }
    layout->addSpacing(4);
    layout->addLayout(fields);
    layout->addSpacing(8);
    const OkCancelRow buttons = OkCancelButtons(this);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_password->setMinimumWidth(fontMetrics().averageCharWidth() * 32);
    PaintFocusedField(this);
    KeepAccentsWhole(this);
    m_password->setFocus();

    adjustSize();
    const QRect area = WorkArea();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

QString PasswordDialog::password() const
{
    return m_password->text();
}
