#include "timesheet/TimeSheetController.h"

std::unique_ptr<CSaveTimesDlg> MakeSaveTimesDialog(ISaveTimesOwner& owner,
                                                   const CSaveTimesInput& input, QWidget* parent,
                                                   bool withChangeRequests)
{
    Q_UNUSED(withChangeRequests);
    return std::make_unique<CSaveTimesDlg>(owner, input, parent);
}
