#pragma once

#include <QIcon>

// The auto timer's icons by resource number: 178 to 183 are the frames the
// tray icon cycles through while timing, 290 the window's icon; any other
// number gives the first frame.
QIcon TimerIcon(int resourceId);
