#include "tfrm_idoszak.h"

#include "formbehaviour.h"
#include "session.h"
#include "windowplacement.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString FormName = QStringLiteral("Tfrm_Idoszak");

QDate LastDayOfMonth(const QDate &first)
{
    return QDate(first.year(), first.month(), first.daysInMonth());
}

} // namespace

DateRange PresetRange(PeriodPreset preset, const QDate &today)
{
    switch (preset) {
    case PeriodPreset::ThisWeek: {
        // Monday of today's own week. Pairing the ISO week number with the calendar year would jump to the
        // first week of the wrong year on the days around New Year.
        const QDate monday = today.addDays(1 - today.dayOfWeek());
        return {monday, monday.addDays(6)};
    }
    case PeriodPreset::ThisMonth: {
        const QDate first(today.year(), today.month(), 1);
        return {first, LastDayOfMonth(first)};
    }
    case PeriodPreset::LastMonth: {
        const QDate first = QDate(today.year(), today.month(), 1).addMonths(-1);
        return {first, LastDayOfMonth(first)};
    }
    case PeriodPreset::ThisYear:
        return {QDate(today.year(), 1, 1), QDate(today.year(), 12, 31)};
    }
    return {today, today};
}

DateRange DefaultPeriod(const QDate &today)
{
    return {today.addMonths(-1), today};
}

Tfrm_Idoszak::Tfrm_Idoszak(Session &session, const DateRange &range, QWidget *parent, const QDate &today)
    : QDialog(parent), m_session(session), m_today(today), m_from(new QDateEdit(this)), m_to(new QDateEdit(this))
{
    setObjectName(FormName);
    setWindowTitle(QStringLiteral("Időszak megadása"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    for (QDateEdit *edit : {m_from, m_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    }
    m_from->setObjectName(QStringLiteral("dtTol"));
    m_to->setObjectName(QStringLiteral("dtIg"));
    m_from->setDate(range.from);
    m_to->setDate(range.to);

    auto *period = new QGroupBox(QStringLiteral("Időszak"), this);
    period->setObjectName(QStringLiteral("gbIdoszak"));
    auto *dates = new QFormLayout(period);
    dates->addRow(QStringLiteral("Kezdete"), m_from);
    dates->addRow(QStringLiteral("Vége"), m_to);

    auto *presets = new QGroupBox(QStringLiteral("Intervallum"), this);
    presets->setObjectName(QStringLiteral("gbIntervallum"));
    auto *presetGrid = new QGridLayout(presets);
    const struct
    {
        const char *name;
        const char *caption;
        PeriodPreset preset;
    } buttons[] = {{"btnEzAHet", "Ez a hét", PeriodPreset::ThisWeek},
                   {"btnEzAHonap", "Ez a hónap", PeriodPreset::ThisMonth},
                   {"btnMultHonap", "Múlt hónap", PeriodPreset::LastMonth},
                   {"btnIden", "Idén", PeriodPreset::ThisYear}};
    int i = 0;
    for (const auto &b : buttons) {
        auto *button = new QPushButton(QString::fromUtf8(b.caption), presets);
        button->setObjectName(QString::fromLatin1(b.name));
        // Enter on a focused preset presses it; the dialog stays open.
        button->setAutoDefault(true);
        const PeriodPreset preset = b.preset;
        connect(button, &QPushButton::clicked, this, [this, preset] { applyPreset(preset); });
        presetGrid->addWidget(button, i / 2, i % 2);
        ++i;
    }

    const OkCancelRow okCancel = OkCancelButtons(this);
    connect(okCancel.ok, &QPushButton::clicked, this, &QDialog::accept);
    QHBoxLayout *buttonRow = okCancel.row;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(period);
    layout->addWidget(presets);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ApplyFontSize(this, session.fontSize);
    PaintFocusedField(this);
    EnterMovesFocus(this);
    RestoreWindowPos(this, session.ini, FormName);
    m_from->setFocus();
}

DateRange Tfrm_Idoszak::range() const
{
    return {m_from->date(), m_to->date()};
}

void Tfrm_Idoszak::applyPreset(PeriodPreset preset)
{
    const DateRange r = PresetRange(preset, m_today);
    m_from->setDate(r.from);
    m_to->setDate(r.to);
}

void Tfrm_Idoszak::done(int result)
{
    StoreWindowPos(this, m_session.ini, FormName);
    QDialog::done(result);
}

std::optional<DateRange> Idoszak(Session &session, const DateRange &preset, QWidget *parent, const QString &caption)
{
    Tfrm_Idoszak dialog(session, preset, parent);
    if (!caption.isEmpty())
        dialog.setWindowTitle(caption);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.range();
}
