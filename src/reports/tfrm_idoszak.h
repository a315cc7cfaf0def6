#pragma once

#include <QDate>
#include <QDialog>
#include <optional>

class QDateEdit;
struct Session;

struct DateRange
{
    QDate from;
    QDate to;

    bool operator==(const DateRange &) const = default;
};

enum class PeriodPreset { ThisWeek, ThisMonth, LastMonth, ThisYear };

// The range a preset button gives on the given day.
DateRange PresetRange(PeriodPreset preset, const QDate &today);
// What every period-bound print action offers first: from the same day a month ago up to today.
DateRange DefaultPeriod(const QDate &today);

// "Időszak megadása": two dates and four preset buttons. Enter moves to the next control, Ctrl+Enter is OK.
class Tfrm_Idoszak : public QDialog
{
    Q_OBJECT
public:
    // today is the day the preset buttons count from.
    Tfrm_Idoszak(Session &session, const DateRange &range, QWidget *parent = nullptr,
                 const QDate &today = QDate::currentDate());

    DateRange range() const;
    void applyPreset(PeriodPreset preset);

    void done(int result) override;

private:
    Session &m_session;
    QDate m_today;
    QDateEdit *m_from;
    QDateEdit *m_to;
};

// The period chooser: the chosen range after "OK", nothing after "Mégsem". An empty caption keeps
// "Időszak megadása".
std::optional<DateRange> Idoszak(Session &session, const DateRange &preset, QWidget *parent = nullptr,
                                 const QString &caption = QString());
