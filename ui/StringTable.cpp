#include "ui/StringTable.h"

#include <QHash>

QString LoadStringRes(int id)
{
    static const QHash<int, QString> kTexts = {
        {IDS_TRAY_TIP, QStringLiteral("Kelvane : Right-Click to view menu")},
        {IDS_REVIEW_TITLE, QStringLiteral("Week Review")},
        {IDS_TIMESHEET_TITLE, QStringLiteral("Kelvane")},
        {IDS_SOCKETS_INIT_FAILED, QStringLiteral("Windows sockets initialization faile")},
        {IDS_TOO_MANY_ADVANCES, QStringLiteral("Too many entries booked into the future - you "
                                               "must wait for these to be timed out")},
        {IDS_NO_COMPANY_INFO, QStringLiteral("Cannot find Company information")},
        {IDS_NO_PROPERTIES_WHILE_LOGGING,
         QStringLiteral("You cannot change these properties while you are autologging")},
        {IDS_NO_CHGREQ_ACTION_TABLE, QStringLiteral("Unable to open Change Request Action table")},
        {IDS_CANNOT_VIEW_TASKS, QStringLiteral("Unable to view Tasks")},
        {IDS_CANNOT_VIEW_ORDERS, QStringLiteral("Unable to view Orders")},
        {IDS_CANNOT_VIEW_PROJECTS, QStringLiteral("Unable to view Projects")},
        {IDS_CANNOT_VIEW_COMPANIES, QStringLiteral("Unable to view Companies")},
        {IDS_CANNOT_OPEN_TABLE, QStringLiteral("Unable to open database table, possible network "
                                               "error!\nPlease close application and retry")},
        {IDS_RECORD_GONE, QStringLiteral("This record you are editing does not exist anymore - you "
                                         "need to refresh your timesheet")},
        {IDS_RECORD_NOT_EDITABLE,
         QStringLiteral("This record cannot be edited - there is an error with your "
                        "database or database connection")},
        {IDS_CHOOSE_ORDER, QStringLiteral("Choose an order before saving")},
        {IDS_CHOOSE_TASK, QStringLiteral("Choose a task before saving")},
        {IDS_RECORD_NOT_UPDATABLE,
         QStringLiteral("This record cannot be updated/edited - there is an error with "
                        "your database or database connection")},
        {IDS_NO_EMPLOYEES,
         QStringLiteral("You have no employees defined - go back to the Vek application and "
                        "define some first")},
        {IDS_DATA_INTEGRITY, QStringLiteral("Data integrity error")},
        {IDS_NO_TIME_JOIN_TABLE,
         QStringLiteral("Unable to open Time Join Project Task Order All Selection table")},
        {IDS_NO_USER_CHANGE_WHILE_LOGGING,
         QStringLiteral("You cannot change the default user while you are autologging")},
    };
    return kTexts.value(id);
}
