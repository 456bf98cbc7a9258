#pragma once
// KARVOSSA_ASSERT states what a correct program never does, with the reason
// in words, right before the guard that keeps a player's build alive when it
// happens anyway:
//
//     KARVOSSA_ASSERT(count < capacity, "a lane side was pushed past its capacity");
//     if (count >= capacity) { return; }
//
// It is live where mistakes are looked for: debug builds, and the test and
// sanitizer builds, which define KARVOSSA_CHECKS. There it prints where and
// why on standard error and aborts, so a death test can match the message.
// In a player's release build it costs nothing and the guard carries on.
// Never use it on what untrusted bytes can cause: that is a refusal, not an
// invariant.

#if defined(KARVOSSA_CHECKS) || !defined(NDEBUG)
#define KARVOSSA_ASSERTS_LIVE 1
#define KARVOSSA_ASSERT(condition, message) \
    ((condition) ? static_cast<void>(0)     \
                 : ::karvossaInvariantFailed(#condition, message, __FILE__, __LINE__))
#else
#define KARVOSSA_ASSERTS_LIVE 0
#define KARVOSSA_ASSERT(condition, message) static_cast<void>(sizeof(condition))
#endif

// Says which invariant failed, where and why, then aborts.
[[noreturn]] void karvossaInvariantFailed(const char* condition, const char* message,
                                          const char* file, int line);
