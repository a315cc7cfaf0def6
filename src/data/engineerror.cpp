#include "engineerror.h"

#include <QSqlError>

namespace {

// What the user can do about the failures that come from outside the program, in Hungarian; the engine's own
// text follows for whoever has to look into it.
QString Explanation(int primaryCode)
{
    switch (primaryCode) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("Az adatbázist most egy másik munkahely írja. Próbálja újra egy kis idő múlva.");
    case 8: // SQLITE_READONLY
        return QStringLiteral("Az adatbázis fájl csak olvasható, nem lehet bele írni.");
    case 10: // SQLITE_IOERR
        // A full disk often shows as a write error rather than as a full database.
        return QStringLiteral("Olvasási vagy írási hiba az adatbázis fájlban. Ellenőrizze, hogy van-e még szabad hely "
                              "a lemezen.");
    case 11: // SQLITE_CORRUPT
        return QStringLiteral("Az adatbázis fájl sérült. Állítsa vissza a legutóbbi biztonsági mentésből.");
    case 13: // SQLITE_FULL
        return QStringLiteral("Megtelt a lemez, az adatbázisba nem lehet írni. A változás nem került mentésre.");
    case 14: // SQLITE_CANTOPEN
        return QStringLiteral("Az adatbázis fájl nem nyitható meg.");
    case 26: // SQLITE_NOTADB
        return QStringLiteral("A fájl nem a program adatbázisa.");
    default:
        return {};
    }
}

const QString Unreachable = QStringLiteral("Az adatbázis-kiszolgáló nem érhető el. Ellenőrizze a kiszolgáló címét, "
                                          "a hálózati kapcsolatot, és hogy a kiszolgáló fut-e.");
const QString WrongPassword = QStringLiteral("A kiszolgáló nem fogadta el a felhasználó nevét vagy jelszavát.");
const QString NoPassword = QStringLiteral("A kiszolgáló jelszót kér ehhez a felhasználóhoz.");
const QString MissingDatabase = QStringLiteral("Az adatbázis nem létezik a kiszolgálón.");
const QString NoRight = QStringLiteral("A felhasználónak nincs joga ehhez a művelethez az adatbázisban.");
const QString NotLetIn = QStringLiteral("A kiszolgáló nem engedi be ezt a munkahelyet: a pg_hba.conf fájljában nincs "
                                        "olyan sor, amely erről a címről ezt a felhasználót ehhez az adatbázishoz "
                                        "beengedi.");

// The server's error classes (SQLSTATE) that the user can do something about.
QString ServerExplanation(const QString &state)
{
    if (state == QLatin1String("28P01") || state == QLatin1String("28000"))
        return WrongPassword;
    if (state == QLatin1String("3D000"))
        return MissingDatabase;
    if (state == QLatin1String("42501"))
        return NoRight;
    if (state == QLatin1String("55P03") || state == QLatin1String("40P01") || state == QLatin1String("40001"))
        return QStringLiteral("Az adatbázist most egy másik munkahely írja. Próbálja újra egy kis idő múlva.");
    if (state == QLatin1String("53100"))
        return QStringLiteral("Megtelt a kiszolgáló lemeze, az adatbázisba nem lehet írni. A változás nem került "
                              "mentésre.");
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")))
        return Unreachable;
    return {};
}

QString EngineText(const QSqlError &error)
{
    const QString text = (error.databaseText().isEmpty() ? error.text() : error.databaseText()).trimmed();
    return text.isEmpty() ? QStringLiteral("Ismeretlen adatbázis hiba.") : text;
}

EngineError Explained(const QString &explanation, const QString &text)
{
    return EngineError(explanation.isEmpty() ? text : explanation + QStringLiteral("\n(") + text + QLatin1Char(')'));
}

} // namespace

EngineError EngineError::from(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    if (code.size() == 5)
        return Explained(ServerExplanation(code), EngineText(error));
    bool ok = false;
    const int number = code.toInt(&ok);
    return Explained(ok ? Explanation(number & 0xff) : QString(), EngineText(error));
}

EngineError EngineError::fromServerConnection(const QSqlError &error)
{
    const QString text = EngineText(error);
    if (error.nativeErrorCode().size() == 5)
        return from(error);
    // libpq's and the server's own words (English unless their translations are installed).
    const auto says = [&text](const char *words) { return text.contains(QLatin1String(words), Qt::CaseInsensitive); };
    QString explanation = Unreachable;
    // The server answered, but its access list keeps this address, role or database out.
    if (says("pg_hba.conf"))
        explanation = NotLetIn;
    else if (says("no password supplied"))
        explanation = NoPassword;
    else if (says("password authentication failed") || (says("role") && says("does not exist")) ||
             says("authentication failed"))
        explanation = WrongPassword;
    else if (says("database") && says("does not exist"))
        explanation = MissingDatabase;
    else if (says("permission denied"))
        explanation = NoRight;
    return Explained(explanation, text);
}
