#include "kernel/memory_objects.h"

#include "support/api_boundary.h"
#include "support/large_blocks.h"
#include "support/last_error.h"
#include "support/object_table.h"

#include <standin/testing.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace standin {
namespace {

// Larger requests fail as an exhausted heap would, before malloc is asked
// (the process heap's limit).
constexpr SIZE_T kMaxObjectBytes = SIZE_T{1} << 31;

// What GlobalFlags and LocalFlags can report of a lock count.
constexpr unsigned kReportedLocks = GMEM_LOCKCOUNT;

using OwnedBytes = std::unique_ptr<void, decltype(&std::free)>;

OwnedBytes Own(void* bytes) { return OwnedBytes(bytes, &std::free); }

// A movable object. Its memory is null once discarded (or when made with
// zero bytes, which the platform hands out already discarded).
struct MovableObject : Object {
    static constexpr ObjectKind kKind = ObjectKind::MemoryBlock;
    MovableObject() : Object(kKind) {}
    ~MovableObject() override { std::free(data); }
    void* data = nullptr;
    SIZE_T size = 0;
    unsigned locks = 0;
    bool discardable = false;
};

// Everything below is guarded by ApiMutex.
struct MemoryRegistry {
    std::unordered_map<const void*, SIZE_T> fixed;           // address -> size
    std::unordered_map<const void*, HANDLE> movableByData;  // for GlobalHandle
};

MemoryRegistry& Registry() {
    static MemoryRegistry registry;
    return registry;
}

// What a handle names: a fixed object, a movable one, or neither.
struct Resolved {
    bool fixed = false;
    MovableObject* movable = nullptr;
    bool Valid() const { return fixed || movable != nullptr; }
};

Resolved Resolve(HANDLE handle) {
    Resolved r;
    if (handle == nullptr) return r;
    if (Registry().fixed.count(handle) != 0) {
        r.fixed = true;
        return r;
    }
    r.movable = Lookup<MovableObject>(handle);
    return r;
}

bool Discardable(const MemoryFamily& family, UINT flags) { return (flags & family.discardable) != 0; }

// A fixed object's address must not also be a live movable handle, nor the
// other way round, or a call could not tell them apart. Neither happens in
// practice (the table's handles are small numbers); both are still checked.
HANDLE RegisterFixed(OwnedBytes bytes, SIZE_T size) {
    MemoryRegistry& registry = Registry();
    if (Objects().Find(bytes.get()) != nullptr) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    registry.fixed.emplace(bytes.get(), size);
    return bytes.release();
}

HANDLE InsertMovable(std::unique_ptr<MovableObject> object) {
    MovableObject* raw = object.get();
    HANDLE handle = Objects().Insert(std::move(object));
    if (handle == nullptr) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    if (Registry().fixed.count(handle) != 0) {
        Objects().Remove(handle);
        return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (raw->data != nullptr) {
        try {
            Registry().movableByData.emplace(raw->data, handle);
        } catch (...) {
            Objects().Remove(handle);
            throw;
        }
    }
    return handle;
}

// Moves `size` bytes of `old` (kept bytes) into a new block of `bytes`,
// clearing the growth when asked. Null when memory runs out; `old` is then
// untouched.
void* Moved(const void* old, SIZE_T size, SIZE_T bytes, bool zeroGrowth) {
    void* fresh = AllocateBlock(bytes, false);
    if (fresh == nullptr) return nullptr;
    const SIZE_T kept = std::min(size, bytes);
    if (kept != 0) std::memcpy(fresh, old, kept);
    if (bytes > kept) {
        if (zeroGrowth) std::memset(static_cast<char*>(fresh) + kept, 0, bytes - kept);
    }
    return fresh;
}

HANDLE ReAllocFixed(HANDLE handle, SIZE_T bytes, UINT flags) {
    MemoryRegistry& registry = Registry();
    const SIZE_T size = registry.fixed.at(handle);
    if (flags & GMEM_MODIFY) {
        if (!(flags & GMEM_MOVEABLE)) return handle;
        // Made movable: the same memory behind a new handle. The handle is
        // made first, empty, so a failure leaves the fixed object as it was.
        auto object = std::make_unique<MovableObject>();
        MovableObject* raw = object.get();
        HANDLE movable = InsertMovable(std::move(object));
        if (movable == nullptr) return nullptr;
        try {
            registry.movableByData.emplace(handle, movable);
        } catch (...) {
            Objects().Remove(movable);
            throw;
        }
        raw->data = handle;
        raw->size = size;
        registry.fixed.erase(handle);
        return movable;
    }
    // In place: a fixed object keeps its address unless the caller lets it
    // move, and this heap grows no block where it stands.
    if (bytes <= size) {
        registry.fixed[handle] = bytes;
        return handle;
    }
    if (!(flags & GMEM_MOVEABLE)) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    OwnedBytes fresh = Own(Moved(handle, size, bytes, (flags & GMEM_ZEROINIT) != 0));
    if (fresh == nullptr) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    registry.fixed.reserve(registry.fixed.size() + 1);
    HANDLE moved = RegisterFixed(std::move(fresh), bytes);
    if (moved == nullptr) return nullptr;
    registry.fixed.erase(handle);
    std::free(handle);
    return moved;
}

HANDLE ReAllocMovable(const MemoryFamily& family, HANDLE handle, MovableObject* object,
                      SIZE_T bytes, UINT flags) {
    MemoryRegistry& registry = Registry();
    if (flags & GMEM_MODIFY) {
        object->discardable = Discardable(family, flags);
        return handle;
    }
    // A locked object stays where it is unless the caller lets it move.
    const bool mayMove = object->locks == 0 || (flags & GMEM_MOVEABLE);
    if (bytes == 0 && object->locks == 0) {
        // Discarded: the handle stays valid, with no memory behind it.
        if (object->data != nullptr) registry.movableByData.erase(object->data);
        std::free(object->data);
        object->data = nullptr;
        object->size = 0;
        return handle;
    }
    if (object->data != nullptr && bytes <= object->size) {
        object->size = bytes;
        return handle;
    }
    if (object->data != nullptr && !mayMove) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    OwnedBytes fresh = Own(Moved(object->data, object->size, bytes, (flags & GMEM_ZEROINIT) != 0));
    if (fresh == nullptr) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    registry.movableByData.emplace(fresh.get(), handle);
    if (object->data != nullptr) registry.movableByData.erase(object->data);
    std::free(object->data);
    object->data = fresh.release();
    object->size = bytes;
    return handle;
}

}  // namespace

std::size_t LiveMemoryObjects() {
    ApiLock lock(ApiMutex());
    return Registry().fixed.size() + Objects().LiveCount(ObjectKind::MemoryBlock);
}

HANDLE AllocMemory(const MemoryFamily& family, UINT flags, SIZE_T bytes) try {
    if (flags & ~family.validFlags) return Fail<HANDLE>(ERROR_INVALID_PARAMETER);
    if (bytes > kMaxObjectBytes) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    const bool zeroed = (flags & GMEM_ZEROINIT) != 0;
    ApiLock lock(ApiMutex());
    if (!(flags & GMEM_MOVEABLE)) {
        // A fixed object of zero bytes is still a distinct, valid address.
        OwnedBytes bytesOwned = Own(AllocateBlock(std::max<SIZE_T>(bytes, 1), zeroed));
        if (bytesOwned == nullptr) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
        return RegisterFixed(std::move(bytesOwned), bytes);
    }
    auto object = std::make_unique<MovableObject>();
    object->discardable = Discardable(family, flags);
    if (bytes != 0) {
        object->data = AllocateBlock(bytes, zeroed);
        if (object->data == nullptr) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
        object->size = bytes;
    }
    return InsertMovable(std::move(object));
} catch (...) {
    return OutOfMemory<HANDLE>();
}

HANDLE ReAllocMemory(const MemoryFamily& family, HANDLE handle, SIZE_T bytes, UINT flags) try {
    if (flags & ~(family.validFlags | GMEM_MODIFY)) return Fail<HANDLE>(ERROR_INVALID_PARAMETER);
    if (!(flags & GMEM_MODIFY) && bytes > kMaxObjectBytes) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    ApiLock lock(ApiMutex());
    const Resolved r = Resolve(handle);
    if (!r.Valid()) return Fail<HANDLE>(ERROR_INVALID_HANDLE);
    return r.fixed ? ReAllocFixed(handle, bytes, flags)
                   : ReAllocMovable(family, handle, r.movable, bytes, flags);
} catch (...) {
    return OutOfMemory<HANDLE>();
}

SIZE_T MemorySize(HANDLE handle) try {
    ApiLock lock(ApiMutex());
    const Resolved r = Resolve(handle);
    if (!r.Valid()) return Fail<SIZE_T>(ERROR_INVALID_HANDLE);
    return r.fixed ? Registry().fixed.at(handle) : r.movable->size;
} catch (...) {
    return OutOfMemory<SIZE_T>();
}

UINT MemoryFlags(const MemoryFamily& family, HANDLE handle) try {
    ApiLock lock(ApiMutex());
    const Resolved r = Resolve(handle);
    if (!r.Valid()) return Fail<UINT>(ERROR_INVALID_HANDLE, family.invalidHandle);
    // A fixed object has no lock count and is never discarded.
    if (r.fixed) return 0;
    const MovableObject& object = *r.movable;
    return std::min(object.locks, kReportedLocks) | (object.discardable ? family.discardable : 0) |
           (object.data == nullptr ? GMEM_DISCARDED : 0);
} catch (...) {
    return OutOfMemory<UINT>(family.invalidHandle);
}

bool PeekMemoryLocked(HANDLE handle, const void** bytes, SIZE_T* size) {
    const Resolved r = Resolve(handle);
    if (!r.Valid()) return Fail<bool>(ERROR_INVALID_HANDLE, false);
    if (r.fixed) {
        *bytes = handle;
        *size = Registry().fixed.at(handle);
        return true;
    }
    if (r.movable->data == nullptr || r.movable->size == 0) return Fail<bool>(ERROR_DISCARDED, false);
    *bytes = r.movable->data;
    *size = r.movable->size;
    return true;
}

LPVOID LockMemory(HANDLE handle) try {
    ApiLock lock(ApiMutex());
    const Resolved r = Resolve(handle);
    if (!r.Valid()) return Fail<LPVOID>(ERROR_INVALID_HANDLE);
    // A fixed object's pointer is its handle; it has no lock count.
    if (r.fixed) return handle;
    MovableObject& object = *r.movable;
    if (object.data == nullptr || object.size == 0) return Fail<LPVOID>(ERROR_DISCARDED);
    ++object.locks;
    return object.data;
} catch (...) {
    return OutOfMemory<LPVOID>();
}

BOOL UnlockMemory(HANDLE handle) try {
    ApiLock lock(ApiMutex());
    const Resolved r = Resolve(handle);
    if (!r.Valid()) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (r.fixed) return TRUE;
    MovableObject& object = *r.movable;
    if (object.locks == 0) return Fail<BOOL>(ERROR_NOT_LOCKED);
    // Still locked: nonzero. Unlocked now: zero, with NO_ERROR to tell it
    // from a failure.
    if (--object.locks != 0) return TRUE;
    return Fail<BOOL>(NO_ERROR);
} catch (...) {
    return OutOfMemory<BOOL>();
}

HANDLE MemoryHandle(LPCVOID address) try {
    ApiLock lock(ApiMutex());
    MemoryRegistry& registry = Registry();
    if (address != nullptr && registry.fixed.count(address) != 0) return const_cast<LPVOID>(address);
    auto found = address != nullptr ? registry.movableByData.find(address) : registry.movableByData.end();
    if (found == registry.movableByData.end()) return Fail<HANDLE>(ERROR_INVALID_HANDLE);
    return found->second;
} catch (...) {
    return OutOfMemory<HANDLE>();
}

HANDLE FreeMemory(HANDLE handle) try {
    // Freeing nothing succeeds, as it does on the platform.
    if (handle == nullptr) return nullptr;
    ApiLock lock(ApiMutex());
    const Resolved r = Resolve(handle);
    if (!r.Valid()) return Fail<HANDLE>(ERROR_INVALID_HANDLE, handle);
    MemoryRegistry& registry = Registry();
    if (r.fixed) {
        registry.fixed.erase(handle);
        std::free(handle);
        return nullptr;
    }
    // A locked object is freed too, as the platform documents.
    if (r.movable->data != nullptr) registry.movableByData.erase(r.movable->data);
    Objects().Remove(handle);
    return nullptr;
} catch (...) {
    return OutOfMemory<HANDLE>(handle);
}

}  // namespace standin
