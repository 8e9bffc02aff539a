// The separator between the components of a path on this platform.
#pragma once

namespace veilbox {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

}  // namespace veilbox
