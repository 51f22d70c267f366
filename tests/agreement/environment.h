// Checks of the surroundings every Win32 file assumes (characters and
// generic text, integer types, macros, kernel memory), written once and
// compiled twice: plainly and with UNICODE and _UNICODE defined, so the
// generic names are held to the narrow and the wide forms alike.
#ifndef HALFTONE_AGREEMENT_ENVIRONMENT_H
#define HALFTONE_AGREEMENT_ENVIRONMENT_H

#include "agreement.h"

namespace agreement {

constexpr bool SameText(const char* a, const char* b)
{
    return *a == *b && (*a == '\0' || SameText(a + 1, b + 1));
}

}  // namespace agreement

// What an unsuffixed name expands to, fully.
#define AGREEMENT_SPELLING(name) AGREEMENT_SPELLING_(name)
#define AGREEMENT_SPELLING_(name) #name
#define EXPECT_MAPS_TO(name, narrow, wide)                                        \
    static_assert(agreement::SameText(AGREEMENT_SPELLING(name),                   \
                                      agreement::kWide ? #wide : #narrow), \
                  #name " maps to " #narrow " or " #wide)

#endif  // HALFTONE_AGREEMENT_ENVIRONMENT_H
