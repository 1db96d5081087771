#pragma once

#include "data/BindingSet.h"

// A project.
class CProjectSet : public CBindingSet {
public:
    explicit CProjectSet(CDBConnection* connection, int firstWrittenColumn = 1,
                         const QString& source = QStringLiteral("tblProject"));

    int m_ProjID = 0;
    QString m_ProjName;
    QString m_CustProjName;
    bool m_IsInternal = false;
    bool m_IsProduct = false;
    QString m_ProjDir;
    int m_CompanyID = 0;
    double m_ProjHourRate = 0;
    CDateTime m_ProjStartDate;
    CDateTime m_ProjStopDate;
    int m_ProjLeader = 0;
    int m_DrawingStartNo = 0;
    QString m_Abstract;
    int m_ProjState = 0;
    bool m_UseTeamCheck = false;
    QString m_ProjCustContact;
    QString m_ProjInvoiceContact;
    float m_ProjProgress = 0;
    int m_MspProjectID = 0;
    int m_ProjColour = 0;
    bool m_IsTemplate = false;
    float m_ProjHours = 0;
    float m_ProjEstHours = 0;
    double m_ProjCost = 0;
    QString m_ProjGroup;
    QString m_ProjType;
    QString m_ProjFilename;
};
