#include "tfrm_sql.h"

#include "engine.h"
#include "engineerror.h"
#include "eventlog.h"
#include "exporterror.h"
#include "filedialogs.h"
#include "formbehaviour.h"
#include "lefttransaction.h"
#include "loggedstatement.h"
#include "messages.h"
#include "resultgridmodel.h"
#include "session.h"
#include "sqlexportsource.h"
#include "sqlscript.h"
#include "sqltextfile.h"
#include "util.h"
#include "windowplacement.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <Qsci/qscilexersql.h>
#include <Qsci/qsciscintilla.h>

namespace {

const QString FormName = QStringLiteral("Tfrm_SQL");
const QString SqlErrorPrefix = QStringLiteral("SQL hiba:\r\n");
// The window's size at the usual 9 points; larger fonts get a larger window until a size is stored.
const QSize DesignSize(760, 520);
constexpr int DesignFontSize = 9;
// Result columns are 64 pixels wide at 8 points, and grow with the font so the same text fits.
constexpr int ResultColumnWidth = 64;
constexpr int ResultColumnFontSize = 8;

} // namespace

Tfrm_SQL::Tfrm_SQL(Session &session, Engine &engine, Messages &messages, FileDialogs &fileDialogs,
                   ExportRows exportRows, QWidget *parent)
    : QDialog(parent), m_session(session), m_engine(engine), m_messages(messages), m_fileDialogs(fileDialogs),
      m_exportRows(std::move(exportRows))
{
    setObjectName(FormName);
    setWindowTitle(QStringLiteral("SQL lekérdezés"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setSizeGripEnabled(true);

    const QKeySequence none;
    addAction("aUj", QStringLiteral("Új SQL file"), QStringLiteral("Új SQL"), QKeySequence(Qt::CTRL | Qt::Key_N),
              QStringLiteral("document-new"), &Tfrm_SQL::newText);
    addAction("aMegnyit", QStringLiteral("Megnyit"), QStringLiteral("SQL megnyitása"),
              QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("document-open"), &Tfrm_SQL::openFile);
    addAction("aMent", QStringLiteral("Mentés"), QStringLiteral("SQL mentése"), QKeySequence(Qt::CTRL | Qt::Key_S),
              QStringLiteral("document-save"), &Tfrm_SQL::saveFile);
    addAction("aExport", QStringLiteral("Export"), QString(), QKeySequence(Qt::CTRL | Qt::Key_E),
              QStringLiteral("x-office-spreadsheet"), &Tfrm_SQL::exportResult)
        ->setEnabled(false);
    addAction("aFuttat", QStringLiteral("Futtat"), QStringLiteral("SQL lekérdezés"), Qt::Key_F5,
              QStringLiteral("media-playback-start"), &Tfrm_SQL::run);
    addAction("aBezar", QStringLiteral("Bezár"), QString(), none, QStringLiteral("window-close"), &Tfrm_SQL::reject);

    auto *menuBar = new QMenuBar(this);
    QMenu *file = menuBar->addMenu(QStringLiteral("Fájl"));
    file->addActions(
        {action(QStringLiteral("aUj")), action(QStringLiteral("aMegnyit")), action(QStringLiteral("aMent"))});
    file->addSeparator();
    file->addAction(action(QStringLiteral("aExport")));
    file->addSeparator();
    file->addAction(action(QStringLiteral("aBezar")));
    menuBar->addMenu(QStringLiteral("SQL"))->addAction(action(QStringLiteral("aFuttat")));

    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addActions(
        {action(QStringLiteral("aUj")), action(QStringLiteral("aMegnyit")), action(QStringLiteral("aMent"))});
    toolBar->addSeparator();
    toolBar->addAction(action(QStringLiteral("aExport")));
    toolBar->addSeparator();
    toolBar->addAction(action(QStringLiteral("aFuttat")));
    toolBar->addSeparator();
    toolBar->addAction(action(QStringLiteral("aBezar")));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    createEditor();
    createGrid();

    m_progressRow = new QWidget(this);
    m_progress = new QProgressBar(m_progressRow);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setFormat(QStringLiteral("%v / %m"));
    m_stopButton =
        new QPushButton(QIcon::fromTheme(QStringLiteral("process-stop")), QStringLiteral("Megállít"), m_progressRow);
    m_stopButton->setObjectName(QStringLiteral("btnMegallit"));
    m_stopButton->setAutoDefault(false);
    m_stopButton->setEnabled(false);
    connect(m_stopButton, &QPushButton::clicked, this, &Tfrm_SQL::stop);
    auto *progressLayout = new QHBoxLayout(m_progressRow);
    progressLayout->setContentsMargins(0, 0, 0, 0);
    progressLayout->addWidget(m_progress, 1);
    progressLayout->addWidget(m_stopButton);
    m_progressRow->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->setSpacing(2);
    layout->setMenuBar(menuBar);
    layout->addWidget(toolBar);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_progressRow);

    ApplyFontSize(this, session.fontSize);
    ApplyMenuStyle(this);
    // The editor draws with its lexer's fonts: the program's font size, a fixed-pitch face.
    QFont font(QStringLiteral("Courier New"), session.fontSize);
    font.setStyleHint(QFont::Monospace);
    QsciLexer *lexer = m_editor->lexer();
    lexer->setDefaultFont(font);
    lexer->setFont(font);
    QFont bold = font;
    bold.setBold(true);
    lexer->setFont(bold, QsciLexerSQL::Keyword);
    m_editor->setMarginsFont(font);
    m_editor->setMarginWidth(0, QStringLiteral("0999"));
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    resize(DesignSize * std::max(session.fontSize, DesignFontSize) / DesignFontSize);
}

Tfrm_SQL::~Tfrm_SQL() = default;

QAction *Tfrm_SQL::addAction(const char *name, const QString &caption, const QString &hint, const QKeySequence &key,
                             const QString &icon, void (Tfrm_SQL::*slot)())
{
    auto *a = new QAction(QIcon::fromTheme(icon), caption, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    a->setToolTip(hint.isEmpty() ? caption : hint);
    a->setStatusTip(a->toolTip());
    connect(a, &QAction::triggered, this, slot);
    m_actions.insert(a->objectName(), a);
    QDialog::addAction(a);
    return a;
}

void Tfrm_SQL::createEditor()
{
    m_editor = new QsciScintilla(m_tabs);
    m_editor->setObjectName(QStringLiteral("SynEdit1"));
    m_editor->setUtf8(true);
    m_editor->setEolMode(QsciScintilla::EolUnix);
    auto *lexer = new QsciLexerSQL(m_editor);
    lexer->setHashComments(false);
    lexer->setBackslashEscapes(false);
    lexer->setColor(QColor(0, 128, 0), QsciLexerSQL::Comment);
    lexer->setColor(QColor(0, 128, 0), QsciLexerSQL::CommentLine);
    lexer->setColor(QColor(0, 128, 0), QsciLexerSQL::CommentDoc);
    lexer->setColor(QColor(0, 0, 255), QsciLexerSQL::Number);
    lexer->setColor(QColor(255, 0, 0), QsciLexerSQL::SingleQuotedString);
    lexer->setColor(QColor(255, 0, 0), QsciLexerSQL::DoubleQuotedString);
    m_editor->setLexer(lexer);
    m_editor->setMarginType(0, QsciScintilla::NumberMargin);
    m_editor->setMarginLineNumbers(0, true);
    m_editor->setMarginWidth(1, 0);
    m_editor->setCaretLineVisible(true);
    m_editor->setCaretLineBackgroundColor(QColor(225, 240, 255));
    m_editor->setSelectionBackgroundColor(QColor(192, 192, 192));
    m_editor->resetSelectionForegroundColor();
    m_editor->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("EditorMenu"));
    menu->addAction(action(QStringLiteral("aFuttat")));
    menu->addSeparator();
    menu->addActions(
        {action(QStringLiteral("aUj")), action(QStringLiteral("aMegnyit")), action(QStringLiteral("aMent"))});
    connect(m_editor, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint &pos) { menu->popup(m_editor->mapToGlobal(pos)); });
    m_tabs->addTab(m_editor, QStringLiteral("SQL"));
}

