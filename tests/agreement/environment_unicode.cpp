// The environment's declarations in a UNICODE build (CMake defines UNICODE
// and _UNICODE for this file alone).
#include "environment.h"

namespace agreement {
constexpr bool kWide = true;
}

#include "environment_checks.inc"
