#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// A file that cannot be written (or a spreadsheet the writer refuses), with a message for the user.
class ExportError : public std::exception
{
public:
    explicit ExportError(const QString &message) : m_message(message), m_utf8(message.toUtf8()) {}

    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
