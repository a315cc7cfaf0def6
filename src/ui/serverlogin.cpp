#include "serverlogin.h"

#include "engine.h"
#include "passworddialog.h"
#include "passwordrefusal.h"
#include "serveraddress.h"

#include <QApplication>
#include <optional>

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

} // namespace

bool OpenAskingPassword(Engine &engine, const QString &path, QWidget *parent)
{
    // Another database's password is no business of this one.
    engine.setPassword(QString());
    bool typed = false;
    for (;;) {
        try {
            OpenWaiting(engine, path);
            return true;
        } catch (const EngineError &e) {
            const std::optional<ServerAddress> address = ServerAddress::parse(path);
            if (!address || !IsPasswordRefusal(e))
                throw;
            PasswordDialog dialog(*address, typed, parent);
            if (dialog.exec() != QDialog::Accepted) {
                engine.setPassword(QString());
                return false;
            }
            engine.setPassword(dialog.password());
            typed = true;
        }
    }
}

bool CheckServerConnection(const QString &address, QWidget *parent)
{
    static int checks = 0;
    Engine engine(QStringLiteral("DromvelKapcsolatProba%1").arg(++checks));
    return OpenAskingPassword(engine, address, parent);
}
