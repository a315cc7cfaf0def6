#pragma once

#include "exportsource.h"
#include "windows1250encoder.h"

#include <QList>
#include <QLocale>
#include <QString>

class QIODevice;

struct DelimitedOptions
{
    QChar separator = QLatin1Char(';');
    QString quote;           // "\"", "'" or empty
    bool memoLines = false;  // memo fields written with their lines joined by "|" instead of "BLOB"
    bool fieldNames = false; // header of field names instead of display labels
    bool noHeader = false;   // the first line stays empty
    QList<bool> exported;    // by field position; a field beyond the list is exported
};

// The delimited text file: Windows-1250, CR LF, every line (the header too) ending in the separator, plain values.
// With a quote chosen every value stands between quotes and a quote inside is doubled; without one a value
// holding the separator, a double quote or a line break alone is put between double quotes (inner ones doubled),
// so every reader splits the line where it was meant to be split.
class DelimitedWriter
{
public:
    explicit DelimitedWriter(DelimitedOptions options)
        : m_options(std::move(options)), m_decimalPoint(QLocale().decimalPoint())
    {}

    // Writes the header and the rows; returns the number of rows written. Throws EngineError when the rows cannot
    // be read and ExportError when the device cannot be written.
    qint64 write(ExportSource &source, QIODevice &device, const ExportControl &control = {});

    // One value as it stands in the file, before encoding.
    QString field(const QString &value) const;
    // The plain text of a value: text as stored, whole numbers as digits, floating-point numbers in the shortest
    // general form with the locale's decimal separator, dates in the locale's short form, empty as nothing.
    QString plainText(const ExportColumn &column, const QVariant &value) const;

private:
    bool exported(qsizetype position) const;
    void appendField(QString &line, const QString &value) const;

    DelimitedOptions m_options;
    QString m_decimalPoint;
    Windows1250Encoder m_encoder;
};
