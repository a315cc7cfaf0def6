#pragma once

#include <QDialog>
#include <QHash>
#include <functional>

class Engine;
class ExportSource;
class FileDialogs;
class Messages;
class QAction;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableView;
class QsciScintilla;
class ResultGridModel;
struct Session;

// "SQL lekérdezés": the administrator's free SQL against the open database. A text beginning with SELECT fills
// the result grid and can be exported; any other text runs statement by statement, stoppable between statements.
// SQL texts are kept as files in the SQL folder of the program's data folder.
class Tfrm_SQL : public QDialog
{
    Q_OBJECT

public:
    // Hands the open result to the delimited export.
    using ExportRows = std::function<void(ExportSource &rows, QWidget *parent)>;

    Tfrm_SQL(Session &session, Engine &engine, Messages &messages, FileDialogs &fileDialogs, ExportRows exportRows,
             QWidget *parent = nullptr);
    ~Tfrm_SQL() override;

    QsciScintilla *editor() const { return m_editor; }
    QTableView *grid() const { return m_grid; }
    ResultGridModel *result() const { return m_result; }
    QProgressBar *progress() const { return m_progress; }
    QAction *action(const QString &name) const { return m_actions.value(name); }
    // The file last opened or saved; empty until then.
    QString fileName() const { return m_fileName; }
    bool running() const { return m_running; }

    // "Futtat": the selection, or the whole text when nothing is selected.
    void run();
    // "Megállít": no further statement starts; those run so far stay.
    void stop() { m_stop = true; }
    void newText();
    void openFile();
    void saveFile();
    void exportResult();

    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QAction *addAction(const char *name, const QString &caption, const QString &hint, const QKeySequence &key,
                       const QString &icon, void (Tfrm_SQL::*slot)());
    void createEditor();
    void createGrid();
    void closeResult();
    void runQuery(const QString &text);
    void runStatements(const QString &text);
    // Ends a transaction the statements left open; the note to add to the closing message.
    QString rollBackLeftTransaction();
    void setRunning(bool running);
    void showSqlError(const QString &message);
    // The SQL folder, created when missing; empty when it cannot be.
    QString sqlFolder();

    Session &m_session;
    Engine &m_engine;
    Messages &m_messages;
    FileDialogs &m_fileDialogs;
    ExportRows m_exportRows;

    QHash<QString, QAction *> m_actions;
    QTabWidget *m_tabs = nullptr;
    QsciScintilla *m_editor = nullptr;
    QTableView *m_grid = nullptr;
    ResultGridModel *m_result = nullptr;
    QWidget *m_progressRow = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_stopButton = nullptr;

    QString m_fileName;
    bool m_placed = false;
    bool m_running = false;
    bool m_stop = false;
    bool m_closeWhenDone = false;
};

// Opens the console modally.
void SzabadLekerdezes(Session &session, Engine &engine, Messages &messages, FileDialogs &fileDialogs,
                      Tfrm_SQL::ExportRows exportRows, QWidget *parent = nullptr);
