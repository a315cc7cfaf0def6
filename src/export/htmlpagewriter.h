#pragma once

#include "exportsource.h"
#include "windows1250encoder.h"

#include <QDateTime>
#include <QString>

class QIODevice;

// The HTML page of a grid: a table of its visible columns, widths in percent of the grid's width, numbers
// right-aligned, then the row count, the time of writing and the program's name. Windows-1250, CR LF. Every text
// taken from the data or the title is escaped, so a name such as "<script>" shows as written and runs nothing.
class HtmlPageWriter
{
public:
    // Without a grid width from the source the columns share the page evenly.
    explicit HtmlPageWriter(const QString &title, const QDateTime &writtenAt = QDateTime::currentDateTime())
        : m_title(title), m_writtenAt(writtenAt)
    {}

    // Writes the page; returns the number of rows. Throws EngineError when the rows cannot be read and ExportError
    // when the device cannot be written.
    qint64 write(ExportSource &source, QIODevice &device, const ExportControl &control = {});

    // &, <, > and " as entities.
    static QString Escaped(const QString &text);

private:
    QString m_title;
    QDateTime m_writtenAt;
    Windows1250Encoder m_encoder;
};
