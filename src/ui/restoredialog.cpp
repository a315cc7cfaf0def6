#include "restoredialog.h"

#include "archivedialog.h"
#include "archiveerror.h"
#include "filedialogs.h"
#include "formbehaviour.h"
#include "ledgercheck.h"
#include "messages.h"
#include "restore.h"
#include "serveraddress.h"
#include "serverlogin.h"
#include "session.h"
#include "util.h"
#include "windowplacement.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("RestoreDialog");
// Findings shown in the message; the maintenance program's check gives them all.
constexpr int ShownFindings = 10;

QPushButton *BrowseButton(const char *name, const QString &hint, QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

} // namespace

RestoreDialog::RestoreDialog(Session &session, AddRestoredDatabase addToList, Messages &messages,
                             FileDialogs &fileDialogs, QWidget *parent, const QString &heldPassword)
    : QDialog(parent), m_session(session), m_addToList(std::move(addToList)), m_messages(messages),
      m_fileDialogs(fileDialogs), m_heldPassword(heldPassword)
{
    setObjectName(Section);
    setWindowTitle(QStringLiteral("Visszaállítás archívumból"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *intro = new QLabel(QStringLiteral("A programmal készült adatbázis-archívumot (zip) egy üres mappába bontja "
                                            "ki, ellenőrzi, és felveszi az adatbázisok listájára. A megnyitott "
                                            "adatbázis nem változik. Kiszolgálón lévő adatbázis archívuma a "
                                            "kiszolgáló egy üres adatbázisába kerül: ekkor a mappa helyére annak "
                                            "címét írja (postgresql://kiszolgáló/adatbázis)."),
                             this);
    intro->setObjectName(QStringLiteral("lLeiras"));
    intro->setWordWrap(true);

    // Made in the order of the screen, which is the Tab order.
    m_archive = new QLineEdit(this);
    m_archive->setObjectName(QStringLiteral("edArchivum"));
    auto *browseArchive = BrowseButton("btnArchivum", QStringLiteral("Archívum tallózása"), this);
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("edMappa"));
    m_folder->setMaxLength(255);
    auto *browseFolder = BrowseButton("btnMappa", QStringLiteral("Mappa tallózása"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edNev"));
    m_name->setMaxLength(50);

    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(4);
    const auto addRow = [&](int row, const QString &caption, const char *name, QLineEdit *edit, QPushButton *button) {
        auto *label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setBuddy(edit);
        fields->addWidget(label, row, 0);
        fields->addWidget(edit, row, 1);
        if (button)
            fields->addWidget(button, row, 2);
    };
    addRow(0, QStringLiteral("archívum (zip)"), "lArchivum", m_archive, browseArchive);
    addRow(1, QStringLiteral("új mappa (üres)"), "lMappa", m_folder, browseFolder);
    addRow(2, QStringLiteral("név a listán"), "lNev", m_name, nullptr);
    fields->setColumnStretch(1, 1);

    const OkCancelRow buttons = OkCancelButtons(this);
    buttons.ok->setText(QStringLiteral("Visszaállítás"));

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(6);
    layout->addWidget(intro);
    layout->addSpacing(4);
    layout->addLayout(fields);
    layout->addSpacing(10);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browseArchive, &QPushButton::clicked, this, &RestoreDialog::browseArchive);
    connect(browseFolder, &QPushButton::clicked, this, &RestoreDialog::browseFolder);
    connect(buttons.ok, &QPushButton::clicked, this, &RestoreDialog::restore);

    ApplyFontSize(this, m_session.fontSize);
    // Room for a typical path; the browse buttons only as wide as their dots.
    m_archive->setMinimumWidth(m_archive->fontMetrics().averageCharWidth() * 64);
    for (QPushButton *button : {browseArchive, browseFolder})
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);
    intro->setMaximumWidth(m_archive->minimumWidth() + 160);
    PaintFocusedField(this);
    EnterMovesFocus(this);
    m_archive->setFocus();
}

QString RestoreDialog::archive() const
{
    return m_archive->text();
}

QString RestoreDialog::folder() const
{
    return m_folder->text();
}

QString RestoreDialog::name() const
{
    return m_name->text();
}

void RestoreDialog::browseArchive()
{
    const QString start = archive().isEmpty() ? DefaultArchiveFolder() : QFileInfo(archive()).absolutePath();
    const QString chosen = m_fileDialogs.OpenFileName(QStringLiteral("Archívum választása"), start,
                                                      QStringLiteral("ZIP archívumok (*.zip)"), this);
    if (chosen.isEmpty())
        return;
    m_archive->setText(QDir::toNativeSeparators(chosen));
    // A name the user typed stays; the one proposed for the previous archive follows the new one.
    if (name().isEmpty() || name() == m_proposedName) {
        m_proposedName = QStringLiteral("Visszaállított adatbázis (%1)").arg(QFileInfo(chosen).completeBaseName());
        m_name->setText(m_proposedName);
    }
}

void RestoreDialog::browseFolder()
{
    const QString start = folder().isEmpty() ? DataFolder() : folder();
    const QString chosen =
        m_fileDialogs.ExistingFolder(QStringLiteral("Az adatbázis új mappája (üres mappa)"), start, this);
    if (!chosen.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(chosen));
}

bool RestoreDialog::missing(QLineEdit *field, const QString &text)
{
    if (!field->text().trimmed().isEmpty())
        return false;
    m_messages.ShowError(text, this);
    field->setFocus();
    return true;
}

void RestoreDialog::restore()
{
    if (missing(m_archive, QStringLiteral("Válassza ki a visszaállítandó archívumot.")) ||
        missing(m_folder, QStringLiteral("Válassza ki az új adatbázis mappáját (üres mappa).")) ||
        missing(m_name, QStringLiteral("Adja meg, milyen néven kerüljön az adatbázis a listára.")))
        return;
    // The list stores "name;folder;" without escaping: a ";" would move the folder into the name.
    if (name().contains(QLatin1Char(';')) || folder().contains(QLatin1Char(';'))) {
        m_messages.ShowError(
            QStringLiteral("A megjelenített név és az elérési útvonal nem tartalmazhat pontosvesszőt (;)."), this);
        return;
    }
    const std::optional<QString> password = targetPassword();
    if (!password)
        return;
    RestoreResult result;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        result = RestoreArchive(archive(), folder(), m_session.databaseFolder, *password);
    } catch (const ArchiveError &e) {
        QApplication::restoreOverrideCursor();
        m_messages.ShowError(e.message() + (ServerAddress::isServerPath(folder())
                                                ? QStringLiteral("\n\nA cél adatbázis nem változott.")
                                                : QStringLiteral("\n\nA cél mappába nem került semmi.")),
                             this);
        return;
    }
    QApplication::restoreOverrideCursor();
    const std::optional<ServerAddress> server = ServerAddress::parse(folder());
    const QString restored =
        server ? server->toString() : QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(folder()).absoluteFilePath()));
    const bool listed = m_addToList(name(), restored);
    report(restored, result.findings, listed);
    accept();
}

