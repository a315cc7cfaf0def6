#include "numberedit.h"

#include "util.h"

#include <QLabel>
#include <QRegularExpression>
#include <QValidator>

namespace {

QString Normalised(const QString &text)
{
    QString result = text;
    result.remove(QLatin1Char(' '));
    result.replace(QLatin1Char(','), QLatin1Char('.'));
    return result;
}

class NumberValidator : public QValidator
{
public:
    NumberValidator(NumberEdit::Kind kind, QObject *parent) : QValidator(parent), m_kind(kind) {}

    State validate(QString &input, int &) const override
    {
        static const QRegularExpression amount(QStringLiteral("^-?[0-9 ]*([.,][0-9]*)?$"));
        static const QRegularExpression unsignedAmount(QStringLiteral("^[0-9 ]*([.,][0-9]*)?$"));
        static const QRegularExpression whole(QStringLiteral("^[0-9]{0,9}$"));
        const QRegularExpression &pattern = m_kind == NumberEdit::Amount           ? amount
                                            : m_kind == NumberEdit::UnsignedAmount ? unsignedAmount
                                                                                   : whole;
        if (!pattern.match(input).hasMatch())
            return Invalid;
        if (input.trimmed().isEmpty())
            return Acceptable;
        bool ok = false;
        Normalised(input).toDouble(&ok);
        return ok ? Acceptable : Intermediate;
    }

private:
    NumberEdit::Kind m_kind;
};

} // namespace

NumberEdit::NumberEdit(Kind kind, QWidget *parent) : QLineEdit(parent), m_kind(kind)
{
    setValidator(new NumberValidator(kind, this));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setMaxLength(kind == WholeNumber ? 9 : 20);
    connect(this, &QLineEdit::inputRejected, this, [this] { emit refused(hint()); });
}

QString NumberEdit::hint() const
{
    switch (m_kind) {
    case Amount:
        return QStringLiteral("Ide csak számot lehet írni (számjegyek, tizedesvessző, mínuszjel).");
    case UnsignedAmount:
        return QStringLiteral("Ide csak 0 vagy pozitív számot lehet írni (számjegyek, szóköz, egy tizedesvessző).");
    case WholeNumber:
        break;
    }
    return QStringLiteral("Ide csak egész számot lehet írni (számjegyek).");
}

bool NumberEdit::isComplete() const
{
    QString input = text();
    int pos = 0;
    return validator()->validate(input, pos) == QValidator::Acceptable;
}

QVariant NumberEdit::value() const
{
    if (text().trimmed().isEmpty() || !isComplete())
        return {};
    if (m_kind == WholeNumber)
        return Normalised(text()).toInt();
    return Normalised(text()).toDouble();
}

QLabel *NumberEdit::HintLine(QWidget *parent)
{
    auto *line = new QLabel(parent);
    line->setObjectName(QStringLiteral("lHint"));
    line->setWordWrap(true);
    line->setStyleSheet(QStringLiteral("color: #b00000;"));
    line->hide();
    return line;
}

void NumberEdit::showRefusalsIn(QLabel *hintLine)
{
    connect(this, &NumberEdit::refused, hintLine, [hintLine](const QString &hint) {
        hintLine->setText(hint);
        hintLine->show();
    });
    connect(this, &QLineEdit::textEdited, hintLine, &QWidget::hide);
}

void NumberEdit::setValue(const QVariant &value)
{
    if (value.isNull() || !value.isValid()) {
        clear();
        return;
    }
    if (m_kind == WholeNumber) {
        setText(QString::number(value.toLongLong()));
        return;
    }
    // The general form with the desktop's decimal mark; both marks read back.
    setText(FormatFloat(QString(), value.toDouble()));
}
