#pragma once

#include "closingservices.h"
#include "sqllistwindow.h"

#include <memory>

class SqlExportSource;

// A read-only list over the database whose rows go out as they are shown: "Nyomtat" (print) and "Nyom.kép" as a
// grid print under the list's title, "Excelbe..." and "HTML export" through the services. Nothing here adds, edits
// or deletes a row. The subclass names the title and reads the rows; it lays out the toolbar with these actions.
class PrintableListWindow : public SqlListWindow
{
    Q_OBJECT

public:
    PrintableListWindow(Session &session, Engine &engine, Messages &messages, const QString &name, const QString &table,
                        const QString &keyField, ClosingServices services, QWidget *parent = nullptr);

    QAction *action(const QString &name) const;
    // The title of the printed and exported list.
    virtual QString listTitle() const = 0;
    // The list's rows read again by its statement, with the grid's titles, widths and formats.
    virtual std::shared_ptr<SqlExportSource> rows() const = 0;

protected:
    const ClosingServices &services() const { return m_services; }
    QAction *printAction() const { return m_print; }
    QAction *previewAction() const { return m_preview; }
    QAction *spreadsheetAction() const { return m_spreadsheet; }
    QAction *htmlAction() const { return m_html; }

private:
    void printGrid(bool print);

    ClosingServices m_services;
    QAction *m_print = nullptr;
    QAction *m_preview = nullptr;
    QAction *m_spreadsheet = nullptr;
    QAction *m_html = nullptr;
};
