#include "serverlogin.h"

#include "engine.h"
#include "passworddialog.h"
#include "passwordrefusal.h"
#include "serveraddress.h"

#include <QApplication>

namespace {

// A connection to a server may take the connection timeout to fail.
void OpenWaiting(Engine &engine, const QString &path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        engine.open(path);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
}

// Opens the engine with the password; true when the server refused it for the password.
bool RefusedOpening(Engine &engine, const QString &path, const QString &password)
{
    engine.setPassword(password);
    try {
        OpenWaiting(engine, path);
        return false;
    } catch (const EngineError &e) {
        if (!IsPasswordRefusal(e))
            throw;
        return true;
    }
}

} // namespace

std::optional<QString> AskPasswordWhileRefused(const ServerAddress &address, const QString &known,
                                               const std::function<bool(const QString &password)> &connect,
                                               QWidget *parent)
{
    QString password = known;
    // A password held from before was typed too: its refusal is told as a wrong one.
    bool again = !known.isEmpty();
    while (connect(password)) {
        PasswordDialog dialog(address, again, parent);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        password = dialog.password();
        again = true;
    }
    return password;
}

bool OpenAskingPassword(Engine &engine, const QString &path, QWidget *parent)
{
    // Another database's password is no business of this one.
    engine.setPassword(QString());
    const std::optional<ServerAddress> address = ServerAddress::parse(path);
    if (!address) {
        OpenWaiting(engine, path);
        return true;
    }
    const std::optional<QString> password = AskPasswordWhileRefused(
        *address, QString(), [&](const QString &given) { return RefusedOpening(engine, path, given); }, parent);
    if (!password)
        engine.setPassword(QString());
    return password.has_value();
}

std::optional<QString> ServerPassword(const QString &address, const QString &known, QWidget *parent)
{
    static int checks = 0;
    Engine engine(QStringLiteral("DromvelKapcsolatProba%1").arg(++checks));
    const std::optional<ServerAddress> parsed = ServerAddress::parse(address);
    if (!parsed) {
        OpenWaiting(engine, address);
        return QString();
    }
    return AskPasswordWhileRefused(
        *parsed, known, [&](const QString &given) { return RefusedOpening(engine, address, given); }, parent);
}

std::optional<QString> PasswordFor(const QString &database, const QString &known, QWidget *parent)
{
    if (!ServerAddress::parse(database))
        return known;
    try {
        return ServerPassword(database, known, parent);
    } catch (const EngineError &) {
        return known;
    }
}

bool CheckServerConnection(const QString &address, QWidget *parent)
{
    return ServerPassword(address, QString(), parent).has_value();
}