void Tfrm_SQL::createGrid()
{
    m_result = new ResultGridModel(this);
    connect(m_result, &ResultGridModel::readFailed, this, &Tfrm_SQL::showSqlError);
    m_grid = new QTableView(m_tabs);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_result);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSortingEnabled(false);
    m_grid->setWordWrap(false);
    m_grid->horizontalHeader()->setSectionsClickable(false);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->verticalHeader()->hide();
    connect(m_grid->verticalScrollBar(), &QScrollBar::sliderPressed, m_result, [this] { m_result->holdPages(true); });
    connect(m_grid->verticalScrollBar(), &QScrollBar::sliderReleased, m_result, [this] { m_result->holdPages(false); });
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("GridMenu"));
    menu->addAction(action(QStringLiteral("aExport")));
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint &pos) { menu->popup(m_grid->viewport()->mapToGlobal(pos)); });
    m_tabs->addTab(m_grid, QStringLiteral("Eredmény"));
}

void Tfrm_SQL::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        RestoreWindowBounds(this, m_session.ini, FormName);
        m_editor->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

void Tfrm_SQL::closeResult()
{
    m_result->close();
    action(QStringLiteral("aExport"))->setEnabled(false);
}

void Tfrm_SQL::run()
{
    if (m_running)
        return;
    closeResult();
    m_progressRow->hide();
    const QString text = m_editor->hasSelectedText() ? m_editor->selectedText() : m_editor->text();
    if (IsQueryText(text))
        runQuery(text);
    else
        runStatements(text.trimmed());
}

