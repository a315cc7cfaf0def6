#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

// A field of a Paradox table: its name, its type code (pxlib's pxf... values), its width in bytes and, for
// BCD numbers, its decimals.
struct ParadoxField
{
    QString name;
    int type = 0;
    int length = 0;
    int decimals = 0;
};

// One Paradox table file (.DB), with the memo file (.MB) of the same name beside it when there is one, read
// record by record and never written. Values come as Qt values: texts (alpha and memo fields) decoded from the
// table's code page, whole numbers as qint64, numbers and money as double, dates as QDate, times as QTime,
// timestamps as QDateTime, logical fields as bool, binary fields as QByteArray; an empty field as a null
// QVariant.
class ParadoxTable
{
public:
    ParadoxTable();
    ~ParadoxTable();
    ParadoxTable(const ParadoxTable &) = delete;
    ParadoxTable &operator=(const ParadoxTable &) = delete;

    // False, with error() saying why, when the file cannot be read as a Paradox table.
    bool open(const QString &path);
    void close();

    const QList<ParadoxField> &fields() const { return m_fields; }
    int recordCount() const { return m_recordCount; }
    // The code page the table's texts are written in (1250, 852, ...).
    int codePage() const { return m_codePage; }

    // Record n (from 0), one value per field. False, with error() saying why, when it cannot be read.
    bool record(int n, QVariantList &values);
    QString error() const { return m_error; }

    // For pxlib's error handler.
    void noteError(const QString &text) { m_error = text; }

private:
    struct Handles;
    std::unique_ptr<Handles> m_handles;
    QList<ParadoxField> m_fields;
    int m_recordCount = 0;
    int m_codePage = 0;
    QString m_error;
    QChar m_upperHalf[128]; // characters of the bytes 0x80 .. 0xFF in the table's code page
};
