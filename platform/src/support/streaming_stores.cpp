#include "support/streaming_stores.h"

#include "support/simd_support.h"

namespace standin {

void FinishStreamingStores() {
#ifdef STANDIN_HAVE_SSSE3
    _mm_sfence();
#endif
}

}  // namespace standin
