#include "recordeditor.h"

#include "engineerror.h"
#include "formbehaviour.h"
#include "messages.h"
#include "numberedit.h"
#include "schema.h"
#include "session.h"
#include "windowplacement.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const ProminentProperty = "dromvelProminent";
const char *const MinCharsProperty = "dromvelMinChars";
const char *const MaxCharsProperty = "dromvelMaxChars";

} // namespace

RecordEditor::RecordEditor(Session &session, Messages &messages, const QString &name, const QString &caption,
                           QWidget *parent)
    : QDialog(parent), m_session(session), m_messages(messages)
{
    setObjectName(name);
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_hint = NumberEdit::HintLine(this);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("bOK"));
    m_cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    m_cancel->setObjectName(QStringLiteral("bMegsem"));
    // Enter in a field moves on (EnterMovesFocus); on a focused button it presses that button.
    m_ok->setAutoDefault(true);
    m_cancel->setAutoDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &RecordEditor::post);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit *RecordEditor::textField(const QString &table, const QString &field)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(field);
    const TableDef *def = Schema::Table(table);
    if (const FieldDef *f = def ? def->field(field) : nullptr; f && f->type == FieldType::Alpha)
        edit->setMaxLength(f->width);
    return edit;
}

NumberEdit *RecordEditor::numberField(const QString &field, int kind, const QString &label)
{
    auto *edit = new NumberEdit(static_cast<NumberEdit::Kind>(kind), this);
    edit->setObjectName(field);
    m_numbers.append({edit, label});
    edit->showRefusalsIn(m_hint);
    return edit;
}

void RecordEditor::finishLayout(QLayout *fields)
{
    auto *buttons = new QHBoxLayout;
    buttons->setObjectName(QStringLiteral("lytButtons"));
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setObjectName(QStringLiteral("lytEditor"));
    layout->addLayout(fields);
    layout->addWidget(m_hint);
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    PaintFocusedField(this);
    EnterMovesFocus(this);
    applySessionFont();
}

void RecordEditor::setProminent(QWidget *widget)
{
    widget->setProperty(ProminentProperty, true);
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

// Set on every child: a style sheet on a parent window (the menu look of the list windows) stops children
// made after the window's font from inheriting its size.
void RecordEditor::applySessionFont()
{
    const int size = m_session.fontSize > 0 ? m_session.fontSize : font().pointSize();
    ApplyFontSize(this, size);
    const auto children = findChildren<QWidget *>();
    for (QWidget *child : children) {
        QFont font = child->font();
        font.setPointSize(child->property(ProminentProperty).toBool() ? size + 3 : size);
        child->setFont(font);
        // Widths in characters follow the font; the frame and margins take about 16 pixels.
        const int charWidth = child->fontMetrics().averageCharWidth();
        if (const int chars = child->property(MinCharsProperty).toInt(); chars > 0)
            child->setMinimumWidth(charWidth * chars + 16);
        if (const int chars = child->property(MaxCharsProperty).toInt(); chars > 0)
            child->setMaximumWidth(charWidth * chars + 16);
    }
}

void RecordEditor::setWidthInChars(QWidget *widget, int minimum, int maximum)
{
    widget->setProperty(MinCharsProperty, minimum);
    widget->setProperty(MaxCharsProperty, maximum);
}

void RecordEditor::post()
{
    for (const auto &[edit, label] : std::as_const(m_numbers)) {
        if (edit->isVisibleTo(this) && !edit->isComplete()) {
            m_messages.ShowError(QStringLiteral("Hibás szám a(z) „%1” mezőben. %2").arg(label, edit->hint()), this);
            edit->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    try {
        if (m_post)
            m_post(values());
    } catch (const EngineError &e) {
        m_messages.ShowError(QStringLiteral("Hiányos, vagy hibás adatmegadás\r\n") + e.message(), this);
        return;
    }
    accept();
}

void RecordEditor::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        RestoreWindowPos(this, m_session.ini, objectName());
        if (m_first)
            m_first->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

void RecordEditor::done(int result)
{
    if (m_placed)
        StoreWindowPos(this, m_session.ini, objectName());
    QDialog::done(result);
}
