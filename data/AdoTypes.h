#pragma once

#include "platform/com/HResult.h"

// Column types, field statuses and error codes as the record classes and
// their callers know them. The numbers are kept so that code and stored
// descriptions of columns read the same everywhere.

enum AdoDataType : int {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBoolean = 11,
    adChar = 129,
    adVarChar = 200,
    adLongVarChar = 201,
    adLongVarBinary = 205,
};

enum AdoFieldStatus : int {
    adFldOK = 0,
    adFldBadAccessor = 1,
    adFldCantConvertValue = 2,
    adFldNull = 3,
    adFldTruncated = 4,
    adFldSignMismatch = 5,
    adFldDataOverFlow = 6,
    adFldCantCreate = 7,
    adFldUnavailable = 8,
    adFldPermissionDenied = 9,
    adFldIntegrityViolation = 10,
    adFldSchemaViolation = 11,
    adFldBadStatus = 12,
    adFldDefault = 13,
};

inline bool IsTextType(int type)
{
    return type == adChar || type == adVarChar || type == adLongVarChar;
}

// Error codes carried by CDbError, beside the general ones of HResult.h
// (kS_OK; kE_FAIL for a lost connection).
constexpr HRESULT kE_NoCurrentRecord = static_cast<HRESULT>(0x800A0BCD); // BOF or EOF
constexpr HRESULT kE_MultipleStep = static_cast<HRESULT>(0x80040E21);
constexpr HRESULT kE_CommandError = static_cast<HRESULT>(0x80040E14); // statement failed
constexpr HRESULT kE_IntegrityViolation = static_cast<HRESULT>(0x80040E2F);
constexpr HRESULT kE_NotUnique = static_cast<HRESULT>(0x80040E38); // row not found or not unique
constexpr HRESULT kE_NotConnected = static_cast<HRESULT>(0x800A0E7D);
// A lock or time limit ran out: another session holds what the statement needs.
constexpr HRESULT kE_Timeout = static_cast<HRESULT>(0x80040E31);
// A value no database can store (half of a character; NUL on the server) was
// refused before the statement ran: the user's text, not the database, is at fault.
constexpr HRESULT kE_UnstorableValue = static_cast<HRESULT>(0x80040E07);
