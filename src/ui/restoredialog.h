#pragma once

#include <QDialog>
#include <functional>
#include <optional>

class FileDialogs;
class Messages;
class QLineEdit;
class QPushButton;
struct Session;

// Puts the restored database on the database list; false when it could not (the user has been told why).
using AddRestoredDatabase = std::function<bool(const QString &name, const QString &folder)>;

// "Visszaállítás archívumból": an archive the program made, an empty folder for it and its name on the database
// list. "Visszaállítás" unpacks and checks it (RestoreArchive), never into the folder of the database the session
// has open, hands it to the list and reports the check; a refusal is told and the dialog stays open for another
// choice, with nothing written. A server database as the target is reached with the password held for the open
// database when both are the same role's on the same server, else with libpq's own; a server that refuses it has
// the password asked ("Jelszó").
class RestoreDialog : public QDialog
{
    Q_OBJECT

public:
    // heldPassword: the one the open database was opened with (empty: libpq's own).
    RestoreDialog(Session &session, AddRestoredDatabase addToList, Messages &messages, FileDialogs &fileDialogs,
                  QWidget *parent = nullptr, const QString &heldPassword = QString());

    QString archive() const;
    QString folder() const;
    QString name() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void browseArchive();
    void browseFolder();
    void restore();
    bool missing(QLineEdit *field, const QString &text);
    // The password for a server target; nothing when the user gave up at the password.
    std::optional<QString> targetPassword();
    void report(const QString &folder, const QStringList &findings, bool listed);

    Session &m_session;
    AddRestoredDatabase m_addToList;
    Messages &m_messages;
    FileDialogs &m_fileDialogs;
    QLineEdit *m_archive = nullptr;
    QLineEdit *m_folder = nullptr;
    QLineEdit *m_name = nullptr;
    QString m_proposedName;
    QString m_heldPassword;
    bool m_placed = false;
};

// Opens the dialog; true when an archive was restored.
bool RestoreFromArchive(Session &session, const AddRestoredDatabase &addToList, Messages &messages,
                        FileDialogs &fileDialogs, QWidget *parent = nullptr, const QString &heldPassword = QString());
