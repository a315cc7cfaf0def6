#include "maindialogs.h"

#include "archivedialog.h"
#include "choosers.h"
#include "databaselistentry.h"
#include "dblist.h"
#include "engine.h"
#include "engineerror.h"
#include "eventlog.h"
#include "exportservices.h"
#include "messages.h"
#include "reportoutput.h"
#include "restoredialog.h"
#include "session.h"
#include "settings.h"
#include "tfrm_adatbazisokbde.h"
#include "tfrm_felhasznalo.h"
#include "tfrm_grid2html.h"
#include "tfrm_hatarolt.h"
#include "tfrm_idoszak.h"
#include "tfrm_keres.h"
#include "tfrm_sql.h"
#include "voucherprinting.h"

#include <QDate>
#include <QDir>

namespace {

// Logs a change stored outside the database (the ini file, an archive file) once it is stored. The change stays
// when the log cannot be written; the user is told.
void LogOutside(Engine &engine, Messages &messages, const EventEntry &entry, QWidget *parent)
{
    try {
        LogEventAlone(engine, entry);
    } catch (const EngineError &e) {
        messages.ShowError(QStringLiteral("Az eseménynapló nem írható: ") + e.message(), parent);
    }
}

} // namespace

MainDialogs MainDialogs::Default(Session &session, Engine &engine, Messages &messages, FileDialogs &fileDialogs)
{
    const Report::DocumentOutput output(messages, fileDialogs);
    MainDialogs d;
    d.tills = [&session, &engine, &messages](int till, bool choose, QString *name, QWidget *parent) {
        return KasszaValaszt(session, engine, messages, till, choose, name, parent);
    };
    d.movementTypes = [&session, &engine, &messages](QWidget *parent) {
        KasszaTipValaszt(session, engine, messages, -1, false, QStringLiteral("Kassza típusok"), parent);
    };
    d.clients = [&session, &engine, &messages](QWidget *parent) {
        UgyfelValaszt(session, engine, messages, -1, false, parent);
    };
    d.voucherChoosers = VoucherChoosers::Default(session, engine, messages);
    d.printChoice = DefaultPrintChoice(session, engine, output);
    d.printVoucher = [&session, &engine, output](int dromvel, bool request, bool preview, QWidget *parent) {
        if (request)
            KpElszamolNyomtat(session, engine, output, dromvel, preview, parent);
        else
            PenztarbizNyomtat(session, engine, output, dromvel, preview, parent);
    };
    d.printPeriodVouchers = [&session, &engine, output](int till, bool preview, QWidget *parent) {
        if (const auto period = Idoszak(session, DefaultPeriod(QDate::currentDate()), parent))
            PenztarbizIdoszakNyomtat(session, engine, output, till, period->from, period->to, preview, parent);
    };
    d.users = [&session, &engine, &messages](QWidget *parent) {
        FelhasznalokMegnyit(session, engine, messages, parent);
    };
    d.settings = [&session, &engine, &fileDialogs](QWidget *parent) {
        return BeallitasokMegnyit(session, engine, fileDialogs, parent);
    };
    d.databases = [&session, &engine, &messages, &fileDialogs](QWidget *parent) {
        const QStringList before = DatabaseList::Read(session.ini);
        AdatbazisListaSzerkeszt(session, messages, fileDialogs, parent);
        const QStringList after = DatabaseList::Read(session.ini);
        if (after != before)
            LogOutside(engine, messages,
                       {QStringLiteral("Adatbázislista"), session.user, 0, after.size(),
                        DatabaseList::Names(after).join(QStringLiteral(", "))},
                       parent);
    };
    d.archive = [&session, &engine, &messages, &fileDialogs](QWidget *parent) {
        const QString zipPath =
            ArchiveDatabaseFolder(session.databaseFolder, messages, fileDialogs, parent, engine.password());
        if (!zipPath.isEmpty())
            LogOutside(engine, messages,
                       {QStringLiteral("Archiválás"), session.user, 0, 0, QDir::toNativeSeparators(zipPath)}, parent);
    };
    d.restore = [&session, &engine, &messages, &fileDialogs](QWidget *parent) {
        const auto addToList = [&session, &engine, &messages, parent](const QString &name, const QString &folder) {
            if (!AppendDatabaseEntry(session.ini, session.iniPath, name, folder, messages, parent))
                return false;
            LogOutside(engine, messages,
                       {QStringLiteral("Visszaállítás"), session.user, 0, DatabaseList::Read(session.ini).size(),
                        name + QStringLiteral(": ") + QDir::toNativeSeparators(folder)},
                       parent);
            return true;
        };
        RestoreFromArchive(session, addToList, messages, fileDialogs, parent, engine.password());
    };
    const ExportServices exportServices{messages, fileDialogs};
    d.exportRows = [&session, exportServices](ExportSource &rows, QWidget *parent) {
        HataroltExport(rows, QString(), session, exportServices, parent);
    };
    d.exportHtml = [&session, exportServices](ExportSource &rows, const QString &title, QWidget *parent) {
        Grid2Html(rows, title, session, exportServices, parent);
    };
    d.sqlConsole = [&session, &engine, &messages, &fileDialogs, exportRows = d.exportRows](QWidget *parent) {
        SzabadLekerdezes(session, engine, messages, fileDialogs, exportRows, parent);
    };
    d.search = [&session, &engine, &messages](QWidget *parent) {
        return ReszletesKereses(session, engine, messages, parent);
    };
    d.reports = ReportServices::Default(session, engine, messages, fileDialogs);
    d.settlementType = DefaultMovementTypeChooser(session, engine, messages);
    d.cashCount = DefaultCashCountAsk(session);
    return d;
}
