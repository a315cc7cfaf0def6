#include "sendmail.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

// How long the mail starter may take to hand over before the window goes on; a client that stays in front keeps
// running on its own.
constexpr int HandOverMs = 3000;

} // namespace

ProgramRunner DesktopProgramRunner()
{
    return [](const QString &program, const QStringList &arguments) {
        auto *process = new QProcess(QCoreApplication::instance());
        process->setProgram(program);
        process->setArguments(arguments);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start();
        if (!process->waitForStarted()) {
            delete process;
            return -1;
        }
        if (!process->waitForFinished(HandOverMs)) {
            QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
            return 0;
        }
        const int status = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
        delete process;
        return status;
    };
}

int SendMail(const QString &subject, const QString &body, const QString &attachment, const ProgramRunner &run)
{
    return run(QStringLiteral("xdg-email"), {QStringLiteral("--subject"), subject, QStringLiteral("--body"), body,
                                             QStringLiteral("--attach"), attachment});
}
