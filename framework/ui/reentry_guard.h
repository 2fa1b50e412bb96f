// The host may call back into the module from inside a service the module called: an entry
// point, or another message for the dialog, while a handler of the window is still on the stack.
// Every call into the module that may hold the window holds a guard for its length. Work that
// would free what an outer call still uses waits until the outermost guard is released.
#pragma once

class ReentryGuard {
public:
    // What the outermost guard does with deferred work once it is released.
    enum class Deferred {
        Run,   // carries it out
        Drop,  // drops it: the call itself ends what the work would act on
    };

    explicit ReentryGuard(Deferred deferred = Deferred::Run);
    // The outermost guard runs (or drops) the deferred work, still counting as a call of the
    // module, so that whatever the work brings back in waits for it in turn. What is still
    // deferred after kMaxDeferredRounds rounds is dropped, never kept for a later call.
    ~ReentryGuard();
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;

    // Whether a call of the module is on the stack.
    static bool Active();
    // Has `work` run once the outermost guard is released, or `drop` called instead when the
    // work is dropped. One piece of work is held at a time; asking again before it ran
    // replaces it.
    static void Defer(void (*work)(), void (*drop)());

    // A host that calls back in from every call the deferred work makes would otherwise keep
    // the module busy for ever.
    static constexpr int kMaxDeferredRounds = 64;

private:
    Deferred deferred_;
};
