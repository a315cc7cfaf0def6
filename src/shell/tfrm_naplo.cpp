#include "tfrm_naplo.h"

#include "engineerror.h"
#include "eventlog.h"
#include "listquerymodel.h"
#include "messages.h"
#include "sqlexportsource.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString Caption = QStringLiteral("Eseménynapló");
const QString Key = QStringLiteral("naplo");

QString DateText(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy.MM.dd."));
}

} // namespace

Tfrm_Naplo::Tfrm_Naplo(Session &session, Engine &engine, Messages &messages, ClosingServices services,
                       const DateRange &period, QWidget *parent)
    : PrintableListWindow(session, engine, messages, QStringLiteral("frm_Naplo"), QStringLiteral("naplo"), Key,
                          std::move(services), parent),
      m_period(period)
{
    setWindowTitle(Caption);
    QAction *choose = addListAction("aIdoszak", QStringLiteral("Időszak..."), QStringLiteral("Időszak megadása"),
                                    QKeySequence(Qt::CTRL | Qt::Key_I), "view-calendar", [this] { choosePeriod(); });
    showListActions({choose, nullptr, printAction(), previewAction(), nullptr, spreadsheetAction(), htmlAction(),
                     nullptr, closeAction()});

    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("pnlSzuro"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 4, 6, 4);
    m_periodText = new QLabel(bar);
    m_periodText->setObjectName(QStringLiteral("lblIdoszak"));
    QFont bold = m_periodText->font();
    bold.setBold(true);
    m_periodText->setFont(bold);
    auto *searchLabel = new QLabel(QStringLiteral("Keresés:"), bar);
    m_filter = new QLineEdit(bar);
    m_filter->setObjectName(QStringLiteral("edKereses"));
    m_filter->setClearButtonEnabled(true);
    searchLabel->setBuddy(m_filter);
    row->addWidget(m_periodText);
    row->addStretch(1);
    row->addWidget(searchLabel);
    row->addWidget(m_filter, 2);
    static_cast<QVBoxLayout *>(layout())->insertWidget(1, bar);
    connect(m_filter, &QLineEdit::textChanged, this, [this] { open(); });

    recordPositionLabel()->setMinimumWidth(77);
    recordPositionLabel()->setAlignment(Qt::AlignCenter);
    resize(900, 480);
}

QStringList Tfrm_Naplo::lines() const
{
    return EventListLines(m_period.from, m_period.to, m_filter->text().trimmed());
}

void Tfrm_Naplo::open()
{
    m_periodText->setText(QStringLiteral("Időszak: %1 – %2").arg(DateText(m_period.from), DateText(m_period.to)));
    setQuery(lines(), {{QStringLiteral("idopont"), QStringLiteral("időpont"), 0.21, {}},
                       {QStringLiteral("munkaallomas"), QStringLiteral("munkaállomás"), 0.11, {}},
                       {QStringLiteral("felhasznalo"), QStringLiteral("felhasználó"), 0.11, {}},
                       {QStringLiteral("esemeny"), QStringLiteral("esemény"), 0.14, {}},
                       {QStringLiteral("kassza_nev"), QStringLiteral("kassza"), 0.10, {}},
                       {QStringLiteral("sorkulcs"), QStringLiteral("sor"), 0.05, {}},
                       {QStringLiteral("szoveg"), QStringLiteral("leírás"), 0.28, {}}});
    try {
        refresh(0);
    } catch (const EngineError &e) {
        messages().ShowError(e.message(), this);
        return;
    }
    // The newest entry is the one most often looked for.
    if (model() && model()->rowCount() > 0)
        setCurrentRow(model()->rowCount() - 1);
    updateRecordPosition();
}

void Tfrm_Naplo::setPeriod(const DateRange &period)
{
    m_period = period;
    open();
}

void Tfrm_Naplo::choosePeriod()
{
    if (const auto period = Idoszak(session(), m_period, this))
        setPeriod(*period);
}

QString Tfrm_Naplo::listTitle() const
{
    QString title =
        Caption + QStringLiteral(": ") + DateText(m_period.from) + QStringLiteral(" – ") + DateText(m_period.to);
    if (!m_filter->text().trimmed().isEmpty())
        title += QStringLiteral(", keresés: ") + m_filter->text().trimmed();
    return title;
}

std::shared_ptr<SqlExportSource> Tfrm_Naplo::rows() const
{
    auto source = std::make_shared<SqlExportSource>(engine(), lines().join(QLatin1Char('\n')));
    source->takeGridLayout(*grid());
    return source;
}

void EsemenyNaplo(Session &session, Engine &engine, Messages &messages, const ClosingServices &services,
                  QWidget *parent)
{
    Tfrm_Naplo window(session, engine, messages, services, DefaultPeriod(QDate::currentDate()), parent);
    window.open();
    window.exec();
}
