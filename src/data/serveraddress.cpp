#include "serveraddress.h"

#include <QRegularExpression>

namespace {

const QString Scheme = QStringLiteral("postgresql://");

// Names of roles, hosts and databases as a database list line can hold them: no separators of the address, no
// spaces, no control characters.
bool IsName(const QString &text)
{
    static const QRegularExpression name(QStringLiteral("^[^\\s/@:?#%]+$"));
    return name.match(text).hasMatch();
}

} // namespace

bool ServerAddress::isServerPath(const QString &path)
{
    return path.trimmed().startsWith(Scheme, Qt::CaseInsensitive);
}

std::optional<ServerAddress> ServerAddress::parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (!isServerPath(trimmed))
        return std::nullopt;
    const QString rest = trimmed.mid(Scheme.size());
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return std::nullopt;
    ServerAddress address;
    address.database = rest.mid(slash + 1);
    if (!IsName(address.database))
        return std::nullopt;
    QString authority = rest.left(slash);
    const qsizetype at = authority.indexOf(QLatin1Char('@'));
    if (at >= 0) {
        address.user = authority.left(at);
        if (!IsName(address.user))
            return std::nullopt;
        authority = authority.mid(at + 1);
    }
    // An IPv6 address stands in brackets, so that its colons are not taken for the port's.
    qsizetype portColon = authority.lastIndexOf(QLatin1Char(':'));
    if (authority.startsWith(QLatin1Char('['))) {
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        address.host = authority.mid(1, close - 1);
        static const QRegularExpression ipv6(QStringLiteral("^[0-9A-Fa-f:.]+$"));
        if (!ipv6.match(address.host).hasMatch())
            return std::nullopt;
        portColon = close + 1 < authority.size() && authority.at(close + 1) == QLatin1Char(':') ? close + 1 : -1;
        if (portColon < 0 && close + 1 != authority.size())
            return std::nullopt;
    } else {
        address.host = portColon >= 0 ? authority.left(portColon) : authority;
        if (!address.host.isEmpty() && !IsName(address.host))
            return std::nullopt;
    }
    if (portColon >= 0) {
        const QString port = authority.mid(portColon + 1);
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
        if (!digits.match(port).hasMatch())
            return std::nullopt;
        address.port = port.toInt();
        if (address.port < 1 || address.port > 65535)
            return std::nullopt;
    }
    return address;
}

QString ServerAddress::toString() const
{
    QString text = Scheme;
    if (!user.isEmpty())
        text += user + QLatin1Char('@');
    text += host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    if (port > 0)
        text += QLatin1Char(':') + QString::number(port);
    return text + QLatin1Char('/') + database;
}

QString ServerAddress::displayName() const
{
    QString server = host.isEmpty() ? QStringLiteral("helyi kiszolgáló") : host;
    if (port > 0)
        server += QLatin1Char(':') + QString::number(port);
    return QStringLiteral("%1 (%2)").arg(database, server);
}
