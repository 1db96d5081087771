#pragma once

#include <QString>

// A single-precision number as text: the fewest digits that read back as the
// same single, written as the server writes a real (plain from 0.0001 to
// below a million, otherwise with an exponent: "1.234567e+06"). The file
// back end holds singles as doubles; this is how either back end's value of a
// single column is shown, searched and written out.
QString SingleText(float value);
