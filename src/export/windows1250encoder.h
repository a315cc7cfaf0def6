#pragma once

#include <QByteArray>
#include <QStringView>

// Fast Windows-1250 encoding for large files: a table built once from the code-page routines, so a million rows do
// not open a converter each. A character the code page lacks becomes one "?", as ToWindows1250 gives it.
class Windows1250Encoder
{
public:
    Windows1250Encoder();
    void append(QByteArray &out, QStringView text) const;
    QByteArray encode(QStringView text) const;

private:
    const char *m_table; // one byte per UTF-16 code unit
};
