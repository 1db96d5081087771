#include "platform/Trace.h"

Q_LOGGING_CATEGORY(lcData, "kelvane.data", QtWarningMsg)
Q_LOGGING_CATEGORY(lcApp, "kelvane.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "kelvane.ui", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCom, "kelvane.com", QtWarningMsg)
