#include "support/fault_injection.h"

#include <array>
#include <mutex>

namespace standin {
namespace {

struct Pending {
    int remaining = 0;  // 0: no fault pending
    Fault fault = Fault::Fail;
    int calls = 0;
};

constexpr std::size_t kCalls = static_cast<std::size_t>(Call::Count);

struct FaultTable {
    std::mutex mutex;
    std::array<Pending, kCalls> entries;
};

FaultTable& Table() {
    static FaultTable table;
    return table;
}

}  // namespace

void FailNthCall(Call call, int n, Fault fault) {
    FaultTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Pending& p = t.entries[static_cast<std::size_t>(call)];
    p.remaining = n > 0 ? n : 0;
    p.fault = fault;
}

void ClearFaults() {
    FaultTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.entries.fill(Pending{});
}

int CallCount(Call call) {
    FaultTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    return t.entries[static_cast<std::size_t>(call)].calls;
}

bool InjectedFault(Call call, Fault* fault) {
    FaultTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Pending& p = t.entries[static_cast<std::size_t>(call)];
    ++p.calls;
    if (p.remaining == 0 || --p.remaining != 0) return false;
    *fault = p.fault;
    return true;
}

}  // namespace standin
