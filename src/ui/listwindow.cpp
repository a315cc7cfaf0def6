#include "listwindow.h"

#include "formbehaviour.h"
#include "gridhighlight.h"
#include "session.h"
#include "util.h"
#include "windowplacement.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// Room the grid keeps for its frame and scroll bar when the columns share its width.
constexpr int GridReserve = 40;
constexpr int DesignFontSize = 9;

// Characters that start a search when typed in the grid (after lower-casing).
bool StartsSearch(QChar c)
{
    if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')))
        return true;
    return QStringLiteral("áéíóöőúüű").contains(c);
}

QIcon ThemeIcon(const char *name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name), QApplication::style()->standardIcon(fallback));
}

QAction *MakeAction(QWidget *owner, const char *name, const QString &text, const QList<QKeySequence> &keys)
{
    auto *action = new QAction(text, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    owner->addAction(action);
    return action;
}

} // namespace

ListWindow::ListWindow(Session &session, const QString &name, QWidget *parent) : QDialog(parent), m_session(session)
{
    setObjectName(name);
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *layout = new QVBoxLayout(this);
    layout->setObjectName(QStringLiteral("lytMain"));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar->setIconSize(QSize(16, 16));
    layout->addWidget(m_toolBar);

    m_searchRow = new QWidget(this);
    m_searchRow->setObjectName(QStringLiteral("pnlKereso"));
    auto *searchLayout = new QHBoxLayout(m_searchRow);
    searchLayout->setContentsMargins(6, 4, 6, 4);
    auto *searchLabel = new QLabel(QStringLiteral("Keresés:"), m_searchRow);
    searchLabel->setObjectName(QStringLiteral("lKereso"));
    m_search = new QLineEdit(m_searchRow);
    m_search->setObjectName(QStringLiteral("eKereso"));
    m_search->setClearButtonEnabled(false);
    searchLabel->setBuddy(m_search);
    searchLayout->addWidget(searchLabel);
    searchLayout->addWidget(m_search, 1);
    layout->addWidget(m_searchRow);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(false);
    m_grid->setAlternatingRowColors(false);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setObjectName(QStringLiteral("DBGrid1Header"));
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setStretchLastSection(false);
    layout->addWidget(m_grid, 1);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(false);
    m_position = new QLabel(m_statusBar);
    m_position->setObjectName(QStringLiteral("lRecordPosition"));
    m_position->setMinimumWidth(90);
    m_statusBar->addWidget(m_position);
    layout->addWidget(m_statusBar);

    buildActions();

    m_search->installEventFilter(this);
    m_grid->installEventFilter(this);

    connect(m_search, &QLineEdit::textChanged, this, [this](const QString &text) { locatePrefix(text); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] {
        if (m_choose)
            acceptChoice();
        else
            m_aSzerkeszt->trigger();
    });
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_grid->viewport()->mapToGlobal(pos)); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { headerClicked(column); });

    setChooseMode(false);
    ApplyFontSize(this, m_session.fontSize);
    ApplyMenuStyle(this);
    resize(560, 420);
}

ListWindow::~ListWindow() = default;

