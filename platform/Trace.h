#pragma once

#include <QLoggingCategory>

// Methods announce themselves through these categories. They print warnings
// only, unless QT_LOGGING_RULES asks for more (e.g. "kelvane.*.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcData)
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcUi)
Q_DECLARE_LOGGING_CATEGORY(lcCom)
