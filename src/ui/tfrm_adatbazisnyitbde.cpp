#include "tfrm_adatbazisnyitbde.h"

#include "dblist.h"
#include "messages.h"
#include "serveraddress.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

Tfrm_AdatbazisNyitBDE::Tfrm_AdatbazisNyitBDE(const QStringList &names, const QStringList &entries,
                                             const QString &caption, Messages &messages, QWidget *parent)
    : QDialog(parent), m_entries(entries), m_messages(messages)
{
    setObjectName(QStringLiteral("Tfrm_AdatbazisNyitBDE"));
    setWindowTitle(caption);

    auto *label = new QLabel(QStringLiteral("Válassza ki a megnyitandó adatbázist:"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ListBox1"));
    m_list->addItems(names);
    // The name is the user's own; where it leads shows on pointing at it.
    for (int row = 0; row < m_list->count() && row < m_entries.size(); ++row)
        m_list->item(row)->setToolTip(DatabaseList::PlaceText(DatabaseList::EntryFolder(m_entries.at(row))));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    label->setBuddy(m_list);

    auto *buttons = new QDialogButtonBox(this);
    auto *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto *cancel = buttons->addButton(QStringLiteral("Mégsem"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnMegsem"));
    // The box's own accepted() would close the dialog before the folder is checked.
    disconnect(buttons, nullptr, this, nullptr);
    connect(ok, &QPushButton::clicked, this, &Tfrm_AdatbazisNyitBDE::okClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &Tfrm_AdatbazisNyitBDE::lineDoubleClicked);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(420, 260);

    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    m_list->setFocus();
}

void Tfrm_AdatbazisNyitBDE::okClicked()
{
    const int row = m_list->currentRow();
    if (row < 0 || !m_list->item(row)->isSelected())
        return;
    const QString folder = row < m_entries.size() ? DatabaseList::EntryFolder(m_entries.at(row)) : QString();
    // A server database is checked by opening it, which tells why it failed.
    if (!ServerAddress::isServerPath(folder) && (folder.isEmpty() || !QFileInfo(folder).isDir())) {
        m_messages.ShowError(QStringLiteral("Nem létező adatbázis mappa"), this);
        return;
    }
    m_chosen = row;
    accept();
}

// Accepts without looking at the folder: only OK checks it.
void Tfrm_AdatbazisNyitBDE::lineDoubleClicked()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    m_chosen = row;
    accept();
}

int AdatbazisValaszt(const QStringList &names, const QStringList &entries, const QString &caption, Messages &messages,
                     QWidget *parent)
{
    Tfrm_AdatbazisNyitBDE form(names, entries, caption, messages, parent);
    return form.exec() == QDialog::Accepted ? form.chosenIndex() : -1;
}
