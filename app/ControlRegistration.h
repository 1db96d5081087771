#pragma once

#include <QString>

// Registers the program's controls found in folder (the program's own) that
// the class registry does not know yet, so a fresh build or install runs
// without a separate registration step. Failures are logged; creating the
// control later reports them to the user.
void RegisterControlsBeside(const QString& folder);
