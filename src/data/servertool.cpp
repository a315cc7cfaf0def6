#include "servertool.h"

#include "archiveerror.h"
#include "serveraddress.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace {

// What the tool said, cut to what a message box can show.
QString ErrorOutput(const QByteArray &bytes)
{
    constexpr int Shown = 2000;
    const QString text = QString::fromLocal8Bit(bytes).trimmed();
    return text.size() > Shown ? text.left(Shown) + QStringLiteral(" …") : text;
}

QString Quoted(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace

namespace ServerTool {

QString ConnectionString(const ServerAddress &address)
{
    QStringList parts{QStringLiteral("dbname=") + Quoted(address.database)};
    if (!address.host.isEmpty())
        parts.append(QStringLiteral("host=") + Quoted(address.host));
    if (address.port > 0)
        parts.append(QStringLiteral("port=") + QString::number(address.port));
    if (!address.user.isEmpty())
        parts.append(QStringLiteral("user=") + Quoted(address.user));
    parts.append(QStringLiteral("connect_timeout=10"));
    parts.append(QStringLiteral("application_name=DromvelPro"));
    return parts.join(QLatin1Char(' '));
}

QByteArray Run(const QString &tool, const QStringList &arguments, const QString &password)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!password.isEmpty())
        environment.insert(QStringLiteral("PGPASSWORD"), password);
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(tool, QStringList{QStringLiteral("--no-password")} + arguments);
    if (!process.waitForStarted(-1))
        throw ArchiveError(QStringLiteral("A(z) %1 program nem indítható el: %2\nA kiszolgálón lévő adatbázis "
                                          "mentéséhez és visszaállításához a PostgreSQL ügyfélprogramjai kellenek "
                                          "(Debian: postgresql-client).")
                               .arg(tool, process.errorString()));
    process.waitForFinished(-1);
    const QByteArray output = process.readAllStandardOutput();
    const QString errors = ErrorOutput(process.readAllStandardError());
    if (process.exitStatus() != QProcess::NormalExit)
        throw ArchiveError(QStringLiteral("A(z) %1 program váratlanul leállt.\n%2").arg(tool, errors));
    if (process.exitCode() != 0)
        throw ArchiveError(QStringLiteral("A(z) %1 program hibával állt le (kilépési kód: %2).\n%3")
                               .arg(tool)
                               .arg(process.exitCode())
                               .arg(errors));
    return output;
}

} // namespace ServerTool
