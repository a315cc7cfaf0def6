#include "tfrm_penztarellenorzes.h"

#include "formbehaviour.h"
#include "numberedit.h"
#include "session.h"
#include "util.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString Money = QStringLiteral("### ### ##0");
const QString Cents = QStringLiteral("### ### ##0.00");

bool IsForint(const QString &currency)
{
    const QString c = currency.trimmed();
    return c.isEmpty() || c.compare(QLatin1String("HUF"), Qt::CaseInsensitive) == 0 ||
           c.compare(QLatin1String("Ft"), Qt::CaseInsensitive) == 0;
}

QLabel *Amount(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("000 000 000,00 XXX")));
    return label;
}

} // namespace

CashCountAsk DefaultCashCountAsk(Session &session)
{
    return [&session](double book, const QString &currency, QWidget *parent) -> CashCountAnswer {
        Tfrm_Penztarellenorzes dialog(session, book, currency, parent);
        const int result = dialog.exec();
        if (result == QDialog::Accepted)
            return std::optional<CashCount>(dialog.count());
        if (result == Tfrm_Penztarellenorzes::Skipped)
            return std::optional<CashCount>();
        return std::nullopt;
    };
}

Tfrm_Penztarellenorzes::Tfrm_Penztarellenorzes(Session &session, double book, const QString &currency, QWidget *parent)
    : QDialog(parent), m_book(book), m_forint(IsForint(currency)),
      m_unit(IsForint(currency) ? QStringLiteral("Ft") : currency.trimmed())
{
    setObjectName(QStringLiteral("frm_Penztarellenorzes"));
    setWindowTitle(QStringLiteral("Pénztárellenőrzés"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *grid = new QGridLayout;
    grid->setObjectName(QStringLiteral("lytCimletek"));
    grid->setHorizontalSpacing(12);
    const QStringList headings =
        m_forint ? QStringList{QStringLiteral("címlet"), QStringLiteral("db"), QStringLiteral("érték")}
                 : QStringList{QStringLiteral("sor"), QStringLiteral("összeg"), QStringLiteral("érték")};
    for (int c = 0; c < headings.size(); ++c) {
        auto *heading = new QLabel(headings.at(c), this);
        heading->setEnabled(false);
        heading->setAlignment(c == 0 ? Qt::AlignLeft : Qt::AlignRight);
        grid->addWidget(heading, 0, c);
    }
    const int lines = m_forint ? int(ForintDenominations().size()) : AmountLines;
    for (int i = 0; i < lines; ++i) {
        const QString caption = m_forint ? FormatFloat(Money, ForintDenominations().at(i)) + QStringLiteral(" Ft")
                                         : QStringLiteral("%1.").arg(i + 1);
        grid->addWidget(new QLabel(caption, this), i + 1, 0);
        if (m_forint) {
            auto *pieces = new QSpinBox(this);
            pieces->setObjectName(QStringLiteral("edtDb%1").arg(i));
            pieces->setRange(0, 999999);
            pieces->setButtonSymbols(QAbstractSpinBox::NoButtons);
            pieces->setAlignment(Qt::AlignRight);
            pieces->setMinimumWidth(pieces->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
            connect(pieces, &QSpinBox::valueChanged, this, &Tfrm_Penztarellenorzes::recount);
            m_pieces.append(pieces);
            grid->addWidget(pieces, i + 1, 1);
        } else {
            auto *amount = new NumberEdit(NumberEdit::UnsignedAmount, this);
            amount->setObjectName(QStringLiteral("edtOsszeg%1").arg(i));
            connect(amount, &QLineEdit::textChanged, this, &Tfrm_Penztarellenorzes::recount);
            m_amounts.append(amount);
            grid->addWidget(amount, i + 1, 1);
        }
        m_values.append(Amount(this, QStringLiteral("lblErtek%1").arg(i)));
        grid->addWidget(m_values.last(), i + 1, 2);
    }

    auto *sums = new QGridLayout;
    sums->setObjectName(QStringLiteral("lytOsszesen"));
    m_total = Amount(this, QStringLiteral("lblMegszamolt"));
    auto *book_ = Amount(this, QStringLiteral("lblKonyvSzerint"));
    book_->setText(FormatFloat(m_forint ? Money : Cents, book) + QLatin1Char(' ') + m_unit);
    m_differenceCaption = new QLabel(this);
    m_differenceCaption->setObjectName(QStringLiteral("lblElteresFelirat"));
    m_difference = Amount(this, QStringLiteral("lblElteres"));
    QFont bold = m_total->font();
    bold.setBold(true);
    for (QLabel *label : {m_total, m_difference, m_differenceCaption})
        label->setFont(bold);
    sums->addWidget(new QLabel(QStringLiteral("Megszámolt összesen"), this), 0, 0);
    sums->addWidget(m_total, 0, 1);
    sums->addWidget(new QLabel(QStringLiteral("Könyv szerinti záró pénzkészlet"), this), 1, 0);
    sums->addWidget(book_, 1, 1);
    sums->addWidget(m_differenceCaption, 2, 0);
    sums->addWidget(m_difference, 2, 1);
    sums->setColumnStretch(0, 1);

    const OkCancelRow buttons = OkCancelButtons(this);
    buttons.ok->setText(QStringLiteral("Rögzít"));
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *skip = new QPushButton(QStringLiteral("Kihagy"), this);
    skip->setObjectName(QStringLiteral("btnKihagy"));
    skip->setToolTip(QStringLiteral("Zárás pénztárellenőrzés nélkül"));
    connect(skip, &QPushButton::clicked, this, [this] { done(Skipped); });
    buttons.row->insertWidget(buttons.row->indexOf(buttons.cancel), skip);

    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(m_forint ? QStringLiteral("Adja meg a megszámolt darabszámokat címletenként.")
                                      : QStringLiteral("Adja meg a megszámolt összegeket (%1).").arg(m_unit),
                             this);
    intro->setObjectName(QStringLiteral("lblBevezeto"));
    layout->addWidget(intro);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(sums);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ApplyFontSize(this, session.fontSize);
    PaintFocusedField(this);
    EnterMovesFocus(this);
    recount();
    if (m_forint)
        m_pieces.first()->setFocus();
    else
        m_amounts.first()->setFocus();
}

CashCount Tfrm_Penztarellenorzes::count() const
{
    if (m_forint) {
        QList<int> pieces;
        for (const QSpinBox *box : m_pieces)
            pieces.append(box->value());
        return CashCount::OfPieces(pieces);
    }
    QList<double> amounts;
    for (const NumberEdit *edit : m_amounts)
        if (!edit->value().isNull())
            amounts.append(edit->value().toDouble());
    return CashCount::OfAmounts(amounts);
}

void Tfrm_Penztarellenorzes::setPieces(const QList<int> &pieces)
{
    for (qsizetype i = 0; i < m_pieces.size(); ++i)
        m_pieces.at(i)->setValue(pieces.value(i, 0));
}

void Tfrm_Penztarellenorzes::setAmounts(const QList<double> &amounts)
{
    for (qsizetype i = 0; i < m_amounts.size(); ++i)
        m_amounts.at(i)->setValue(i < amounts.size() ? QVariant(amounts.at(i)) : QVariant());
}

QString Tfrm_Penztarellenorzes::totalText() const
{
    return m_total->text();
}

QString Tfrm_Penztarellenorzes::differenceCaption() const
{
    return m_differenceCaption->text();
}

QString Tfrm_Penztarellenorzes::differenceText() const
{
    return m_difference->text();
}

void Tfrm_Penztarellenorzes::recount()
{
    const QString pattern = m_forint ? Money : Cents;
    const auto money = [&](double value) { return FormatFloat(pattern, value) + QLatin1Char(' ') + m_unit; };
    const CashCount counted = count();
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        const bool filled = m_forint ? true : !m_amounts.at(i)->value().isNull();
        double value = 0;
        if (m_forint)
            value = counted.lines.at(i).osszeg;
        else if (filled)
            value = m_amounts.at(i)->value().toDouble();
        m_values.at(i)->setText(filled ? money(value) : QString());
    }
    m_total->setText(money(counted.total()));
    const double difference = counted.difference(m_book);
    m_differenceCaption->setText(difference > 0   ? QStringLiteral("Többlet")
                                 : difference < 0 ? QStringLiteral("Hiány")
                                                  : QStringLiteral("Egyezik"));
    m_difference->setText(money(qAbs(difference)));
    m_difference->setStyleSheet(difference == 0 ? QString() : QStringLiteral("color: #b00000;"));
}
