#pragma once

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <functional>

class QAbstractItemModel;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QTableView;
class QToolBar;
struct Session;

// The habits every list window shares, on any item model: a search box with incremental prefix search, the
// keys Insert / F2 / Ctrl+Del / Enter / Esc, toolbar and pop-up menu, the record counter in the status bar,
// remembered bounds and the session's font size. Subclasses fill the model and implement the row actions.
//
// Choose mode: "Elfogad" is visible and enabled, Enter and double-click accept (the dialog ends Accepted).
// Otherwise double-click edits and the dialog only ever ends Rejected.
class ListWindow : public QDialog
{
    Q_OBJECT

public:
    // name: the window's own name; it is the objectName and the ini section of its bounds.
    ListWindow(Session &session, const QString &name, QWidget *parent = nullptr);
    ~ListWindow() override;

    void setChooseMode(bool choose);
    bool chooseMode() const { return m_choose; }
    // A list without a search box: "Kereső" is off and characters typed in the grid move nothing.
    void setSearchVisible(bool visible);

    QTableView *grid() const { return m_grid; }
    QLineEdit *searchBox() const { return m_search; }
    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *popupMenu() const { return m_popup; }
    QStatusBar *statusBar() const { return m_statusBar; }
    QLabel *recordPositionLabel() const { return m_position; }

    QAction *newAction() const { return m_aUj; }
    QAction *editAction() const { return m_aSzerkeszt; }
    QAction *deleteAction() const { return m_aTorol; }
    QAction *searchAction() const { return m_aKeres; }
    QAction *acceptAction() const { return m_aElfogad; }
    QAction *closeAction() const { return m_aBezar; }

    // The grid's model; the window does not take ownership.
    void setModel(QAbstractItemModel *model);
    QAbstractItemModel *model() const { return m_model; }

    // 0-based model row of the cursor, -1 on an empty list.
    int currentRow() const;
    void setCurrentRow(int row);

    // The column the search box looks in (model column).
    void setSearchColumn(int column) { m_searchColumn = column; }
    int searchColumn() const { return m_searchColumn; }

    // Width of each visible column, in visible order, as a share of the grid width less 40 pixels.
    void setColumnFactors(const QList<double> &factors);
    // Paints that model column in the highlight colour, the others in the window colour.
    void setHighlightColumn(int column);

    // Moves the cursor to the first row whose search column begins with the text, ignoring case. Returns false
    // (cursor unchanged) when no row does.
    bool locatePrefix(const QString &text);

    // Rewrites the record counter; called after every move and every change of the rows.
    void updateRecordPosition();

protected:
    // Row actions; the default does nothing.
    virtual void newRow() {}
    virtual void editRow() {}
    virtual void deleteRow() {}
    // A click on a column title (model column).
    virtual void headerClicked(int column) { Q_UNUSED(column); }
    // The row locatePrefix() moves to, -1 for none. The default scans the model's display texts.
    virtual int findPrefix(const QString &text) const;
    // All rows of the list, not only those the model has fetched so far.
    virtual int recordCount() const;

    Session &session() const { return m_session; }

    // An action of the window whose toolbar button shows the caption whole ("Excelbe..." keeps its dots); the hint
    // is its tooltip and status text (the caption when empty), work runs when it is triggered.
    QAction *addListAction(const char *name, const QString &caption, const QString &hint, const QKeySequence &key,
                           const char *icon, const std::function<void()> &work);
    // The toolbar and the pop-up menu show these actions in this order instead of their own, nullptr standing for a
    // separator; the toolbar buttons are named tb_ and the action's name, and are at least 82 by 36 pixels.
    void showListActions(std::initializer_list<QAction *> actions);

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    void done(int result) override;

private:
    void buildActions();
    void applyColumnWidths();
    bool gridKeyPress(QKeyEvent *event);
    bool searchKeyPress(QKeyEvent *event);
    void acceptChoice();
    void focusSearch();

    Session &m_session;
    bool m_choose = false;
    bool m_placed = false;
    int m_searchColumn = 0;
    QList<double> m_factors;
    QAbstractItemModel *m_model = nullptr;

    QWidget *m_searchRow = nullptr;
    QLineEdit *m_search = nullptr;
    QTableView *m_grid = nullptr;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_popup = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_position = nullptr;

    QAction *m_aUj = nullptr;
    QAction *m_aSzerkeszt = nullptr;
    QAction *m_aTorol = nullptr;
    QAction *m_aKeres = nullptr;
    QAction *m_aElfogad = nullptr;
    QAction *m_aBezar = nullptr;
};
