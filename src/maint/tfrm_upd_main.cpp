#include "tfrm_upd_main.h"

#include "codepage.h"
#include "databaselistentry.h"
#include "databaseupgrade.h"
#include "dblist.h"
#include "eventlog.h"
#include "filedialogs.h"
#include "indexrebuild.h"
#include "ini.h"
#include "inputdialog.h"
#include "ledgercheck.h"
#include "ledgermove.h"
#include "maintenancedatabase.h"
#include "makerinfo.h"
#include "messages.h"
#include "paradoximport.h"
#include "productpicture.h"
#include "serveraddress.h"
#include "serverlogin.h"
#include "tfrm_adatbazisnyitbde.h"
#include "util.h"
#include "workarea.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {

const QStringList Instructions{
    QStringLiteral("Lépések, ha új verziót kíván telepíteni:"),
    QString(),
    QStringLiteral("1. Ellenőrizze, hogy egyetlen számítógépen se fusson a Dromvel program."),
    QStringLiteral("2. Nyomja meg a verzióváltás gombot a frissítéshez."),
    QStringLiteral("3. Nyomja meg a karbantartás gombot az adatbázis hibajavításához, optimalizálásához."),
    QString(),
    QStringLiteral("Lépések, ha adatbázisa sérült, vagy csak lassabban fut a program:"),
    QString(),
    QStringLiteral("1. Ellenőrizze, hogy egyetlen számítógépen se működjön a Dromvel program."),
    QStringLiteral("2. Nyomja meg a karbantartás gombot az adatbázis hibajavításához, optimalizálásához."),
};

const QString RebuildDone = QStringLiteral("Indexek újraépítése kész.");

QString Now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd. HH:mm"));
}

const QString AddressForm = QStringLiteral("postgresql://[felhasználó@]kiszolgáló[:port]/adatbázis");

// The database as a report names it: a folder in the system's form, a server's address as it is.
QString Shown(const QString &database)
{
    const QString folder = MaintenanceDatabase::FolderOf(database);
    return ServerAddress::isServerPath(folder) ? folder : QDir::toNativeSeparators(folder);
}

// While an operation runs: the buttons rest and the cursor waits; a message box gets the normal cursor back.
class Busy
{
public:
    explicit Busy(const QList<QPushButton *> &buttons) : m_buttons(buttons)
    {
        for (QPushButton *b : m_buttons)
            b->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~Busy()
    {
        QApplication::restoreOverrideCursor();
        for (QPushButton *b : m_buttons)
            b->setEnabled(true);
    }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

    static void Show(const std::function<void()> &box)
    {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        box();
        QApplication::restoreOverrideCursor();
    }

private:
    QList<QPushButton *> m_buttons;
};

QPushButton *Button(const QString &text, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// Logs a run of the maintenance program in the database it ran on, once it has run; nobody logs in here. An
// older database that has no log yet (a rebuild without the upgrade) gets no entry. Returns the engine's message
// when the entry could not be written.
QString LogRun(Engine &engine, const QString &event, const QString &text)
{
    try {
        if (engine.tables().contains(QStringLiteral("naplo"), Qt::CaseInsensitive))
            LogEventAlone(engine, {event, QString(), 0, 0, text});
    } catch (const EngineError &e) {
        return QStringLiteral("Az eseménynapló nem írható: ") + e.message();
    }
    return {};
}

} // namespace

Tfrm_Upd_Main::Tfrm_Upd_Main(Messages &messages, FileDialogs &fileDialogs, QWidget *parent)
    : QDialog(parent), m_messages(messages), m_fileDialogs(fileDialogs)
{
    setObjectName(QStringLiteral("Tfrm_Upd_Main"));
    setWindowTitle(QStringLiteral("Dromvel.Pro program adatbázis karbantartás ") +
                   QString::fromLatin1(MakerInfo::Version));
    setWindowIcon(ProgramIcon(ProductProgram::Maintenance));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(703, 426);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(ProductPicture(QSize(703, 58), ProductProgram::Maintenance));
    picture->setFixedSize(703, 58);

    auto *path = new QLabel(QStringLiteral("Adatbázis elérési útvonala"), this);
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("Edit1"));
    path->setBuddy(m_folder);
    auto *choose = Button(QStringLiteral("Választ"), "btnValaszt", this);
    auto *rebuild = Button(QStringLiteral("Karbantartás"), "btnKarbantartas", this);
    auto *upgrade = Button(QStringLiteral("Verzióváltás"), "btnVerziovaltas", this);
    auto *check = Button(QStringLiteral("Ellenőrzés"), "btnEllenorzes", this);
    auto *import = Button(QStringLiteral("Régi adatbázis átvétele"), "btnAtvetel", this);
    m_move = Button(QString(), "btnAthelyezes", this);
    m_save = Button(QStringLiteral("Jelentés mentése..."), "btnMentes", this);
    m_save->setEnabled(false);
    auto *close = Button(QStringLiteral("Bezárás"), "btnBezaras", this);
    m_actions = {choose, rebuild, upgrade, check, import, m_move, close};

