#include "spreadsheetwriter.h"

#include "devicebuffer.h"
#include "exporterror.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryFile>
#include <algorithm>
#include <cmath>
#include <xlsxwriter.h>

namespace {

constexpr int MaxStringLength = 32767;
constexpr double MaxColumnWidth = 80;

QString LibraryMessage(lxw_error error)
{
    return QStringLiteral("A munkafüzet nem írható: ") + QString::fromUtf8(lxw_strerror(error));
}

void Check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw ExportError(LibraryMessage(error));
}

// Closes the workbook however the writing ends; a workbook left half-written goes to the temporary file only.
class Workbook
{
public:
    explicit Workbook(const QString &path)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        m_book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        if (!m_book)
            throw ExportError(QStringLiteral("A munkafüzet nem hozható létre: ") + QDir::toNativeSeparators(path));
    }
    ~Workbook()
    {
        if (m_book)
            workbook_close(m_book);
    }
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    lxw_workbook *get() const { return m_book; }
    void close()
    {
        lxw_error error = workbook_close(m_book);
        m_book = nullptr;
        Check(error);
    }

private:
    lxw_workbook *m_book = nullptr;
};

// Literal text of a number pattern, quoted for the spreadsheet.
QString Literal(QString text)
{
    text.remove(QLatin1Char('"'));
    return text.isEmpty() ? QString() : QLatin1Char('"') + text + QLatin1Char('"');
}

QString SectionFormat(const QString &section)
{
    auto isPlace = [](QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('#'); };
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < section.size(); ++i) {
        if (isPlace(section.at(i))) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return Literal(section);
    const QString core = section.mid(first, last - first + 1);
    const qsizetype point = core.indexOf(QLatin1Char('.'));
    const QString integerPart = point < 0 ? core : core.left(point);
    const bool grouped = integerPart.contains(QLatin1Char(' ')) || integerPart.contains(QLatin1Char(','));
    const qsizetype zeros = integerPart.count(QLatin1Char('0'));
    QString result;
    if (grouped) {
        result = QStringLiteral("#,###");
        for (qsizetype i = 0; i < std::min<qsizetype>(zeros, 3); ++i)
            result[result.size() - 1 - i] = QLatin1Char('0');
    } else
        result = zeros > 0 ? QString(zeros, QLatin1Char('0')) : QStringLiteral("#");
    if (point >= 0) {
        QString fraction;
        for (QChar c : core.mid(point + 1))
            if (isPlace(c))
                fraction += c;
        if (!fraction.isEmpty())
            result += QLatin1Char('.') + fraction;
    }
    return Literal(section.left(first)) + result + Literal(section.mid(last + 1));
}

} // namespace

QString SpreadsheetNumberFormat(const QString &pattern)
{
    if (pattern.isEmpty())
        return {};
    QStringList sections;
    for (const QString &section : pattern.split(QLatin1Char(';')))
        sections.append(SectionFormat(section));
    return sections.join(QLatin1Char(';'));
}

