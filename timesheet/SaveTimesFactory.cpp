#include "timesheet/SaveTimesChgReqDlg.h"
#include "timesheet/TimeSheetController.h"

std::unique_ptr<CSaveTimesDlg> MakeSaveTimesDialog(ISaveTimesOwner& owner,
                                                   const CSaveTimesInput& input, QWidget* parent,
                                                   bool withChangeRequests)
{
    if (withChangeRequests)
        return std::make_unique<CSaveTimesChgReqDlg>(owner, input, parent);
    return std::make_unique<CSaveTimesDlg>(owner, input, parent);
}
