#pragma once

#include "cashcount.h"

#include <QDialog>
#include <QList>
#include <functional>
#include <optional>

class NumberEdit;
class QLabel;
class QSpinBox;
struct Session;

// What the cash count at a day closing gave: the count to store, or a skipped count (the closing goes on without
// one); nothing when the closing was cancelled.
using CashCountAnswer = std::optional<std::optional<CashCount>>;
// Asks for the count of the till at the given book balance in its currency.
using CashCountAsk = std::function<CashCountAnswer(double book, const QString &currency, QWidget *parent)>;
CashCountAsk DefaultCashCountAsk(Session &session);

// "Pénztárellenőrzés": the count of the cash at a day closing. For forints the pieces of each note and coin, for
// another currency the amounts line by line; each line's value, the counted total, the book balance and the
// difference as "Többlet" or "Hiány". "Rögzít" stores the count with the closing, "Kihagy" closes without a count,
// "Mégsem" closes nothing.
class Tfrm_Penztarellenorzes : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Skipped = 2; // the result of "Kihagy"
    static constexpr int AmountLines = 12;

    Tfrm_Penztarellenorzes(Session &session, double book, const QString &currency, QWidget *parent = nullptr);

    CashCount count() const;
    // Sets the pieces of a forint count or the amounts of another currency's lines, in line order.
    void setPieces(const QList<int> &pieces);
    void setAmounts(const QList<double> &amounts);
    QString totalText() const;
    QString differenceCaption() const; // "Többlet", "Hiány" or "Egyezik"
    QString differenceText() const;

private:
    void recount();

    const double m_book;
    const bool m_forint;
    const QString m_unit;
    QList<QSpinBox *> m_pieces;
    QList<NumberEdit *> m_amounts;
    QList<QLabel *> m_values;
    QLabel *m_total = nullptr;
    QLabel *m_differenceCaption = nullptr;
    QLabel *m_difference = nullptr;
};
