#pragma once

#include "platform/com/ControlImpl.h"

// The control's property page ("General"): it has no properties to edit,
// and says so. Containers create it by its own class id, like a control.
class CPlentorPropPage : public CControlImpl<CPlentorPropPage> {
public:
    CPlentorPropPage() = default;

    static const CDispatchTable<CPlentorPropPage>& DispatchTable();

    QString Caption() const;

protected:
    QWidget* MakeWidget(QWidget* parent) override;
};
