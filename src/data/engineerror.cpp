#include "engineerror.h"

#include <QSqlError>

EngineError EngineError::from(const QSqlError &error)
{
    QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (text.isEmpty())
        text = QStringLiteral("Ismeretlen adatbázis hiba.");
    return EngineError(text);
}
