#pragma once

#include "printablelistwindow.h"

class QLabel;

// "Lezárt napok": every day closing of every till, the current row's till name above the grid. Its rows can be
// printed, exported, and the cash report of a closing printed again.
class Tfrm_NapLezar : public PrintableListWindow
{
    Q_OBJECT

public:
    Tfrm_NapLezar(Session &session, Engine &engine, Messages &messages, ClosingServices services,
                  QWidget *parent = nullptr);

    // Reads the closings and stands on the given one, or on the first.
    void open(int zarbizonylat = 0);
    // The till name the panel above the grid shows.
    QString tillName() const;
    // The title of the printed and exported list: the caption, ": " and the current row's till name.
    QString listTitle() const override;
    // The list's rows read again by its statement, with the grid's titles, widths and formats.
    std::shared_ptr<SqlExportSource> rows() const override;

private:
    void updateTillName();
    QLabel *m_tillName = nullptr;
};

// "Nap zárások": the closings list, modal.
void NapZarasok(Session &session, Engine &engine, Messages &messages, const ClosingServices &services,
                QWidget *parent = nullptr);
