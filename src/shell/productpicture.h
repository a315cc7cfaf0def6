#pragma once

#include <QIcon>
#include <QPixmap>

// The product picture of the splash window and the about box.
QPixmap ProductPicture(const QSize &size);

// The program's icon: a stack of coins.
QIcon ProgramIcon();
