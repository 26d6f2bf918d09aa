// Runs Body so that no failure inside it reaches the host: C++ exceptions and
// structured exceptions (access violations, RaiseException), also those
// raised inside a host service or a network function that Body called.
#ifndef COURIER_GUARD_H
#define COURIER_GUARD_H

// False when Body failed.
bool CallGuarded(void (*Body)(void *Context), void *Context);

#endif
