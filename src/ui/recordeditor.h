#pragma once

#include <QDialog>
#include <QList>
#include <QVariantMap>
#include <functional>

class Messages;
class NumberEdit;
class QLabel;
class QLineEdit;
class QPushButton;
struct Session;

// The editor dialog of one row: "OK" hands the values to the post function and closes; a post the engine
// refuses shows "Hiányos, vagy hibás adatmegadás" with the engine's message and keeps the dialog open with
// everything typed. "Mégsem" and Esc close without posting. Remembers its position, uses the session's font
// size, paints the focused field and lets Enter move on.
class RecordEditor : public QDialog
{
    Q_OBJECT

public:
    // Writes the values; throws EngineError when the engine refuses them.
    using PostFunction = std::function<void(const QVariantMap &values)>;

    RecordEditor(Session &session, Messages &messages, const QString &name, const QString &caption,
                 QWidget *parent = nullptr);

    void setPost(PostFunction post) { m_post = std::move(post); }

    // The fields' values, keyed by field name.
    virtual QVariantMap values() const = 0;
    // Fields an edit writes on every OK, changed or not: a choice the editor always stores whole. The others
    // are written only when the user changed them.
    virtual QStringList alwaysWritten() const { return {}; }

    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    // The line under the fields that says why a keystroke was refused.
    QLabel *hintLabel() const { return m_hint; }

public slots:
    // "OK": checks the number fields, posts, closes on success.
    void post();
    void done(int result) override;

protected:
    // A one-line field of the table; it cannot take more characters than the field holds.
    QLineEdit *textField(const QString &table, const QString &field);
    // A number field whose refusals show in the hint line; label names it in the refusal box.
    NumberEdit *numberField(const QString &field, int kind, const QString &label);
    // Large bold text, three points above the session's font size.
    void setProminent(QWidget *widget);
    // Least and most width of a field in average characters of its font (0: no bound); kept when the font
    // size changes.
    void setWidthInChars(QWidget *widget, int minimum, int maximum);
    // The field that gets the focus when the dialog opens.
    void setFirstField(QWidget *field) { m_first = field; }
    // Call at the end of the subclass' constructor, when every field exists.
    void finishLayout(QLayout *fields);

    Session &session() const { return m_session; }
    void showEvent(QShowEvent *event) override;

private:
    void applySessionFont();

    Session &m_session;
    Messages &m_messages;
    PostFunction m_post;
    QWidget *m_first = nullptr;
    bool m_placed = false;
    QList<QPair<NumberEdit *, QString>> m_numbers;
    QLabel *m_hint = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
