#pragma once

#include <QLineEdit>
#include <QVariant>

class QLabel;

// An edit field that takes only a number: a keystroke or paste that would make anything else is refused and
// hint() says what the field takes. An empty field is a NULL value.
class NumberEdit : public QLineEdit
{
    Q_OBJECT

public:
    enum Kind {
        Amount,         // optional minus, digits with blanks between groups, "," or "." as the decimal mark
        UnsignedAmount, // as Amount, without the minus
        WholeNumber,    // digits only, at most nine
    };

    explicit NumberEdit(Kind kind, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    // What the field takes, in Hungarian, for the hint line and the refusal box.
    QString hint() const;
    // True when the text is empty or a whole number of its kind (not a lone "-" or ",").
    bool isComplete() const;
    // NULL when empty; a double (Amount) or an int (WholeNumber) otherwise. Only meaningful when complete.
    QVariant value() const;
    void setValue(const QVariant &value);

    // The line under a form's fields that tells why a field refused a keystroke or a paste; hidden until then.
    static QLabel *HintLine(QWidget *parent);
    // The field's refusals show in the hint line until the field is edited again.
    void showRefusalsIn(QLabel *hintLine);

signals:
    // A keystroke or paste was refused.
    void refused(const QString &hint);

private:
    Kind m_kind;
};
