// The counting behind CreationCount.h: the replaced operator new and the
// wrapped GL and GLU calls, and a test that every counter moves.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "CreationCount.h"

std::atomic<long> watchedSize{-1};
thread_local bool countingMalloc = false;
long mallocs = 0;

std::ostream& operator<<(std::ostream& out, const Created& c) {
    return out << c.allocations << " allocations (" << c.ofWatchedSize
               << " of the watched size, last " << c.lastSize << " bytes), " << c.quadrics
               << " quadrics, " << c.listIds << " glGenLists, " << c.compiles << " glNewList";
}

namespace {

// The rasteriser runs threads of its own; they may allocate while we count.
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
std::atomic<long> lastSize{0};
std::atomic<long> ofWatchedSize{0};
std::atomic<long> quadrics{0};
std::atomic<long> listIds{0};
std::atomic<long> compiles{0};

void count(std::size_t size) {
    if (!counting.load(std::memory_order_relaxed)) {
        return;
    }
    allocations.fetch_add(1, std::memory_order_relaxed);
    lastSize.store(static_cast<long>(size), std::memory_order_relaxed);
    if (static_cast<long>(size) == watchedSize.load(std::memory_order_relaxed)) {
        ofWatchedSize.fetch_add(1, std::memory_order_relaxed);
    }
}

void* countedAllocation(std::size_t size) {
    count(size);
    return std::malloc(size == 0 ? 1 : size);
}

void* countedAlignedAllocation(std::size_t size, std::align_val_t alignment) {
    count(size);
    const auto align = static_cast<std::size_t>(alignment);
    // aligned_alloc wants a size that is a multiple of the alignment
    const std::size_t rounded = (size + align - 1) / align * align;
    return std::aligned_alloc(align, rounded == 0 ? align : rounded);
}

void* orThrow(void* memory) {
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

}  // namespace

void startCounting() {
    allocations = 0;
    lastSize = 0;
    ofWatchedSize = 0;
    quadrics = 0;
    listIds = 0;
    compiles = 0;
    counting = true;
}

Created stopCounting() {
    counting = false;
    Created c;
    c.allocations = allocations;
    c.lastSize = lastSize;
    c.ofWatchedSize = ofWatchedSize;
    c.quadrics = quadrics;
    c.listIds = listIds;
    c.compiles = compiles;
    return c;
}

#ifndef __SANITIZE_ADDRESS__
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void* malloc(std::size_t size) {
    mallocs += countingMalloc ? 1 : 0;
    return __libc_malloc(size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    mallocs += countingMalloc ? 1 : 0;
    return __libc_memalign(alignment, size);
}
}
#endif

void* operator new(std::size_t size) {
    return orThrow(countedAllocation(size));
}
void* operator new[](std::size_t size) {
    return orThrow(countedAllocation(size));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return countedAllocation(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return countedAllocation(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return orThrow(countedAlignedAllocation(size, alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return orThrow(countedAlignedAllocation(size, alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return countedAlignedAllocation(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return countedAlignedAllocation(size, alignment);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(memory);
}

// The link wraps these three for the whole test executable, the game's library included.
extern "C" {
GLUquadric* __real_gluNewQuadric();
GLuint __real_glGenLists(GLsizei range);
void __real_glNewList(GLuint list, GLenum mode);

GLUquadric* __wrap_gluNewQuadric() {
    if (counting) {
        ++quadrics;
    }
    return __real_gluNewQuadric();
}

GLuint __wrap_glGenLists(GLsizei range) {
    if (counting) {
        ++listIds;
    }
    return __real_glGenLists(range);
}

void __wrap_glNewList(GLuint list, GLenum mode) {
    if (counting) {
        ++compiles;
    }
    __real_glNewList(list, mode);
}
}

namespace {

// Guards the rest: a counter that never moves would pass every other test.
TEST(CreationCount, CountersSeeAllocationsQuadricsAndLists) {
    startCounting();
    // Explicit calls: an optimiser may drop the allocation of a new-expression.
    void* single = ::operator new(sizeof(int));
    void* several = ::operator new[](3 * sizeof(int));
    GLUquadric* quadric = gluNewQuadric();
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glEndList();
    const Created c = stopCounting();
    ::operator delete(single);
    ::operator delete[](several);
    gluDeleteQuadric(quadric);
    glDeleteLists(list, 1);

    EXPECT_EQ(c.allocations, 2) << c;
    EXPECT_EQ(c.quadrics, 1) << c;
    EXPECT_EQ(c.listIds, 1) << c;
    EXPECT_EQ(c.compiles, 1) << c;
}

}  // namespace
