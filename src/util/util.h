#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <type_traits>

// ---- Text -----------------------------------------------------------------------------------------------------

// Text form of the value with every `from` replaced by `to`; a NULL or invalid value gives the empty text.
QString ReplaceChar(const QVariant &value, QChar from, QChar to);
QString ReplaceChar(const QString &text, QChar from, QChar to);

// The n-th field (from 1) of the text; every character of `delimiters` ends a field, so consecutive delimiters
// give empty fields. n below 1 or beyond the last field gives the empty text.
QString NthField(const QString &delimiters, const QString &text, int n);

// Every line of the text followed by the separator, without the final separator.
QString JoinLines(const QString &text, const QString &separator);

// Lower-case file name: blanks and ! " # % & ' * + / : ? @ \ become "-", characters that are 0x81-0xFF in
// Windows-1250 (and characters the code page lacks) become "_".
QString SafeFileName(const QString &text);

QString RemoveChar(QChar c, const QString &text);
int CountChar(QChar c, const QString &text);

// The first value when flag is 1, otherwise the second.
template <typename T> T Choose(int flag, const T &first, const std::type_identity_t<T> &second)
{
    return flag == 1 ? first : second;
}

// ---- SQL text -------------------------------------------------------------------------------------------------
// Each changes the first line whose upper-case form starts with the keyword (a line with leading blanks does not
// match) and returns all lines joined with "\n"; without such a line the text comes back unchanged.

// The ORDER line becomes "ORDER BY " + clause + ";".
QString SetOrderBy(const QStringList &lines, const QString &clause);
// The WHERE line becomes "WHERE " + condition.
QString SetWhere(const QStringList &lines, const QString &condition);
// The text is appended to the WHERE line.
QString AppendToWhere(const QStringList &lines, const QString &text);

// Quoted date literal: '12/08/2026' (month/day/year) when monthDayYear is set, else '2026-12-08'.
// An invalid date gives ''.
QString SqlDateLiteral(bool monthDayYear, const QDate &date);

// ---- Dates ----------------------------------------------------------------------------------------------------

// 0 for an invalid date.
int YearOf(const QDate &date);
int MonthOf(const QDate &date);
// ISO 8601 week number (weeks start on Monday, week 1 holds the first Thursday).
int WeekOfYear(const QDate &date);

// ---- Numbers --------------------------------------------------------------------------------------------------

// Field values that may be NULL (or invalid): the default for NULL, the converted value otherwise.
QString ValueOr(const QVariant &value, const QString &defaultValue);
int ValueOr(const QVariant &value, int defaultValue);
qint64 ValueOr(const QVariant &value, qint64 defaultValue);
double ValueOr(const QVariant &value, double defaultValue);

// Tolerant reading of a typed amount: keeps only digits, "," "." and "-", takes either mark as the decimal
// separator of the default QLocale and converts with that locale. Empty or unreadable text gives 0.
double ParseAmount(const QString &text);

// Display formatting with a pattern such as "### ### ##0", "### ### ##0.00" or "00000":
//  - "0" is a digit place that always prints, "#" prints only a significant digit; extra integer digits are
//    printed in front of the first place;
//  - "." is the decimal separator of the default QLocale (omitted when no decimal prints), "," switches on
//    grouping with the locale's group separator;
//  - other characters and quoted text are literal; between digit places they print only after a digit has
//    printed, before the first and after the last place always;
//  - "pos;neg;zero" sections; rounding is half away from zero on the value's 15 significant digits; a value
//    that rounds to zero gets no minus sign.
// An empty pattern (or one without digit places) gives the general form with up to 15 significant digits:
// 1234.5 -> "1234,5" in a Hungarian locale.
QString FormatFloat(const QString &pattern, double value);

// ---- Amount in words ------------------------------------------------------------------------------------------

// The amount in Hungarian words for cash vouchers: 1234.5 -> "egyezer kettőszázharmincöt", 1000 -> "egyezer "
// (exact thousands and millions end in a blank). A positive .5 rounds up, a negative one to even magnitude.
// Magnitudes up to 999 999 999 999 are written out ("milliárd" carrying tens and hundreds like "millió");
// anything beyond that, NaN and infinities give the empty text.
QString AmountInWords(double value);

// ---- Start-up values ------------------------------------------------------------------------------------------

struct StartupValues
{
    QString programFolder; // no trailing "/"
    QString dataFolder;    // holds the ini file
    QString iniPath;
};

// The ini lives beside the program when "DromvelPro.ini" is there, otherwise in commonDataFolder/DromvelPro,
// otherwise (no common folder) beside the program again. Touches no files except to test for the ini.
StartupValues ComputeStartupValues(const QString &programFolder, const QString &commonDataFolder);

// Sets the values once from the program's folder and the common application-data folder; start-up passes
// the running program's, tests their own.
void InitStartupValues(const QString &programFolder, const QString &commonDataFolder);

// Read before InitStartupValues() these initialise from the running application.
QString ProgramFolder();
QString DataFolder();
QString IniPath();

// Empty when the platform cannot name the folder.
QString CommonAppDataFolder();
QString DocumentsFolder();

// ---- Record counter -------------------------------------------------------------------------------------------

// "15: 3" for 15 rows standing on the third; currentRow is the 0-based model row, -1 (no current row) shows 0.
QString RecordPositionText(int rowCount, int currentRow);
