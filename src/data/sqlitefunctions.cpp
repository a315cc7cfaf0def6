#include "sqlitefunctions.h"

#include "engineerror.h"

#include <QCollator>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QString>
#include <QVariant>
#include <sqlite3.h>

namespace {

void ChangeCase(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const QString value = QString::fromUtf8(text, sqlite3_value_bytes(argv[0]));
    const bool upper = sqlite3_user_data(context) != nullptr;
    const QByteArray result = (upper ? value.toUpper() : value.toLower()).toUtf8();
    sqlite3_result_text(context, result.constData(), int(result.size()), SQLITE_TRANSIENT);
}

// Hungarian alphabetical order, letter case ignored: "Ábel" before "Béla", not after "Zoltán".
int CompareHungarian(void *, int leftLength, const void *left, int rightLength, const void *right)
{
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Hungarian, QLocale::Hungary)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(true);
        return c;
    }();
    return collator.compare(QString::fromUtf8(static_cast<const char *>(left), leftLength),
                            QString::fromUtf8(static_cast<const char *>(right), rightLength));
}

sqlite3 *Handle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw EngineError(QStringLiteral("Az adatbázis kapcsolat nem SQLite kapcsolat."));
    return *static_cast<sqlite3 *const *>(handle.data());
}

} // namespace

void RegisterSqliteFunctions(QSqlDatabase &db)
{
    sqlite3 *connection = Handle(db);
    static int upperTag = 1;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    if (sqlite3_create_function_v2(connection, "upper", 1, flags, &upperTag, ChangeCase, nullptr, nullptr, nullptr) !=
            SQLITE_OK ||
        sqlite3_create_function_v2(connection, "lower", 1, flags, nullptr, ChangeCase, nullptr, nullptr, nullptr) !=
            SQLITE_OK)
        throw EngineError(QString::fromUtf8(sqlite3_errmsg(connection)));
    if (sqlite3_create_collation_v2(connection, "HU", SQLITE_UTF8, nullptr, CompareHungarian, nullptr) != SQLITE_OK)
        throw EngineError(QString::fromUtf8(sqlite3_errmsg(connection)));
}

bool InTransaction(const QSqlDatabase &db)
{
    return sqlite3_get_autocommit(Handle(db)) == 0;
}
