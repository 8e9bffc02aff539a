// The platform layer of the machine the tests run on, for tests that
// substitute one of its services.
#pragma once

#include "platform/posix/PosixPlatform.h"

namespace veilbox {
using NativePlatform = PosixPlatform;
}  // namespace veilbox
