#include "tfrm_main.h"

#include "aboutbox.h"
#include "cashlimit.h"
#include "cashwarnings.h"
#include "dayclosingactions.h"
#include "engine.h"
#include "formbehaviour.h"
#include "gridhighlight.h"
#include "gridprinting.h"
#include "ledgerexport.h"
#include "ledgermodel.h"
#include "ledgerops.h"
#include "maindialogs.h"
#include "makerinfo.h"
#include "messages.h"
#include "overdueadvances.h"
#include "reportprinting.h"
#include "session.h"
#include "settings.h"
#include "settingsstore.h"
#include "splashwindow.h"
#include "tfrm_elszamol.h"
#include "tfrm_naplezar.h"
#include "tfrm_naplo.h"
#include "tillstore.h"
#include "tqrossz.h"
#include "util.h"
#include "voucheractions.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QShortcut>
#include <QSqlRecord>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

namespace {

// Grid columns in display order; the first is drawn as an icon.
const QStringList VisibleFields{
    QStringLiteral("elszamolva"),    QStringLiteral("sorszam"),    QStringLiteral("dat_kiadva"),
    QStringLiteral("kasszatip_nev"), QStringLiteral("ugyfel_nev"), QStringLiteral("nyito"),
    QStringLiteral("osszeg"),        QStringLiteral("zaro"),       QStringLiteral("elszamol_kell_dat")};
const double WidthFactors[] = {0.10, 0.10, 0.13, 0.25, 0.10, 0.10, 0.10, 0.10};
const int PanelWidths[] = {75, 200, 150, 150, 50};
const QString NoRight = QStringLiteral("Nincs jogosultság a művelethez.");

// The key opens the menu bar's menu.
void OpenMenuOn(const QKeySequence &key, QMenuBar *bar, QAction *menu)
{
    QObject::connect(new QShortcut(key, bar->window()), &QShortcut::activated, bar,
                     [bar, menu] { bar->setActiveAction(menu); });
}

// Fills a menu or a tool bar with the named actions in order; "-" is a separator.
template <typename Target> void Fill(Target *target, std::initializer_list<const char *> names, const Tfrm_Main *window)
{
    for (const char *name : names) {
        if (qstrcmp(name, "-") == 0)
            target->addSeparator();
        else
            target->addAction(window->action(QString::fromLatin1(name)));
    }
}

} // namespace

Tfrm_Main::Tfrm_Main(Session &session, Engine &engine, Messages &messages, FileDialogs &fileDialogs, QWidget *parent)
    : Tfrm_Main(session, engine, messages, MainDialogs::Default(session, engine, messages, fileDialogs), parent)
{}

