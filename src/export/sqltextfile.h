#pragma once

#include <QString>

// The console's SQL files: plain text, one editor line per file line, CR LF line ends. Failures throw ExportError
// with a Hungarian message that names the file.

// Windows-1250, as the program's other text files, or UTF-8 when the bytes are valid UTF-8 (with or without a byte
// order mark), so files written by other editors read too. The text comes back with "\n" line ends. A file too
// large for the editor or holding binary data is refused.
QString ReadSqlFile(const QString &path);

// Windows-1250 with CR LF; UTF-8 with a byte order mark when the text holds a character that code page lacks, so
// nothing typed is lost. Written through a save file: a failed write leaves the old file as it was.
void WriteSqlFile(const QString &path, const QString &text);
