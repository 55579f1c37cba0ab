// How a member reports failure: HRESULT 0x80040000 + code, and an error object whose GUID is
// IID_IvrnImaging2, whose source is the ProgID and whose description is the message.
#pragma once

#include "com/types.h"

#include <functional>

constexpr const char* kUnknownReading = "Unknown error reading file";
constexpr const char* kUnknownWriting = "Unknown error writing file";
constexpr const char* kUnknownAccess = "Unknown error accessing data";

// Runs body; an EImageError is reported with its own message and code, any other exception with
// unknownMessage and code 0x200.
HRESULT runMember(const char* unknownMessage, const std::function<void()>& body);

// "Not implemented" (0x200), for members whose work does not exist yet.
HRESULT notImplemented();
