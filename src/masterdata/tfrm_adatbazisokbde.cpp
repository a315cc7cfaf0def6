#include "tfrm_adatbazisokbde.h"

#include "archivedialog.h"
#include "databaselistmodel.h"
#include "dblist.h"
#include "engineerror.h"
#include "messages.h"
#include "restoredialog.h"
#include "serveraddress.h"
#include "serverlogin.h"
#include "session.h"
#include "tfrm_adatbazisokbde_szerkeszt.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStyle>
#include <QToolBar>

namespace {

QAction *ActionNamed(const QList<QAction *> &actions, const QString &name)
{
    for (QAction *action : actions)
        if (action->objectName() == name)
            return action;
    return nullptr;
}

} // namespace

Tfrm_AdatbazisokBDE::Tfrm_AdatbazisokBDE(Session &session, Messages &messages, FileDialogs &fileDialogs,
                                         QWidget *parent)
    : ListWindow(session, QStringLiteral("Tfrm_AdatbazisokBDE"), parent), m_messages(messages),
      m_fileDialogs(fileDialogs)
{
    setWindowTitle(QStringLiteral("Adatbázisok"));
    newAction()->setText(QStringLiteral("Új"));

    m_aTeszt = new QAction(QStringLiteral("Teszt"), this);
    m_aTeszt->setObjectName(QStringLiteral("aTeszt"));
    m_aTeszt->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    m_aTeszt->setIcon(QIcon::fromTheme(QStringLiteral("dialog-ok-apply"),
                                       QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton)));
    m_aArchival = new QAction(QStringLiteral("Bizt.mentés"), this);
    m_aArchival->setObjectName(QStringLiteral("aArchival"));
    m_aArchival->setToolTip(QStringLiteral("Biztonsági mentés"));
    m_aArchival->setStatusTip(QStringLiteral("Biztonsági mentés"));
    m_aArchival->setIcon(QIcon::fromTheme(QStringLiteral("document-save"),
                                          QApplication::style()->standardIcon(QStyle::SP_DialogSaveButton)));
    m_aVisszaallit = new QAction(QStringLiteral("Visszaállítás archívumból"), this);
    m_aVisszaallit->setObjectName(QStringLiteral("aVisszaallit"));
    m_aVisszaallit->setIconText(QStringLiteral("Visszaállítás"));
    m_aVisszaallit->setToolTip(m_aVisszaallit->text());
    m_aVisszaallit->setIcon(QIcon::fromTheme(QStringLiteral("archive-extract"),
                                             QApplication::style()->standardIcon(QStyle::SP_DialogOpenButton)));
    const QList<QAction *> rowActions{m_aTeszt, m_aArchival, m_aVisszaallit};
    for (QAction *action : rowActions) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    toolBar()->insertActions(ActionNamed(toolBar()->actions(), QStringLiteral("tbSep1")), rowActions);
    popupMenu()->insertActions(ActionNamed(popupMenu()->actions(), QStringLiteral("pmSep1")), rowActions);
    connect(m_aTeszt, &QAction::triggered, this, &Tfrm_AdatbazisokBDE::testFolder);
    connect(m_aArchival, &QAction::triggered, this, &Tfrm_AdatbazisokBDE::archive);
    connect(m_aVisszaallit, &QAction::triggered, this, &Tfrm_AdatbazisokBDE::restoreArchive);

    m_rows = new DatabaseListModel(this);
    m_rows->setEntries(DatabaseList::Read(session.ini));
    m_rows->sortBy(DatabaseListModel::NameColumn);
    setModel(m_rows);
    setSearchColumn(DatabaseListModel::NameColumn);
    setColumnFactors({0.23, 0.77});
    setCurrentRow(0);
    // Wide enough for every button of the tool bar, and for the usual folder paths.
    resize(700, 420);
}

void Tfrm_AdatbazisokBDE::newRow()
{
    Tfrm_AdatbazisokBDE_Szerkeszt form(session(), m_messages, m_fileDialogs, QString(), QString(), this);
    if (form.exec() == QDialog::Accepted)
        addRow(form.name(), form.folder());
}

void Tfrm_AdatbazisokBDE::addRow(const QString &name, const QString &folder)
{
    setCurrentRow(m_rows->appendRow(name, folder));
    // The cursor goes with the row to its sorted place.
    m_rows->sortBy(m_rows->sortColumn());
    updateRecordPosition();
}

void Tfrm_AdatbazisokBDE::editRow()
{
    const int row = currentRow();
    Tfrm_AdatbazisokBDE_Szerkeszt form(session(), m_messages, m_fileDialogs, m_rows->row(row).name,
                                       m_rows->row(row).folder, this);
    if (form.exec() != QDialog::Accepted)
        return;
    m_rows->setRow(row, form.name(), form.folder());
    m_rows->sortBy(m_rows->sortColumn());
    updateRecordPosition();
}

void Tfrm_AdatbazisokBDE::deleteRow()
{
    const int row = currentRow();
    if (!m_messages.AskYesNo(QStringLiteral("Valóban töröljem az adatbázist a listából?"),
                             QStringLiteral("Megerősítés"), this))
        return;
    m_rows->removeRowAt(row);
    setCurrentRow(qMin(row, m_rows->rowCount() - 1));
    updateRecordPosition();
}

void Tfrm_AdatbazisokBDE::headerClicked(int column)
{
    m_rows->sortBy(column);
    updateRecordPosition();
}

void Tfrm_AdatbazisokBDE::testFolder()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QString path = m_rows->row(row).folder;
    if (ServerAddress::isServerPath(path)) {
        testServer(path);
        return;
    }
    if (QFileInfo(path).isDir())
        m_messages.ShowInfo(QStringLiteral("Adatbázis mappa elérhető"), this);
    else
        m_messages.ShowError(QStringLiteral("Nem létező adatbázis mappa"), this);
}

void Tfrm_AdatbazisokBDE::testServer(const QString &address)
{
    try {
        if (CheckServerConnection(address, this))
            m_messages.ShowInfo(QStringLiteral("Az adatbázis elérhető a kiszolgálón"), this);
    } catch (const EngineError &e) {
        m_messages.ShowError(QStringLiteral("Az adatbázis nem nyitható meg:\n") + e.message(), this);
    }
}

void Tfrm_AdatbazisokBDE::archive()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QString folder = m_rows->row(row).folder;
    if (const std::optional<QString> password = PasswordFor(folder, QString(), this))
        ArchiveListEntry(folder, session().archiveFolder, session().ini, session().iniPath, m_messages, m_fileDialogs,
                         this, *password);
}

// The restored database joins the rows, written with them when the window closes.
void Tfrm_AdatbazisokBDE::restoreArchive()
{
    RestoreFromArchive(
        session(),
        [this](const QString &name, const QString &folder) {
            addRow(name, folder);
            return true;
        },
        m_messages, m_fileDialogs, this);
}

void Tfrm_AdatbazisokBDE::done(int result)
{
    DatabaseList::Write(session().ini, m_rows->entries());
    ListWindow::done(result);
    if (!session().SaveIni())
        m_messages.ShowError(
            QStringLiteral("A beállítófájl nem írható: %1").arg(QDir::toNativeSeparators(session().iniPath)),
            parentWidget());
}

void AdatbazisListaSzerkeszt(Session &session, Messages &messages, FileDialogs &fileDialogs, QWidget *parent)
{
    Tfrm_AdatbazisokBDE form(session, messages, fileDialogs, parent);
    form.exec();
}
