#pragma once

#include <QDialog>
#include <QStringList>

class Messages;
class QListWidget;
class QPushButton;

// The database picker: one display name per line; OK accepts a line whose folder exists, or a server database.
class Tfrm_AdatbazisNyitBDE : public QDialog
{
    Q_OBJECT

public:
    Tfrm_AdatbazisNyitBDE(const QStringList &names, const QStringList &entries, const QString &caption,
                          Messages &messages, QWidget *parent = nullptr);

    // The accepted line, -1 while none is.
    int chosenIndex() const { return m_chosen; }

private:
    void okClicked();
    void lineDoubleClicked();

    QStringList m_entries;
    Messages &m_messages;
    QListWidget *m_list = nullptr;
    int m_chosen = -1;
};

// Shows the picker modally; the chosen index into entries, or -1 when cancelled.
int AdatbazisValaszt(const QStringList &names, const QStringList &entries, const QString &caption, Messages &messages,
                     QWidget *parent = nullptr);