qint64 SpreadsheetWriter::write(ExportSource &source, QIODevice &device, const ExportControl &control)
{
    const QList<ExportColumn> all = source.columns();
    QList<int> positions;
    for (qsizetype i = 0; i < all.size(); ++i)
        if (i >= m_options.exported.size() || m_options.exported.at(i))
            positions.append(int(i));

    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/dromvel-XXXXXX.xlsx"));
    if (!file.open())
        throw ExportError(file.errorString());
    file.close();

    qint64 written = 0;
    {
        Workbook book(file.fileName());
        lxw_worksheet *sheet = workbook_add_worksheet(book.get(), nullptr);
        lxw_format *bold = workbook_add_format(book.get());
        format_set_bold(bold);
        lxw_format *dateFormat = workbook_add_format(book.get());
        format_set_num_format(dateFormat, "yyyy.mm.dd");

        QList<lxw_format *> numberFormats;
        QList<double> widths;
        // Numbers are measured once at the end, by the widest of them: the largest magnitude, with room for a sign.
        QList<double> largestNumber;
        QList<bool> negative;
        for (int p : positions) {
            const ExportColumn &column = all.at(p);
            const QString label = m_options.fieldNames ? column.name : column.label;
            Check(worksheet_write_string(sheet, 0, lxw_col_t(widths.size()), label.toUtf8().constData(), bold));
            widths.append(label.size());
            lxw_format *format = nullptr;
            const QString numberFormat = SpreadsheetNumberFormat(column.numberFormat);
            if (!numberFormat.isEmpty()) {
                format = workbook_add_format(book.get());
                format_set_num_format(format, numberFormat.toUtf8().constData());
            }
            numberFormats.append(format);
            largestNumber.append(-1);
            negative.append(false);
        }

        source.read([&](const ExportRow &row) {
            if (control.stopped())
                return false;
            if (written >= MaxRows)
                throw ExportError(QStringLiteral("Egy munkalap legfeljebb %L1 sort fogad: szűkítse a sorokat, vagy "
                                                 "válasszon szöveges (CSV) exportot.")
                                      .arg(MaxRows));
            const lxw_row_t r = lxw_row_t(written + 1);
            for (qsizetype c = 0; c < positions.size(); ++c) {
                const int p = positions.at(c);
                const lxw_col_t col = lxw_col_t(c);
                const QVariant value = row.value(p);
                if (!value.isValid() || value.isNull())
                    continue;
                if (IsNumber(value)) {
                    const double number = value.toDouble();
                    Check(worksheet_write_number(sheet, r, col, number, numberFormats.at(c)));
                    largestNumber[c] = std::max(largestNumber.at(c), std::fabs(number));
                    negative[c] = negative.at(c) || number < 0;
                    continue;
                }
                qsizetype shown = 0;
                switch (value.typeId()) {
                case QMetaType::QDate: {
                    const QDate d = value.toDate();
                    if (d.year() >= 1900) {
                        lxw_datetime when{d.year(), d.month(), d.day(), 0, 0, 0};
                        Check(worksheet_write_datetime(sheet, r, col, &when, dateFormat));
                        shown = 10;
                        break;
                    }
                    const QByteArray text = d.toString(QStringLiteral("yyyy.MM.dd")).toUtf8();
                    Check(worksheet_write_string(sheet, r, col, text.constData(), nullptr));
                    shown = 10;
                    break;
                }
                case QMetaType::QByteArray:
                    Check(worksheet_write_string(sheet, r, col, "BLOB", nullptr));
                    shown = 4;
                    break;
                default: {
                    const QString text = value.toString().left(MaxStringLength);
                    if (text.isEmpty())
                        break;
                    Check(worksheet_write_string(sheet, r, col, text.toUtf8().constData(), nullptr));
                    shown = text.size();
                    break;
                }
                }
                widths[c] = std::max(widths.at(c), double(shown));
            }
            control.written(++written);
            return true;
        });

        for (qsizetype c = 0; c < widths.size(); ++c) {
            if (largestNumber.at(c) >= 0)
                widths[c] = std::max(widths.at(c), DisplayText(all.at(positions.at(c)), largestNumber.at(c)).size() +
                                                       (negative.at(c) ? 1.0 : 0.0));
            Check(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), std::min(widths.at(c) + 2, MaxColumnWidth),
                                       nullptr));
        }
        worksheet_freeze_panes(sheet, 1, 0);
        if (!positions.isEmpty())
            Check(worksheet_autofilter(sheet, 0, 0, lxw_row_t(written), lxw_col_t(positions.size() - 1)));
        book.close();
    }

    QFile result(file.fileName());
    if (!result.open(QIODevice::ReadOnly))
        throw ExportError(result.errorString());
    DeviceBuffer out(device);
    while (!result.atEnd()) {
        out.bytes() = result.read(1 << 16);
        out.flush();
    }
    return written;
}
