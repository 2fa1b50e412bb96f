// The host may call back into the module from inside a service the module called: an entry
// point, or another message for the dialog, while a handler of the window is still on the stack.
// Every call into the module that may hold the window holds a guard for its length. Work that
// would free what an outer call still uses waits until the outermost guard is released.
#pragma once

class ReentryGuard {
public:
    ReentryGuard();
    // The outermost guard runs the deferred work, still counting as a call of the module, so
    // that whatever the work brings back in waits for it in turn.
    ~ReentryGuard();
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;

    // Whether a call of the module is on the stack.
    static bool Active();
    // Has `work` run once the outermost guard is released. One piece of work is held at a time;
    // asking again before it ran replaces it.
    static void Defer(void (*work)());
};
