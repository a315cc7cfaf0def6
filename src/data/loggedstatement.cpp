#include "loggedstatement.h"

#include "engine.h"
#include "eventlog.h"

#include <QStringList>

namespace {

bool RunsInTransaction(const QString &statement)
{
    // SQLite's, and the server's own words for beginning and ending a transaction (START, ABORT) and for
    // resetting the connection, which cannot run inside one (DISCARD).
    static const QStringList outside{QStringLiteral("BEGIN"),    QStringLiteral("COMMIT"),    QStringLiteral("END"),
                                     QStringLiteral("ROLLBACK"), QStringLiteral("SAVEPOINT"), QStringLiteral("RELEASE"),
                                     QStringLiteral("VACUUM"),   QStringLiteral("ATTACH"),    QStringLiteral("DETACH"),
                                     QStringLiteral("PRAGMA"),   QStringLiteral("START"),     QStringLiteral("ABORT"),
                                     QStringLiteral("DISCARD")};
    return !outside.contains(FirstKeyword(statement));
}

} // namespace

QString FirstKeyword(const QString &statement)
{
    qsizetype i = 0;
    const qsizetype n = statement.size();
    while (i < n) {
        if (statement.at(i).isSpace()) {
            ++i;
        } else if (statement.mid(i, 2) == QLatin1String("--")) {
            const qsizetype end = statement.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? n : end + 1;
        } else if (statement.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = statement.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else {
            break;
        }
    }
    qsizetype end = i;
    while (end < n && (statement.at(end).isLetter() || statement.at(end) == QLatin1Char('_')))
        ++end;
    return statement.mid(i, end - i).toUpper();
}

void RunLoggedStatement(Engine &engine, const QString &statement, const QString &user)
{
    const EventEntry entry{QStringLiteral("SQL parancs"), user, 0, 0, statement.trimmed()};
    if (!engine.inTransaction() && RunsInTransaction(statement)) {
        Transaction transaction(engine);
        engine.exec(statement);
        LogEvent(engine, entry);
        transaction.commit();
        return;
    }
    engine.exec(statement);
    if (engine.inTransaction())
        LogEvent(engine, entry);
    else
        LogEventAlone(engine, entry);
}
