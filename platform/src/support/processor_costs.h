// What some processors do well that others with the same instructions do
// not, for the few choices of route that depend on it. Each answer comes
// from timing both choices on a processor of that kind; processors nobody
// has timed get the choice that is never much worse.
#ifndef STANDIN_PROCESSOR_COSTS_H
#define STANDIN_PROCESSOR_COSTS_H

namespace standin {

// Whether asking for the next kept source row ahead of the current one
// (software prefetch, spread over the current row's steps) makes a
// reduction that keeps rows far apart faster.
bool PrefetchingKeptRowsPays();

}  // namespace standin

#endif
