#include "printablelistwindow.h"

#include "gridprinting.h"
#include "sqlexportsource.h"

#include <QAction>

PrintableListWindow::PrintableListWindow(Session &session, Engine &engine, Messages &messages, const QString &name,
                                         const QString &table, const QString &keyField, ClosingServices services,
                                         QWidget *parent)
    : SqlListWindow(session, engine, messages, name, table, keyField, parent), m_services(std::move(services))
{
    setSearchVisible(false);
    for (QAction *a : {newAction(), editAction(), deleteAction(), acceptAction()})
        a->setEnabled(false);

    m_print = addListAction("aNyomtat", QStringLiteral("Nyomtat"), {}, QKeySequence(Qt::CTRL | Qt::Key_P),
                            "document-print", [this] { printGrid(true); });
    m_preview =
        addListAction("aNyomtatKep", QStringLiteral("Nyom.kép"), QStringLiteral("Nyomtatási kép"),
                      QKeySequence(Qt::CTRL | Qt::Key_K), "document-print-preview", [this] { printGrid(false); });
    m_spreadsheet = addListAction("aExcelbe", QStringLiteral("Excelbe..."), {}, QKeySequence(Qt::CTRL | Qt::Key_E),
                                  "x-office-spreadsheet", [this] {
                                      const auto source = rows();
                                      m_services.exportRows(*source, this);
                                  });
    m_html = addListAction("aHtml", QStringLiteral("HTML export"), {}, QKeySequence(Qt::CTRL | Qt::Key_H), "text-html",
                           [this] {
                               const auto source = rows();
                               m_services.exportHtml(*source, listTitle(), this);
                           });
}

QAction *PrintableListWindow::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

void PrintableListWindow::printGrid(bool print)
{
    GridPrintOptions options;
    options.title = listTitle();
    GridNyomtat(rows(), print, options, m_services.reports, this);
}
