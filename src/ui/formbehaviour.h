#pragma once

class QWidget;

// Habits every window of the program shares.

// The FontSize setting: the window and all its children use that point size; a child set larger or smaller
// than the window keeps its distance. Its labels keep room for accented capitals (KeepAccentsWhole).
void ApplyFontSize(QWidget *window, int pointSize);
// The edit field holding the focus is painted light blue (FocusColor()) and gets the window colour back
// when it loses the focus.
void PaintFocusedField(QWidget *form);
// Enter (and the keypad's Enter) in an edit field or check box moves the focus to the next control instead of
// closing the dialog. Push buttons and multi-line edits keep their own Enter.
void EnterMovesFocus(QWidget *form);
class QLineEdit;
// Letters typed or pasted into the field turn upper case; the text the field was given keeps its letters, so a
// stored "Ft" stays "Ft" until the user edits it.
void UpperCaseTyping(QLineEdit *edit);
// The program's menu look: the menu bar's items on light blue, pop-up items on light grey, the selected item
// on salmon with a grey frame, separators as thin grey lines.
void ApplyMenuStyle(QWidget *window);

class QFontMetrics;
class QString;

// The height a line of the text needs, centred, to show whole: accents above capitals (Ő, Ű, Á, É) and
// descenders may reach beyond the font's own line height.
int WholeTextHeight(const QFontMetrics &metrics, const QString &text);
// Every one-line label of the form gets that height for accented capitals and descenders, whatever text it holds
// now or later.
// Call again after the font size changes.
void KeepAccentsWhole(QWidget *form);

class QDialog;
class QHBoxLayout;
class QPushButton;

// The "OK" (default button, objectName btnOk) and "Mégsem" (btnCancel, rejects the dialog) pair, right-aligned in
// a row. Enter on a focused button presses that button; Ctrl+Enter presses OK from anywhere in the dialog. What OK
// does is the caller's to connect.
struct OkCancelRow
{
    QPushButton *ok;
    QPushButton *cancel;
    QHBoxLayout *row;
};
OkCancelRow OkCancelButtons(QDialog *dialog);