Tfrm_Main::Tfrm_Main(Session &session, Engine &engine, Messages &messages, MainDialogs dialogs, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_engine(engine), m_messages(messages), m_dialogs(std::move(dialogs)),
      m_ops(std::make_unique<LedgerOps>(engine)), m_moneyFormat(session.formatFt)
{
    setObjectName(QStringLiteral("frm_Main"));
    m_model = new LedgerModel(engine, this);
    m_model->setMoneyFormat(m_moneyFormat);
    createActions();
    createCentralArea();
    createMenus();
    createToolBars();
    createStatusBar();
    ApplyMenuStyle(this);
    setFontSize(session.fontSize);

    updateCaption();
    setStatus(3, QString());
}

Tfrm_Main::~Tfrm_Main() = default;

QAction *Tfrm_Main::addAction(const QString &name, const QString &caption, const QString &hint, const QKeySequence &key,
                              const QString &icon, Right right, std::function<void()> work)
{
    auto *a = new QAction(caption, this);
    a->setObjectName(name);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    a->setToolTip(hint.isEmpty() ? caption : hint);
    a->setStatusTip(hint.isEmpty() ? caption : hint);
    if (!icon.isEmpty())
        a->setIcon(QIcon::fromTheme(icon));
    if (work)
        connect(a, &QAction::triggered, this, [this, right, work] { RunGuarded(right, work); });
    else
        a->setEnabled(false); // its window is not part of the program yet
    m_actions.insert(name, a);
    QMainWindow::addAction(a);
    return a;
}

void Tfrm_Main::createActions()
{
    using R = Right;
    const QKeySequence none;
    addAction(QStringLiteral("aKasszaValaszt"), QStringLiteral("Kassza választás"), {}, none,
              QStringLiteral("view-list-details"), R::None, [this] { onChooseTill(); });
    addAction(QStringLiteral("aUj"), QStringLiteral("Új"), {}, Qt::Key_Insert, QStringLiteral("document-new"), R::Edit,
              [this] {
                  afterForm(BizonylatSzerkeszt(m_session, m_engine, m_messages, -1, m_dialogs.voucherChoosers,
                                               m_dialogs.printChoice, this));
              });
    addAction(QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"), {}, Qt::Key_F2,
              QStringLiteral("document-edit"), R::Edit, [this] {
                  afterForm(BizonylatSzerkeszt(m_session, m_engine, m_messages, currentId(), m_dialogs.voucherChoosers,
                                               m_dialogs.printChoice, this));
              });
    addAction(QStringLiteral("aTorol"), QStringLiteral("Töröl"), {}, QKeySequence(Qt::CTRL | Qt::Key_Delete),
              QStringLiteral("edit-delete"), R::Edit, [this] {
                  if (Torol(m_session, m_engine, m_messages, currentId(), this))
                      Refresh(-1);
              });
    // The ledger grid as a list: its rows read again in its till, filter and order, its columns as on screen.
    const auto printGrid = [this](bool print) {
        GridPrintOptions options;
        options.title = m_ops->TillName(m_session.till);
        GridNyomtat(
            std::make_shared<SqlExportSource>(LedgerExportSource(m_engine, *m_model, *m_grid, m_session.formatFt)),
            print, options, m_dialogs.reports, this);
    };
    addAction(QStringLiteral("aNyomtat"), QStringLiteral("Nyomtat"), {}, QKeySequence(Qt::CTRL | Qt::Key_P),
              QStringLiteral("document-print"), R::None, [printGrid] { printGrid(true); });
    addAction(QStringLiteral("aNyomtatkep"), QStringLiteral("Nyomtatási kép"), {}, QKeySequence(Qt::CTRL | Qt::Key_K),
              QStringLiteral("document-print-preview"), R::None, [printGrid] { printGrid(false); });
    addAction(QStringLiteral("aExcelbe"), QStringLiteral("Excelbe..."), {}, QKeySequence(Qt::CTRL | Qt::Key_E),
              QStringLiteral("x-office-spreadsheet"), R::None, [this] {
                  SqlExportSource rows = LedgerExportSource(m_engine, *m_model, *m_grid, m_session.formatFt);
                  m_dialogs.exportRows(rows, this);
              });
    addAction(QStringLiteral("aHtml"), QStringLiteral("HTML export"), {}, QKeySequence(Qt::CTRL | Qt::Key_H),
              QStringLiteral("text-html"), R::None, [this] {
                  SqlExportSource rows = LedgerExportSource(m_engine, *m_model, *m_grid, m_session.formatFt);
                  m_dialogs.exportHtml(rows, m_ops->TillName(m_session.till), this);
              });
    addAction(QStringLiteral("aBezar"), QStringLiteral("Bezár"), {}, none, QStringLiteral("application-exit"), R::None,
              [this] { close(); });
    addAction(QStringLiteral("aElszamol"), QStringLiteral("Elszámol"), {}, Qt::Key_F6,
              QStringLiteral("view-financial-account"), R::None, [this] {
                  const int id = currentId();
                  if (Elszamol(m_session, m_engine, m_messages, id, m_dialogs.settlementType, this))
                      afterBooking(id);
              });
    addAction(QStringLiteral("aKesz"), QStringLiteral("Kész!"), {}, Qt::Key_F3, QStringLiteral("dialog-ok-apply"),
              R::None, [this] {
                  const int id = currentId();
                  if (Kesz(m_session, m_engine, m_messages, id, this, m_dialogs.printChoice) != KeszResult::Unchanged)
                      afterBooking(id);
              });
    addAction(QStringLiteral("aBizNyom"), QStringLiteral("Bizonylat"), QStringLiteral("Bizonylat nyomtatás"),
              Qt::Key_F7, QStringLiteral("document-print"), R::None, [this] { printVoucher(false, false); });
    addAction(QStringLiteral("aBizNyom2"), QStringLiteral("Készpénzigénylés"),
              QStringLiteral("Készpénzigénylés elszámolásra bizonylat"), Qt::Key_F8, QString(), R::None,
              [this] { printVoucher(true, false); });
    addAction(QStringLiteral("aBizKep"), QStringLiteral("Bizonylat nyomtatási kép"), {}, none,
              QStringLiteral("document-print-preview"), R::None, [this] { printVoucher(false, true); });
    addAction(QStringLiteral("aBizKep2"), QStringLiteral("Készpénzigénylés nyomtatási kép"),
              QStringLiteral("Készpénzigénylés (nyomtatási kép)"), none, QString(), R::None,
              [this] { printVoucher(true, true); });
    addAction(QStringLiteral("aBizNyom3"), QStringLiteral("Bizonylatok időszakra"), {}, none, QString(), R::None,
              [this] { printPeriodVouchers(false); });
    addAction(QStringLiteral("aBizNyom4"), QStringLiteral("Bizonylatok időszakra (nyomtatási kép)"), {}, none,
              QString(), R::None, [this] { printPeriodVouchers(true); });
    addAction(QStringLiteral("aNapLezar"), QStringLiteral("Zárás"), QStringLiteral("Nap lezárása"), Qt::Key_F9,
              QStringLiteral("document-close"), R::None, [this] { onCloseDay(); });
    addAction(QStringLiteral("aNapzarasok"), QStringLiteral("Nap zárások"), {}, QKeySequence(Qt::CTRL | Qt::Key_F9),
              QStringLiteral("view-calendar-list"), R::None, [this] {
                  NapZarasok(m_session, m_engine, m_messages,
                             {m_dialogs.reports, m_dialogs.exportRows, m_dialogs.exportHtml}, this);
              });
    QAction *filter = addAction(QStringLiteral("aSzur"), QStringLiteral("Lezáratlan"),
                                QStringLiteral("Szűrés (csak lezáratlan)"), QKeySequence(Qt::CTRL | Qt::Key_M),
                                QStringLiteral("view-filter"), R::None, [this] { ToggleUnclosedFilter(); });
    filter->setCheckable(true);
    filter->setChecked(true);
    addAction(QStringLiteral("aKeres"), QStringLiteral("Keresés"), {}, QKeySequence(Qt::CTRL | Qt::Key_F),
              QStringLiteral("edit-find"), R::None, [this] {
                  if (const std::optional<qint64> found = m_dialogs.search(this))
                      StandOn(int(*found));
              });
    addAction(QStringLiteral("aBetuNovel"), QStringLiteral("Betűméret növelése"), {}, none,
              QStringLiteral("format-font-size-more"), R::None, [this] { onFontBigger(); });
    addAction(QStringLiteral("aBetuCsokkent"), QStringLiteral("Betűméret csökkentése"), {}, none,
              QStringLiteral("format-font-size-less"), R::None, [this] { onFontSmaller(); });
    addAction(QStringLiteral("aTorzsKasszaTipus"), QStringLiteral("Kassza típusok"), {}, none, QString(), R::Edit,
              [this] {
                  m_dialogs.movementTypes(this);
                  refreshNames();
              });
    addAction(QStringLiteral("aTorzsUgyfel"), QStringLiteral("Ügyfelek"), {}, none, QStringLiteral("system-users"),
              R::Edit, [this] {
                  m_dialogs.clients(this);
                  refreshNames();
              });
    addAction(QStringLiteral("aTorzsKassza"), QStringLiteral("Kasszák"), {}, none, QString(), R::None, [this] {
        m_dialogs.tills(-1, false, nullptr, this);
        refreshNames();
    });
    for (const char *name : {"aNyomBevet", "aNyomKifizet", "aNyomKasszatortenet", "aNyomBevet1", "aNyomKifizet1",
                             "aNyomKasszatortenet1"}) {
        const QString n = QString::fromLatin1(name);
        const bool receipts = n.startsWith(QStringLiteral("aNyomBevet"));
        const bool payments = n.startsWith(QStringLiteral("aNyomKifizet"));
        const QString caption = receipts   ? QStringLiteral("Pénztári befizetések összesítése")
                                : payments ? QStringLiteral("Pénztári kifizetések időszakra")
                                           : QStringLiteral("Kasszatörténet");
        const int kind = receipts ? TqrOssz::Befizetesek : payments ? TqrOssz::Kifizetesek : TqrOssz::Kasszatortenet;
        // The "…1" forms ask for the till first.
        const bool chooseTill = n.endsWith(QLatin1Char('1'));
        addAction(n, caption, {}, none, QString(), R::None, [this, kind, chooseTill] {
            PrintPeriodReport(m_session, m_engine, kind, chooseTill, m_dialogs.reports, this);
        });
    }
    addAction(QStringLiteral("aNyomElszamol"), QStringLiteral("Elszámolásra váró tételek"), {}, none, QString(),
              R::None, [this] { PrintWaitingAdvances(m_session, m_engine, m_dialogs.reports, this); });
    addAction(QStringLiteral("aNyomKpFizetes"), QStringLiteral("Készpénzes kifizetések ügyfelenként"), {}, none,
              QString(), R::None, [this] { PrintMonthlyCashPayments(m_session, m_engine, m_dialogs.reports, this); });
    addAction(QStringLiteral("aNyomElszamolas"), QStringLiteral("Készpénzigénylések elszámolása"), {}, none, QString(),
              R::None, [this] { PrintSettlements(m_session, m_engine, m_dialogs.reports, this); });
    addAction(QStringLiteral("aFelhasznalo"), QStringLiteral("Felhasználók"), {}, none, QStringLiteral("system-users"),
              R::Admin, [this] { m_dialogs.users(this); });
    addAction(QStringLiteral("aSQL"), QStringLiteral("Szabad lekérdezés"), {}, none, QString(), R::Admin,
              [this] { m_dialogs.sqlConsole(this); });
    addAction(QStringLiteral("aNaplo"), QStringLiteral("Eseménynapló"), {}, none, QStringLiteral("view-history"),
              R::Admin, [this] {
                  EsemenyNaplo(m_session, m_engine, m_messages,
                               {m_dialogs.reports, m_dialogs.exportRows, m_dialogs.exportHtml}, this);
              });
    addAction(QStringLiteral("aArchiv"), QStringLiteral("Adatbázis archiválása"), {}, none,
              QStringLiteral("document-save-as"), R::None, [this] { onArchive(); });
    addAction(QStringLiteral("aVisszaallit"), QStringLiteral("Visszaállítás archívumból"), {}, none,
              QStringLiteral("archive-extract"), R::None, [this] { m_dialogs.restore(this); });
    addAction(QStringLiteral("aAdatbazis"), QStringLiteral("Adatbázisok"), {}, none, QStringLiteral("server-database"),
              R::None, [this] { m_dialogs.databases(this); });
    addAction(QStringLiteral("aBeallit"), QStringLiteral("Beállítások"), {}, QKeySequence(Qt::ALT | Qt::Key_Return),
              QStringLiteral("configure"), R::Admin, [this] { onSettings(); });
    addAction(QStringLiteral("aSugo"), QStringLiteral("Súgó"), {}, Qt::Key_F1, QStringLiteral("help-contents"), R::None,
              [this] { onHelp(); });
    addAction(QStringLiteral("aHonlap"), QStringLiteral("Velmora honlapja"), {}, none,
              QStringLiteral("internet-web-browser"), R::None,
              [this] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(MakerInfo::HomePage))); });
    addAction(
        QStringLiteral("aLevel"), QStringLiteral("Levélküldés Velmoranak"), {}, none,
        QStringLiteral("mail-message-new"), R::None, [this] {
            QDesktopServices::openUrl(QUrl(
                QStringLiteral("mailto:%1?subject=Dromvel.Pro%20program").arg(QString::fromLatin1(MakerInfo::Mail))));
        });
    addAction(QStringLiteral("aUjdonsag"), QStringLiteral("Újdonságok az Interneten"), {}, none,
              QStringLiteral("news-subscribe"), R::None, [this] { onNews(); });
    addAction(QStringLiteral("aNevjegy"), QStringLiteral("Névjegy"), {}, none, QStringLiteral("help-about"), R::None,
              [this] { onAbout(); });
}

