#include "tfrm_felhasznalo.h"

#include "engine.h"
#include "messages.h"
#include "session.h"
#include "tfrm_felhasznaloszerkeszt.h"
#include "userlistmodel.h"
#include "users.h"
#include "util.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

using enum UserListModel::Column;

// Grid width the two flag columns, the frame and the scroll bar keep; code and name share the rest.
constexpr int FlagColumnsReserve = 194;

// Draws the model's check state as a read-only check mark in the middle of the cell.
class FlagDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        cell.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        cell.text.clear();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

        QStyleOptionButton box;
        box.state = QStyle::State_Enabled | QStyle::State_ReadOnly;
        box.state |= index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        const QRect indicator = style->subElementRect(QStyle::SE_CheckBoxIndicator, &box, widget);
        box.rect = QStyle::alignedRect(option.direction, Qt::AlignCenter, indicator.size(), option.rect);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, widget);
    }
};

} // namespace

Tfrm_Felhasznalo::Tfrm_Felhasznalo(Session &session, Engine &engine, Messages &messages, QWidget *parent)
    : ListWindow(session, QStringLiteral("Tfrm_Felhasznalo"), parent), m_engine(engine), m_messages(messages),
      m_model(new UserListModel(this))
{
    setWindowTitle(QStringLiteral("Felhasználók adatai"));
    newAction()->setText(QStringLiteral("Új Felhasználó"));

    auto *panel = new QLabel(QStringLiteral("Felhasználók  "), this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    panel->setFrameShape(QFrame::StyledPanel);
    QFont bold = panel->font();
    bold.setBold(true);
    panel->setFont(bold);
    panel->setMargin(4);
    auto *box = static_cast<QVBoxLayout *>(layout());
    box->insertWidget(box->indexOf(grid()), panel);

    setModel(m_model);
    auto *flags = new FlagDelegate(grid());
    grid()->setItemDelegateForColumn(AdminColumn, flags);
    grid()->setItemDelegateForColumn(EditColumn, flags);
    setSearchColumn(CodeColumn);
    refresh();
    grid()->hideColumn(RowIdColumn);
    setHighlightColumn(CodeColumn);
}

void Tfrm_Felhasznalo::refresh(const QVariant &rowId)
{
    const int oldRow = currentRow();
    m_model->setUsers(ListUsers(m_engine));
    grid()->hideColumn(RowIdColumn);
    fitColumns();

    int row = qMin(qMax(oldRow, 0), m_model->rowCount() - 1);
    if (!rowId.isNull())
        for (int r = 0; r < m_model->rowCount(); ++r)
            if (m_model->index(r, RowIdColumn).data() == rowId)
                row = r;
    setCurrentRow(row);
    updateRecordPosition();
}

QVariant Tfrm_Felhasznalo::currentRowId() const
{
    const int row = currentRow();
    return row < 0 ? QVariant() : m_model->index(row, RowIdColumn).data();
}

void Tfrm_Felhasznalo::newRow()
{
    Tfrm_FelhasznaloSzerkeszt editor(session(), m_engine, m_messages, QVariant(), this);
    if (editor.exec() == QDialog::Accepted)
        refresh(editor.rowId());
}

void Tfrm_Felhasznalo::editRow()
{
    Tfrm_FelhasznaloSzerkeszt editor(session(), m_engine, m_messages, currentRowId(), this);
    if (editor.exec() == QDialog::Accepted)
        refresh(editor.rowId());
}

void Tfrm_Felhasznalo::deleteRow()
{
    if (!m_messages.AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés"), this))
        return;
    DeleteUser(m_engine, currentRowId(), session().user);
    refresh();
}

void Tfrm_Felhasznalo::fitColumns()
{
    const int shared = qMax(0, grid()->width() - FlagColumnsReserve);
    grid()->setColumnWidth(CodeColumn, static_cast<int>(shared * 0.4));
    grid()->setColumnWidth(NameColumn, static_cast<int>(shared * 0.6));
    // The flag columns share what the frame and a shown vertical scroll bar leave of the reserve, so no
    // horizontal scroll bar is needed.
    const QScrollBar *bar = grid()->verticalScrollBar();
    const int used = 2 * grid()->frameWidth() + (bar->isVisible() ? bar->width() : 0);
    const int flagWidth = qMax(0, (FlagColumnsReserve - used) / 2);
    grid()->setColumnWidth(AdminColumn, flagWidth);
    grid()->setColumnWidth(EditColumn, flagWidth);
}

bool Tfrm_Felhasznalo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grid()) {
        if (event->type() == QEvent::KeyPress && !chooseMode()) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                editAction()->trigger();
                return true;
            }
        }
        if (event->type() == QEvent::Resize) {
            const bool handled = ListWindow::eventFilter(watched, event);
            fitColumns();
            return handled;
        }
    }
    return ListWindow::eventFilter(watched, event);
}

void FelhasznalokMegnyit(Session &session, Engine &engine, Messages &messages, QWidget *parent)
{
    Tfrm_Felhasznalo window(session, engine, messages, parent);
    window.exec();
}
