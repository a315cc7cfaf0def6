#include "formbehaviour.h"

#include "uicolours.h"
#include "util.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>
#include <memory>

namespace {

class EnterFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->modifiers() & ~Qt::KeypadModifier)
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || qobject_cast<QPushButton *>(widget) || qobject_cast<QPlainTextEdit *>(widget) ||
            qobject_cast<QTextEdit *>(widget))
            return false;
        if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->view() && combo->view()->isVisible())
            return false;
        // The next control that takes the keyboard focus. Parts of the control itself (the line edit inside a
        // spin box or date field) and widgets that hand their focus to another are not stops of their own.
        QWidget *target = widget->nextInFocusChain();
        while (target && target != widget &&
               !(target->focusPolicy() & Qt::TabFocus && target->isEnabled() && target->isVisible() &&
                 !target->focusProxy() && !widget->isAncestorOf(target)))
            target = target->nextInFocusChain();
        if (target)
            target->setFocus(Qt::TabFocusReason);
        return true;
    }
};

} // namespace

void ApplyFontSize(QWidget *window, int pointSize)
{
    if (pointSize <= 0)
        return;
    // Every child is set itself: a style sheet on the window (the menu look, the focus colour) keeps the
    // children's fonts from following the window's. Each keeps its distance from the window's size (bold
    // headings stay larger); fonts sized in pixels keep their size.
    const int step = pointSize - window->font().pointSize();
    QList<QPair<QWidget *, QFont>> children;
    for (QWidget *child : window->findChildren<QWidget *>())
        if (child->font().pointSize() > 0)
            children.append({child, child->font()});
    QFont font = window->font();
    font.setPointSize(pointSize);
    window->setFont(font);
    for (auto &[child, childFont] : children) {
        childFont.setPointSize(std::max(1, childFont.pointSize() + step));
        child->setFont(childFont);
    }
    KeepAccentsWhole(window);
}

int WholeTextHeight(const QFontMetrics &metrics, const QString &text)
{
    const QRect ink = metrics.boundingRect(text);
    const int above = std::max(0, -ink.top() - metrics.ascent());
    const int below = std::max(0, ink.bottom() + 1 - metrics.descent());
    return metrics.height() + 2 * std::max(above, below);
}

void KeepAccentsWhole(QWidget *form)
{
    for (QLabel *label : form->findChildren<QLabel *>())
        if (!label->wordWrap() && !label->pixmap())
            label->setMinimumHeight(
                WholeTextHeight(label->fontMetrics(), label->text() + QStringLiteral("ÁÉŐŰÖÜgjpy")));
}

void PaintFocusedField(QWidget *form)
{
    const QColor c = FocusColor();
    const QString rgb = QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
    form->setStyleSheet(form->styleSheet() +
                        QStringLiteral("QLineEdit:focus, QPlainTextEdit:focus, QTextEdit:focus, "
                                       "QAbstractSpinBox:focus, QComboBox:editable:focus { background: %1; }")
                            .arg(rgb));
}

void EnterMovesFocus(QWidget *form)
{
    auto *filter = new EnterFilter(form);
    const auto children = form->findChildren<QWidget *>();
    for (QWidget *child : children)
        if (qobject_cast<QLineEdit *>(child) || qobject_cast<QAbstractSpinBox *>(child) ||
            qobject_cast<QComboBox *>(child) || qobject_cast<QAbstractButton *>(child))
            child->installEventFilter(filter);
}

void UpperCaseTyping(QLineEdit *edit)
{
    // The text before each edit: textEdited comes before textChanged, which then brings this up to date (read
    // from the field, since an upper-cased edit is set inside textEdited).
    auto before = std::make_shared<QString>(edit->text());
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, before] { *before = edit->text(); });
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, before](const QString &text) {
        // What the edit put in is what lies between the part kept in front and the part kept behind.
        qsizetype front = 0;
        while (front < text.size() && front < before->size() && text.at(front) == before->at(front))
            ++front;
        qsizetype back = 0;
        while (back < text.size() - front && back < before->size() - front &&
               text.at(text.size() - 1 - back) == before->at(before->size() - 1 - back))
            ++back;
        const QString inserted = text.mid(front, text.size() - front - back);
        if (inserted == inserted.toUpper())
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(text.left(front) + inserted.toUpper() + text.right(back));
        edit->setCursorPosition(cursor);
    });
}

void ApplyMenuStyle(QWidget *window)
{
    window->setStyleSheet(
        window->styleSheet() +
        QStringLiteral("QMenuBar { background: rgb(230, 242, 255); }"
                       "QMenuBar::item { background: rgb(230, 242, 255); padding: 3px 7px; }"
                       "QMenuBar::item:selected, QMenuBar::item:pressed { background: rgb(222, 170, 141);"
                       " border: 1px solid rgb(128, 128, 128); margin: 2px; padding: 1px 5px; }"
                       "QMenu { background: rgb(222, 222, 222); border: 1px solid rgb(162, 162, 162); }"
                       "QMenu::item { padding: 4px 28px 4px 22px; background: transparent; }"
                       "QMenu::item:selected { background: rgb(222, 170, 141); border: 1px solid rgb(128, 128, 128); }"
                       "QMenu::item:disabled { color: rgb(128, 128, 128); }"
                       "QMenu::separator { height: 1px; background: rgb(162, 162, 162); margin: 3px 2px; }"
                       "QMenu::icon { padding-left: 2px; }"));
}

OkCancelRow OkCancelButtons(QDialog *dialog)
{
    auto *ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Mégsem"), dialog);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    // Enter on a focused button presses that button, not OK.
    ok->setAutoDefault(true);
    cancel->setAutoDefault(true);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    // Ctrl+Enter is OK from any control, a focused button included.
    for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)})
        QObject::connect(new QShortcut(keys, dialog), &QShortcut::activated, ok, &QPushButton::click);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return {ok, cancel, row};
}
