#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// A failure the program tells the user about: its Hungarian message goes into the box as it is, and what()
// gives the same text in UTF-8. Each layer reports through its own kind (EngineError, ArchiveError).
class ProgramError : public std::exception
{
public:
    explicit ProgramError(const QString &message) : m_message(message), m_utf8(message.toUtf8()) {}

    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
