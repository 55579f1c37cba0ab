// Error objects: each thread holds at most one, set by the object whose call failed and
// taken by the caller.
#pragma once

#include "com/interfaces.h"

HRESULT CreateErrorInfo(ICreateErrorInfo** info);
HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info);    // replaces this thread's error object
HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info);   // hands it over; S_FALSE when none

namespace com {
// Installs an error object with the given interface identifier, source and description
// (UTF-8) and returns hr, so a member can write `return com::report_error(...)`.
HRESULT report_error(HRESULT hr, REFGUID iid, const char* source, const char* description);
} // namespace com
