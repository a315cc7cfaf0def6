#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

// The workstation's ini file (DromvelPro.ini): "[Section]" and "Key=Value" lines in Windows-1250.
// Section and key names match without regard to case; an existing name keeps its stored spelling. Lines the
// program does not know (other sections, keys, comments, blank lines) survive a rewrite in their order.
// A file someone saved as UTF-8 is read as UTF-8 and stays UTF-8 when written back, so that neither its
// letters nor the editor's view of it change behind the user's back.
class IniFile
{
public:
    // A missing file gives an empty ini and true; a file that exists but cannot be read (or decoded) gives an
    // empty ini and false, and that file is kept: save() to it writes nothing, so the user's settings are
    // never replaced by defaults. The caller says so once.
    bool load(const QString &path);
    // Writes through a temporary file, so a failed write leaves the old file intact: every write and the
    // flush are checked before the new file takes the old one's place. Creates a missing folder. True when
    // the file holds the ini, or when it is a file load() could not read and is kept as it was.
    bool save(const QString &path) const;

    // Bytes with a UTF-8 byte-order mark, or valid UTF-8 that is not plain ASCII, are UTF-8; anything else is
    // Windows-1250. False when the code page converter is not available, when bytes marked as UTF-8 are not, and
    // for a file that is not text at all (it holds a NUL byte).
    bool read(QIODevice &device);
    // CR LF line ends, in the encoding the ini was read in. A new ini, or one read as Windows-1250, is written
    // in Windows-1250 unless some character has no place in it: then in UTF-8, which loses nothing. False
    // (and nothing written) when the code page converter is not available or the device takes fewer bytes.
    bool write(QIODevice &device) const;

    void clear();
    bool isEmpty() const { return m_preamble.isEmpty() && m_sections.isEmpty(); }

    // A value that cannot be read as the wanted type gives the default, as does a missing key.
    QString readString(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    int readInt(const QString &section, const QString &key, int defaultValue = 0) const;
    // True for any integer other than 0.
    bool readBool(const QString &section, const QString &key, bool defaultValue = false) const;
    // Accepts "yyyy-MM-dd" and the Hungarian "yyyy.MM.dd." (with or without blanks after the dots).
    QDate readDate(const QString &section, const QString &key, const QDate &defaultValue = {}) const;

    // Line breaks (and NULs) in a value are written as blanks: the file holds one line of text per value.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInt(const QString &section, const QString &key, int value);
    // Written as 1 or 0.
    void writeBool(const QString &section, const QString &key, bool value);
    // Written as "yyyy-MM-dd"; an invalid date as an empty value.
    void writeDate(const QString &section, const QString &key, const QDate &value);

    void deleteKey(const QString &section, const QString &key);
    void eraseSection(const QString &section);

    bool sectionExists(const QString &section) const;
    bool valueExists(const QString &section, const QString &key) const;
    // Section names as stored, in file order.
    QStringList sections() const;
    // Key names of the section as stored, in file order.
    QStringList sectionKeys(const QString &section) const;

private:
    struct Line
    {
        QString key; // empty for a line that is not a key (comment, blank, unparsable)
        QString value;
        QString raw; // the line as read; written back as long as the value is untouched
    };
    struct Section
    {
        QString name;
        QString raw;
        QList<Line> lines;
    };

    const Section *findSection(const QString &name) const;
    Section *findSection(const QString &name);
    const Line *findLine(const QString &section, const QString &key) const;

    enum class Encoding { Windows1250, Utf8, Utf8WithBom };

    QStringList m_preamble; // lines before the first section header
    QList<Section> m_sections;
    Encoding m_encoding = Encoding::Windows1250;
    // The file load() found but could not read; save() leaves it alone.
    QString m_unreadFile;
};
