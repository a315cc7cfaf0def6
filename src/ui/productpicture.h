#pragma once

#include <QIcon>
#include <QPixmap>

// The two programs of the product; each has its emblem and the line under the product's name.
enum class ProductProgram {
    CashBook,    // the main program: a stack of coins, "Házipénztár nyilvántartás"
    Maintenance, // the maintenance program: a wrench, "adatbázis karbantartás"
};

// The product picture on the product's blue: the program's emblem and beside it "Dromvel.Pro" with the program's
// line under it, sized to the picture, whether a card (the splash window, the about box; rounded corners) or a
// band across the top of a window (square corners).
QPixmap ProductPicture(const QSize &size, ProductProgram program, double cornerRadius = 0);

// The program's icon: its emblem on a rounded square of the product's blue.
QIcon ProgramIcon(ProductProgram program);
