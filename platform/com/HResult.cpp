#include "platform/com/HResult.h"

namespace {

struct ErrorInfo {
    HRESULT hr = kS_OK;
    QString description;
};

thread_local ErrorInfo t_errorInfo;

const char* Description(HRESULT hr)
{
    switch (hr) {
    case kS_OK:
        return "Success.";
    case kS_FALSE:
        return "Success, with a negative answer.";
    case kE_NOTIMPL:
        return "Not implemented.";
    case kE_NOINTERFACE:
        return "The object does not offer that interface.";
    case kE_POINTER:
        return "A required pointer is missing.";
    case kE_FAIL:
        return "Unspecified failure.";
    case kE_UNEXPECTED:
        return "Unexpected failure.";
    case kE_ACCESSDENIED:
        return "Access denied.";
    case kE_OUTOFMEMORY:
        return "Out of memory.";
    case kE_INVALIDARG:
        return "An argument is not valid.";
    case kDISP_E_MEMBERNOTFOUND:
        return "The object has no such member.";
    case kDISP_E_TYPEMISMATCH:
        return "An argument has a type that cannot be converted.";
    case kDISP_E_UNKNOWNNAME:
        return "Unknown member name.";
    case kDISP_E_OVERFLOW:
        return "A value is out of range for its type.";
    case kDISP_E_BADPARAMCOUNT:
        return "Wrong number of arguments.";
    case kCLASS_E_NOAGGREGATION:
        return "The class does not support aggregation.";
    case kCLASS_E_CLASSNOTAVAILABLE:
        return "The library does not provide that class.";
    case kREGDB_E_CLASSNOTREG:
        return "The class is not registered.";
    case kSELFREG_E_TYPELIB:
        return "The type library could not be registered.";
    case kSELFREG_E_CLASS:
        return "The classes could not be registered.";
    case kCO_E_CLASSSTRING:
        return "Not a class id or a registered ProgID.";
    case kCO_E_DLLNOTFOUND:
        return "The library of the class was not found.";
    case kCO_E_ERRORINDLL:
        return "The library of the class cannot be loaded or is not a control library.";
    default:
        return "Unknown error.";
    }
}

} // namespace

QString HResultText(HRESULT hr)
{
    const QString hex = QString::number(static_cast<unsigned>(hr), 16)
                            .toUpper()
                            .rightJustified(8, QLatin1Char('0'));
    QString text = QStringLiteral("0x%1: %2").arg(hex, QLatin1String(Description(hr)));
    if (Failed(hr) && t_errorInfo.hr == hr && !t_errorInfo.description.isEmpty())
        text += QLatin1Char(' ') + t_errorInfo.description;
    return text;
}

void SetErrorInfo(HRESULT hr, const QString& description)
{
    t_errorInfo = {hr, description};
}

void ClearErrorInfo()
{
    t_errorInfo = {};
}