QAction *Tfrm_Main::action(const QString &name) const
{
    return m_actions.value(name);
}

void Tfrm_Main::createMenus()
{
    const auto add = [this](QMenu *menu, std::initializer_list<const char *> names) { Fill(menu, names, this); };
    QMenuBar *bar = menuBar();
    add(bar->addMenu(QStringLiteral("Rekordok")), {"aKasszaValaszt", "-", "aUj", "aSzerkeszt", "aTorol", "-",
                                                   "aNyomtat", "aNyomtatkep", "-", "aExcelbe", "aHtml", "-", "aBezar"});
    add(bar->addMenu(QStringLiteral("Kassza")),
        {"aElszamol", "aKesz", "-", "aBizNyom", "aBizNyom2", "-", "aNapLezar", "aNapzarasok"});
    add(bar->addMenu(QStringLiteral("Nézet")), {"aBetuNovel", "aBetuCsokkent"});
    add(bar->addMenu(QStringLiteral("Törzsadatok")), {"aTorzsKasszaTipus", "aTorzsUgyfel", "-", "aTorzsKassza"});
    QMenu *reports = bar->addMenu(QStringLiteral("Nyomtatások"));
    add(reports->addMenu(QStringLiteral("Aktuális kassza")), {"aNyomBevet", "aNyomKifizet", "aNyomKasszatortenet"});
    add(reports->addMenu(QStringLiteral("Választott kassza")),
        {"aNyomBevet1", "aNyomKifizet1", "aNyomKasszatortenet1"});
    reports->addSeparator();
    add(reports, {"aNyomElszamol", "aNyomElszamolas", "-", "aNyomKpFizetes"});
    add(bar->addMenu(QStringLiteral("Rendszer")),
        {"aFelhasznalo", "aSQL", "aNaplo", "-", "aArchiv", "aVisszaallit", "aAdatbazis", "-", "aBeallit"});
    add(bar->addMenu(QStringLiteral("Súgó")), {"aSugo", "-", "aHonlap", "aLevel", "aUjdonsag", "-", "aNevjegy"});
    // The menus open from the keyboard: F10 the first, Alt and a letter of the caption each. The letters are the
    // window's shortcuts rather than "&" marks, so the captions show exactly their text.
    const QList<QAction *> menus = bar->actions();
    const Qt::Key letters[] = {Qt::Key_R, Qt::Key_K, Qt::Key_N, Qt::Key_T, Qt::Key_Y, Qt::Key_E, Qt::Key_S};
    for (int i = 0; i < menus.size(); ++i)
        OpenMenuOn(QKeySequence(Qt::ALT | letters[i]), bar, menus.at(i));
    OpenMenuOn(QKeySequence(Qt::Key_F10), bar, menus.first());

    auto *gridMenu = new QMenu(this);
    gridMenu->setObjectName(QStringLiteral("GridMenu"));
    add(gridMenu, {"aUj", "aSzerkeszt", "aTorol", "-", "aElszamol", "aKesz", "-", "aSzur", "-"});
    add(gridMenu->addMenu(QStringLiteral("Nyomtat")), {"aBizNyom", "aBizNyom2"});
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this, gridMenu](const QPoint &pos) { gridMenu->popup(m_grid->viewport()->mapToGlobal(pos)); });
}

