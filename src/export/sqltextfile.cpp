#include "sqltextfile.h"

#include "codepage.h"
#include "exporterror.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

constexpr qint64 LargestFile = 32 * 1024 * 1024;
const QByteArray Utf8Mark("\xEF\xBB\xBF");

QString Named(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString ReadSqlFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ExportError(QStringLiteral("A fájl nem nyitható meg: %1\r\n%2").arg(Named(path), file.errorString()));
    if (file.size() > LargestFile)
        throw ExportError(QStringLiteral("A fájl túl nagy egy SQL szövegnek: %1").arg(Named(path)));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ExportError(QStringLiteral("A fájl nem olvasható: %1\r\n%2").arg(Named(path), file.errorString()));
    if (bytes.contains('\0'))
        throw ExportError(QStringLiteral("A fájl nem SQL szöveg (bináris adatot tartalmaz): %1").arg(Named(path)));
    if (bytes.startsWith(Utf8Mark))
        bytes.remove(0, Utf8Mark.size());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = FromWindows1250(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void WriteSqlFile(const QString &path, const QString &text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QByteArray bytes = ToWindows1250(lines);
    if (FromWindows1250(bytes) != lines)
        bytes = Utf8Mark + lines.toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ExportError(QStringLiteral("A fájl nem írható: %1\r\n%2").arg(Named(path), file.errorString()));
}
