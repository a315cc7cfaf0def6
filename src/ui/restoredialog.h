#pragma once

#include <QDialog>
#include <functional>

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
// choice, with nothing written.
class RestoreDialog : public QDialog
{
    Q_OBJECT

public:
    RestoreDialog(Session &session, AddRestoredDatabase addToList, Messages &messages, FileDialogs &fileDialogs,
                  QWidget *parent = nullptr);

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
    void report(const QString &folder, const QStringList &findings, bool listed);

    Session &m_session;
    AddRestoredDatabase m_addToList;
    Messages &m_messages;
    FileDialogs &m_fileDialogs;
    QLineEdit *m_archive = nullptr;
    QLineEdit *m_folder = nullptr;
    QLineEdit *m_name = nullptr;
    QString m_proposedName;
    bool m_placed = false;
};

// Opens the dialog; true when an archive was restored.
bool RestoreFromArchive(Session &session, const AddRestoredDatabase &addToList, Messages &messages,
                        FileDialogs &fileDialogs, QWidget *parent = nullptr);