void Tfrm_Main::createToolBars()
{
    QToolBar *upper = addToolBar(QStringLiteral("Eszközök"));
    upper->setObjectName(QStringLiteral("ToolBarUpper"));
    upper->setMovable(false);
    upper->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Fill(upper,
         {"aKasszaValaszt", "-",           "aArchiv", "aBeallit", "-",     "aBetuNovel", "aBetuCsokkent", "-",
          "aNyomtat",       "aNyomtatkep", "-",       "aExcelbe", "aHtml", "-",          "aSugo",         "aHonlap",
          "aLevel",         "aUjdonsag",   "-",       "aBezar"},
         this);
    addToolBarBreak();

    QToolBar *lower = new QToolBar(QStringLiteral("Kassza"), this);
    lower->setObjectName(QStringLiteral("ToolBarLower"));
    lower->setMovable(false);
    lower->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    lower->setIconSize(QSize(16, 16));
    auto *voucherMenu = new QMenu(this);
    voucherMenu->setObjectName(QStringLiteral("VoucherPrintMenu"));
    Fill(voucherMenu, {"aBizNyom", "aBizNyom2", "-", "aBizNyom3", "-", "aBizKep", "aBizKep2", "-", "aBizNyom4"}, this);
    Fill(lower, {"aKeres", "-", "aSzur", "-", "aUj", "aSzerkeszt", "aTorol", "-", "aKesz", "aElszamol", "-"}, this);
    auto *drop = new QToolButton(lower);
    drop->setObjectName(QStringLiteral("btnBizonylat"));
    drop->setText(QStringLiteral("Bizonylat"));
    drop->setToolTip(QStringLiteral("Bizonylat nyomtatás"));
    drop->setIcon(QIcon::fromTheme(QStringLiteral("document-print")));
    drop->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    drop->setPopupMode(QToolButton::InstantPopup);
    drop->setMenu(voucherMenu);
    lower->addWidget(drop);
    Fill(lower, {"-", "aNapLezar"}, this);
    for (QAction *a : lower->actions()) {
        if (QWidget *button = lower->widgetForAction(a); button && !a->isSeparator())
            button->setMinimumSize(57, 36);
    }
    addToolBar(lower);
}

