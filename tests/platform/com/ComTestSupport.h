#pragma once

#include "platform/com/ControlHost.h"
#include "platform/com/ServerLibrary.h"
#include "tests/platform/com/testctrl/TestCtrlIds.h"

#include <QString>

namespace ComTest {

// Built beside the tests, never linked into them.
inline QString TestCtrlPath()
{
    return QStringLiteral(KELVANE_TESTCTRL_PATH);
}

inline QString NotAServerPath()
{
    return QStringLiteral(KELVANE_NOTASERVER_PATH);
}

inline QString RegSvrPath()
{
    return QStringLiteral(KELVANE_REGSVR_PATH);
}

inline CServerLibrary* TestCtrlLibrary()
{
    CServerLibrary* library = nullptr;
    CServerLibrary::Load(TestCtrlPath(), &library);
    return library;
}

// Into this test's own registry.
inline HRESULT RegisterTestCtrl()
{
    CServerLibrary* library = TestCtrlLibrary();
    return library ? library->RegisterServer() : kCO_E_ERRORINDLL;
}

} // namespace ComTest

// The test control as a container drives it: one method per member.
class CTestCtrlHost : public CControlHost {
public:
    using CControlHost::CControlHost;

    HRESULT Create() { return CreateControl(TestCtrlIds::kClsid); }

    std::int32_t Number() { return GetProperty<std::int32_t>(TestCtrlIds::kNumber); }
    void SetNumber(std::int32_t n) { SetProperty(TestCtrlIds::kNumber, n); }
    void SetCaption(const QString& text) { SetProperty(TestCtrlIds::kCaption, text); }
    std::int32_t Add(std::int16_t a, std::int32_t b)
    {
        return Call<std::int32_t>(TestCtrlIds::kAdd, a, b);
    }
    void GetSize(std::int32_t* width, std::int32_t* height)
    {
        Call(TestCtrlIds::kGetSize, width, height);
    }
    void FireChange(std::int32_t id, std::int32_t start, std::int32_t stop, std::int32_t project)
    {
        Call(TestCtrlIds::kFireChange, id, start, stop, project);
    }
    bool AskDeleteAll() { return Call<bool>(TestCtrlIds::kAskDeleteAll); }
    void DeleteAllOKRet(std::int16_t ok) { Call(TestCtrlIds::kDeleteAllOKRet, ok); }
    bool ResizeMe(std::int16_t width, std::int16_t height)
    {
        return Call<bool>(TestCtrlIds::kResizeMe, width, height);
    }
};
