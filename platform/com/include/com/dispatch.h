// IDispatch driven by a type-library table: a class implements GetIDsOfNames and Invoke by
// calling these with its interface table and the object the members are called on.
#pragma once

#include "com/typelib.h"

// Names to DISPIDs: names[0] is a member, the rest its parameters. Unknown names give
// DISPID_UNKNOWN and DISP_E_UNKNOWNNAME.
HRESULT DispGetIDsOfNames(const com::InterfaceInfo& iface, LPOLESTR* names, UINT count, DISPID* ids);

// Calls the member: [in] arguments are converted to the parameter types (DISP_E_TYPEMISMATCH or
// DISP_E_OVERFLOW with *argError set otherwise); [out] arguments, when the caller passes them,
// must be by-reference; the retval goes to result. A member that fails with an error object
// gives DISP_E_EXCEPTION with the error's source and description and its HRESULT in scode.
HRESULT DispInvoke(void* object, const com::InterfaceInfo& iface, DISPID id, WORD flags,
                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception, UINT* argError);
