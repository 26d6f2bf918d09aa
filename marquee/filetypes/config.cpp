#include "frame/frame.h"

// The configuration dialog comes in a later step.
bool ShowConfigDialog() { return false; }
