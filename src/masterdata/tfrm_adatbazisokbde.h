#pragma once

#include "listwindow.h"

class DatabaseListModel;
class FileDialogs;
class Messages;

// The database list editor: the ini's list of databases as rows, written back in display order whenever the
// window closes.
class Tfrm_AdatbazisokBDE : public ListWindow
{
    Q_OBJECT

public:
    Tfrm_AdatbazisokBDE(Session &session, Messages &messages, FileDialogs &fileDialogs, QWidget *parent = nullptr);

    DatabaseListModel *listModel() const { return m_rows; }
    QAction *testAction() const { return m_aTeszt; }
    QAction *archiveAction() const { return m_aArchival; }
    QAction *restoreAction() const { return m_aVisszaallit; }

public slots:
    void done(int result) override;

protected:
    void newRow() override;
    void editRow() override;
    void deleteRow() override;
    void headerClicked(int column) override;

private:
    void testFolder();
    void testServer(const QString &address);
    void archive();
    void restoreArchive();
    void addRow(const QString &name, const QString &folder);

    Messages &m_messages;
    FileDialogs &m_fileDialogs;
    DatabaseListModel *m_rows = nullptr;
    QAction *m_aTeszt = nullptr;
    QAction *m_aArchival = nullptr;
    QAction *m_aVisszaallit = nullptr;
};

// "Adatbázisok" of the main window. The running program keeps the database it has open.
void AdatbazisListaSzerkeszt(Session &session, Messages &messages, FileDialogs &fileDialogs, QWidget *parent = nullptr);
