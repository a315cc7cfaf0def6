#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QtTest>
#include <zip.h>

// Files as the archive tests write and read them back. Tests that include this link libzip.

struct ZipEntry
{
    QByteArray bytes;
    int method = -1;
};

// Every entry of the archive by name, read back through libzip.
inline QMap<QString, ZipEntry> ReadZip(const QString &path)
{
    QMap<QString, ZipEntry> result;
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!zip)
        return result;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(zip, zip_uint64_t(i), 0, &st);
        zip_file_t *file = zip_fopen_index(zip, zip_uint64_t(i), 0);
        QByteArray bytes(qsizetype(st.size), '\0');
        const zip_int64_t n = zip_fread(file, bytes.data(), st.size);
        zip_fclose(file);
        if (n == zip_int64_t(st.size))
            result.insert(QString::fromUtf8(st.name), {bytes, int(st.comp_method)});
    }
    zip_close(zip);
    return result;
}

inline void WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Writes a zip of the given entries (name -> bytes) as any zip tool would, replacing the file.
inline void WriteZip(const QString &path, const QMap<QString, QByteArray> &entries)
{
    QFile::remove(path);
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_EXCL, &error);
    QVERIFY(zip);
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        zip_source_t *source = zip_source_buffer(zip, it.value().constData(), zip_uint64_t(it.value().size()), 0);
        QVERIFY(source);
        QVERIFY(zip_file_add(zip, it.key().toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) >= 0);
    }
    QVERIFY(zip_close(zip) == 0);
}