    auto *warning = new QLabel(QStringLiteral("Windows Vista, vagy Windows7 használatakor a karbantartó programot\n"
                                              "futtassa RENDSZERGAZDA jogokkal!"),
                               this);
    warning->setObjectName(QStringLiteral("Label2"));
    QFont bold(QStringLiteral("Arial"));
    bold.setPixelSize(15);
    bold.setBold(true);
    warning->setFont(bold);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Memo1"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::Monospace);
    courier.setPixelSize(12);
    m_text->setFont(courier);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    m_status->setFrameShape(QFrame::StyledPanel);
    m_status->setFrameShadow(QFrame::Sunken);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(14);
    m_progress->setRange(1, 12);
    m_progress->setValue(1);

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(path);
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(choose);
    folderRow->addWidget(m_move);
    auto *buttonRow = new QHBoxLayout;
    for (QPushButton *b : {rebuild, upgrade, check, import, m_save})
        buttonRow->addWidget(b);
    buttonRow->addStretch(1);
    buttonRow->addWidget(close);
    auto *panel = new QVBoxLayout;
    panel->setContentsMargins(8, 6, 8, 0);
    panel->setSpacing(6);
    panel->addLayout(folderRow);
    panel->addLayout(buttonRow);
    panel->addWidget(warning);
    panel->addWidget(m_text, 1);
    auto *bottom = new QVBoxLayout;
    bottom->setContentsMargins(2, 4, 2, 2);
    bottom->setSpacing(2);
    bottom->addWidget(m_status);
    bottom->addWidget(m_progress);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(picture);
    layout->addLayout(panel, 1);
    layout->addLayout(bottom);

    connect(choose, &QPushButton::clicked, this, &Tfrm_Upd_Main::aValaszt);
    connect(rebuild, &QPushButton::clicked, this, &Tfrm_Upd_Main::aKarbantartas);
    connect(upgrade, &QPushButton::clicked, this, &Tfrm_Upd_Main::aVerziovaltas);
    connect(check, &QPushButton::clicked, this, &Tfrm_Upd_Main::aEllenorzes);
    connect(import, &QPushButton::clicked, this, &Tfrm_Upd_Main::aAtvetel);
    connect(m_save, &QPushButton::clicked, this, &Tfrm_Upd_Main::aMentes);
    connect(m_move, &QPushButton::clicked, this, &Tfrm_Upd_Main::aAthelyezes);
    connect(m_folder, &QLineEdit::textChanged, this, &Tfrm_Upd_Main::nameMove);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    showText(Instructions, false);
    IniFile ini;
    if (!ini.load(IniPath()))
        m_messages.ShowError(QStringLiteral("A beállítások fájlja nem olvasható:\n%1\nA program az alapértelmezett "
                                            "adatbázis mappát ajánlja, a fájlt nem írja felül.")
                                 .arg(QDir::toNativeSeparators(IniPath())));
    m_folder->setText(StartFolder(ini));
    nameMove();
    move(WorkArea().center() - rect().center());
}

