#include "aboutbox.h"

#include "formbehaviour.h"
#include "makerinfo.h"
#include "productpicture.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

AboutBox::AboutBox(int fontSize, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_Nevjegy"));
    setWindowTitle(QStringLiteral("Névjegy"));
    ApplyFontSize(this, fontSize);

    auto *picture = new QLabel(this);
    picture->setPixmap(ProductPicture(QSize(200, 120), ProductProgram::CashBook, 12));

    auto *product =
        new QLabel(QStringLiteral("<b>Dromvel.Pro</b><br>%1").arg(QString::fromLatin1(MakerInfo::Version)), this);
    auto *heading = new QLabel(QStringLiteral("<b>Dromvel.Pro program</b>"), this);
    auto *contactHeading = new QLabel(QStringLiteral("<b>Elérhetőség</b>"), this);
    auto *contact = new QLabel(QStringLiteral("%1<br>Honlap: %2<br>Levél: %3")
                                   .arg(QString::fromLatin1(MakerInfo::Name), QString::fromLatin1(MakerInfo::HomePage),
                                        QString::fromLatin1(MakerInfo::Mail)),
                               this);
    contact->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setHorizontalSpacing(16);
    layout->addWidget(picture, 0, 0, 4, 1, Qt::AlignTop);
    layout->addWidget(product, 0, 1);
    layout->addWidget(heading, 1, 1);
    layout->addWidget(contactHeading, 2, 1);
    layout->addWidget(contact, 3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
