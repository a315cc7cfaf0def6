#include "tfrm_adatbazisokbde_szerkeszt.h"

#include "engineerror.h"
#include "filedialogs.h"
#include "formbehaviour.h"
#include "messages.h"
#include "serveraddress.h"
#include "serverlogin.h"
#include "session.h"
#include "windowplacement.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("Tfrm_AdatbazisokBDE_Szerkeszt");

QLineEdit *Field(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(objectName);
    edit->setMaxLength(63); // the server's longest name
    return edit;
}

QLabel *LabelFor(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

Tfrm_AdatbazisokBDE_Szerkeszt::Tfrm_AdatbazisokBDE_Szerkeszt(Session &session, Messages &messages,
                                                             FileDialogs &fileDialogs, const QString &name,
                                                             const QString &folder, QWidget *parent)
    : QDialog(parent), m_session(session), m_messages(messages), m_fileDialogs(fileDialogs)
{
    setObjectName(Section);
    setWindowTitle(QStringLiteral("Adatbázis"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const std::optional<ServerAddress> server = ServerAddress::parse(folder);
    m_original = server ? server->toString() : folder;

    m_folderChoice = new QRadioButton(QStringLiteral("Mappa"), this);
    m_folderChoice->setObjectName(QStringLiteral("rbMappa"));
    m_serverChoice = new QRadioButton(QStringLiteral("Kiszolgáló"), this);
    m_serverChoice->setObjectName(QStringLiteral("rbKiszolgalo"));
    auto *kinds = new QButtonGroup(this);
    kinds->addButton(m_folderChoice);
    kinds->addButton(m_serverChoice);
    auto *kindRow = new QHBoxLayout;
    kindRow->addWidget(m_folderChoice);
    kindRow->addSpacing(16);
    kindRow->addWidget(m_serverChoice);
    kindRow->addStretch(1);

    auto *nameLabel = new QLabel(QStringLiteral("megjelenített név"), this);
    nameLabel->setObjectName(QStringLiteral("lNev"));
    m_name = new QLineEdit(name, this);
    m_name->setObjectName(QStringLiteral("adatbazis_nev"));
    m_name->setMaxLength(50);
    nameLabel->setBuddy(m_name);

    // A folder on this computer or on a share.
    m_folderPanel = new QWidget(this);
    auto *folderLabel = new QLabel(QStringLiteral("elérési útvonal"), m_folderPanel);
    folderLabel->setObjectName(QStringLiteral("lUtvonal"));
    m_folder = new QLineEdit(server ? QString() : folder, m_folderPanel);
    m_folder->setObjectName(QStringLiteral("utvonal"));
    m_folder->setMaxLength(255);
    folderLabel->setBuddy(m_folder);
    auto *browse = new QPushButton(QStringLiteral("..."), m_folderPanel);
    browse->setObjectName(QStringLiteral("btnTalloz"));
    browse->setToolTip(QStringLiteral("Mappa tallózása"));
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);
    auto *folderLayout = new QVBoxLayout(m_folderPanel);
    folderLayout->setContentsMargins(0, 0, 0, 0);
    folderLayout->setSpacing(4);
    folderLayout->addWidget(folderLabel);
    folderLayout->addLayout(folderRow);

    // A database on a PostgreSQL server, shared by several workstations.
    m_serverPanel = new QWidget(this);
    m_host = Field(QStringLiteral("edKiszolgalo"), server ? server->host : QString(), m_serverPanel);
    m_host->setMaxLength(255);
    m_host->setPlaceholderText(QStringLiteral("üresen: ez a számítógép"));
    m_port = Field(QStringLiteral("edPort"), server && server->port > 0 ? QString::number(server->port) : QString(),
                   m_serverPanel);
    m_port->setValidator(new QIntValidator(1, 65535, m_port));
    m_port->setPlaceholderText(QStringLiteral("5432"));
    m_database = Field(QStringLiteral("edAdatbazis"), server ? server->database : QString(), m_serverPanel);
    m_user = Field(QStringLiteral("edFelhasznalo"), server ? server->user : QString(), m_serverPanel);
    m_user->setPlaceholderText(QStringLiteral("üresen: a bejelentkezett felhasználó"));
    auto *passwordNote = new QLabel(QStringLiteral("A jelszót a program nem tárolja: a ~/.pgpass fájlból olvassa, "
                                                   "vagy megnyitáskor kéri."),
                                    m_serverPanel);
    passwordNote->setObjectName(QStringLiteral("lJelszo"));
    passwordNote->setWordWrap(true);
    auto *serverLayout = new QGridLayout(m_serverPanel);
    serverLayout->setContentsMargins(0, 0, 0, 0);
    serverLayout->setHorizontalSpacing(8);
    serverLayout->setVerticalSpacing(4);
    serverLayout->addWidget(LabelFor(QStringLiteral("kiszolgáló címe"), m_host, m_serverPanel), 0, 0);
    serverLayout->addWidget(m_host, 0, 1);
    serverLayout->addWidget(LabelFor(QStringLiteral("port"), m_port, m_serverPanel), 0, 2);
    serverLayout->addWidget(m_port, 0, 3);
    serverLayout->addWidget(LabelFor(QStringLiteral("adatbázis neve"), m_database, m_serverPanel), 1, 0);
    serverLayout->addWidget(m_database, 1, 1, 1, 3);
    serverLayout->addWidget(LabelFor(QStringLiteral("felhasználó"), m_user, m_serverPanel), 2, 0);
    serverLayout->addWidget(m_user, 2, 1, 1, 3);
    serverLayout->addWidget(passwordNote, 3, 0, 1, 4);
    serverLayout->setColumnStretch(1, 1);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    auto *cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("btnMegsem"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addLayout(kindRow);
    layout->addSpacing(8);
    layout->addWidget(nameLabel);
    layout->addWidget(m_name);
    layout->addSpacing(8);
    layout->addWidget(m_folderPanel);
    layout->addWidget(m_serverPanel);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browse, &QPushButton::clicked, this, &Tfrm_AdatbazisokBDE_Szerkeszt::browse);
    connect(ok, &QPushButton::clicked, this, &Tfrm_AdatbazisokBDE_Szerkeszt::okClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_serverChoice, &QRadioButton::toggled, this, &Tfrm_AdatbazisokBDE_Szerkeszt::showKind);

    ApplyFontSize(this, m_session.fontSize);
    // Room for a typical path; the browse button only as wide as its dots.
    m_folder->setMinimumWidth(m_folder->fontMetrics().averageCharWidth() * 64);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(browse->text()) + 24);
    m_port->setFixedWidth(m_port->fontMetrics().horizontalAdvance(QStringLiteral("655350")) + 16);
    // The form keeps its width when the choice changes.
    m_serverPanel->setMinimumWidth(m_folderPanel->sizeHint().width());
    PaintFocusedField(this);
    EnterMovesFocus(this);
    (server ? m_serverChoice : m_folderChoice)->setChecked(true);
    showKind();
    m_name->setFocus();
}

QString Tfrm_AdatbazisokBDE_Szerkeszt::name() const
{
    return m_name->text();
}

QString Tfrm_AdatbazisokBDE_Szerkeszt::folder() const
{
    if (serverChosen())
        return typedAddress().toString();
    const std::optional<ServerAddress> typed = ServerAddress::parse(m_folder->text());
    return typed ? typed->toString() : m_folder->text();
}

bool Tfrm_AdatbazisokBDE_Szerkeszt::serverChosen() const
{
    return m_serverChoice->isChecked();
}

ServerAddress Tfrm_AdatbazisokBDE_Szerkeszt::typedAddress() const
{
    ServerAddress address;
    address.host = m_host->text().trimmed();
    address.port = m_port->text().toInt();
    address.database = m_database->text().trimmed();
    address.user = m_user->text().trimmed();
    return address;
}

void Tfrm_AdatbazisokBDE_Szerkeszt::showKind()
{
    m_folderPanel->setVisible(!serverChosen());
    m_serverPanel->setVisible(serverChosen());
}

void Tfrm_AdatbazisokBDE_Szerkeszt::browse()
{
    const QString chosen = m_fileDialogs.ExistingFolder(QStringLiteral("Adatbázis mappa"), m_folder->text(), this);
    if (!chosen.isEmpty())
        m_folder->setText(chosen);
}

QString Tfrm_AdatbazisokBDE_Szerkeszt::serverFault(const QString &path) const
{
    if (serverChosen()) {
        if (m_database->text().trimmed().isEmpty())
            return QStringLiteral("Adja meg az adatbázis nevét a kiszolgálón.");
        if (!m_port->text().isEmpty() && m_port->text().toInt() < 1)
            return QStringLiteral("A port 1 és 65535 közötti szám, vagy üres (a kiszolgáló szokásos portja).");
    }
    if (ServerAddress::parse(path))
        return {};
    return QStringLiteral("Hibás kiszolgáló cím: %1\nA kiszolgáló, a felhasználó és az adatbázis neve nem "
                          "tartalmazhat szóközt, sem / @ : ? # % jelet; jelszó nem lehet a címben.\nA cím alakja: "
                          "postgresql://[felhasználó@]kiszolgáló[:port]/adatbázis")
        .arg(path.trimmed());
}

bool Tfrm_AdatbazisokBDE_Szerkeszt::connectionWorks(const QString &address)
{
    try {
        return CheckServerConnection(address, this);
    } catch (const EngineError &e) {
        m_messages.ShowError(QStringLiteral("Az adatbázis nem nyitható meg:\n") + e.message(), this);
        return false;
    }
}

void Tfrm_AdatbazisokBDE_Szerkeszt::okClicked()
{
    const QString path = folder();
    // The list stores "name;folder;" without escaping: a ";" would move the folder into the name.
    if (name().contains(QLatin1Char(';')) || path.contains(QLatin1Char(';'))) {
        m_messages.ShowError(
            QStringLiteral("A megjelenített név és az elérési útvonal nem tartalmazhat pontosvesszőt (;)."), this);
        return;
    }
    // An address typed into the folder field is a server entry as well.
    if (ServerAddress::isServerPath(path)) {
        const QString fault = serverFault(path);
        if (!fault.isEmpty()) {
            m_messages.ShowError(fault, this);
            return;
        }
        // Renaming an entry needs no server.
        if (ServerAddress::parse(path)->toString() != m_original && !connectionWorks(path))
            return;
    }
    accept();
}

void Tfrm_AdatbazisokBDE_Szerkeszt::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        RestoreWindowPos(this, m_session.ini, Section);
    }
    QDialog::showEvent(event);
}

void Tfrm_AdatbazisokBDE_Szerkeszt::done(int result)
{
    if (m_placed)
        StoreWindowPos(this, m_session.ini, Section);
    QDialog::done(result);
}
