#include "timesheet/Plentor.h"

#include "platform/Trace.h"

namespace {

using Short = std::int16_t;
using Long = std::int32_t;

Short S(int value)
{
    return static_cast<Short>(value);
}

} // namespace

CPlentor::CPlentor(QWidget* parent)
    : CControlHost(parent)
{}

bool CPlentor::Create()
{
    return Succeeded(CreateControl(QString::fromLatin1(kClassId)));
}

bool CPlentor::FitsShort(int value)
{
    return value >= INT16_MIN && value <= INT16_MAX;
}

void CPlentor::SetscrlSpeed(int speed)
{
    SetProperty(4, Long(speed));
}

bool CPlentor::SetProjInfo(const QString& name, int projId, int colour)
{
    return Call<bool>(10, name, Long(projId), Long(colour));
}

bool CPlentor::SetTimesheetTimes(int timeId, int start, int stop, int projId, const QString& text)
{
    return Call<bool>(11, Long(timeId), Long(start), Long(stop), Long(projId), text);
}

void CPlentor::DoPaint()
{
    Call(12);
}

void CPlentor::ClearProjInfo()
{
    Call(13);
}

void CPlentor::ClearTimeInfo()
{
    Call(14);
}

int CPlentor::DeleteHighlightObj()
{
    return Call<Short>(16);
}

int CPlentor::UpdateProjForTimeObj(int timeId, int oldProjId, int newProjId)
{
    return Call<Short>(18, Long(timeId), Long(oldProjId), Long(newProjId));
}

void CPlentor::SetTimeHHMM(int value)
{
    Call(19, S(value));
}

void CPlentor::SetStartPosHour(int hour)
{
    Call(20, S(hour));
}

int CPlentor::GetIncrementValue()
{
    return Call<Long>(21);
}

void CPlentor::SetIncrTime(int minutes)
{
    Call(22, S(minutes));
}

void CPlentor::SetCurrentProjID(int projId)
{
    Call(24, Long(projId));
}

int CPlentor::DeleteObjByID(int timeId)
{
    return Call<Short>(25, Long(timeId));
}

void CPlentor::ChangeProject(int timeId, int oldProjId, int newProjId)
{
    Call(26, Long(timeId), Long(oldProjId), Long(newProjId));
}

void CPlentor::SetGrabWidth(int width)
{
    Call(27, S(width));
}

void CPlentor::ReSizeControl(int width, int height)
{
    Call(28, S(width), S(height));
}

void CPlentor::DeleteAllOKRet(bool yes)
{
    Call(29, S(yes ? 1 : 0));
}

void CPlentor::SendDeleteKey()
{
    Call(30);
}

bool CPlentor::SetNowTimeObj()
{
    return Call<bool>(31);
}

void CPlentor::DeleteAllToday()
{
    Call(32);
}

void CPlentor::DoResize(int width, int height)
{
    Call(34, S(width), S(height));
}

void CPlentor::ScrollOne(bool up, int rows)
{
    Call(35, up, S(rows));
}

QString CPlentor::GetVersion()
{
    return Call<QString>(36);
}

void CPlentor::RecreateToolTips()
{
    Call(37);
}

bool CPlentor::SetMinIntervalVal(int minutes)
{
    return Call<bool>(38, S(minutes));
}

bool CPlentor::SetTickTypes(int major, int minor)
{
    return Call<bool>(39, S(major), S(minor));
}

void CPlentor::RightHandMenuActivate(int command, int minute)
{
    Call(40, Long(command), S(minute));
}

int CPlentor::ForceHighlight(int timeId, bool forward)
{
    return Call<Short>(41, Long(timeId), forward);
}

bool CPlentor::RemoveHighlight()
{
    return Call<bool>(42);
}

bool CPlentor::DrawTSEntryStStp(int start, int stop)
{
    return Call<bool>(46, S(start), S(stop));
}

bool CPlentor::IsHighlightObj()
{
    return Call<bool>(47);
}

bool CPlentor::IsMenuActive()
{
    return Call<bool>(48);
}

int CPlentor::ActivateProjBut(int step)
{
    return Call<Short>(50, S(step));
}

bool CPlentor::CreateRectStStp(int timeId, int start, int stop, int projId, int notify, int& result)
{
    if (!FitsShort(timeId) || !FitsShort(projId)) {
        qCWarning(lcUi) << "CreateRectStStp: id" << timeId << "or project" << projId
                        << "does not fit the control's short";
        return false;
    }
    Short value = -1;
    const bool made = Call<bool>(51, S(timeId), S(start), S(stop), S(projId), S(notify), &value);
    result = value;
    return made;
}

void CPlentor::HighlightProjectName()
{
    Call(52);
}

bool CPlentor::ShowInsertionPoint(int minute)
{
    return Call<bool>(53, S(minute));
}

bool CPlentor::RemoveInsertionPoint()
{
    return Call<bool>(54);
}

int CPlentor::ForceEditHighlight()
{
    return Call<Short>(55);
}

bool CPlentor::ForceFocus()
{
    return Call<bool>(56);
}

bool CPlentor::ForceKillFocus()
{
    return Call<bool>(57);
}

bool CPlentor::IsInFocus()
{
    return Call<bool>(58);
}

void CPlentor::DrawFocusRect(bool show)
{
    Call(59, show);
}

void CPlentor::ScrollNewProjects()
{
    Call(60);
}

bool CPlentor::DeleteObj(int timeId)
{
    if (!FitsShort(timeId)) {
        qCWarning(lcUi) << "DeleteObj: id" << timeId << "does not fit the control's short";
        return false;
    }
    return Call<bool>(61, S(timeId));
}

bool CPlentor::EditObjById(int timeId, int start, int stop, int projId)
{
    return Call<bool>(63, Long(timeId), Long(start), Long(stop), Long(projId));
}

void CPlentor::CreateGridMsg()
{
    Call(64);
}

void CPlentor::CreateHoursWorkedMsg()
{
    Call(65);
}

int CPlentor::ShowCursorNow()
{
    return Call<Long>(66);
}

void CPlentor::CreateProjectNameMsg()
{
    Call(67);
}

void CPlentor::InvalidateControl()
{
    Call(68);
}

bool CPlentor::SetReadOnly(bool readOnly)
{
    return Call<bool>(69, readOnly);
}

bool CPlentor::setAutoTiming(bool timing)
{
    return Call<bool>(70, timing);
}

bool CPlentor::SetChgRqstStr(const QString& text, int timeId)
{
    return Call<bool>(71, text, Long(timeId));
}
