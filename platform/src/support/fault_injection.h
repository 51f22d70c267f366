// Internal side of the test hooks: each fallible entry point asks whether
// this call is the one a test asked to fail.
#ifndef STANDIN_FAULT_INJECTION_H
#define STANDIN_FAULT_INJECTION_H

#include <standin/testing.h>

namespace standin {

// Counts the call; returns true, with the kind of fault in `fault`, when a
// test asked for this call to fail.
bool InjectedFault(Call call, Fault* fault);

// Shorthand for calls where only plain failure applies.
inline bool InjectedFailure(Call call) {
    Fault fault;
    return InjectedFault(call, &fault);
}

}  // namespace standin

#endif