void Tfrm_Main::createCentralArea()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_title = new QLabel(central);
    m_title->setObjectName(QStringLiteral("TitlePanel"));
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(15);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_title->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(m_title);

    m_grid = new QTableView(central);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(false);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setHighlightSections(false);
    // Keep the selection visible when the grid loses the focus.
    QPalette palette = m_grid->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    m_grid->setPalette(palette);
    layout->addWidget(m_grid, 1);
    m_grid->installEventFilter(this);
    connect(m_grid, &QAbstractItemView::doubleClicked, this,
            [this] { action(QStringLiteral("aSzerkeszt"))->trigger(); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { RunGuarded(Right::None, [this, column] { SortByColumn(column); }); });

    auto *info = new QFrame(central);
    info->setObjectName(QStringLiteral("InfoPanel"));
    info->setFrameShape(QFrame::StyledPanel);
    info->setFixedHeight(69);
    auto *grid = new QGridLayout(info);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    auto caption = [info](const QString &text, bool grey) {
        auto *label = new QLabel(text, info);
        if (grey)
            label->setEnabled(false);
        return label;
    };
    auto value = [info](const QString &name, Qt::Alignment align) {
        auto *label = new QLabel(info);
        label->setObjectName(name);
        label->setAlignment(align | Qt::AlignVCenter);
        label->setMinimumWidth(90);
        return label;
    };
    m_sumIn = value(QStringLiteral("lblBevesz"), Qt::AlignRight);
    m_sumOut = value(QStringLiteral("lblKiad"), Qt::AlignRight);
    m_balance = value(QStringLiteral("lblPenzkeszlet"), Qt::AlignRight);
    QFont bold = m_balance->font();
    bold.setBold(true);
    m_balance->setFont(bold);
    grid->addWidget(caption(QStringLiteral("le nem zárt bevétel"), true), 0, 0);
    grid->addWidget(m_sumIn, 0, 1);
    grid->addWidget(caption(QStringLiteral("le nem zárt kiadás"), true), 1, 0);
    grid->addWidget(m_sumOut, 1, 1);
    grid->addWidget(caption(QStringLiteral("jelenlegi pénzkészlet"), true), 2, 0);
    grid->addWidget(m_balance, 2, 1);
    m_cashLimit = new QLabel(info);
    m_cashLimit->setObjectName(QStringLiteral("lblPenzkeszletMax"));
    m_cashLimit->setEnabled(false);
    grid->addWidget(m_cashLimit, 2, 2);

    m_infoDeadline = value(QStringLiteral("lblElszHatId"), Qt::AlignLeft);
    m_infoSettled = value(QStringLiteral("lblElszamolas"), Qt::AlignLeft);
    m_infoDocument = value(QStringLiteral("lblElszBiz"), Qt::AlignLeft);
    m_infoAccount = value(QStringLiteral("lblBizszam"), Qt::AlignLeft);
    grid->setColumnMinimumWidth(2, 20);
    grid->addWidget(caption(QStringLiteral("elsz.hat.id"), false), 0, 3);
    grid->addWidget(m_infoDeadline, 0, 4);
    grid->addWidget(caption(QStringLiteral("elszámolás"), false), 1, 3);
    grid->addWidget(m_infoSettled, 1, 4);
    grid->addWidget(caption(QStringLiteral("elsz.biz."), false), 2, 3);
    grid->addWidget(m_infoDocument, 2, 4);
    grid->addWidget(caption(QStringLiteral("biz.szám (1)"), false), 0, 5);
    grid->addWidget(m_infoAccount, 0, 6);
    m_infoText = new QLabel(info);
    m_infoText->setObjectName(QStringLiteral("lblSzoveg"));
    m_infoText->setWordWrap(true);
    m_infoText->setFixedWidth(191);
    m_infoText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->setColumnStretch(7, 1);
    grid->addWidget(m_infoText, 0, 8, 3, 1);
    layout->addWidget(info);

    setCentralWidget(central);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        updateRecordCounter();
        updateInfoPanel();
    });
}