std::optional<QString> RestoreDialog::targetPassword()
{
    const std::optional<ServerAddress> target = ServerAddress::parse(folder());
    if (!target)
        return QString();
    // A password belongs to a role on a server.
    const std::optional<ServerAddress> open = ServerAddress::parse(m_session.databaseFolder);
    const bool sameRole =
        open && open->host == target->host && open->port == target->port && open->user == target->user;
    return PasswordFor(target->toString(), sameRole ? m_heldPassword : QString(), this);
}

void RestoreDialog::report(const QString &folder, const QStringList &findings, bool listed)
{
    const QString where = QStringLiteral("%1: %2\nEllenőrzés: %3")
                              .arg(ServerAddress::isServerPath(folder) ? QStringLiteral("Az adatbázis")
                                                                       : QStringLiteral("Az adatbázis mappája"),
                                   folder, LedgerCheck::summary(findings));
    const QString list =
        listed ? QStringLiteral("\nAz adatbázis „%1” néven felkerült az adatbázisok listájára.").arg(name())
               : QString();
    if (findings.isEmpty()) {
        m_messages.ShowInfo(QStringLiteral("Az archívum visszaállítása kész.\n") + where + list, this);
        return;
    }
    QStringList shown = findings.mid(0, ShownFindings);
    if (findings.size() > ShownFindings)
        shown.append(QStringLiteral("… és további %1 hiba.").arg(findings.size() - ShownFindings));
    m_messages.ShowWarning(QStringLiteral("Az archívum visszaállítása kész, de az ellenőrzés hibát talált a "
                                          "könyvelésben (az archívum így őrizte meg).\n") +
                               where + QStringLiteral("\n\n") + shown.join(QLatin1Char('\n')) +
                               QStringLiteral("\n\nA teljes jelentést a karbantartó program „Ellenőrzés” gombja "
                                              "adja.") +
                               list,
                           this);
}

void RestoreDialog::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        RestoreWindowPos(this, m_session.ini, Section);
    }
    QDialog::showEvent(event);
}

void RestoreDialog::done(int result)
{
    if (m_placed)
        StoreWindowPos(this, m_session.ini, Section);
    QDialog::done(result);
}

bool RestoreFromArchive(Session &session, const AddRestoredDatabase &addToList, Messages &messages,
                        FileDialogs &fileDialogs, QWidget *parent, const QString &heldPassword)
{
    RestoreDialog dialog(session, addToList, messages, fileDialogs, parent, heldPassword);
    return dialog.exec() == QDialog::Accepted;
}
