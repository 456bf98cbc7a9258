#pragma once
// What the drawing tests count the watched code creating: memory from operator
// new (and from malloc on the counting thread), GLU quadrics, display-list ids
// and list compilations. tests/app/CreationCountGlTest.cpp replaces the global
// operator new for the whole GL test executable (it has no other replacement)
// and wraps the GL and GLU calls at link time (-Wl,--wrap on this executable).
#include <atomic>
#include <ostream>

// What the watched code created while counting was on.
struct Created {
    long allocations = 0;    // operator new and new[], every form
    long quadrics = 0;       // gluNewQuadric
    long listIds = 0;        // glGenLists calls
    long compiles = 0;       // glNewList calls
    long lastSize = 0;       // bytes of the latest counted allocation, to tell what it was
    long ofWatchedSize = 0;  // allocations of exactly the watched size
};

std::ostream& operator<<(std::ostream& out, const Created& c);

void startCounting();
Created stopCounting();

// Allocations of exactly this many bytes are counted apart as well; -1 for none.
extern std::atomic<long> watchedSize;

// malloc and aligned_alloc, with which OpenAL makes its objects, counted on
// the thread that sets countingMalloc (the mixer's and the driver's threads go
// their own way). A sanitizer build has its own malloc, which this would
// bypass, so only the plain build counts them.
#ifndef __SANITIZE_ADDRESS__
constexpr bool kCountsMalloc = true;
#else
constexpr bool kCountsMalloc = false;
#endif
extern thread_local bool countingMalloc;
extern long mallocs;
