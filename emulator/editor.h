// The emulator's editor window: an in-memory text with cursor, view and block
// that answers EditorControl the way the host's editor does. Platform-free, so
// it also builds natively.
#ifndef EMULATOR_EDITOR_H
#define EMULATOR_EDITOR_H

#include "../host/far.h"

#include <string>
#include <vector>

namespace emu {

struct EditorLine {
  std::string Text;
  std::string Eol;  // "\r\n", "\n", "\r" or "" (last line without a break)
};

// One recorded EditorControl call: the command and a copy of its record (or
// text, for ECTL_INSERTTEXT / ECTL_SETSTRING).
struct EditorCall {
  int Command = 0;
  std::vector<unsigned char> Record;  // the Param record's bytes as passed in
  std::string Text;                   // inserted / set text, when there is one
};

// The block as the host keeps it.
struct EditorBlock {
  int Type = BTYPE_NONE;
  int StartLine = 0;
  int StartPos = 0;   // stream: real position; column: screen column
  int Width = 0;      // stream: end position of the last line minus StartPos
  int Height = 0;     // lines
};

class EditorModel {
public:
  EditorModel();

  // Set-up. Text is split at CR LF, lone LF and lone CR; the break of each line
  // is kept. A text ending in a break gets an empty last line.
  void SetText(const std::string &Text);
  void SetLines(const std::vector<EditorLine> &Lines);
  void SetFileName(const std::string &FullPath);
  void SetWindow(int SizeX, int SizeY);  // default 80 x 23
  void SetTabSize(int TabSize);          // default 8
  void SetOptions(FARDWORD Options);     // EOPT_*
  void SetAnsiMode(bool Ansi);           // code table: OEM (default) or ANSI
  void SetCursor(int Line, int Pos);     // real position; view follows
  void SetView(int TopScreenLine, int LeftPos);
  void SetBlock(const EditorBlock &Block);

  // Read back.
  std::string GetText() const;  // every line with its break
  std::vector<EditorLine> GetLines() const;
  int LineCount() const;
  const EditorLine &Line(int N) const;
  int CurLine() const;
  int CurPos() const;
  int TopScreenLine() const;
  int LeftPos() const;
  EditorBlock Block() const;
  int RedrawCount() const;
  const std::vector<EditorCall> &Calls() const;
  void ClearCalls();
  void SetRecording(bool On);  // benchmarks switch the call log off

  // Screen column of a real position in line N (tabs expanded; past the end
  // one column each) and back.
  int RealToTab(int N, int Pos) const;
  int TabToReal(int N, int Col) const;

  // The host's EditorControl, Param as the host receives it.
  int Control(int Command, void *Param);

private:
  // Lines live in a gap buffer so that runs of deletions and insertions at
  // one place (a cut or paste of many lines) cost no quadratic work.
  std::vector<EditorLine> Store;
  size_t GapStart = 0, GapEnd = 0;
  EditorLine &At(int N);
  const EditorLine &At(int N) const;
  void MoveGap(size_t N);
  void InsertLine(int N, EditorLine L);
  void EraseLine(int N);

  std::string FileName;
  int SizeX = 80, SizeY = 23, TabSize = 8;
  FARDWORD Options = 0;
  bool Ansi = false;
  int CurLineNo = 0, CurPosNo = 0, Top = 0, Left = 0, Overtype = 0;
  EditorBlock Blk;
  int Redraws = 0;
  bool Recording = true;
  std::vector<EditorCall> Log;

  void ScrollToCursor();
  void ClampCursor();
  std::string NewLineBreak() const;
};

}  // namespace emu

#endif
