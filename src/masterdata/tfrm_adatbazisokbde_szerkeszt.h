#pragma once

#include <QDialog>

class FileDialogs;
class Messages;
class QLineEdit;
class QPushButton;
struct Session;

// Entry form of the database list: display name and folder, with a folder browser.
class Tfrm_AdatbazisokBDE_Szerkeszt : public QDialog
{
    Q_OBJECT

public:
    Tfrm_AdatbazisokBDE_Szerkeszt(Session &session, Messages &messages, FileDialogs &fileDialogs, const QString &name,
                                  const QString &folder, QWidget *parent = nullptr);

    QString name() const;
    QString folder() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void browse();
    void okClicked();

    Session &m_session;
    Messages &m_messages;
    FileDialogs &m_fileDialogs;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_folder = nullptr;
    bool m_placed = false;
};
