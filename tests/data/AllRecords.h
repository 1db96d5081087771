#pragma once

#include "data/records/AddrBusinessTypeSet.h"
#include "data/records/AddrCompanySet.h"
#include "data/records/AddrPersonListSet.h"
#include "data/records/BusTypeSet.h"
#include "data/records/ChgRqstActionSet.h"
#include "data/records/ChgRqstBaseSet.h"
#include "data/records/ChgRqstBriefSet.h"
#include "data/records/ChgRqstBriefSet2.h"
#include "data/records/ChgRqstListSet.h"
#include "data/records/ChgRqstSet.h"
#include "data/records/ChgrqstTeamSet.h"
#include "data/records/ClashCountSet.h"
#include "data/records/CommentListSet.h"
#include "data/records/CommentSet.h"
#include "data/records/CommentTypeSet.h"
#include "data/records/CompanyBusTypeSet.h"
#include "data/records/CompanyDetailSet.h"
#include "data/records/CompanySet.h"
#include "data/records/DbInfoSet.h"
#include "data/records/DepartmentSet.h"
#include "data/records/EmployeeSet.h"
#include "data/records/HoursSumSet.h"
#include "data/records/OrderSet.h"
#include "data/records/PeopleSet.h"
#include "data/records/ProjEmpSet.h"
#include "data/records/ProjEmpSet2.h"
#include "data/records/ProjStateSet.h"
#include "data/records/ProjSumSet.h"
#include "data/records/ProjectCommentSet.h"
#include "data/records/ProjectSet.h"
#include "data/records/StatusSet.h"
#include "data/records/TaskBriefSet.h"
#include "data/records/TaskSet.h"
#include "data/records/TimeSheetClashSet.h"
#include "data/records/TimeSheetIESet.h"
#include "data/records/TimeSheetJoinSet.h"
#include "data/records/TimeSheetListSet.h"
#include "data/records/TimeSheetSet.h"
#include "data/records/WorkTypeSet.h"

#include <functional>
#include <memory>
#include <vector>

// Every record class, for tests that walk them all.
struct RecordClass {
    const char* name;
    std::function<std::unique_ptr<CBindingSet>(CDBConnection*)> make;
};

inline std::vector<RecordClass> AllRecordClasses()
{
    return {
        {"CAddrBusinessTypeSet",
         [](CDBConnection* c) { return std::make_unique<CAddrBusinessTypeSet>(c); }},
        {"CAddrCompanySet", [](CDBConnection* c) { return std::make_unique<CAddrCompanySet>(c); }},
        {"CAddrPersonListSet",
         [](CDBConnection* c) { return std::make_unique<CAddrPersonListSet>(c); }},
        {"CBusTypeSet", [](CDBConnection* c) { return std::make_unique<CBusTypeSet>(c); }},
        {"CChgRqstActionSet",
         [](CDBConnection* c) { return std::make_unique<CChgRqstActionSet>(c); }},
        {"CChgRqstBaseSet", [](CDBConnection* c) { return std::make_unique<CChgRqstBaseSet>(c); }},
        {"CChgRqstBriefSet",
         [](CDBConnection* c) { return std::make_unique<CChgRqstBriefSet>(c); }},
        {"CChgRqstBriefSet2",
         [](CDBConnection* c) { return std::make_unique<CChgRqstBriefSet2>(c); }},
        {"CChgRqstListSet", [](CDBConnection* c) { return std::make_unique<CChgRqstListSet>(c); }},
        {"CChgRqstSet", [](CDBConnection* c) { return std::make_unique<CChgRqstSet>(c); }},
        {"CChgrqstTeamSet", [](CDBConnection* c) { return std::make_unique<CChgrqstTeamSet>(c); }},
        {"CClashCountSet", [](CDBConnection* c) { return std::make_unique<CClashCountSet>(c); }},
        {"CCommentListSet", [](CDBConnection* c) { return std::make_unique<CCommentListSet>(c); }},
        {"CCommentSet", [](CDBConnection* c) { return std::make_unique<CCommentSet>(c); }},
        {"CCommentTypeSet", [](CDBConnection* c) { return std::make_unique<CCommentTypeSet>(c); }},
        {"CCompanyBusTypeSet",
         [](CDBConnection* c) { return std::make_unique<CCompanyBusTypeSet>(c); }},
        {"CCompanyDetailSet",
         [](CDBConnection* c) { return std::make_unique<CCompanyDetailSet>(c); }},
        {"CCompanySet", [](CDBConnection* c) { return std::make_unique<CCompanySet>(c); }},
        {"CDbInfoSet", [](CDBConnection* c) { return std::make_unique<CDbInfoSet>(c); }},
        {"CDepartmentSet", [](CDBConnection* c) { return std::make_unique<CDepartmentSet>(c); }},
        {"CEmployeeSet", [](CDBConnection* c) { return std::make_unique<CEmployeeSet>(c); }},
        {"CHoursSumSet", [](CDBConnection* c) { return std::make_unique<CHoursSumSet>(c); }},
        {"COrderSet", [](CDBConnection* c) { return std::make_unique<COrderSet>(c); }},
        {"CPeopleSet", [](CDBConnection* c) { return std::make_unique<CPeopleSet>(c); }},
        {"CProjEmpSet", [](CDBConnection* c) { return std::make_unique<CProjEmpSet>(c); }},
        {"CProjEmpSet2", [](CDBConnection* c) { return std::make_unique<CProjEmpSet2>(c); }},
        {"CProjStateSet", [](CDBConnection* c) { return std::make_unique<CProjStateSet>(c); }},
        {"CProjSumSet", [](CDBConnection* c) { return std::make_unique<CProjSumSet>(c); }},
        {"CProjectCommentSet",
         [](CDBConnection* c) { return std::make_unique<CProjectCommentSet>(c); }},
        {"CProjectSet", [](CDBConnection* c) { return std::make_unique<CProjectSet>(c); }},
        {"CStatusSet", [](CDBConnection* c) { return std::make_unique<CStatusSet>(c); }},
        {"CTaskBriefSet", [](CDBConnection* c) { return std::make_unique<CTaskBriefSet>(c); }},
        {"CTaskSet", [](CDBConnection* c) { return std::make_unique<CTaskSet>(c); }},
        {"CTimeSheetClashSet",
         [](CDBConnection* c) { return std::make_unique<CTimeSheetClashSet>(c); }},
        {"CTimeSheetIESet", [](CDBConnection* c) { return std::make_unique<CTimeSheetIESet>(c); }},
        {"CTimeSheetJoinSet",
         [](CDBConnection* c) { return std::make_unique<CTimeSheetJoinSet>(c); }},
        {"CTimeSheetListSet",
         [](CDBConnection* c) { return std::make_unique<CTimeSheetListSet>(c); }},
        {"CTimeSheetSet", [](CDBConnection* c) { return std::make_unique<CTimeSheetSet>(c); }},
        {"CWorkTypeSet", [](CDBConnection* c) { return std::make_unique<CWorkTypeSet>(c); }},
    };
}
