#pragma once

#include <QIcon>
#include <QPixmap>

// The picture band across the top of the maintenance window.
QPixmap MaintenancePicture(const QSize &size);

// The maintenance program's icon: a wrench over the program's blue.
QIcon MaintenanceIcon();