void Tfrm_SQL::runQuery(const QString &text)
{
    try {
        const QString statement = QueryStatement(text, m_engine.dialect());
        // Logged before it opens: the result stays open for reading while the window shows it.
        LogEventAlone(m_engine, {QStringLiteral("SQL lekérdezés"), m_session.user, 0, 0, statement.trimmed()});
        m_result->open(m_engine, statement);
    } catch (const EngineError &e) {
        showSqlError(e.message());
        return;
    }
    m_tabs->setCurrentWidget(m_grid);
    const int width = ResultColumnWidth * std::max(m_session.fontSize, ResultColumnFontSize) / ResultColumnFontSize;
    for (int column = 0; column < m_result->columnCount(); ++column)
        m_grid->setColumnWidth(column, width);
    action(QStringLiteral("aExport"))->setEnabled(true);
}

void Tfrm_SQL::runStatements(const QString &text)
{
    const QStringList statements = SplitSqlScript(text, m_engine.dialect()).statements;
    setRunning(true);
    m_progress->setRange(0, std::max<int>(1, int(statements.size())));
    m_progress->setValue(0);
    m_progressRow->show();
    QString failure;
    int done = 0;
    for (const QString &statement : statements) {
        // The window repaints and hears "Megállít" between statements.
        QCoreApplication::processEvents();
        if (m_stop)
            break;
        try {
            RunLoggedStatement(m_engine, statement, m_session.user);
        } catch (const EngineError &e) {
            failure = e.message();
            break;
        }
        m_progress->setValue(++done);
    }
    const bool stopped = m_stop && failure.isEmpty() && done < statements.size();
    const QString note = rollBackLeftTransaction();
    setRunning(false);
    if (!failure.isEmpty()) {
        showSqlError(failure + note);
    } else if (stopped) {
        m_messages.ShowInfo(
            QStringLiteral("SQL futtatás megállítva. Lefutott utasítások: %1 / %2.").arg(done).arg(statements.size()) +
                note,
            this);
    } else {
        m_progressRow->hide();
        m_messages.ShowInfo(QStringLiteral("SQL futtatás kész.") + note, this);
    }
    if (m_closeWhenDone)
        QDialog::reject();
}

QString Tfrm_SQL::rollBackLeftTransaction()
{
    try {
        if (RollBackLeftTransaction(m_engine))
            return QStringLiteral("\r\n\r\nA lezáratlan tranzakció visszavonva: a COMMIT nélkül maradt változások nem "
                                  "kerültek mentésre.");
    } catch (const EngineError &e) {
        return QStringLiteral("\r\n\r\n") + e.message();
    }
    return {};
}

void Tfrm_SQL::setRunning(bool running)
{
    m_running = running;
    m_stop = false;
    m_editor->setReadOnly(running);
    m_stopButton->setEnabled(running);
    for (const char *name : {"aUj", "aMegnyit", "aFuttat"})
        action(QString::fromLatin1(name))->setEnabled(!running);
}

void Tfrm_SQL::showSqlError(const QString &message)
{
    m_messages.ShowError(SqlErrorPrefix + message, this);
}

QString Tfrm_SQL::sqlFolder()
{
    const QString folder = DataFolder() + QStringLiteral("/SQL");
    return QDir().mkpath(folder) ? folder : QString();
}

void Tfrm_SQL::newText()
{
    m_editor->clear();
    m_editor->setFocus();
}

void Tfrm_SQL::openFile()
{
    const QString path = m_fileDialogs.OpenFileName(QStringLiteral("SQL megnyitás"), sqlFolder(),
                                                    QStringLiteral("SQL állományok (*.sql)"), this);
    if (path.isEmpty())
        return;
    try {
        const QString text = ReadSqlFile(path);
        m_editor->setText(text);
        m_fileName = path;
    } catch (const ExportError &e) {
        showSqlError(e.message());
    }
}

void Tfrm_SQL::saveFile()
{
    const QString proposed = m_fileName.isEmpty() ? sqlFolder() : m_fileName;
    const QString path = m_fileDialogs.SaveFileName(QStringLiteral("SQL mentése"), proposed,
                                                    QStringLiteral("SQL file-ok (*.sql)"), QStringLiteral("sql"), this);
    if (path.isEmpty())
        return;
    try {
        WriteSqlFile(path, m_editor->text());
        m_fileName = path;
    } catch (const ExportError &e) {
        showSqlError(e.message());
    }
}

void Tfrm_SQL::exportResult()
{
    if (!m_result->isOpen())
        return;
    SqlExportSource rows(m_engine, m_result->statement());
    rows.takeGridLayout(*m_grid);
    m_exportRows(rows, this);
}

void Tfrm_SQL::reject()
{
    // Closing while statements run stops them first; the window closes when the run has ended.
    if (m_running) {
        m_stop = true;
        m_closeWhenDone = true;
        return;
    }
    QDialog::reject();
}

void Tfrm_SQL::done(int result)
{
    if (m_placed)
        StoreWindowBounds(this, m_session.ini, FormName);
    closeResult();
    QDialog::done(result);
}

void SzabadLekerdezes(Session &session, Engine &engine, Messages &messages, FileDialogs &fileDialogs,
                      Tfrm_SQL::ExportRows exportRows, QWidget *parent)
{
    Tfrm_SQL console(session, engine, messages, fileDialogs, std::move(exportRows), parent);
    console.exec();
}
