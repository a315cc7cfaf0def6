#include "ini.h"

#include "codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace {

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool IsBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

const QByteArray Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// A text file holds no NUL byte: a file with one is something else that took the ini's name (or a file the disk
// damaged), and is not to be rewritten.
bool IsText(const QByteArray &bytes)
{
    return !bytes.contains('\0');
}

bool IsPlainAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; });
}

// Text of valid UTF-8; a null string when the bytes are not.
QString Utf8Text(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return {};
    return text.isNull() ? QString(QLatin1String("")) : text;
}

QString AbsolutePath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

// A value as one line of text: line breaks and NULs become blanks.
QString OneLine(QString value)
{
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    value.replace(QChar(0), QLatin1Char(' '));
    return value;
}

} // namespace

void IniFile::clear()
{
    m_preamble.clear();
    m_sections.clear();
    m_encoding = Encoding::Windows1250;
}

bool IniFile::load(const QString &path)
{
    clear();
    m_unreadFile.clear();
    if (!QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && read(file))
        return true;
    clear();
    m_unreadFile = AbsolutePath(path);
    return false;
}

bool IniFile::save(const QString &path) const
{
    if (!m_unreadFile.isEmpty() && AbsolutePath(path) == m_unreadFile)
        return true;
    // The data folder may not exist yet on a fresh workstation; without it the settings would never stick.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile buffers: a full disk may fail only the flush, and commit() would still put the short file in
    // place of the old one.
    if (!write(file) || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool IniFile::read(QIODevice &device)
{
    clear();
    if (!device.isOpen() && !device.open(QIODevice::ReadOnly))
        return false;
    if (!device.isReadable())
        return false;
    const QByteArray bytes = device.readAll();
    if (auto *file = qobject_cast<QFileDevice *>(&device); file && file->error() != QFileDevice::NoError)
        return false;
    if (!IsText(bytes))
        return false;

    // An editor may have saved the file as UTF-8, with a byte-order mark or without; reading that as
    // Windows-1250 would garble its letters (and with a mark, the first section's name).
    QString text;
    if (bytes.startsWith(Bom)) {
        text = Utf8Text(bytes.mid(Bom.size()));
        if (text.isNull())
            return false;
        m_encoding = Encoding::Utf8WithBom;
    } else if (!IsPlainAscii(bytes) && !(text = Utf8Text(bytes)).isNull()) {
        m_encoding = Encoding::Utf8;
    } else {
        bool ok = false;
        text = FromWindows1250(bytes, &ok);
        if (!ok)
            return false;
    }

    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the line end of the last line
    for (QString &raw : lines) {
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        const QString trimmed = raw.trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            qsizetype close = trimmed.indexOf(QLatin1Char(']'));
            if (close < 0)
                close = trimmed.size();
            m_sections.append({trimmed.mid(1, close - 1).trimmed(), raw, {}});
            continue;
        }
        Line line{{}, {}, raw};
        const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
        if (eq > 0 && !trimmed.startsWith(QLatin1Char(';')) && !trimmed.startsWith(QLatin1Char('#'))) {
            line.key = trimmed.left(eq).trimmed();
            line.value = trimmed.mid(eq + 1).trimmed();
        }
        if (m_sections.isEmpty())
            m_preamble.append(raw); // keys outside a section are kept but not readable
        else
            m_sections.last().lines.append(line);
    }
    return true;
}

bool IniFile::write(QIODevice &device) const
{
    if (!device.isOpen() && !device.open(QIODevice::WriteOnly))
        return false;
    if (!device.isWritable())
        return false;
    QString text;
    const QLatin1String crlf("\r\n");
    for (const QString &line : m_preamble)
        text += line + crlf;
    for (const Section &section : m_sections) {
        text += section.raw + crlf;
        for (const Line &line : section.lines)
            text += line.raw + crlf;
    }
    QByteArray bytes;
    if (m_encoding == Encoding::Windows1250) {
        bool ok = false;
        bytes = ToWindows1250(text, &ok);
        if (!ok)
            return false;
        // A character the code page lacks would turn into "?"; code-page bytes that happen to form UTF-8 (after
        // a byte the code page leaves undefined was read as "?") would be read back as other letters.
        if (FromWindows1250(bytes) != text || (!IsPlainAscii(bytes) && !Utf8Text(bytes).isNull()))
            bytes = text.toUtf8();
    } else {
        bytes = (m_encoding == Encoding::Utf8WithBom ? Bom : QByteArray()) + text.toUtf8();
    }
    return device.write(bytes) == bytes.size();
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    for (const Section &section : m_sections)
        if (SameName(section.name, name))
            return &section;
    return nullptr;
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    return const_cast<Section *>(std::as_const(*this).findSection(name));
}

const IniFile::Line *IniFile::findLine(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    if (!s || key.isEmpty())
        return nullptr;
    for (const Line &line : s->lines)
        if (!line.key.isEmpty() && SameName(line.key, key))
            return &line;
    return nullptr;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Line *line = findLine(section, key);
    return line ? line->value : defaultValue;
}

int IniFile::readInt(const QString &section, const QString &key, int defaultValue) const
{
    const Line *line = findLine(section, key);
    if (!line)
        return defaultValue;
    bool ok = false;
    const int value = line->value.toInt(&ok);
    return ok ? value : defaultValue;
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

QDate IniFile::readDate(const QString &section, const QString &key, const QDate &defaultValue) const
{
    const Line *line = findLine(section, key);
    if (!line)
        return defaultValue;
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    static const QRegularExpression hungarian(QStringLiteral("^(\\d{4})\\.\\s*(\\d{1,2})\\.\\s*(\\d{1,2})\\.?$"));
    QRegularExpressionMatch match = iso.match(line->value);
    if (!match.hasMatch())
        match = hungarian.match(line->value);
    if (!match.hasMatch())
        return defaultValue;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    return date.isValid() ? date : defaultValue;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    if (section.isEmpty() || key.isEmpty())
        return;
    const QString clean = OneLine(value);
    Section *s = findSection(section);
    if (!s) {
        // A blank line between sections, as people lay out ini files by hand.
        QList<Line> *previous = m_sections.isEmpty() ? nullptr : &m_sections.last().lines;
        if (previous && !previous->isEmpty() && !IsBlank(previous->last().raw))
            previous->append(Line{{}, {}, {}});
        else if (!previous && !m_preamble.isEmpty() && !IsBlank(m_preamble.last()))
            m_preamble.append(QString());
        m_sections.append({section, QLatin1Char('[') + section + QLatin1Char(']'), {}});
        s = &m_sections.last();
    }
    for (Line &line : s->lines) {
        if (!line.key.isEmpty() && SameName(line.key, key)) {
            if (line.value != clean) {
                line.value = clean;
                line.raw = line.key + QLatin1Char('=') + clean;
            }
            return;
        }
    }
    // New keys go after the section's last non-blank line, so the blank line before the next section stays.
    qsizetype at = s->lines.size();
    while (at > 0 && IsBlank(s->lines.at(at - 1).raw))
        --at;
    s->lines.insert(at, Line{key, clean, key + QLatin1Char('=') + clean});
}

void IniFile::writeInt(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::writeDate(const QString &section, const QString &key, const QDate &value)
{
    writeString(section, key, value.isValid() ? value.toString(QStringLiteral("yyyy-MM-dd")) : QString());
}

void IniFile::deleteKey(const QString &section, const QString &key)
{
    Section *s = findSection(section);
    if (!s || key.isEmpty())
        return;
    // Every occurrence, so that deleting does not bring a duplicate further down to light.
    s->lines.removeIf([&key](const Line &line) { return !line.key.isEmpty() && SameName(line.key, key); });
}

void IniFile::eraseSection(const QString &section)
{
    m_sections.removeIf([&section](const Section &s) { return SameName(s.name, section); });
}

bool IniFile::sectionExists(const QString &section) const
{
    return findSection(section) != nullptr;
}

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    return findLine(section, key) != nullptr;
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (const Section &section : m_sections)
        names.append(section.name);
    return names;
}

QStringList IniFile::sectionKeys(const QString &section) const
{
    QStringList keys;
    if (const Section *s = findSection(section))
        for (const Line &line : s->lines)
            if (!line.key.isEmpty())
                keys.append(line.key);
    return keys;
}
