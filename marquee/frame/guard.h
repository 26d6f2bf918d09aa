// Runs a routine so that no failure inside it reaches the host: C++
// exceptions and Windows structured exceptions (access violations,
// RaiseException), also those raised inside a host service it called.
#ifndef MARQUEE_GUARD_H
#define MARQUEE_GUARD_H

// Returns false when Body failed; Body's work up to the failure stays done.
bool RunGuarded(void (*Body)(void *Context), void *Context);

#endif
