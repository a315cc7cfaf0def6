#include "tfrm_keres.h"

#include "engineerror.h"
#include "formbehaviour.h"
#include "gridhighlight.h"
#include "messages.h"
#include "searchresultmodel.h"
#include "session.h"
#include "windowplacement.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString FormName = QStringLiteral("Tfrm_Keres");
// The window may not be made smaller than this.
const QSize SmallestSize(555, 276);
// The window's size at the usual 9 points; larger fonts get a larger window until a size is stored.
const QSize DesignSize(580, 300);
constexpr int DesignFontSize = 9;
// The result columns share the grid's width less this room for its frame and scroll bar.
constexpr int GridReserve = 40;
constexpr double ColumnFactors[SearchResultModel::ColumnCount] = {0.2, 0.2, 0.3, 0.3};

QPushButton *Button(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

// The buttons right-aligned in a row under the page's content.
QHBoxLayout *ButtonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton *button : buttons)
        row->addWidget(button);
    return row;
}

} // namespace

Tfrm_Keres::Tfrm_Keres(Session &session, Engine &engine, Messages &messages, QWidget *parent)
    : QDialog(parent), m_session(session), m_messages(messages), m_result(new SearchResultModel(engine, this))
{
    setObjectName(FormName);
    setWindowTitle(QStringLiteral("Részletes keresése"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setSizeGripEnabled(true);
    setMinimumSize(SmallestSize);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(createSearchPage(), QStringLiteral("Keresés"));
    m_pages->addTab(createResultPage(), QStringLiteral("Eredmény"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_pages);

    connect(m_result, &SearchResultModel::readFailed, this, &Tfrm_Keres::showEngineError);

    PaintFocusedField(this);
    ApplyFontSize(this, session.fontSize);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    resize(DesignSize * std::max(session.fontSize, DesignFontSize) / DesignFontSize);
}

Tfrm_Keres::~Tfrm_Keres() = default;

QWidget *Tfrm_Keres::createSearchPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto *label = new QLabel(QStringLiteral("Keresendő szöveg"), page);
    label->setObjectName(QStringLiteral("Label1"));
    m_text = new QLineEdit(page);
    m_text->setObjectName(QStringLiteral("Edit1"));
    label->setBuddy(m_text);
    m_search = Button(QStringLiteral("btnKeres"), QStringLiteral("Keres"), page);
    m_search->setDefault(true);
    connect(m_search, &QPushButton::clicked, this, &Tfrm_Keres::search);
    QPushButton *close = Button(QStringLiteral("btnBezar"), QStringLiteral("Bezár"), page);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(label);
    layout->addWidget(m_text);
    layout->addStretch(1);
    layout->addLayout(ButtonRow({m_search, close}));
    return page;
}

QWidget *Tfrm_Keres::createResultPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheet2"));
    m_grid = new QTableView(page);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_result);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    QHeaderView *header = m_grid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    HighlightColumn(m_grid, SearchResultModel::Sorszam);
    connect(header, &QHeaderView::sectionClicked, this, &Tfrm_Keres::sortByColumn);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
    m_grid->installEventFilter(this);

    m_found = Button(QStringLiteral("btnMegvan"), QStringLiteral("Megvan"), page);
    m_found->setEnabled(false);
    connect(m_found, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton *close = Button(QStringLiteral("btnBezar2"), QStringLiteral("Bezár"), page);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_grid, 1);
    layout->addLayout(ButtonRow({m_found, close}));
    return page;
}

void Tfrm_Keres::search()
{
    try {
        m_result->search(m_session.till, m_text->text());
    } catch (const EngineError &e) {
        showEngineError(e.message());
        return;
    }
    if (m_result->rowCount() == 0) {
        m_messages.ShowError(QStringLiteral("Nincs ilyen sor, keresés sikertelen"), this);
        m_text->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_found->setEnabled(true);
    m_pages->setCurrentIndex(1);
    m_grid->setCurrentIndex(m_result->index(0, SearchResultModel::Sorszam));
    m_grid->setFocus(Qt::OtherFocusReason);
}

void Tfrm_Keres::sortByColumn(int column)
{
    try {
        m_result->sortByColumn(column);
    } catch (const EngineError &e) {
        showEngineError(e.message());
    }
}

qint64 Tfrm_Keres::chosenRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? m_result->ledgerRow(current.row()) : 0;
}

void Tfrm_Keres::showEngineError(const QString &message)
{
    m_messages.ShowApplicationError(message, this);
}

void Tfrm_Keres::fitColumns()
{
    const int width = m_grid->width() - GridReserve;
    for (int column = 0; column < SearchResultModel::ColumnCount; ++column)
        m_grid->setColumnWidth(column, std::max(0, int(width * ColumnFactors[column])));
}

bool Tfrm_Keres::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::Resize)
        fitColumns();
    return QDialog::eventFilter(watched, event);
}

void Tfrm_Keres::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        RestoreWindowBounds(this, m_session.ini, FormName);
        m_text->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

void Tfrm_Keres::done(int result)
{
    if (m_placed)
        StoreWindowBounds(this, m_session.ini, FormName);
    QDialog::done(result);
}

std::optional<qint64> ReszletesKereses(Session &session, Engine &engine, Messages &messages, QWidget *parent)
{
    Tfrm_Keres window(session, engine, messages, parent);
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.chosenRow();
}