void Tfrm_Main::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 5; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        // At least the panel's width; a larger font widens it rather than cutting its text.
        panel->setMinimumWidth(PanelWidths[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        if (i < 4)
            panel->setAlignment(Qt::AlignCenter);
        bar->addWidget(panel);
        m_panels.append(panel);
    }
    // A click lists the overdue advances.
    m_overdue = new QLabel(bar);
    m_overdue->setObjectName(QStringLiteral("StatusPanelLejart"));
    m_overdue->setFrameShape(QFrame::StyledPanel);
    m_overdue->setAlignment(Qt::AlignCenter);
    m_overdue->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold; padding: 0 6px;"));
    m_overdue->setCursor(Qt::PointingHandCursor);
    m_overdue->setToolTip(QStringLiteral("Lejárt határidejű elszámolások listája"));
    m_overdue->installEventFilter(this);
    m_overdue->hide();
    bar->addPermanentWidget(m_overdue);
}

void Tfrm_Main::updateOverdueCount()
{
    const qsizetype count = OverdueAdvances(m_engine, m_session.till, m_session.openDay).size();
    m_overdue->setText(QStringLiteral("Lejárt elszámolás: %1").arg(count));
    m_overdue->setVisible(count > 0);
}

void Tfrm_Main::WarnOverdueAdvances()
{
    const QString warning = OverdueAdvancesWarning(m_engine, m_session.till, m_session.openDay);
    if (!warning.isEmpty())
        m_messages.ShowWarning(warning, this);
}

void Tfrm_Main::setStatus(int panel, const QString &text)
{
    if (panel >= 0 && panel < m_panels.size())
        m_panels[panel]->setText(text);
}

QString Tfrm_Main::statusText(int panel) const
{
    return panel >= 0 && panel < m_panels.size() ? m_panels[panel]->text() : QString();
}

QString Tfrm_Main::balanceText() const
{
    return m_balance->text();
}

QString Tfrm_Main::sumText(int which) const
{
    return which == 0 ? m_sumIn->text() : m_sumOut->text();
}

bool Tfrm_Main::event(QEvent *event)
{
    // Hints go to status panel 1 with two leading blanks instead of covering the panels.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent *>(event)->tip();
        setStatus(1, tip.isEmpty() ? QString() : QStringLiteral("  ") + tip);
        return true;
    }
    return QMainWindow::event(event);
}

void Tfrm_Main::RunGuarded(Right right, const std::function<void()> &work)
{
    const bool allowed = right == Right::None || (right == Right::Admin && m_session.admin) ||
                         (right == Right::Edit && m_session.masterEdit);
    if (!allowed) {
        m_messages.ShowError(NoRight, this);
        return;
    }
    try {
        work();
    } catch (const std::exception &e) {
        // An EngineError's or ArchiveError's what() is its Hungarian message.
        m_messages.ShowApplicationError(QString::fromUtf8(e.what()), this);
    }
}

void Tfrm_Main::TillSwitch(int till, const QString &name)
{
    m_session.till = till;
    m_model->setTill(till, m_unclosedOnly);
    m_title->setText(QStringLiteral("Kassza: ") + name);
    setStatus(2, QStringLiteral("Kassza: ") + name);
    m_session.tillName = name;
    reopenSums();
    m_session.closedUntil = TillClosedUntil(m_engine, till);
    setStatus(3, DayStateText(m_session.openDay, m_session.closedUntil));
    reopenView(-1);
    updateOverdueCount();
}

void Tfrm_Main::ToggleUnclosedFilter()
{
    // The action's check mark has already flipped when this runs from the action.
    m_unclosedOnly = action(QStringLiteral("aSzur"))->isChecked();
    m_model->setTill(m_session.till, m_unclosedOnly);
    reopenView(-1);
}

void Tfrm_Main::SortByColumn(int column)
{
    const QString field =
        column == m_model->sorszamColumn() ? QStringLiteral("ssz") : m_model->record().fieldName(column);
    if (field.isEmpty())
        return;
    m_sortField = field;
    setStatus(3, QStringLiteral("sorrend: ") + m_model->headerData(column, Qt::Horizontal).toString());
    HighlightColumn(m_grid, column);
    m_model->setSortedColumn(column);
    m_model->setOrderField(m_sortField);
    reopenView(-1);
}

