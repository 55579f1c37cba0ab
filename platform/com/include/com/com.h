// The whole COM layer in one include.
#pragma once

#include "com/activation.h"
#include "com/bstr.h"
#include "com/connection_point.h"
#include "com/dispatch.h"
#include "com/errorinfo.h"
#include "com/guid.h"
#include "com/interfaces.h"
#include "com/registry.h"
#include "com/safearray.h"
#include "com/server.h"
#include "com/typelib.h"
#include "com/types.h"
#include "com/variant.h"
