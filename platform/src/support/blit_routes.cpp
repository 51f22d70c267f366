#include "support/blit_routes.h"

#include <atomic>

namespace standin {
namespace {

std::atomic<const char*> lastRoute{""};
std::atomic<bool> dedicatedAllowed{true};

}  // namespace

void RecordBlitRoute(const char* name) { lastRoute.store(name, std::memory_order_relaxed); }

bool DedicatedRoutesAllowed() { return dedicatedAllowed.load(std::memory_order_relaxed); }

const char* LastBlitRoute() { return lastRoute.load(std::memory_order_relaxed); }

void UseDedicatedRoutes(bool use) { dedicatedAllowed.store(use, std::memory_order_relaxed); }

}  // namespace standin
