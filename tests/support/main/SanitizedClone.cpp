// Linked into the test programs of the ThreadSanitizer build only.
//
// QProcess starts a program with clone(CLONE_VM | CLONE_VFORK): until the
// child executes the program it runs in the parent's memory. The sanitizer's
// clone interceptor does a fork's bookkeeping in the child (it takes its own
// locks before the call, then resets its thread registry, clocks and locks in
// the child), and in shared memory that lands on the parent's state. After the
// first program a test starts, the parent's lock hand-overs are lost, so code
// that holds its lock is reported as racing, and the sanitizer's own locks can
// be left in a state where a later start hangs.
//
// The sanitizer runs vfork() as fork() for the same reason; this does the
// same for clone. Without CLONE_VM the child works on its own copy of memory
// (QProcess reports a failed start through a pipe, not through memory), and
// CLONE_VFORK still holds the parent until the program runs.

#include <dlfcn.h>
#include <sched.h>
#include <sys/types.h>

#include <cstdarg>

extern "C" int clone(int (*fn)(void *), void *stack, int flags, void *arg, ...)
{
    // The three optional arguments are passed on as they came: glibc reads
    // them only for the flags that name them.
    va_list rest;
    va_start(rest, arg);
    pid_t *parentTid = va_arg(rest, pid_t *);
    void *tls = va_arg(rest, void *);
    pid_t *childTid = va_arg(rest, pid_t *);
    va_end(rest);

    using Clone = int (*)(int (*)(void *), void *, int, void *, ...);
    static const auto next = reinterpret_cast<Clone>(dlsym(RTLD_NEXT, "clone"));
    // A thread shares memory by design and is left alone.
    if ((flags & CLONE_VM) != 0 && (flags & CLONE_THREAD) == 0)
        flags &= ~CLONE_VM;
    return next(fn, stack, flags, arg, parentTid, tls, childTid);
}
