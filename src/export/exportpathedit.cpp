#include "exportpathedit.h"

#include "filedialogs.h"
#include "formbehaviour.h"
#include "session.h"
#include "windowplacement.h"

#include <QDialog>
#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QToolButton>

ExportPathEdit::ExportPathEdit(const QString &editName, const QString &filter, const QString &suffix,
                               FileDialogs &fileDialogs, QWidget *parent)
    : QWidget(parent), m_fileDialogs(fileDialogs), m_filter(filter), m_suffix(suffix), m_edit(new QLineEdit(this))
{
    m_edit->setObjectName(editName);
    auto *button = new QToolButton(this);
    button->setObjectName(QStringLiteral("btnTalloz"));
    button->setText(QStringLiteral("..."));
    button->setToolTip(QStringLiteral("Tallózás"));
    connect(button, &QToolButton::clicked, this, &ExportPathEdit::browse);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_edit, 1);
    row->addWidget(button);
    setFocusProxy(m_edit);
}

QString ExportPathEdit::text() const
{
    return m_edit->text();
}

void ExportPathEdit::setText(const QString &path)
{
    m_edit->setText(path);
}

bool ExportPathEdit::browse()
{
    const QString chosen = m_fileDialogs.SaveFileName(QString(), m_edit->text(), m_filter, m_suffix, window());
    if (chosen.isEmpty())
        return false;
    m_edit->setText(QDir::toNativeSeparators(chosen));
    return true;
}

void FinishExportForm(QDialog *form, Session &session, ExportPathEdit *path, int pathCharacters)
{
    ApplyFontSize(form, session.fontSize);
    path->edit()->setMinimumWidth(path->edit()->fontMetrics().averageCharWidth() * pathCharacters);
    PaintFocusedField(form);
    EnterMovesFocus(form);
    RestoreWindowPos(form, session.ini, form->objectName());
    path->edit()->setFocus();
}

QProgressBar *ExportProgressBar(QWidget *form)
{
    auto *bar = new QProgressBar(form);
    bar->setObjectName(QStringLiteral("ProgressBar1"));
    bar->setTextVisible(false);
    bar->setRange(0, 1);
    bar->setValue(0);
    return bar;
}
