#pragma once

#include <QByteArray>
#include <QString>

// Text files of the system (ini, CSV, HTML) are single-byte Windows-1250. Characters the code page lacks
// become "?". ok (when given) is false when the converter itself is not available: the result is then empty
// and must not be taken for the text.
QByteArray ToWindows1250(const QString &text, bool *ok = nullptr);
QString FromWindows1250(const QByteArray &bytes, bool *ok = nullptr);
