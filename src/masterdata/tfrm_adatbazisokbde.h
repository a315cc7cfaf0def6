#pragma once

#include "listwindow.h"

class DatabaseListModel;

// The database list editor: the ini's list of databases as rows, written back in display order whenever the
// window closes.
class Tfrm_AdatbazisokBDE : public ListWindow
{
    Q_OBJECT

public:
    explicit Tfrm_AdatbazisokBDE(Session &session, QWidget *parent = nullptr);

    DatabaseListModel *listModel() const { return m_rows; }
    QAction *testAction() const { return m_aTeszt; }
    QAction *archiveAction() const { return m_aArchival; }

    // Where "Bizt.mentés" proposes the archive; kept for the whole run, empty until the first use.
    static QString &archiveFolder();

public slots:
    void done(int result) override;

protected:
    void newRow() override;
    void editRow() override;
    void deleteRow() override;
    void headerClicked(int column) override;

private:
    void testFolder();
    void archive();

    DatabaseListModel *m_rows = nullptr;
    QAction *m_aTeszt = nullptr;
    QAction *m_aArchival = nullptr;
};

// "Adatbázisok" of the main window. The running program keeps the database it has open.
void AdatbazisListaSzerkeszt(Session &session, QWidget *parent = nullptr);
