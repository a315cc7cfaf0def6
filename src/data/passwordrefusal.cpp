#include "passwordrefusal.h"

#include "engineerror.h"

#include <QSqlError>

namespace {

// The Hungarian explanation the engine puts before libpq's own words for a failed connection: the first line of
// its message.
QString ExplanationOf(const char *libpqWords)
{
    return EngineError::fromServerConnection(
               QSqlError(QString(), QString::fromLatin1(libpqWords), QSqlError::ConnectionError))
        .message()
        .section(QLatin1Char('\n'), 0, 0);
}

} // namespace

bool IsPasswordRefusal(const EngineError &error)
{
    // Taken from the engine itself, so that its texts stay in one place.
    static const QString noPassword = ExplanationOf("fe_sendauth: no password supplied");
    static const QString wrongPassword = ExplanationOf("password authentication failed for user");
    const QString first = error.message().section(QLatin1Char('\n'), 0, 0);
    return first == noPassword || first == wrongPassword;
}
