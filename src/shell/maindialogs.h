#pragma once

#include "reportservices.h"
#include "tfrm_elszamolkerdez.h"
#include "tfrm_penztarellenorzes.h"
#include "tfrm_szerkeszt.h"
#include "voucheractions.h"

#include <QString>
#include <functional>
#include <optional>

class Engine;
class ExportSource;
class FileDialogs;
class Messages;
class QWidget;
struct Session;

// The till list ("Kasszák"); in choose mode the chosen till and its name, -1 when closed without a choice.
using TillList = std::function<int(int till, bool choose, QString *name, QWidget *parent)>;

// The choosers, lists and dialogs the main window opens. Default() gives the program's own; tests replace the
// ones they must not open.
struct MainDialogs
{
    TillList tills;
    // The movement type and client lists, to maintain them.
    std::function<void(QWidget *parent)> movementTypes;
    std::function<void(QWidget *parent)> clients;
    // What the voucher form asks, and the print choice after every booking.
    VoucherChoosers voucherChoosers;
    PrintChoice printChoice;
    // The cash voucher (or, with request, the cash request) of a booked row, printed or previewed.
    std::function<void(int dromvel, bool request, bool preview, QWidget *parent)> printVoucher;
    // Asks for a period and prints (or previews) the till's vouchers of it.
    std::function<void(int till, bool preview, QWidget *parent)> printPeriodVouchers;
    std::function<void(QWidget *parent)> users;
    // The settings dialog; true when OK was pressed.
    std::function<bool(QWidget *parent)> settings;
    // The database list editor.
    std::function<void(QWidget *parent)> databases;
    // "Adatbázis archiválása" of the open database.
    std::function<void(QWidget *parent)> archive;
    // "Visszaállítás archívumból": an archive into a new folder, added to the database list.
    std::function<void(QWidget *parent)> restore;
    // "Excelbe...": the rows into a delimited text or spreadsheet file, no file name proposed.
    std::function<void(ExportSource &rows, QWidget *parent)> exportRows;
    // "HTML export": the rows as a page with the given title, saved, opened or mailed.
    std::function<void(ExportSource &rows, const QString &title, QWidget *parent)> exportHtml;
    // "Szabad lekérdezés": the SQL console.
    std::function<void(QWidget *parent)> sqlConsole;
    // "Keresés": the ledger row picked in the search window of the current till; nothing when none was picked.
    std::function<std::optional<qint64>(QWidget *parent)> search;
    // The period and till choosers, the output chooser, the printer and the export of the report actions and of
    // grid printing.
    ReportServices reports;
    // The movement types of the vouchers a settlement generates.
    MovementTypeChooser settlementType;
    // The cash count at a day closing ("Pénztárellenőrzés").
    CashCountAsk cashCount;

    static MainDialogs Default(Session &session, Engine &engine, Messages &messages, FileDialogs &fileDialogs);
};
