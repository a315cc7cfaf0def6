#include "tfrm_naplezar.h"

#include "dayclosing.h"
#include "gridprinting.h"
#include "listquerymodel.h"
#include "reportprinting.h"
#include "session.h"
#include "sqlexportsource.h"
#include "util.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString Caption = QStringLiteral("Lezárt napok");
const QString Number = QStringLiteral("zarbizonylat");

} // namespace

Tfrm_NapLezar::Tfrm_NapLezar(Session &session, Engine &engine, Messages &messages, ClosingServices services,
                             QWidget *parent)
    : SqlListWindow(session, engine, messages, QStringLiteral("frm_NapLezar"), QStringLiteral("zarbizonylat"), Number,
                    parent),
      m_services(std::move(services))
{
    setWindowTitle(Caption);
    setSearchVisible(false);
    // The closings are written by the day closing only: nothing here adds, edits or deletes one.
    for (QAction *a : {newAction(), editAction(), deleteAction(), acceptAction()})
        a->setEnabled(false);

    QAction *print = addListAction("aNyomtat", QStringLiteral("Nyomtat"), {}, QKeySequence(Qt::CTRL | Qt::Key_P),
                                   "document-print", [this] { printGrid(true); });
    QAction *preview =
        addListAction("aNyomtatKep", QStringLiteral("Nyom.kép"), QStringLiteral("Nyomtatási kép"),
                      QKeySequence(Qt::CTRL | Qt::Key_K), "document-print-preview", [this] { printGrid(false); });
    QAction *spreadsheet = addListAction("aExcelbe", QStringLiteral("Excelbe..."), {},
                                         QKeySequence(Qt::CTRL | Qt::Key_E), "x-office-spreadsheet", [this] {
                                             const auto source = rows();
                                             m_services.exportRows(*source, this);
                                         });
    QAction *html = addListAction("aHtml", QStringLiteral("HTML export"), {}, QKeySequence(Qt::CTRL | Qt::Key_H),
                                  "text-html", [this] {
                                      const auto source = rows();
                                      m_services.exportHtml(*source, listTitle(), this);
                                  });
    QAction *report = addListAction(
        "aNyomtat2", QStringLiteral("Pénztárjelentés"), QStringLiteral("Időszaki pénztárjelentés nyomtatás"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), "view-financial-account", [this] {
            NapZarNyomtat(this->session(), this->engine(), ValueOr(currentValue(Number), 0), m_services.reports, this);
        });

    showListActions({print, preview, nullptr, spreadsheet, html, nullptr, report, nullptr, closeAction()});

    m_tillName = new QLabel(this);
    m_tillName->setObjectName(QStringLiteral("pnlKasszaNev"));
    m_tillName->setAlignment(Qt::AlignCenter);
    m_tillName->setMargin(4);
    QFont bold = m_tillName->font();
    bold.setBold(true);
    m_tillName->setFont(bold);
    static_cast<QVBoxLayout *>(layout())->insertWidget(1, m_tillName);

    recordPositionLabel()->setMinimumWidth(77);
    recordPositionLabel()->setAlignment(Qt::AlignCenter);
    resize(720, 420);

    const QString money = session.formatFt;
    setQuery(ClosingListLines(), {{Number, QStringLiteral("bizonylat"), 0.15, QStringLiteral("00000")},
                                  {QStringLiteral("kassza_nev"), QStringLiteral("kassza"), 0.27, {}},
                                  {QStringLiteral("valuta"), QStringLiteral("valuta"), 0.10, {}},
                                  {QStringLiteral("dat_tol"), QStringLiteral("tól"), 0.12, {}},
                                  {QStringLiteral("dat_ig"), QStringLiteral("ig"), 0.12, {}},
                                  {QStringLiteral("nyito"), QStringLiteral("nyitó"), 0.12, money},
                                  {QStringLiteral("zaro"), QStringLiteral("záró"), 0.12, money}});
}

QAction *Tfrm_NapLezar::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

void Tfrm_NapLezar::open(int zarbizonylat)
{
    refresh(zarbizonylat);
    setHighlightColumn(columnOf(Number));
    connect(grid()->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &Tfrm_NapLezar::updateTillName,
            Qt::UniqueConnection);
    updateTillName();
}

QString Tfrm_NapLezar::tillName() const
{
    return m_tillName->text();
}

QString Tfrm_NapLezar::listTitle() const
{
    return Caption + QStringLiteral(": ") + ValueOr(currentValue(QStringLiteral("kassza_nev")), QString());
}

void Tfrm_NapLezar::updateTillName()
{
    m_tillName->setText(ValueOr(currentValue(QStringLiteral("kassza_nev")), QString()));
}

void Tfrm_NapLezar::printGrid(bool print)
{
    GridPrintOptions options;
    options.title = listTitle();
    GridNyomtat(rows(), print, options, m_services.reports, this);
}

std::shared_ptr<SqlExportSource> Tfrm_NapLezar::rows() const
{
    auto source = std::make_shared<SqlExportSource>(engine(), ClosingListLines().join(QLatin1Char('\n')));
    source->setNumberFormat(session().formatFt).setFormat(Number, QStringLiteral("00000")).takeGridLayout(*grid());
    return source;
}

void NapZarasok(Session &session, Engine &engine, Messages &messages, const ClosingServices &services, QWidget *parent)
{
    Tfrm_NapLezar window(session, engine, messages, services, parent);
    window.open();
    window.exec();
}
