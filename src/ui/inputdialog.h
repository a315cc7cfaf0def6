#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// One-field input dialog: a word-wrapped prompt, an edit field and "OK" / "Mégsem". Sizes follow the dialog
// font's average character size, so the dialog grows with the font.
class InputDialogWindow : public QDialog
{
    Q_OBJECT
public:
    // editMask uses QLineEdit's input mask syntax; empty for none.
    InputDialogWindow(const QString &caption, const QString &prompt, const QString &editMask, const QString &value,
                      QWidget *parent = nullptr);

    QString value() const;

    // Average width of a letter and the height of a line in the font, the dialog's layout unit.
    static QSize AverageCharSize(const QFont &font);

private:
    QLabel *m_prompt;
    QLineEdit *m_edit;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

// Asks for one value. True when "OK" was pressed, and then value holds the typed text; false on "Mégsem" or
// closing, with value untouched.
bool InputDialog(const QString &caption, const QString &prompt, const QString &editMask, QString &value,
                 QWidget *parent = nullptr);
