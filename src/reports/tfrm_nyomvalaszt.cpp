#include "tfrm_nyomvalaszt.h"

#include "formbehaviour.h"
#include "session.h"
#include "windowplacement.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const QString FormName = QStringLiteral("Tfrm_NyomValaszt");
constexpr int PictureSize = 64;

QIcon Picture(const char *name, const char *alternative, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name), QIcon::fromTheme(QString::fromLatin1(alternative),
                                                                        QApplication::style()->standardIcon(fallback)));
}

} // namespace

Tfrm_NyomValaszt::Tfrm_NyomValaszt(Session &session, QWidget *parent)
    : QDialog(parent), m_session(session), m_preview(new QRadioButton(QStringLiteral("Nyomtatási kép"), this)),
      m_print(new QRadioButton(QStringLiteral("Nyomtatás"), this)),
      m_export(new QRadioButton(QStringLiteral("Excelbe (CSV)"), this)), m_picture(new QLabel(this)),
      m_printers(new QGroupBox(QStringLiteral("Nyomtató"), this)), m_printerList(new QComboBox(m_printers))
{
    setObjectName(FormName);
    setWindowTitle(QStringLiteral("Nyomtatás típusa"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_preview->setObjectName(QStringLiteral("rbNyomtatasiKep"));
    m_print->setObjectName(QStringLiteral("rbNyomtatas"));
    m_export->setObjectName(QStringLiteral("rbExcel"));
    m_preview->setChecked(true);

    auto *group = new QGroupBox(QStringLiteral("Nyomtatás típusa"), this);
    group->setObjectName(QStringLiteral("rgNyomtatasTipusa"));
    auto *choices = new QVBoxLayout(group);
    for (QRadioButton *button : {m_preview, m_print, m_export}) {
        choices->addWidget(button);
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                showChoice();
        });
    }

    m_picture->setObjectName(QStringLiteral("imgTipus"));
    m_picture->setFixedSize(PictureSize + 16, PictureSize + 16);
    m_picture->setAlignment(Qt::AlignCenter);

    // The printer list belongs to the form but is never shown: printing goes to the default printer.
    m_printers->setObjectName(QStringLiteral("gbNyomtato"));
    m_printerList->setObjectName(QStringLiteral("cbNyomtato"));
    m_printerList->addItems(QPrinterInfo::availablePrinterNames());
    auto *printerLayout = new QVBoxLayout(m_printers);
    printerLayout->addWidget(m_printerList);
    m_printers->setVisible(false);

    const OkCancelRow buttons = OkCancelButtons(this);
    buttons.cancel->setAutoDefault(false);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *top = new QHBoxLayout;
    top->addWidget(group, 1);
    top->addWidget(m_picture);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_printers);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    showChoice();
    ApplyFontSize(this, session.fontSize);
    RestoreWindowPos(this, session.ini, FormName);
    buttons.ok->setFocus();
}

Tfrm_NyomValaszt::Choice Tfrm_NyomValaszt::choice() const
{
    if (m_print->isChecked())
        return Print;
    if (m_export->isChecked())
        return Export;
    return Preview;
}

void Tfrm_NyomValaszt::showChoice()
{
    QIcon icon;
    switch (choice()) {
    case Print:
        icon = Picture("document-print", "printer", QStyle::SP_DialogSaveButton);
        break;
    case Export:
        icon = Picture("x-office-spreadsheet", "text-csv", QStyle::SP_FileIcon);
        break;
    default:
        icon = Picture("document-print-preview", "document-preview", QStyle::SP_FileDialogContentsView);
        break;
    }
    m_picture->setPixmap(icon.pixmap(PictureSize, PictureSize));
    m_printerList->setEnabled(choice() == Print);
}

void Tfrm_NyomValaszt::done(int result)
{
    StoreWindowPos(this, m_session.ini, FormName);
    QDialog::done(result);
}

int NyomValaszt(Session &session, QWidget *parent)
{
    Tfrm_NyomValaszt dialog(session, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.choice() : Tfrm_NyomValaszt::None;
}
