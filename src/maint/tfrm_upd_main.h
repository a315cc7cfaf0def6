#pragma once

#include "maintenancedatabase.h"
#include "maintenanceprogress.h"

#include <QDialog>
#include <QHash>
#include <optional>

class FileDialogs;
class IniFile;
class Messages;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The maintenance program's one window: the database folder (from the shared ini file, or picked from the
// database list), the index rebuild ("Karbantartás"), the upgrade followed by the rebuild ("Verzióváltás"), the
// ledger check ("Ellenőrzés", its report savable as a text file), the import of an old Paradox database
// ("Régi adatbázis átvétele") and the move of a ledger between a folder and a server database ("Áthelyezés").
// The folder box may hold a server address (postgresql://…) instead of a folder. The window writes nothing to the
// ini file except the new database that an import or a move adds to the database list. A server that asks for a
// password gets it in the "Jelszó" window; the window keeps it in memory for the run, and nowhere else.
class Tfrm_Upd_Main : public QDialog
{
    Q_OBJECT

public:
    Tfrm_Upd_Main(Messages &messages, FileDialogs &fileDialogs, QWidget *parent = nullptr);

    QString folder() const;
    void setFolder(const QString &folder);

    void aKarbantartas();
    void aVerziovaltas();
    void aValaszt();
    void aEllenorzes();
    void aAtvetel();
    void aMentes();
    // Moves the ledger of the folder box's database to a database on a server, or from a server into a folder.
    void aAthelyezes();

private:
    // The folder box at start: Database/Path, else field 2 of Adatbazis/ConStr1, else the Data folder.
    static QString StartFolder(const IniFile &ini);
    // Opens the folder's database, asking a server's password while the server refuses it; says why and returns
    // false when it cannot, or when the user gave up at the password.
    bool openDatabase(MaintenanceDatabase &database, MaintenanceDatabase::Access access);
    // The password of a server database as the run holds it, asked when the server refuses it (PasswordFor); empty
    // for a folder or when libpq has its own. Nothing when the user gave up.
    std::optional<QString> passwordFor(const QString &database);
    // The index rebuild, after the upgrade when asked for.
    void maintain(bool upgradeFirst);
    MaintenanceProgress progress();
    void showText(const QStringList &lines, bool savable);
    // The report of a database the window wrote (imported, moved): the heading lines, the check's result, the
    // tables' lines and the check's findings.
    void showWritten(QStringList lines, const QStringList &report, const QStringList &findings);
    void finish();
    // The move button says where the folder box's database would go.
    void nameMove();
    // Where the move goes: an empty folder, or the address of a server database; empty when cancelled.
    QString moveTarget(bool toServer);
    // Puts a database the program made (imported, moved) on the database list of the ini file, unless it is there
    // already; the sentence that tells the user under which name, empty when it was not added (the user has been
    // told why).
    QString listDatabase(const QString &database, const QString &label);

    Messages &m_messages;
    FileDialogs &m_fileDialogs;
    QLineEdit *m_folder = nullptr;
    QPlainTextEdit *m_text = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_move = nullptr;
    QList<QPushButton *> m_actions;
    // The passwords typed in this run, by server address.
    QHash<QString, QString> m_passwords;
};
