#pragma once

#include "platform/com/IDispatch.h"
#include "platform/com/Variant.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The time line as a recorder: every call the program makes is kept with
// its arguments, and answered the way the control answers it.
class CRecordingControl final : public IDispatch {
public:
    struct CCall {
        int dispId;
        QStringList args;
    };

    static CRecordingControl* Create() { return new CRecordingControl; }

    HRESULT QueryInterface(const Guid& iid, void** out) override
    {
        if (iid == IDispatch::kIid || iid == IUnknown::kIid) {
            AddRef();
            *out = static_cast<IDispatch*>(this);
            return kS_OK;
        }
        *out = nullptr;
        return kE_NOINTERFACE;
    }
    std::uint32_t AddRef() override { return ++m_refs; }
    std::uint32_t Release() override
    {
        const std::uint32_t left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT GetIDsOfNames(std::string_view, DispId*) override { return kDISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DispId id, InvokeKind, std::span<const Variant> args, Variant* result) override
    {
        CCall call{id, {}};
        for (const Variant& arg : args) {
            QString text;
            if (Failed(arg.ToQString(&text)))
                text = QStringLiteral("?");
            call.args << text;
        }
        calls.append(call);
        if (!result)
            return kS_OK;
        if (answers.contains(id)) {
            *result = answers.value(id);
            return kS_OK;
        }
        switch (id) {
        case 10: // SetProjInfo: the line holds so many projects
            *result = Variant(projectRoom < 0 || Count(10) <= projectRoom);
            break;
        case 16: // DeleteHighlightObj
        case 25: // DeleteObjByID
            *result = Variant(std::int16_t(1));
            break;
        case 41: // ForceHighlight: the block asked for
            *result = Variant(std::int16_t(args.empty() ? -1 : call.args.first().toShort()));
            break;
        case 21:
            *result = Variant(std::int32_t(15));
            break;
        case 36:
            *result = Variant(QStringLiteral("2, 1, 0, 7  EXE"));
            break;
        case 66:
            *result = Variant(std::int32_t(-1));
            break;
        default:
            *result = Variant(true);
            break;
        }
        return kS_OK;
    }

    QList<QStringList> CallsOf(int dispId) const
    {
        QList<QStringList> found;
        for (const CCall& call : calls)
            if (call.dispId == dispId)
                found << call.args;
        return found;
    }
    int Count(int dispId) const { return static_cast<int>(CallsOf(dispId).size()); }
    void Clear() { calls.clear(); }

    QList<CCall> calls;
    // Answers given instead of the usual ones, by member number.
    QHash<int, Variant> answers;
    // How many projects the line takes (-1: all).
    int projectRoom = -1;

private:
    CRecordingControl() = default;
    ~CRecordingControl() = default;
    std::uint32_t m_refs = 1;
};
