#pragma once

#include "data/DBClassTypes.h"

#include <QComboBox>
#include <QList>

class CDBClass;
class IAutoTimerOwner;

// The auto timer's project combo: the user's projects, each with a swatch
// of its colour; the project id is the item data.
class CProjComboEx : public QComboBox {
    Q_OBJECT
public:
    explicit CProjComboEx(IAutoTimerOwner* autoTimer = nullptr, QWidget* parent = nullptr);

    // The projects the user may book, read through the facade; false when
    // there are none (the combo then stays as it was).
    bool FillProjects(CDBClass& db, const QString& userName);
    // The same from a list at hand.
    bool SetProjects(const QList<CProjectEntry>& projects);

private:
    IAutoTimerOwner* m_autoTimer;
};
