#include "tfrm_naplezar.h"

#include "dayclosing.h"
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
    : PrintableListWindow(session, engine, messages, QStringLiteral("frm_NapLezar"), QStringLiteral("zarbizonylat"),
                          Number, std::move(services), parent)
{
    setWindowTitle(Caption);
    QAction *report = addListAction("aNyomtat2", QStringLiteral("Pénztárjelentés"),
                                    QStringLiteral("Időszaki pénztárjelentés nyomtatás"),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), "view-financial-account", [this] {
                                        NapZarNyomtat(this->session(), this->engine(), ValueOr(currentValue(Number), 0),
                                                      this->services().reports, this);
                                    });

    showListActions({printAction(), previewAction(), nullptr, spreadsheetAction(), htmlAction(), nullptr, report,
                     nullptr, closeAction()});

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
