#pragma once

#include "maindialogs.h"

#include <QDate>
#include <QHash>
#include <QMainWindow>
#include <functional>

class Engine;
class FileDialogs;
class LedgerModel;
class LedgerOps;
class Messages;
class QAction;
class QLabel;
class QTableView;
struct Session;

// The main ledger window: the rows of the current till, its unclosed sums and balance, and every action of
// the program.
class Tfrm_Main : public QMainWindow
{
    Q_OBJECT

public:
    enum class Right {
        None,
        Admin, // rendszergazda
        Edit,  // torzsszerkeszt
    };

    // With the program's own dialogs.
    Tfrm_Main(Session &session, Engine &engine, Messages &messages, FileDialogs &fileDialogs,
              QWidget *parent = nullptr);
    Tfrm_Main(Session &session, Engine &engine, Messages &messages, MainDialogs dialogs, QWidget *parent = nullptr);
    ~Tfrm_Main() override;

    // Makes the till current: WHERE line, title, sums, closed-until date, open-day state, view reopened.
    void TillSwitch(int till, const QString &name);
    // Recomputes the till balance, shows it and stores it into the till's `most`.
    void BalanceDisplay();
    // At start-up: names the till's overdue advances in a warning when there are any.
    void WarnOverdueAdvances();
    // Reopens the view and the sums after a change and stands on the given ledger row.
    void Refresh(int dromvel);
    // Puts the grid's cursor on the ledger row; false, the cursor where it was, when the view does not show it.
    bool StandOn(int dromvel);
    void SortByColumn(int column);
    void ToggleUnclosedFilter();

    QAction *action(const QString &name) const;
    LedgerModel *ledger() const { return m_model; }
    QTableView *grid() const { return m_grid; }
    QString statusText(int panel) const;
    QString balanceText() const;
    QString sumText(int which) const; // 0 receipts, 1 payments
    // The ledger row (dromvel) the grid stands on; -1 when the view is empty.
    int currentId() const;

    // Runs an action's work: a missing right is refused, an error no step handled is shown in the
    // application's error box, and the window goes on.
    void RunGuarded(Right right, const std::function<void()> &work);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createCentralArea();
    void createStatusBar();
    QAction *addAction(const QString &name, const QString &caption, const QString &hint, const QKeySequence &key,
                       const QString &icon, Right right, std::function<void()> work);
    void reopenView(int dromvel);
    void reopenSums();
    void updateRecordCounter();
    void updateInfoPanel();
    void updateColumnWidths();
    void setFontSize(int size);
    void fitInfoPanel();
    void updateCaption();
    void updateOverdueCount();
    // Refresh after an action that may have booked: when the balance changed, a payment above the client's monthly
    // limit and a balance above the till's limit are warned of.
    void afterBooking(int dromvel);
    void warnAboveCashLimit();
    void setStatus(int panel, const QString &text);
    void openShell(const QString &target);

    void onChooseTill();
    void onArchive();
    void refreshNames();
    void afterForm(int dromvel);
    void onCloseDay();
    void printVoucher(bool request, bool preview);
    void printPeriodVouchers(bool preview);
    void onSettings();
    void onFontBigger();
    void onFontSmaller();
    void onHelp();
    void onNews();
    void onAbout();

    Session &m_session;
    Engine &m_engine;
    Messages &m_messages;
    MainDialogs m_dialogs;
    std::unique_ptr<LedgerOps> m_ops;
    // The money format of the ledger view and its sums, as the settings were at start-up: a format changed
    // in the settings applies to windows opened later.
    const QString m_moneyFormat;
    LedgerModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_sumIn = nullptr;
    QLabel *m_sumOut = nullptr;
    QLabel *m_balance = nullptr;
    QLabel *m_cashLimit = nullptr;
    double m_balanceValue = 0;
    QLabel *m_infoDeadline = nullptr;
    QLabel *m_infoSettled = nullptr;
    QLabel *m_infoDocument = nullptr;
    QLabel *m_infoAccount = nullptr;
    QLabel *m_infoText = nullptr;
    QList<QLabel *> m_panels;
    QLabel *m_overdue = nullptr; // the count of overdue advances; hidden when there are none
    QHash<QString, QAction *> m_actions;
    QString m_sortField;
    int m_totalRows = 0;
    bool m_unclosedOnly = true;
    bool m_shownOnce = false;
};
