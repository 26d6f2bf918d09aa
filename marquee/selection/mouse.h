// Editor mouse events: the working record of one ProcessEditorInput call.
#ifndef MARQUEE_MOUSE_H
#define MARQUEE_MOUSE_H

#include "host/far.h"

#include <windows.h>

struct MouseEventContext {
  const INPUT_RECORD *Event;
  EditorInfo Info;  // as last read
  int Result;       // -1 once the event is consumed
  // Bounds of the block last copied.
  int FirstLine, StartPos, LastLine, EndPos;
};

void HandleMouseEvent(MouseEventContext *Context);

#endif
