#include "passwordhash.h"

#include "engineerror.h"

#include <sodium.h>

namespace {

// The cost libsodium recommends for an interactive login: about a tenth of a second and 64 MiB.
constexpr unsigned long long OpsLimit = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr size_t MemLimit = crypto_pwhash_MEMLIMIT_INTERACTIVE;

// Plain passwords were cut to this many characters, so anything longer that starts like a hash is one.
constexpr qsizetype LongestPlainPassword = 10;

void InitSodium()
{
    // Safe to call more than once and from several threads; fails only when no random source is available.
    if (sodium_init() < 0)
        throw EngineError(QStringLiteral("A jelszavak titkosítása nem érhető el (nincs véletlenszám-forrás)."));
}

} // namespace

QString HashPassword(const QString &password)
{
    InitSodium();
    const QByteArray bytes = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, bytes.constData(), quint64(bytes.size()), OpsLimit, MemLimit) != 0)
        throw EngineError(QStringLiteral("A jelszó titkosításához nincs elég szabad memória."));
    return QString::fromLatin1(hash);
}

bool IsPasswordHash(const QString &stored)
{
    return stored.size() > LongestPlainPassword && stored.startsWith(QLatin1String(crypto_pwhash_STRPREFIX));
}

bool PasswordMatches(const QString &stored, const QString &typed)
{
    if (stored.isEmpty() || typed.isEmpty())
        return false;
    if (!IsPasswordHash(stored))
        return stored == typed;
    InitSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray bytes = typed.toUtf8();
    return hash.size() < qsizetype(crypto_pwhash_STRBYTES) &&
           crypto_pwhash_str_verify(hash.constData(), bytes.constData(), quint64(bytes.size())) == 0;
}

bool NeedsNewHash(const QString &stored)
{
    if (!IsPasswordHash(stored))
        return true;
    InitSodium();
    const QByteArray hash = stored.toLatin1();
    return hash.size() >= qsizetype(crypto_pwhash_STRBYTES) ||
           crypto_pwhash_str_needs_rehash(hash.constData(), OpsLimit, MemLimit) != 0;
}
