// The type library VRNIMAGINGCOM2Lib: the enumerations, IvrnImaging2 with its DISPIDs, and the
// class vrnImaging2.
#pragma once

#include "com/typelib.h"

const com::TypeLibrary& vrnImagingTypeLibrary();
const com::InterfaceInfo& IvrnImaging2Info();