void Tfrm_Main::reopenView(int dromvel)
{
    m_model->reopen();
    const QSqlRecord rec = m_model->record();
    QHeaderView *header = m_grid->horizontalHeader();
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_grid->setColumnHidden(c, true);
    for (int i = 0; i < VisibleFields.size(); ++i) {
        const int logical =
            VisibleFields[i] == QLatin1String("sorszam") ? m_model->sorszamColumn() : rec.indexOf(VisibleFields[i]);
        if (logical < 0)
            continue;
        m_grid->setColumnHidden(logical, false);
        header->moveSection(header->visualIndex(logical), i);
    }
    m_grid->setColumnWidth(rec.indexOf(QStringLiteral("elszamolva")), 40);
    updateColumnWidths();
    int row = dromvel > 0 ? m_model->rowOfId(dromvel) : -1;
    if (row < 0 && m_model->rowCount() > 0)
        row = 0;
    if (row >= 0) {
        const QModelIndex index = m_model->index(row, m_model->sorszamColumn());
        m_grid->setCurrentIndex(index);
        m_grid->scrollTo(index);
    }
    // The row count changes only when the view is reopened; moving the cursor needs no new count.
    m_totalRows = m_model->totalRows();
    updateRecordCounter();
    updateInfoPanel();
}

void Tfrm_Main::reopenSums()
{
    const UnclosedTotals sums = m_ops->UnclosedSums(m_session.till);
    m_sumIn->setText(FormatFloat(m_moneyFormat, sums.receipts));
    m_sumOut->setText(FormatFloat(m_moneyFormat, sums.payments));
}

void Tfrm_Main::BalanceDisplay()
{
    const double balance = m_ops->TillBalance(m_session.till);
    m_balanceValue = balance;
    m_balance->setText(FormatFloat(QStringLiteral("### ### ##0"), balance));
    // The till's cash limit beside it; the balance turns red above it.
    const std::optional<double> limit = TillCashLimit(m_engine, m_session.till);
    m_cashLimit->setText(limit ? QStringLiteral("max. ") + FormatFloat(QStringLiteral("### ### ##0"), *limit)
                               : QString());
    m_balance->setStyleSheet(CashLimitExcess(balance, limit) > 0 ? QStringLiteral("color: #b00000;") : QString());
    StoreBalance(m_engine, m_session.till, balance);
}

void Tfrm_Main::Refresh(int dromvel)
{
    reopenSums();
    reopenView(dromvel);
    BalanceDisplay();
    updateOverdueCount();
}

bool Tfrm_Main::StandOn(int dromvel)
{
    const int row = dromvel > 0 ? m_model->rowOfId(dromvel) : -1;
    if (row < 0)
        return false;
    const QModelIndex index = m_model->index(row, m_model->sorszamColumn());
    m_grid->setCurrentIndex(index);
    m_grid->scrollTo(index);
    return true;
}

int Tfrm_Main::currentId() const
{
    const QModelIndex index = m_grid->currentIndex();
    if (!index.isValid())
        return -1;
    return m_model->field(index.row(), QStringLiteral("dromvel")).toInt();
}

void Tfrm_Main::updateRecordCounter()
{
    const QModelIndex index = m_grid->currentIndex();
    setStatus(0, RecordPositionText(m_totalRows, index.isValid() ? index.row() : -1));
}

void Tfrm_Main::updateInfoPanel()
{
    const QModelIndex index = m_grid->currentIndex();
    const int row = index.isValid() ? index.row() : -1;
    auto date = [this, row](const char *name) {
        const QDate d = m_model->field(row, QString::fromLatin1(name)).toDate();
        return d.isValid() ? d.toString(QStringLiteral("yyyy.MM.dd")) : QString();
    };
    m_infoDeadline->setText(date("elszamol_kell_dat"));
    m_infoSettled->setText(date("elszamol_dat"));
    m_infoDocument->setText(ValueOr(m_model->field(row, QStringLiteral("elszamol_biz")), QString()));
    m_infoAccount->setText(ValueOr(m_model->field(row, QStringLiteral("bizszam1")), QString()));
    m_infoText->setText(ValueOr(m_model->field(row, QStringLiteral("szoveg")), QString()));
}

void Tfrm_Main::updateColumnWidths()
{
    const QSqlRecord rec = m_model->record();
    if (rec.isEmpty())
        return;
    const int available = m_grid->width() - 58;
    for (int i = 1; i < VisibleFields.size(); ++i) {
        const int logical =
            VisibleFields[i] == QLatin1String("sorszam") ? m_model->sorszamColumn() : rec.indexOf(VisibleFields[i]);
        if (logical >= 0)
            m_grid->setColumnWidth(logical, int(std::nearbyint(available * WidthFactors[i - 1])));
    }
}

