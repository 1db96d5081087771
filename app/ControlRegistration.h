#pragma once

#include <QString>

// Registers the program's controls found in folder (the program's own) that
// the class registry does not know yet, so a fresh build or install runs
// without a separate registration step. A registry that cannot be written
// is logged and does not stop them: this process makes them from folder.
// A library that cannot be loaded is reported when its control is made.
void RegisterControlsBeside(const QString& folder);