void ListWindow::buildActions()
{
    m_aUj = MakeAction(this, "aUj", QStringLiteral("Új sor"), {QKeySequence(Qt::Key_Insert)});
    m_aUj->setIcon(ThemeIcon("document-new", QStyle::SP_FileIcon));
    m_aSzerkeszt = MakeAction(this, "aSzerkeszt", QStringLiteral("Szerkeszt"), {QKeySequence(Qt::Key_F2)});
    m_aSzerkeszt->setIcon(ThemeIcon("document-edit", QStyle::SP_FileDialogDetailedView));
    m_aTorol = MakeAction(this, "aTorol", QStringLiteral("Töröl"), {QKeySequence(Qt::CTRL | Qt::Key_Delete)});
    m_aTorol->setIcon(ThemeIcon("edit-delete", QStyle::SP_TrashIcon));
    m_aKeres = MakeAction(this, "aKeres", QStringLiteral("Kereső"), {QKeySequence(Qt::CTRL | Qt::Key_F)});
    m_aKeres->setIcon(ThemeIcon("edit-find", QStyle::SP_FileDialogContentsView));
    m_aElfogad = MakeAction(this, "aElfogad", QStringLiteral("Elfogad"),
                            {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    m_aElfogad->setIcon(ThemeIcon("dialog-ok", QStyle::SP_DialogApplyButton));
    m_aBezar = MakeAction(this, "aBezar", QStringLiteral("Bezár"), {QKeySequence(Qt::Key_Escape)});
    m_aBezar->setIcon(ThemeIcon("window-close", QStyle::SP_DialogCloseButton));

    connect(m_aUj, &QAction::triggered, this, [this] { newRow(); });
    connect(m_aSzerkeszt, &QAction::triggered, this, [this] {
        if (currentRow() >= 0)
            editRow();
    });
    connect(m_aTorol, &QAction::triggered, this, [this] {
        if (currentRow() >= 0)
            deleteRow();
    });
    connect(m_aKeres, &QAction::triggered, this, &ListWindow::focusSearch);
    connect(m_aElfogad, &QAction::triggered, this, &ListWindow::acceptChoice);
    connect(m_aBezar, &QAction::triggered, this, &QDialog::reject);

    m_toolBar->addAction(m_aUj);
    m_toolBar->addAction(m_aSzerkeszt);
    m_toolBar->addAction(m_aTorol);
    m_toolBar->addSeparator()->setObjectName(QStringLiteral("tbSep1"));
    m_toolBar->addAction(m_aElfogad);
    m_toolBar->addAction(m_aBezar);
    for (QAction *action : m_toolBar->actions())
        if (QWidget *button = m_toolBar->widgetForAction(action); button && !action->objectName().isEmpty())
            button->setObjectName(QStringLiteral("tb_") + action->objectName());

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    m_popup->addAction(m_aUj);
    m_popup->addAction(m_aSzerkeszt);
    m_popup->addAction(m_aTorol);
    m_popup->addSeparator()->setObjectName(QStringLiteral("pmSep1"));
    m_popup->addAction(m_aKeres);
    m_popup->addSeparator()->setObjectName(QStringLiteral("pmSep2"));
    m_popup->addAction(m_aElfogad);
    m_popup->addAction(m_aBezar);
}

QAction *ListWindow::addListAction(const char *name, const QString &caption, const QString &hint,
                                   const QKeySequence &key, const char *icon, const std::function<void()> &work)
{
    auto *a = new QAction(QIcon::fromTheme(QString::fromLatin1(icon)), caption, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setIconText(caption);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    a->setToolTip(hint.isEmpty() ? caption : hint);
    a->setStatusTip(hint.isEmpty() ? caption : hint);
    connect(a, &QAction::triggered, this, work);
    addAction(a);
    return a;
}

void ListWindow::showListActions(std::initializer_list<QAction *> actions)
{
    m_toolBar->clear();
    m_popup->clear();
    for (QAction *a : actions) {
        if (!a) {
            m_toolBar->addSeparator();
            m_popup->addSeparator();
            continue;
        }
        m_toolBar->addAction(a);
        m_popup->addAction(a);
        if (QWidget *button = m_toolBar->widgetForAction(a)) {
            button->setObjectName(QStringLiteral("tb_") + a->objectName());
            button->setMinimumSize(82, 36);
        }
    }
}

void ListWindow::setChooseMode(bool choose)
{
    m_choose = choose;
    m_aElfogad->setVisible(choose);
    m_aElfogad->setEnabled(choose);
}

void ListWindow::setSearchVisible(bool visible)
{
    m_searchRow->setVisible(visible);
    m_aKeres->setEnabled(visible);
}

void ListWindow::setModel(QAbstractItemModel *model)
{
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    m_grid->setModel(model);
    if (model) {
        connect(model, &QAbstractItemModel::modelReset, this, &ListWindow::updateRecordPosition);
        connect(model, &QAbstractItemModel::layoutChanged, this, &ListWindow::updateRecordPosition);
        connect(model, &QAbstractItemModel::rowsInserted, this, &ListWindow::updateRecordPosition);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &ListWindow::updateRecordPosition);
    }
    if (m_grid->selectionModel())
        connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                &ListWindow::updateRecordPosition);
    applyColumnWidths();
    updateRecordPosition();
}

int ListWindow::currentRow() const
{
    if (!m_model || m_model->rowCount() == 0)
        return -1;
    return m_grid->currentIndex().row();
}

void ListWindow::setCurrentRow(int row)
{
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return;
    int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column() : 0;
    // The cursor must stand in a visible column, or the view draws no current row.
    if (m_grid->isColumnHidden(column))
        column = m_grid->horizontalHeader()->logicalIndex(0);
    for (int visual = 1; visual < m_model->columnCount() && m_grid->isColumnHidden(column); ++visual)
        column = m_grid->horizontalHeader()->logicalIndex(visual);
    const QModelIndex index = m_model->index(row, column);
    m_grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollTo(index);
    updateRecordPosition();
}

void ListWindow::setColumnFactors(const QList<double> &factors)
{
    m_factors = factors;
    applyColumnWidths();
}

void ListWindow::setHighlightColumn(int column)
{
    HighlightColumn(m_grid, column);
}

void ListWindow::applyColumnWidths()
{
    if (!m_model || m_factors.isEmpty())
        return;
    const int width = m_grid->width() - GridReserve;
    int n = 0;
    for (int visual = 0; visual < m_grid->horizontalHeader()->count() && n < m_factors.size(); ++visual) {
        const int column = m_grid->horizontalHeader()->logicalIndex(visual);
        if (m_grid->isColumnHidden(column))
            continue;
        m_grid->setColumnWidth(column, qMax(0, static_cast<int>(width * m_factors.at(n++))));
    }
}

int ListWindow::findPrefix(const QString &text) const
{
    if (!m_model)
        return -1;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        // The stored value where the model keeps one apart from its display form (formatted amounts).
        const QModelIndex index = m_model->index(row, m_searchColumn);
        QVariant value = index.data(Qt::EditRole);
        if (!value.isValid())
            value = index.data(Qt::DisplayRole);
        if (value.toString().startsWith(text, Qt::CaseInsensitive))
            return row;
    }
    return -1;
}

