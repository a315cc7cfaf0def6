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

} // namespace

EngineError EngineError::from(const QSqlError &error)
{
    QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (text.isEmpty())
        text = QStringLiteral("Ismeretlen adatbázis hiba.");
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    const QString explanation = ok ? Explanation(code & 0xff) : QString();
    return EngineError(explanation.isEmpty() ? text : explanation + QStringLiteral("\n(") + text + QLatin1Char(')'));
}
