#pragma once

#include <QIcon>

// The program's icon: a clock face, drawn at the sizes the desktop asks for.
QIcon AppIcon();
