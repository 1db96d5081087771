#pragma once

#include "data/DateTime.h"

#include <QString>

// One change request as the list window shows it: a row of the list query
// (by author or by team member). Ids read as NULL are -1.
struct CChgRqstRow {
    QString Authority;
    QString Project;
    QString Company;
    QString Contact;
    CDateTime DateCreated;
    CDateTime DateCompleted;
    QString Item;
    QString Priority;
    int ChgReqID = -1;
    int EmpID = -1;
    int ProjID = -1;
    QString Reference;
    int CompID = -1;

    // The current row of an open list set (CChgRqstBriefSet or CChgRqstBriefSet2).
    template <typename Set>
    static CChgRqstRow FromSet(const Set& set)
    {
        CChgRqstRow row;
        row.Authority = set.m_Authority;
        row.Project = set.m_Project;
        row.Company = set.m_Company;
        row.Contact = set.m_Contact;
        row.DateCreated = set.m_DateCreated;
        row.DateCompleted = set.m_DateCompleted;
        row.Item = set.m_Item;
        row.Priority = set.m_Priority;
        row.ChgReqID = set.m_ChgReqID;
        row.EmpID = set.IsNull(9) ? -1 : set.m_EmpID;
        row.ProjID = set.IsNull(10) ? -1 : set.m_ProjID;
        row.Reference = set.m_Reference;
        row.CompID = set.IsNull(12) ? -1 : set.m_CompID;
        return row;
    }
};
