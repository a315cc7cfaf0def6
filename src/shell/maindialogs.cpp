#include "maindialogs.h"

#include "archivedialog.h"
#include "choosers.h"
#include "databaselistentry.h"
#include "exportservices.h"
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
    d.databases = [&session, &messages, &fileDialogs](QWidget *parent) {
        AdatbazisListaSzerkeszt(session, messages, fileDialogs, parent);
    };
    d.archive = [&session, &messages, &fileDialogs](QWidget *parent) {
        ArchiveDatabaseFolder(session.databaseFolder, messages, fileDialogs, parent);
    };
    d.restore = [&session, &messages, &fileDialogs](QWidget *parent) {
        const auto addToList = [&session, &messages, parent](const QString &name, const QString &folder) {
            return AppendDatabaseEntry(session.ini, session.iniPath, name, folder, messages, parent);
        };
        RestoreFromArchive(session, addToList, messages, fileDialogs, parent);
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
    return d;
}
