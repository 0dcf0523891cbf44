#pragma once
// A thing each reading thread keeps from page to page, such as a buffer as
// large as the pages it has read: a walk reads thousands of pages, and taking
// fresh room for each from the allocator and giving it back every time goes
// past its small-block caches and, with several threads, through its shared
// locks. One user at a time has the thread's own; a user that finds it taken
// (a page read while another is in hand, for its anchors) gets one of its own.

namespace quillan {

// `Release` readies the thread's thing for its next user, letting go of room
// beyond a bound so that a huge page holds no memory after it.
template <typename Thing, void (*Release)(Thing &)>
class ThreadKept
{
public:
    ThreadKept() : thing_(taken() ? &own_ : &kept())
    {
        if (thing_ == &kept())
            taken() = true;
    }
    ~ThreadKept()
    {
        if (thing_ != &kept())
            return;
        Release(kept());
        taken() = false;
    }
    ThreadKept(const ThreadKept &) = delete;
    ThreadKept &operator=(const ThreadKept &) = delete;

    Thing &Get() { return *thing_; }

private:
    static Thing &kept()
    {
        thread_local Thing thing;
        return thing;
    }
    static bool &taken()
    {
        thread_local bool isTaken = false;
        return isTaken;
    }

    Thing own_;     // used when the thread's own is taken already
    Thing *thing_;  // the thread's own, or own_
};

} // namespace quillan
