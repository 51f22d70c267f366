// Which routine made the rows of a blit, and whether the dedicated ones may
// be taken.
//
// The stretch engine has a general route for every job and dedicated ones
// (2:1 reductions, plain row copies, the raster operations' own loops, the
// vector kernels) for the jobs they fit. Each call names the route it took
// here, once per call or row, as a string literal: a pointer store, cheap
// enough to leave in. Benchmarks print it beside their figures, so a timing
// always says what ran, and turn the dedicated routes off to time the
// general one on the same job (standin::UseDedicatedRoutes).
#ifndef STANDIN_BLIT_ROUTES_H
#define STANDIN_BLIT_ROUTES_H

#include <standin/testing.h>

namespace standin {

// `name` must outlive the program (a string literal).
void RecordBlitRoute(const char* name);

// False while a benchmark or test asks for the general route everywhere.
bool DedicatedRoutesAllowed();

}  // namespace standin

#endif
