#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

class QSqlError;

// Every failure of the database engine surfaces as this error, carrying the engine's own message.
class EngineError : public std::exception
{
public:
    explicit EngineError(const QString &message) : m_message(message), m_utf8(message.toUtf8()) {}

    // The engine's own text of a failed statement or connection.
    static EngineError from(const QSqlError &error);

    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
