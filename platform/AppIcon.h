#pragma once

#include <QIcon>

// The program's icon, in the six sizes the design draws.
namespace AppIcon {
QIcon icon();
} // namespace AppIcon