bool Tfrm_Main::eventFilter(QObject *watched, QEvent *event)
{
    // The columns share the grid's width, so they follow every resize of the grid itself.
    if (watched == m_grid && event->type() == QEvent::Resize)
        updateColumnWidths();
    if (watched == m_overdue && event->type() == QEvent::MouseButtonRelease) {
        RunGuarded(Right::None, [this] { PrintOverdueAdvances(m_session, m_engine, m_dialogs.reports, this); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tfrm_Main::setFontSize(int size)
{
    m_session.fontSize = size;
    ApplyFontSize(this, size);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    fitInfoPanel();
}

void Tfrm_Main::fitInfoPanel()
{
    // 69 pixels hold the three lines at the usual sizes; larger fonts need more.
    auto *info = static_cast<QFrame *>(m_balance->parentWidget());
    auto *grid = static_cast<QGridLayout *>(info->layout());
    const QMargins margins = grid->contentsMargins();
    const int lines =
        3 * std::max(m_balance->minimumHeight(), m_balance->fontMetrics().height()) + 2 * grid->verticalSpacing();
    info->setFixedHeight(std::max(69, lines + margins.top() + margins.bottom() + 2 * info->frameWidth()));
}

void Tfrm_Main::onFontBigger()
{
    if (m_session.fontSize < 10)
        setFontSize(m_session.fontSize + 1);
}

void Tfrm_Main::onFontSmaller()
{
    if (m_session.fontSize > 8)
        setFontSize(m_session.fontSize - 1);
}

void Tfrm_Main::onChooseTill()
{
    QString name;
    const int till = m_dialogs.tills(m_session.till, true, &name, this);
    if (till != -1)
        TillSwitch(till, name);
    BalanceDisplay();
}

void Tfrm_Main::onArchive()
{
    m_dialogs.archive(this);
    Refresh(currentId());
}

void Tfrm_Main::refreshNames()
{
    // The master lists may have renamed a till, a movement type or a client that the window shows.
    const int row = currentId();
    const QString name = m_ops->TillName(m_session.till);
    m_title->setText(QStringLiteral("Kassza: ") + name);
    setStatus(2, QStringLiteral("Kassza: ") + name);
    m_session.tillName = name;
    Refresh(row);
}

void Tfrm_Main::afterForm(int dromvel)
{
    if (dromvel != -1)
        afterBooking(dromvel);
}

void Tfrm_Main::afterBooking(int dromvel)
{
    const double before = m_balanceValue;
    Refresh(dromvel);
    if (m_balanceValue == before)
        return;
    for (const QString &warning :
         {MonthlyCashPaymentWarning(m_engine, dromvel), TillCashLimitWarning(m_engine, m_session.till, m_balanceValue)})
        if (!warning.isEmpty())
            m_messages.ShowWarning(warning, this);
}

void Tfrm_Main::warnAboveCashLimit()
{
    const QString warning = TillCashLimitWarning(m_engine, m_session.till, m_balanceValue);
    if (!warning.isEmpty())
        m_messages.ShowWarning(warning, this);
}

void Tfrm_Main::onCloseDay()
{
    const QDate before = m_session.closedUntil;
    const int closing = NapLezar(m_session, m_engine, m_messages, this, m_dialogs.cashCount);
    // A refusal may have found the day closed on another workstation.
    if (closing == 0 && m_session.closedUntil == before)
        return;
    setStatus(3, DayStateText(m_session.openDay, m_session.closedUntil));
    if (closing == 0)
        return;
    // The closed rows leave the unclosed view and the unclosed sums.
    Refresh(currentId());
    warnAboveCashLimit();
    NapZarNyomtat(m_session, m_engine, closing, m_dialogs.reports, this);
}

void Tfrm_Main::printVoucher(bool request, bool preview)
{
    const QModelIndex index = m_grid->currentIndex();
    if (!index.isValid())
        return;
    const auto flag = [this, &index](const char *field) {
        return ValueOr(m_model->field(index.row(), QString::fromLatin1(field)), QString());
    };
    if (flag("kiadva") == QLatin1String("N")) {
        m_messages.ShowError(QStringLiteral("A bizonylat még nem lett lezárva."), this);
        return;
    }
    if (request && flag("elszamol_kell") == QLatin1String("N")) {
        m_messages.ShowError(QStringLiteral("Ez a bizonylat nem elszámolásra készült."), this);
        return;
    }
    m_dialogs.printVoucher(currentId(), request, preview, this);
}

void Tfrm_Main::printPeriodVouchers(bool preview)
{
    m_dialogs.printPeriodVouchers(m_session.till, preview, this);
}

void Tfrm_Main::onSettings()
{
    if (m_dialogs.settings(this))
        updateCaption();
}

void Tfrm_Main::updateCaption()
{
    setWindowTitle(QStringLiteral("Dromvel.Pro: [") + OwnerName(m_engine) + QLatin1Char(']'));
}

void Tfrm_Main::openShell(const QString &target)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}

void Tfrm_Main::onHelp()
{
    QString page = ProgramFolder() + QStringLiteral("/Help/index.htm");
    if (!QFileInfo::exists(page))
        page = QStringLiteral(DROMVEL_DATA_DIR "/Help/index.htm");
    if (!QFileInfo::exists(page)) {
        m_messages.ShowError(QStringLiteral("A súgó nem található: ") + QDir::toNativeSeparators(page), this);
        return;
    }
    openShell(page);
}

void Tfrm_Main::onNews()
{
    const QString program = ProgramFolder() + QStringLiteral("/Ujdonsag");
    if (!QFileInfo(program).isExecutable() || !QProcess::startDetached(program, {}, ProgramFolder()))
        m_messages.ShowInfo(QStringLiteral("Az újdonságok programja nincs telepítve ezen a gépen."), this);
}

void Tfrm_Main::onAbout()
{
    AboutBox box(m_session.fontSize, this);
    box.exec();
}

void Tfrm_Main::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    SplashWindow::ShowOnce(this);
}

void Tfrm_Main::closeEvent(QCloseEvent *event)
{
    WriteIniSettings(m_session, m_messages, normalGeometry());
    event->accept();
}
