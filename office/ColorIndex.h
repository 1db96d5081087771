#pragma once

// The colour indexes the documents are given, as RGB values (0xRRGGBB).

// Excel's 56-colour default palette: 1 black, 2 white, 3 red, ... 56; -1
// for an index outside it.
int ExcelColorIndexToRgb(int index);

// Word's colour indexes (1 black, 2 blue, ... 8 white, 15 grey 50%, 16 grey
// 25%); -1 for 0 (automatic) and any index outside them.
int WordColorIndexToRgb(int index);
