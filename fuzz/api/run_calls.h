// The API fuzz target's engine, shared by the fuzzer and the test that
// replays its findings: decodes bytes into a sequence of stand-in calls with
// adversarial arguments, runs them, then deletes everything they made.
#ifndef API_FUZZ_RUN_CALLS_H
#define API_FUZZ_RUN_CALLS_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace apifuzz {

// Runs the calls `data` describes. `scratchFile` is a path the file calls
// may create, write, read and delete. With `timeCalls`, a call that takes
// a second or more is a failure. Returns an empty string, or what went
// wrong: an object, file or heap block left alive after the clean-up, a
// slow call, or an answer the platform's rules forbid.
std::string RunCalls(const std::uint8_t* data, std::size_t size, const std::string& scratchFile, bool timeCalls);

}  // namespace apifuzz

#endif
