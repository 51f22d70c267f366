// The table behind every handle the stand-in hands out.
//
// A handle encodes a slot index and the generation of that slot; the slot
// remembers what kind of object it holds. A lookup succeeds only when the
// index is in range, the generation matches and the kind is the one asked
// for, so null, stale, deleted and wrong-kind handles all fail the same clean
// way instead of reaching freed memory.
#ifndef STANDIN_OBJECT_TABLE_H
#define STANDIN_OBJECT_TABLE_H

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace standin {

enum class ObjectKind : std::uint8_t { DeviceContext, Bitmap, Pen, Brush, Palette, Region, File, MemoryBlock };

struct Object {
    explicit Object(ObjectKind k) : kind(k) {}
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    const ObjectKind kind;
    // Stock objects live for the whole process; deleting one is a no-op.
    bool stock = false;
};

class ObjectTable {
public:
    // Upper bound on objects alive at once; creation fails beyond it, as a
    // process's GDI quota does on the platform.
    static constexpr std::size_t kMaxObjects = 1u << 20;

    HANDLE Insert(std::unique_ptr<Object> object);
    Object* Find(HANDLE handle) const;
    // Removes the object and invalidates every copy of its handle.
    std::unique_ptr<Object> Remove(HANDLE handle);
    std::size_t LiveCount(ObjectKind kind) const;

private:
    struct Slot {
        std::uint32_t generation = 1;
        std::unique_ptr<Object> object;
    };
    bool Decode(HANDLE handle, std::size_t* index) const;

    std::vector<Slot> slots_;
    std::vector<std::size_t> freeSlots_;
};

// The process-wide table and the lock that serialises every API call on it.
ObjectTable& Objects();
std::mutex& ApiMutex();
using ApiLock = std::lock_guard<std::mutex>;

template <class T>
T* Lookup(HANDLE handle) {
    Object* object = Objects().Find(handle);
    if (object == nullptr || object->kind != T::kKind) return nullptr;
    return static_cast<T*>(object);
}

template <class Handle, class T>
Handle InsertObject(std::unique_ptr<T> object) {
    return static_cast<Handle>(Objects().Insert(std::move(object)));
}

}  // namespace standin

#endif