QString Tfrm_Upd_Main::StartFolder(const IniFile &ini)
{
    const QString path = ini.readString(QStringLiteral("Database"), QStringLiteral("Path"));
    if (!path.isEmpty())
        return path;
    const QString first =
        DatabaseList::EntryFolder(ini.readString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1")));
    if (!first.isEmpty())
        return first;
    return QDir::toNativeSeparators(DataFolder() + QStringLiteral("/Data"));
}

QString Tfrm_Upd_Main::folder() const
{
    return m_folder->text();
}

void Tfrm_Upd_Main::setFolder(const QString &folder)
{
    m_folder->setText(folder);
}

MaintenanceProgress Tfrm_Upd_Main::progress()
{
    MaintenanceProgress p;
    p.status = [this](const QString &text) {
        m_status->setText(text);
        m_status->repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    p.start = [this](int maximum) {
        m_progress->setRange(1, maximum + 1);
        m_progress->setValue(1);
    };
    p.step = [this] { m_progress->setValue(m_progress->value() + 1); };
    p.error = [this](const QString &text) { Busy::Show([&] { m_messages.ShowError(text, this); }); };
    return p;
}

void Tfrm_Upd_Main::finish()
{
    m_status->clear();
    m_progress->setValue(m_progress->minimum());
}

void Tfrm_Upd_Main::showText(const QStringList &lines, bool savable)
{
    m_text->setPlainText(lines.join(QLatin1Char('\n')));
    m_save->setEnabled(savable);
}

void Tfrm_Upd_Main::showWritten(QStringList lines, const QStringList &report, const QStringList &findings)
{
    lines << QStringLiteral("Ellenőrzés:    ") + LedgerCheck::summary(findings) << QString() << report;
    if (!findings.isEmpty())
        lines << QString() << QStringLiteral("Az ellenőrzés hibái:") << findings;
    showText(lines, true);
}

void Tfrm_Upd_Main::aValaszt()
{
    IniFile ini;
    ini.load(IniPath());
    const QStringList entries = DatabaseList::Read(ini);
    const int chosen = AdatbazisValaszt(DatabaseList::Names(entries), entries,
                                        QStringLiteral("Dromvel program adatbázis választás"), m_messages, this);
    if (chosen >= 0)
        m_folder->setText(DatabaseList::EntryFolder(entries.at(chosen)));
}

bool Tfrm_Upd_Main::openDatabase(MaintenanceDatabase &database, MaintenanceDatabase::Access access)
{
    const QString typed = folder();
    QString refusal;
    const std::optional<ServerAddress> address = ServerAddress::parse(MaintenanceDatabase::FolderOf(typed));
    if (address) {
        const QString key = address->toString();
        const std::optional<QString> password = AskPasswordWhileRefused(
            *address, m_passwords.value(key),
            [&](const QString &given) {
                refusal = database.open(typed, access, given);
                return database.passwordRefused();
            },
            this);
        if (!password)
            return false;
        if (refusal.isEmpty())
            m_passwords.insert(key, *password);
    } else {
        refusal = database.open(typed, access);
    }
    if (!refusal.isEmpty())
        m_messages.ShowError(refusal, this);
    return refusal.isEmpty();
}

std::optional<QString> Tfrm_Upd_Main::passwordFor(const QString &database)
{
    const std::optional<ServerAddress> address = ServerAddress::parse(database);
    if (!address)
        return QString();
    const QString key = address->toString();
    const std::optional<QString> password = PasswordFor(key, m_passwords.value(key), this);
    if (password)
        m_passwords.insert(key, *password);
    return password;
}

void Tfrm_Upd_Main::aKarbantartas()
{
    maintain(false);
}

void Tfrm_Upd_Main::aVerziovaltas()
{
    maintain(true);
}

void Tfrm_Upd_Main::maintain(bool upgradeFirst)
{
    MaintenanceDatabase database;
    if (!openDatabase(database, MaintenanceDatabase::Access::Exclusive))
        return;
    bool upToDate = true;
    QString logFailure;
    {
        Busy busy(m_actions);
        // An upgrade that failed leaves the rebuild out: the database is not in the layout it would rebuild.
        if (upgradeFirst)
            upToDate = UpgradeDatabase(database.engine(), progress());
        if (upToDate)
            RebuildIndexes(database.engine(), progress());
        logFailure = LogRun(database.engine(), QStringLiteral("Karbantartás"),
                            !upToDate      ? QStringLiteral("Verzióváltás: hibás")
                            : upgradeFirst ? QStringLiteral("Verzióváltás, ") + RebuildDone
                                           : RebuildDone);
        database.close();
    }
    if (!logFailure.isEmpty())
        m_messages.ShowError(logFailure, this);
    if (upToDate)
        m_messages.ShowInfo(RebuildDone, this);
    finish();
}

void Tfrm_Upd_Main::aEllenorzes()
{
    MaintenanceDatabase database;
    if (!openDatabase(database, MaintenanceDatabase::Access::Shared))
        return;
    QStringList findings;
    QString logFailure;
    {
        Busy busy(m_actions);
        const MaintenanceProgress p = progress();
        p.begin(7);
        findings = LedgerCheck::run(database.engine(), [&p](const QString &step) {
            p.advance();
            p.setStatus(QStringLiteral("Ellenőrzés: ") + step);
        });
        logFailure = LogRun(database.engine(), QStringLiteral("Ellenőrzés"), LedgerCheck::summary(findings));
        database.close();
    }
    QStringList lines{QStringLiteral("Ellenőrzés:    ") + Shown(folder()), QStringLiteral("Időpont:       ") + Now(),
                      QStringLiteral("Eredmény:      ") + LedgerCheck::summary(findings)};
    if (!findings.isEmpty())
        lines << QString() << findings;
    if (!logFailure.isEmpty())
        lines << QString() << logFailure;
    showText(lines, true);
    finish();
}

void Tfrm_Upd_Main::aMentes()
{
    const QString database = MaintenanceDatabase::FolderOf(folder());
    const QString proposed =
        QDir(ServerAddress::isServerPath(database) ? DataFolder() : database)
            .filePath(
                QStringLiteral("ellenorzes-%1.txt").arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))));
    const QString path =
        m_fileDialogs.SaveFileName(QStringLiteral("Jelentés mentése"), proposed, QStringLiteral("Szövegfájlok (*.txt)"),
                                   QStringLiteral("txt"), this);
    if (path.isEmpty())
        return;
    QString text = m_text->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QSaveFile file(path);
    const QByteArray bytes = ToWindows1250(text + QStringLiteral("\r\n"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        m_messages.ShowError(QStringLiteral("A jelentés nem írható ki: %1").arg(QDir::toNativeSeparators(path)), this);
}

void Tfrm_Upd_Main::aAtvetel()
{
    const QString current = MaintenanceDatabase::FolderOf(folder());
    const bool server = ServerAddress::isServerPath(current);
    const QString start = server ? DataFolder() : current;
    const QString source =
        m_fileDialogs.ExistingFolder(QStringLiteral("A régi (Paradox) adatbázis mappája"), start, this);
    if (source.isEmpty())
        return;
    // A server database named in the folder box is the target; otherwise a new folder.
    const QString target =
        server ? current
               : m_fileDialogs.ExistingFolder(QStringLiteral("Az új adatbázis mappája (üres mappa)"), start, this);
    if (target.isEmpty())
        return;
    if (server && !m_messages.AskYesNo(QStringLiteral("A régi adatbázis a kiszolgáló alábbi adatbázisába kerül, "
                                                      "amelynek üresnek kell lennie:\n%1\nFolytatja?")
                                           .arg(current),
                                       QStringLiteral("Megerősítés"), this))
        return;
    const std::optional<QString> password = passwordFor(target);
    if (!password)
        return;
    ParadoxImportResult result;
    {
        Busy busy(m_actions);
        result = ImportParadoxFolder(source, target, progress(), *password);
    }
    finish();
    if (!result.error.isEmpty()) {
        m_messages.ShowError(result.error, this);
        return;
    }
    const QString newDatabase = Shown(target);
    showWritten({QStringLiteral("Régi adatbázis átvétele, ") + Now(),
                 QStringLiteral("Régi táblák:   ") + QDir::toNativeSeparators(source),
                 QStringLiteral("Új adatbázis:  ") + newDatabase},
                result.report, result.findings);
    m_folder->setText(newDatabase);
    const QString listed = listDatabase(newDatabase, QStringLiteral("Átvett adatbázis"));
    if (!listed.isEmpty())
        m_messages.ShowInfo(QStringLiteral("A régi adatbázis átvétele kész.\n") + listed, this);
}

void Tfrm_Upd_Main::nameMove()
{
    m_move->setText(ServerAddress::isServerPath(folder()) ? QStringLiteral("Áthelyezés mappába...")
                                                          : QStringLiteral("Áthelyezés kiszolgálóra..."));
}

QString Tfrm_Upd_Main::moveTarget(bool toServer)
{
    if (!toServer)
        return m_fileDialogs.ExistingFolder(QStringLiteral("Az adatbázis új mappája (üres mappa)"), DataFolder(), this);
    QString typed = QStringLiteral("postgresql://");
    while (InputDialog(QStringLiteral("Áthelyezés kiszolgálóra"),
                       QStringLiteral("A kiszolgáló üres adatbázisának címe (%1). Ha a jelszófájl (.pgpass) vagy a "
                                      "PGPASSWORD változó nem adja meg a jelszót, a program megkérdezi.")
                           .arg(AddressForm),
                       QString(), typed, this)) {
        if (const std::optional<ServerAddress> address = ServerAddress::parse(typed))
            return address->toString();
        m_messages.ShowError(
            QStringLiteral("Hibás kiszolgáló cím: %1\nA cím alakja: %2").arg(typed.trimmed(), AddressForm), this);
    }
    return {};
}

void Tfrm_Upd_Main::aAthelyezes()
{
    const QString source = MaintenanceDatabase::FolderOf(folder());
    const std::optional<QString> sourcePassword = passwordFor(source);
    if (!sourcePassword)
        return;
    const QString target = moveTarget(!ServerAddress::isServerPath(source));
    if (target.isEmpty())
        return;
    const std::optional<QString> targetPassword = passwordFor(target);
    if (!targetPassword)
        return;
    LedgerMoveResult result;
    {
        Busy busy(m_actions);
        result = MoveLedger(source, target, progress(), *sourcePassword, *targetPassword);
    }
    finish();
    if (!result.error.isEmpty()) {
        m_messages.ShowError(result.error, this);
        return;
    }
    const QString moved = Shown(target);
    showWritten({QStringLiteral("Áthelyezés, ") + Now(), QStringLiteral("Forrás:        ") + Shown(source),
                 QStringLiteral("Cél:           ") + moved},
                result.report, result.findings);
    m_folder->setText(moved);
    const QString listed = listDatabase(moved, QStringLiteral("Áthelyezett adatbázis"));
    m_messages.ShowInfo(QStringLiteral("Az áthelyezés kész, a forrás adatbázis nem változott.\nEllenőrzés: %1\n%2")
                            .arg(LedgerCheck::summary(result.findings), listed)
                            .trimmed(),
                        this);
}

QString Tfrm_Upd_Main::listDatabase(const QString &database, const QString &label)
{
    IniFile ini;
    // A list that could not be read is never written over.
    if (!ini.load(IniPath())) {
        m_messages.ShowError(QStringLiteral("A beállítófájl nem olvasható, az új adatbázis nem került fel a listára: "
                                            "%1")
                                 .arg(QDir::toNativeSeparators(IniPath())),
                             this);
        return {};
    }
    const QStringList entries = DatabaseList::Read(ini);
    for (const QString &entry : entries)
        if (DatabaseList::EntryFolder(entry) == database)
            return QStringLiteral("Az adatbázis „%1” néven szerepel az adatbázisok listáján.")
                .arg(DatabaseList::EntryName(entry));
    const QString name = QStringLiteral("%1. %2").arg(entries.size() + 1).arg(label);
    if (!AppendDatabaseEntry(ini, IniPath(), name, database, m_messages, this))
        return {};
    return QStringLiteral("Az új adatbázis „%1” néven felkerült az adatbázisok listájára.").arg(name);
}
