#include "tfrm_adatbazisokbde_szerkeszt.h"

#include "filedialogs.h"
#include "formbehaviour.h"
#include "messages.h"
#include "session.h"
#include "windowplacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("Tfrm_AdatbazisokBDE_Szerkeszt");

} // namespace

Tfrm_AdatbazisokBDE_Szerkeszt::Tfrm_AdatbazisokBDE_Szerkeszt(Session &session, Messages &messages,
                                                             FileDialogs &fileDialogs, const QString &name,
                                                             const QString &folder, QWidget *parent)
    : QDialog(parent), m_session(session), m_messages(messages), m_fileDialogs(fileDialogs)
{
    setObjectName(Section);
    setWindowTitle(QStringLiteral("Adatbázis"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *nameLabel = new QLabel(QStringLiteral("megjelenített név"), this);
    nameLabel->setObjectName(QStringLiteral("lNev"));
    m_name = new QLineEdit(name, this);
    m_name->setObjectName(QStringLiteral("adatbazis_nev"));
    m_name->setMaxLength(50);
    nameLabel->setBuddy(m_name);

    auto *folderLabel = new QLabel(QStringLiteral("elérési útvonal"), this);
    folderLabel->setObjectName(QStringLiteral("lUtvonal"));
    m_folder = new QLineEdit(folder, this);
    m_folder->setObjectName(QStringLiteral("utvonal"));
    m_folder->setMaxLength(255);
    folderLabel->setBuddy(m_folder);
    auto *browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("btnTalloz"));
    browse->setToolTip(QStringLiteral("Mappa tallózása"));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    auto *cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("btnMegsem"));
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addWidget(nameLabel);
    layout->addWidget(m_name);
    layout->addSpacing(8);
    layout->addWidget(folderLabel);
    layout->addLayout(folderRow);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browse, &QPushButton::clicked, this, &Tfrm_AdatbazisokBDE_Szerkeszt::browse);
    connect(ok, &QPushButton::clicked, this, &Tfrm_AdatbazisokBDE_Szerkeszt::okClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    ApplyFontSize(this, m_session.fontSize);
    // Room for a typical path; the browse button only as wide as its dots.
    m_folder->setMinimumWidth(m_folder->fontMetrics().averageCharWidth() * 64);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(browse->text()) + 24);
    PaintFocusedField(this);
    EnterMovesFocus(this);
    m_name->setFocus();
}

QString Tfrm_AdatbazisokBDE_Szerkeszt::name() const
{
    return m_name->text();
}

QString Tfrm_AdatbazisokBDE_Szerkeszt::folder() const
{
    return m_folder->text();
}

void Tfrm_AdatbazisokBDE_Szerkeszt::browse()
{
    const QString chosen = m_fileDialogs.ExistingFolder(QStringLiteral("Adatbázis mappa"), m_folder->text(), this);
    if (!chosen.isEmpty())
        m_folder->setText(chosen);
}

void Tfrm_AdatbazisokBDE_Szerkeszt::okClicked()
{
    // The list stores "name;folder;" without escaping: a ";" would move the folder into the name.
    if (name().contains(QLatin1Char(';')) || folder().contains(QLatin1Char(';'))) {
        m_messages.ShowError(
            QStringLiteral("A megjelenített név és az elérési útvonal nem tartalmazhat pontosvesszőt (;)."), this);
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
