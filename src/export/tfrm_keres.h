#pragma once

#include <QDialog>
#include <optional>

class Engine;
class Messages;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class SearchResultModel;
struct Session;

// "Részletes keresése": finds the ledger rows of the current till whose texts or client name hold a piece of text,
// and lets the user pick one. "Megvan" or a double-click on a found row closes the window with OK.
class Tfrm_Keres : public QDialog
{
    Q_OBJECT

public:
    Tfrm_Keres(Session &session, Engine &engine, Messages &messages, QWidget *parent = nullptr);
    ~Tfrm_Keres() override;

    QTabWidget *pages() const { return m_pages; }
    QLineEdit *textField() const { return m_text; }
    QTableView *grid() const { return m_grid; }
    SearchResultModel *result() const { return m_result; }
    QPushButton *searchButton() const { return m_search; }
    QPushButton *foundButton() const { return m_found; }

    // "Keres": the rows of the current till that hold the text; with none, says so and stays on the search page.
    void search();
    // The ledger row (dromvel) the result grid stands on; 0 when it stands on none.
    qint64 chosenRow() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createSearchPage();
    QWidget *createResultPage();
    void sortByColumn(int column);
    void fitColumns();
    void showEngineError(const QString &message);

    Session &m_session;
    Messages &m_messages;
    SearchResultModel *m_result = nullptr;
    QTabWidget *m_pages = nullptr;
    QLineEdit *m_text = nullptr;
    QPushButton *m_search = nullptr;
    QTableView *m_grid = nullptr;
    QPushButton *m_found = nullptr;
    bool m_placed = false;
};

// Opens the search window modally. The ledger row picked (0 when the result it was picked from is empty); nothing
// when the window was closed without a pick.
std::optional<qint64> ReszletesKereses(Session &session, Engine &engine, Messages &messages, QWidget *parent = nullptr);
