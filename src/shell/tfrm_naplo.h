#pragma once

#include "printablelistwindow.h"
#include "tfrm_idoszak.h"

class QLabel;
class QLineEdit;

// "Eseménynapló": the entries of the event log written in a period, who did what, from which workstation and
// when. A search line keeps the entries whose event, user, workstation, till or text holds what is typed. The
// rows shown can be printed and exported; nothing here changes an entry.
class Tfrm_Naplo : public PrintableListWindow
{
    Q_OBJECT

public:
    Tfrm_Naplo(Session &session, Engine &engine, Messages &messages, ClosingServices services, const DateRange &period,
               QWidget *parent = nullptr);

    // Reads the entries of the period that match the search, the newest current.
    void open();
    void setPeriod(const DateRange &period);
    DateRange period() const { return m_period; }
    QLineEdit *filterBox() const { return m_filter; }
    // The title of the printed and exported list: the caption, the period and what is searched.
    QString listTitle() const override;
    // The rows shown read again by their statement, with the grid's titles and widths.
    std::shared_ptr<SqlExportSource> rows() const override;

private:
    QStringList lines() const;
    void choosePeriod();
    DateRange m_period;
    QLabel *m_periodText = nullptr;
    QLineEdit *m_filter = nullptr;
};

// "Eseménynapló" of the Rendszer menu, modal; it opens on the default period.
void EsemenyNaplo(Session &session, Engine &engine, Messages &messages, const ClosingServices &services,
                  QWidget *parent = nullptr);
