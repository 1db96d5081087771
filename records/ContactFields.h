#pragma once

#include "data/ContactTypes.h"
#include "ui/TextFit.h"

#include <array>

class CDialogBase;

// A company's and a person's texts as the contact dialogs edit them, each
// with its column: the dialogs give their controls in the order of the
// values' members.
using CCompanyIds = std::array<int, 8>;
using CPersonIds = std::array<int, 6>;

// The texts for FitToColumns before a write; a cut text is shown in its control.
// A text equal to its stored one (when given) is left as it is.
QList<CColumnText> CompanyTexts(CDialogBase& dialog, CCompanyValues& company,
                                const CCompanyIds& ids, const CCompanyValues* stored = nullptr);
QList<CColumnText> PersonTexts(CDialogBase& dialog, CPersonValues& person, const CPersonIds& ids,
                               const CPersonValues* stored = nullptr);