bool ListWindow::locatePrefix(const QString &text)
{
    const int row = findPrefix(text);
    if (row < 0)
        return false;
    setCurrentRow(row);
    return true;
}

int ListWindow::recordCount() const
{
    return m_model ? m_model->rowCount() : 0;
}

void ListWindow::updateRecordPosition()
{
    m_position->setText(RecordPositionText(recordCount(), currentRow()));
}

void ListWindow::focusSearch()
{
    m_search->setFocus(Qt::ShortcutFocusReason);
    m_search->selectAll();
}

void ListWindow::acceptChoice()
{
    if (m_choose)
        done(QDialog::Accepted);
}

bool ListWindow::gridKeyPress(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (m_choose)
            acceptChoice();
        return true;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    const QChar c = text.at(0).toLower();
    // Any other printable character does nothing; the view's own type-ahead would move the cursor by the
    // first column instead of the search column.
    if (StartsSearch(c) && m_aKeres->isEnabled()) {
        m_search->setFocus(Qt::OtherFocusReason);
        m_search->setText(QString(c));
        m_search->setCursorPosition(1);
    }
    return true;
}

bool ListWindow::searchKeyPress(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_choose)
            acceptChoice();
        else
            m_grid->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Down:
        m_grid->setFocus(Qt::OtherFocusReason);
        return true;
    default:
        return false;
    }
}

bool ListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid) {
        if (event->type() == QEvent::KeyPress)
            return gridKeyPress(static_cast<QKeyEvent *>(event));
        if (event->type() == QEvent::Resize)
            applyColumnWidths();
    } else if (watched == m_search) {
        if (event->type() == QEvent::KeyPress)
            return searchKeyPress(static_cast<QKeyEvent *>(event));
        if (event->type() == QEvent::FocusIn)
            m_search->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

void ListWindow::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        // Rows as high as the font the window ended up with.
        m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
        // The design size suits the usual 9 points; a larger font gets a larger window until one is stored.
        if (m_session.fontSize > DesignFontSize && !m_session.ini.valueExists(objectName(), QStringLiteral("Width")))
            resize(size() * m_session.fontSize / DesignFontSize);
        RestoreWindowBounds(this, m_session.ini, objectName());
        if (m_aKeres->isEnabled())
            m_search->setFocus(Qt::OtherFocusReason);
        else
            m_grid->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
    applyColumnWidths();
}

void ListWindow::done(int result)
{
    if (m_placed)
        StoreWindowBounds(this, m_session.ini, objectName());
    QDialog::done(result);
}
