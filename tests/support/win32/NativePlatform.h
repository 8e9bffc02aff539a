// The platform layer of the machine the tests run on, for tests that
// substitute one of its services.
#pragma once

#include "platform/win32/WinPlatform.h"

namespace veilbox {
using NativePlatform = WinPlatform;
}  // namespace veilbox
