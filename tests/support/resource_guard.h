// Checks, at the end of a test, that the code under test released every GDI
// object, file handle and heap block it took.
#ifndef RESOURCE_GUARD_H
#define RESOURCE_GUARD_H

#include <standin/testing.h>

#include <gtest/gtest.h>

namespace testing_support {

class ResourceGuard {
public:
    ResourceGuard()
        : objects_(standin::LiveGdiObjects()),
          files_(standin::OpenFiles()),
          blocks_(standin::LiveHeapBlocks()) {}
    ~ResourceGuard() {
        standin::ClearFaults();
        EXPECT_EQ(standin::LiveGdiObjects(), objects_) << "GDI objects leaked";
        EXPECT_EQ(standin::OpenFiles(), files_) << "file handles leaked";
        EXPECT_EQ(standin::LiveHeapBlocks(), blocks_) << "heap blocks leaked";
    }

private:
    std::size_t objects_, files_, blocks_;
};

}  // namespace testing_support

#endif
