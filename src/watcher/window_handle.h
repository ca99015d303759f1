#pragma once

#include <cstdint>

namespace vantor {

// A platform window handle as a plain number; 0 means none.
using WindowHandle = std::uintptr_t;

}  // namespace vantor
