// Editor mouse events: the working record of one ProcessEditorInput call, the
// drag state kept from event to event, and the block commands of a release.
#ifndef MARQUEE_MOUSE_H
#define MARQUEE_MOUSE_H

#include "host/far.h"

#include <windows.h>

struct MouseEventContext {
  const INPUT_RECORD *Event;
  EditorInfo Info;  // as last read
  int Result;       // -1 once the event is consumed
  // Bounds of the block last copied; FirstLine -1 when none was found.
  int FirstLine, StartPos, LastLine, EndPos;
};

// Shared by every editor window of the host.
extern bool Dragging;
extern int DragBlockType;  // BTYPE_STREAM or BTYPE_COLUMN
extern int AnchorLine, AnchorPos;  // real position (stream) or screen column
extern bool ExtendStarted;
extern DWORD LastWordTime;  // tick count of the last word selection; 0 after a line

void HandleMouseEvent(MouseEventContext *Context);

// Block commands (blocks.cpp); each consumes the event.
void CopyBlock(MouseEventContext *Context);
void CutBlock(MouseEventContext *Context);
void PasteClipboard(MouseEventContext *Context);

// Host calls shared by the selection routines.
void ReadEditorInfo(MouseEventContext *Context);
void SetEditorPosition(int Line, int Pos, int TabPos, int Top, int Left);
void SelectEditorBlock(int Type, int StartLine, int StartPos, int Width, int Height);
void RedrawEditor();

#endif
