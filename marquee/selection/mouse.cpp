#include "mouse.h"

#include "frame/frame.h"

// Mouse selection comes in a later step; for now a press only looks at the
// editor and leaves every event to the host.
void HandleMouseEvent(MouseEventContext *Context) {
  const INPUT_RECORD *Event = Context->Event;
  if (!Event || Event->EventType != MOUSE_EVENT) return;
  const MOUSE_EVENT_RECORD &Mouse = Event->Event.MouseEvent;
  DWORD Buttons = Mouse.dwButtonState;
  if (Mouse.dwEventFlags != MOUSE_MOVED && Mouse.dwEventFlags != DOUBLE_CLICK &&
      (Buttons == 1 || Buttons == 2 || Buttons == 4))
    StartupInfo.EditorControl(ECTL_GETINFO, &Context->Info);
}
