#include "serverarchive.h"

#include "archiveerror.h"
#include "serveraddress.h"
#include "servertool.h"

#include <QDateTime>
#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

QByteArray Note(const ServerAddress &address)
{
    const QStringList lines{
        QStringLiteral("Dromvel.Pro adatbázis-archívum"),
        QStringLiteral("Kiszolgáló:  ") + address.toString(),
        QStringLiteral("Adatbázis:   ") + address.displayName(),
        QStringLiteral("Készült:     ") + QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd. HH:mm:ss")),
        QStringLiteral("Tartalom:    %1 (pg_dump, egyéni formátum)").arg(QString::fromLatin1(ServerArchive::DumpName)),
        QStringLiteral("Visszaállítás: a Dromvel.Pro „Visszaállítás archívumból” műveletével egy üres kiszolgáló-"
                       "adatbázisba, vagy kézzel a pg_restore programmal."),
    };
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

} // namespace

namespace ServerArchive {

ArchiveResult Write(const QString &address, const QString &zipPath, const QString &password)
{
    const std::optional<ServerAddress> server = ServerAddress::parse(address);
    if (!server)
        throw ArchiveError(QStringLiteral("Hibás kiszolgáló cím: %1").arg(address.trimmed()));
    QTemporaryDir staging;
    if (!staging.isValid())
        throw ArchiveError(QStringLiteral("Ideiglenes mappa nem hozható létre: %1").arg(staging.errorString()));
    const QString dump = staging.filePath(QString::fromLatin1(DumpName));
    try {
        ServerTool::Run(QStringLiteral("pg_dump"),
                        {QStringLiteral("--format=custom"), QStringLiteral("--file=") + dump,
                         QStringLiteral("--dbname=") + ServerTool::ConnectionString(*server)},
                        password);
    } catch (const ArchiveError &e) {
        throw ArchiveError(QStringLiteral("A kiszolgáló adatbázisáról nem készült mentés: %1\n%2")
                               .arg(server->displayName(), e.message()));
    }
    QSaveFile note(staging.filePath(QString::fromLatin1(NoteName)));
    const QByteArray text = Note(*server);
    if (!note.open(QIODevice::WriteOnly) || note.write(text) != text.size() || !note.commit())
        throw ArchiveError(QStringLiteral("Ideiglenes fájl nem írható: %1 (%2)")
                               .arg(QDir::toNativeSeparators(note.fileName()), note.errorString()));
    return ArchiveFolder(staging.path(), zipPath);
}

} // namespace ServerArchive
