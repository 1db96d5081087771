#pragma once

#include <QString>

// What the time-sheet window knows of the entry in hand: what a new block
// is booked with and what the info area shows. Ids are -1 when none.
struct CEntryContext {
    int projId = -1;
    int taskId = -1;
    int orderId = -1;
    int workTypeId = -1;
    int chgReqId = -1;
    QString projName;
    QString taskName;
    QString orderName;
    QString workTypeName;
    double orderRate = 0;
    int start = 0; // minutes of the block in hand
    int stop = 0;
    QString startText;
    QString stopText;
    QString lengthText;
    QString cursorText;
    QString costText;
    QString comment;
};
