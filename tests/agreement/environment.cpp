// The environment's declarations in a narrow build.
#include "environment.h"

namespace agreement {
constexpr bool kWide = false;
}

#include "environment_checks.inc"
