#include "inputdialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

// number * numerator / denominator, rounded half away from zero, for the positive layout sizes.
int MulDiv(int number, int numerator, int denominator)
{
    const qint64 product = qint64(number) * numerator;
    return int((2 * product + denominator) / (2 * qint64(denominator)));
}

} // namespace

QSize InputDialogWindow::AverageCharSize(const QFont &font)
{
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(letters) / 52, metrics.height()};
}

InputDialogWindow::InputDialogWindow(const QString &caption, const QString &prompt, const QString &editMask,
                                     const QString &value, QWidget *parent)
    : QDialog(parent), m_prompt(new QLabel(this)), m_edit(new QLineEdit(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)), m_cancel(new QPushButton(QStringLiteral("Mégsem"), this))
{
    setObjectName(QStringLiteral("InputDialogWindow"));
    setWindowTitle(caption);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    const QSize unit = AverageCharSize(font());
    const int w = unit.width();
    const int h = unit.height();
    const int left = MulDiv(8, w, 4);
    const int fieldWidth = MulDiv(164, w, 4);

    m_prompt->setObjectName(QStringLiteral("lblPrompt"));
    m_prompt->setTextFormat(Qt::PlainText);
    m_prompt->setWordWrap(true);
    m_prompt->setText(prompt);
    const QFontMetrics metrics(m_prompt->font());
    QRect promptRect = metrics.boundingRect(QRect(0, 0, fieldWidth, 100000), Qt::TextWordWrap, prompt);
    // An empty prompt still takes one line, so the edit field does not climb up to the top edge.
    const int promptHeight = qMax(promptRect.height(), metrics.height());
    m_prompt->setGeometry(left, MulDiv(8, h, 8), qMin(promptRect.width(), fieldWidth), promptHeight);

    m_edit->setObjectName(QStringLiteral("edtValue"));
    m_edit->setMaxLength(255);
    if (!editMask.isEmpty())
        m_edit->setInputMask(editMask);
    m_edit->setText(value);
    m_edit->selectAll();
    const int editTop = m_prompt->geometry().bottom() + 1 + 5;
    m_edit->setGeometry(left, editTop, fieldWidth, m_edit->sizeHint().height());
    m_prompt->setBuddy(m_edit);

    const int buttonTop = m_edit->geometry().bottom() + 1 + 15;
    const int buttonWidth = MulDiv(50, w, 4);
    const int buttonHeight = MulDiv(14, h, 8);
    m_ok->setObjectName(QStringLiteral("btnOk"));
    m_ok->setDefault(true);
    m_ok->setGeometry(MulDiv(38, w, 4), buttonTop, buttonWidth, buttonHeight);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_cancel->setGeometry(MulDiv(92, w, 4), buttonTop, buttonWidth, buttonHeight);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(MulDiv(180, w, 4), buttonTop + buttonHeight + 13);
    m_edit->setFocus();

    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

QString InputDialogWindow::value() const
{
    return m_edit->text();
}

bool InputDialog(const QString &caption, const QString &prompt, const QString &editMask, QString &value,
                 QWidget *parent)
{
    InputDialogWindow dialog(caption, prompt, editMask, value, parent ? parent : QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.value();
    return true;
}
