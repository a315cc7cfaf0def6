#pragma once

#include <QDialog>

class FileDialogs;
class Messages;
class QLineEdit;
class QRadioButton;
class QWidget;
struct ServerAddress;
struct Session;

// Entry form of the database list: display name, and either a folder (with a folder browser) or a database on a
// server (address, port, database, user). A server entry's connection is checked on OK; its password is never
// part of the entry.
class Tfrm_AdatbazisokBDE_Szerkeszt : public QDialog
{
    Q_OBJECT

public:
    Tfrm_AdatbazisokBDE_Szerkeszt(Session &session, Messages &messages, FileDialogs &fileDialogs, const QString &name,
                                  const QString &folder, QWidget *parent = nullptr);

    QString name() const;
    // The entry's path: the folder, or the server address postgresql://[user@]host[:port]/dbname.
    QString folder() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void browse();
    void okClicked();
    void showKind();
    bool serverChosen() const;
    // The address the server fields make, checked or not.
    ServerAddress typedAddress() const;
    // What is wrong with a server entry's fields or address, empty when nothing.
    QString serverFault(const QString &path) const;
    bool connectionWorks(const QString &address);

    Session &m_session;
    Messages &m_messages;
    FileDialogs &m_fileDialogs;
    // The path the form was opened with, as an address when it is one: an unchanged server is not checked again.
    QString m_original;
    QLineEdit *m_name = nullptr;
    QRadioButton *m_folderChoice = nullptr;
    QRadioButton *m_serverChoice = nullptr;
    QWidget *m_folderPanel = nullptr;
    QWidget *m_serverPanel = nullptr;
    QLineEdit *m_folder = nullptr;
    QLineEdit *m_host = nullptr;
    QLineEdit *m_port = nullptr;
    QLineEdit *m_database = nullptr;
    QLineEdit *m_user = nullptr;
    bool m_placed = false;
};
