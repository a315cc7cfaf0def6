#include "eventlog.h"

#include "engine.h"
#include "query.h"
#include "util.h"

#include <QDateTime>
#include <QSysInfo>

namespace {

// The stored time of a moment: ISO date and time to the second, local time, so that the texts sort as the times.
QString EventTimeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

void LogEvent(Engine &engine, const EventEntry &entry)
{
    if (engine.transactionDepth() == 0 && !engine.inTransaction())
        throw EngineError(QStringLiteral("Az eseménynapló bejegyzése csak a változással együtt írható."));
    engine.insert(QStringLiteral("naplo"), {{QStringLiteral("idopont"), EventTimeText(QDateTime::currentDateTime())},
                                            {QStringLiteral("munkaallomas"), QSysInfo::machineHostName()},
                                            {QStringLiteral("felhasznalo"), entry.user},
                                            {QStringLiteral("esemeny"), entry.event},
                                            {QStringLiteral("kassza"), entry.till},
                                            {QStringLiteral("sorkulcs"), entry.key},
                                            {QStringLiteral("szoveg"), entry.text}});
}

void LogEventAlone(Engine &engine, const EventEntry &entry)
{
    Transaction transaction(engine);
    LogEvent(engine, entry);
    transaction.commit();
}

QStringList EventListLines(const QDate &from, const QDate &to, const QString &search)
{
    QStringList lines{QStringLiteral("SELECT"),
                      QStringLiteral(" naplo.naplo,"),
                      QStringLiteral(" naplo.idopont,"),
                      QStringLiteral(" naplo.munkaallomas,"),
                      QStringLiteral(" naplo.felhasznalo,"),
                      QStringLiteral(" naplo.esemeny,"),
                      QStringLiteral(" kassza.kassza_nev,"),
                      QStringLiteral(" naplo.sorkulcs,"),
                      QStringLiteral(" naplo.szoveg,"),
                      QStringLiteral(" naplo.kassza"),
                      QStringLiteral("FROM naplo"),
                      QStringLiteral(" LEFT OUTER JOIN kassza ON (naplo.kassza = kassza.kassza)"),
                      QStringLiteral("WHERE (naplo.idopont >= %1) AND (naplo.idopont < %2)")
                          .arg(SqlDateLiteral(false, from), SqlDateLiteral(false, to.addDays(1)))};
    if (!search.isEmpty()) {
        // A literal of the typed text: quotes doubled, the wildcards and the escape mark itself escaped.
        QString pattern = search.toUpper();
        pattern.replace(QLatin1Char('!'), QStringLiteral("!!"))
            .replace(QLatin1Char('%'), QStringLiteral("!%"))
            .replace(QLatin1Char('_'), QStringLiteral("!_"))
            .replace(QLatin1Char('\''), QStringLiteral("''"));
        QStringList terms;
        for (const char *field :
             {"naplo.esemeny", "naplo.felhasznalo", "naplo.munkaallomas", "kassza.kassza_nev", "naplo.szoveg"})
            terms.append(QStringLiteral("(UPPER(%1) LIKE '%%2%' ESCAPE '!')").arg(QLatin1String(field), pattern));
        lines.append(QStringLiteral(" AND (") + terms.join(QStringLiteral(" OR ")) + QLatin1Char(')'));
    }
    lines.append(QStringLiteral("ORDER BY naplo.naplo;"));
    return lines;
}
