#include "editor.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace emu {

namespace {

const EditorLine EmptyLine;

// Sizes of the records that EditorControl commands take, for the call log.
size_t RecordSize(int Command) {
  switch (Command) {
  case ECTL_GETSTRING: return sizeof(EditorGetString);
  case ECTL_SETSTRING: return sizeof(EditorSetString);
  case ECTL_GETINFO: return sizeof(EditorInfo);
  case ECTL_SETPOSITION: return sizeof(EditorSetPosition);
  case ECTL_SELECT: return sizeof(EditorSelect);
  case ECTL_EDITORTOOEM:
  case ECTL_OEMTOEDITOR: return sizeof(EditorConvertText);
  default: return 0;
  }
}

// Splits at CR LF, lone LF and lone CR; Sink(text, break) is called for every
// piece, the last one with an empty break.
template <class F> void SplitLines(const char *P, size_t N, F Sink) {
  size_t Start = 0;
  for (size_t I = 0; I < N; ++I) {
    if (P[I] != '\r' && P[I] != '\n')
      continue;
    size_t BreakLen = (P[I] == '\r' && I + 1 < N && P[I + 1] == '\n') ? 2 : 1;
    Sink(std::string(P + Start, I - Start), std::string(P + I, BreakLen));
    I += BreakLen - 1;
    Start = I + 1;
  }
  Sink(std::string(P + Start, N - Start), std::string());
}

}  // namespace

EditorModel::EditorModel() { Store.resize(1); GapStart = GapEnd = 1; }

// Gap buffer ---------------------------------------------------------------

EditorLine &EditorModel::At(int N) {
  size_t I = static_cast<size_t>(N);
  return I < GapStart ? Store[I] : Store[I + (GapEnd - GapStart)];
}

const EditorLine &EditorModel::At(int N) const {
  size_t I = static_cast<size_t>(N);
  return I < GapStart ? Store[I] : Store[I + (GapEnd - GapStart)];
}

void EditorModel::MoveGap(size_t N) {
  if (GapStart == GapEnd) {  // an empty gap moves for free (and must not self-move)
    GapStart = GapEnd = N;
    return;
  }
  while (GapStart > N)
    Store[--GapEnd] = std::move(Store[--GapStart]);
  while (GapStart < N)
    Store[GapStart++] = std::move(Store[GapEnd++]);
}

void EditorModel::InsertLine(int N, EditorLine L) {
  MoveGap(static_cast<size_t>(N));
  if (GapStart == GapEnd) {
    // Growing by the current size keeps a long run of insertions linear.
    size_t Grow = std::max<size_t>(Store.size(), 16);
    Store.insert(Store.begin() + static_cast<std::ptrdiff_t>(GapStart), Grow, EditorLine());
    GapEnd += Grow;
  }
  Store[GapStart++] = std::move(L);
}

void EditorModel::EraseLine(int N) {
  MoveGap(static_cast<size_t>(N));
  Store[GapEnd++] = EditorLine();
}

// Set-up and read-back -------------------------------------------------------

void EditorModel::SetText(const std::string &Text) {
  std::vector<EditorLine> Lines;
  SplitLines(Text.data(), Text.size(), [&](std::string T, std::string E) {
    Lines.push_back(EditorLine{std::move(T), std::move(E)});
  });
  SetLines(Lines);
}

void EditorModel::SetLines(const std::vector<EditorLine> &Lines) {
  Store = Lines;
  if (Store.empty())
    Store.resize(1);
  GapStart = GapEnd = Store.size();
  ClampCursor();
  ScrollToCursor();
}

void EditorModel::SetFileName(const std::string &FullPath) { FileName = FullPath; }

void EditorModel::SetWindow(int X, int Y) {
  SizeX = std::max(1, X);
  SizeY = std::max(1, Y);
  ScrollToCursor();
}

void EditorModel::SetTabSize(int T) {
  TabSize = std::max(1, T);
  ScrollToCursor();
}

void EditorModel::SetOptions(FARDWORD O) {
  Options = O;
  ClampCursor();
  ScrollToCursor();
}

void EditorModel::SetAnsiMode(bool A) { Ansi = A; }

void EditorModel::SetCursor(int L, int P) {
  CurLineNo = L;
  CurPosNo = P;
  ClampCursor();
  ScrollToCursor();
}

void EditorModel::SetView(int T, int L) {
  Top = std::max(0, T);
  Left = std::max(0, L);
  ScrollToCursor();
}

void EditorModel::SetBlock(const EditorBlock &B) { Blk = B; }

std::string EditorModel::GetText() const {
  std::string R;
  for (int I = 0, N = LineCount(); I < N; ++I) {
    const EditorLine &L = At(I);
    R += L.Text;
    R += L.Eol;
  }
  return R;
}

std::vector<EditorLine> EditorModel::GetLines() const {
  std::vector<EditorLine> R;
  R.reserve(static_cast<size_t>(LineCount()));
  for (int I = 0, N = LineCount(); I < N; ++I)
    R.push_back(At(I));
  return R;
}

int EditorModel::LineCount() const { return static_cast<int>(Store.size() - (GapEnd - GapStart)); }

const EditorLine &EditorModel::Line(int N) const {
  return N >= 0 && N < LineCount() ? At(N) : EmptyLine;
}

int EditorModel::CurLine() const { return CurLineNo; }
int EditorModel::CurPos() const { return CurPosNo; }
int EditorModel::TopScreenLine() const { return Top; }
int EditorModel::LeftPos() const { return Left; }
EditorBlock EditorModel::Block() const { return Blk; }
int EditorModel::RedrawCount() const { return Redraws; }
const std::vector<EditorCall> &EditorModel::Calls() const { return Log; }
void EditorModel::ClearCalls() { Log.clear(); }
void EditorModel::SetRecording(bool On) { Recording = On; }

// Positions ------------------------------------------------------------------

int EditorModel::RealToTab(int N, int Pos) const {
  const std::string &T = Line(N).Text;
  Pos = std::max(0, Pos);
  int Len = static_cast<int>(T.size());
  int Col = 0;
  for (int I = 0; I < std::min(Pos, Len); ++I)
    Col += T[static_cast<size_t>(I)] == '\t' ? TabSize - Col % TabSize : 1;
  return Col + std::max(0, Pos - Len);
}

int EditorModel::TabToReal(int N, int Col) const {
  const std::string &T = Line(N).Text;
  Col = std::max(0, Col);
  int Len = static_cast<int>(T.size());
  int At = 0;
  for (int I = 0; I < Len; ++I) {
    int Next = At + (T[static_cast<size_t>(I)] == '\t' ? TabSize - At % TabSize : 1);
    if (Col < Next)
      return I;
    At = Next;
  }
  return Len + (Col - At);
}

void EditorModel::ClampCursor() {
  CurLineNo = std::min(std::max(0, CurLineNo), LineCount() - 1);
  CurPosNo = std::max(0, CurPosNo);
  if (!(Options & EOPT_CURSORBEYONDEOL))
    CurPosNo = std::min(CurPosNo, static_cast<int>(At(CurLineNo).Text.size()));
}

void EditorModel::ScrollToCursor() {
  Top = std::max(0, Top);
  Left = std::max(0, Left);
  if (CurLineNo < Top)
    Top = CurLineNo;
  else if (CurLineNo > Top + SizeY - 1)
    Top = CurLineNo - SizeY + 1;
  int Col = RealToTab(CurLineNo, CurPosNo);
  if (Col < Left)
    Left = Col;
  else if (Col > Left + SizeX - 1)
    Left = Col - SizeX + 1;
}

// EditorControl ----------------------------------------------------------------

int EditorModel::Control(int Command, void *Param) {
  if (Recording) {
    EditorCall C;
    C.Command = Command;
    size_t Size = RecordSize(Command);
    if (Param && Size) {
      const unsigned char *P = static_cast<const unsigned char *>(Param);
      C.Record.assign(P, P + Size);
    }
    if (Command == ECTL_INSERTTEXT && Param)
      C.Text = static_cast<const char *>(Param);
    if (Command == ECTL_SETSTRING && Param) {
      const EditorSetString *S = static_cast<const EditorSetString *>(Param);
      if (S->StringText && S->StringLength > 0)
        C.Text.assign(S->StringText, static_cast<size_t>(S->StringLength));
    }
    Log.push_back(std::move(C));
  }

  switch (Command) {
  case ECTL_GETSTRING: {
    EditorGetString *G = static_cast<EditorGetString *>(Param);
    if (!G)
      return 0;
    int N = G->StringNumber == -1 ? CurLineNo : G->StringNumber;
    if (N < 0 || N >= LineCount())
      return 0;
    const EditorLine &L = At(N);
    G->StringText = L.Text.data();
    G->StringLength = static_cast<int>(L.Text.size());
    G->StringEOL = L.Eol.c_str();
    G->SelStart = -1;
    G->SelEnd = 0;
    int First = Blk.StartLine, Last = Blk.StartLine + Blk.Height - 1;
    if (Blk.Type == BTYPE_STREAM && N >= First && N <= Last) {
      G->SelStart = N == First ? Blk.StartPos : 0;
      G->SelEnd = N == Last ? Blk.StartPos + Blk.Width : -1;
    } else if (Blk.Type == BTYPE_COLUMN && N >= First && N <= Last) {
      G->SelStart = TabToReal(N, Blk.StartPos);
      G->SelEnd = TabToReal(N, Blk.StartPos + Blk.Width);
    }
    return 1;
  }

  case ECTL_SETSTRING: {
    const EditorSetString *S = static_cast<const EditorSetString *>(Param);
    if (!S || S->StringLength < 0 || (!S->StringText && S->StringLength > 0))
      return 0;
    int N = S->StringNumber == -1 ? CurLineNo : S->StringNumber;
    if (N < 0 || N >= LineCount())
      return 0;
    EditorLine &L = At(N);
    L.Text.assign(S->StringText ? S->StringText : "", static_cast<size_t>(S->StringLength));
    if (S->StringEOL)
      L.Eol = S->StringEOL;
    return 1;
  }

  case ECTL_INSERTSTRING: {
    // Enter: the text after the cursor moves to a new line below.
    EditorLine &L = At(CurLineNo);
    size_t P = std::min(static_cast<size_t>(CurPosNo), L.Text.size());
    EditorLine Tail{L.Text.substr(P), L.Eol};
    L.Text.erase(P);
    L.Eol = NewLineBreak();
    InsertLine(CurLineNo + 1, std::move(Tail));
    CurLineNo++;
    CurPosNo = 0;
    ScrollToCursor();
    return 1;
  }

  case ECTL_DELETESTRING:
    if (LineCount() == 1)
      At(0) = EditorLine();
    else
      EraseLine(CurLineNo);
    ClampCursor();
    ScrollToCursor();
    return 1;

  case ECTL_DELETECHAR: {
    EditorLine &L = At(CurLineNo);
    if (static_cast<size_t>(CurPosNo) < L.Text.size()) {
      L.Text.erase(static_cast<size_t>(CurPosNo), 1);
    } else if (CurLineNo + 1 < LineCount()) {
      EditorLine &Next = At(CurLineNo + 1);
      L.Text += Next.Text;
      L.Eol = std::move(Next.Eol);
      EraseLine(CurLineNo + 1);
    }
    return 1;
  }

  case ECTL_INSERTTEXT: {
    const char *Text = static_cast<const char *>(Param);
    if (!Text)
      return 0;
    size_t Len = std::strlen(Text);
    if (!Len)
      return 1;
    EditorLine &Cur = At(CurLineNo);
    if (Cur.Text.size() < static_cast<size_t>(CurPosNo))
      Cur.Text.resize(static_cast<size_t>(CurPosNo), ' ');
    std::string Tail = Cur.Text.substr(static_cast<size_t>(CurPosNo));
    std::string TailEol = Cur.Eol;
    std::string Break = NewLineBreak();
    Cur.Text.erase(static_cast<size_t>(CurPosNo));
    // Each piece after a break becomes a new line below the previous one, so
    // the gap stays put and a text of many lines costs linear time.
    int LineNo = CurLineNo;
    bool FirstPiece = true;
    SplitLines(Text, Len, [&](std::string Piece, std::string Eol) {
      bool LastPiece = Eol.empty();
      if (FirstPiece) {
        At(LineNo).Text += Piece;
        FirstPiece = false;
      } else {
        InsertLine(++LineNo, EditorLine{std::move(Piece), std::string()});
      }
      EditorLine &L = At(LineNo);
      if (LastPiece) {
        CurPosNo = static_cast<int>(L.Text.size());
        L.Text += Tail;
        L.Eol = TailEol;
      } else {
        L.Eol = Break;
      }
    });
    CurLineNo = LineNo;
    ScrollToCursor();
    return 1;
  }

  case ECTL_GETINFO: {
    EditorInfo *I = static_cast<EditorInfo *>(Param);
    if (!I)
      return 0;
    std::memset(I, 0, sizeof *I);
    I->EditorID = 1;
    I->FileName = FileName.c_str();
    I->WindowSizeX = SizeX;
    I->WindowSizeY = SizeY;
    I->TotalLines = LineCount();
    I->CurLine = CurLineNo;
    I->CurPos = CurPosNo;
    I->CurTabPos = RealToTab(CurLineNo, CurPosNo);
    I->TopScreenLine = Top;
    I->LeftPos = Left;
    I->Overtype = Overtype;
    I->BlockType = Blk.Type;
    I->BlockStartLine = Blk.Type == BTYPE_NONE ? 0 : Blk.StartLine;
    I->AnsiMode = Ansi ? 1 : 0;
    I->TableNum = -1;
    I->Options = Options;
    I->TabSize = TabSize;
    I->BookMarkCount = 10;  // the host keeps ten bookmarks per editor
    I->CurState = 0;
    return 1;
  }

  case ECTL_SETPOSITION: {
    const EditorSetPosition *P = static_cast<const EditorSetPosition *>(Param);
    if (!P)
      return 0;
    if (P->CurLine != -1)
      CurLineNo = std::min(std::max(0, P->CurLine), LineCount() - 1);
    if (P->CurTabPos != -1)
      CurPosNo = TabToReal(CurLineNo, std::max(0, P->CurTabPos));
    else if (P->CurPos != -1)
      CurPosNo = P->CurPos;
    ClampCursor();
    if (P->TopScreenLine != -1)
      Top = std::max(0, P->TopScreenLine);
    if (P->LeftPos != -1)
      Left = std::max(0, P->LeftPos);
    if (P->Overtype != -1)
      Overtype = P->Overtype;
    ScrollToCursor();
    return 1;
  }

  case ECTL_SELECT: {
    const EditorSelect *S = static_cast<const EditorSelect *>(Param);
    if (!S)
      return 0;
    if (S->BlockType == BTYPE_NONE || S->BlockStartPos == -1) {
      Blk = EditorBlock();
      return 1;
    }
    if ((S->BlockType != BTYPE_STREAM && S->BlockType != BTYPE_COLUMN) || S->BlockHeight < 1 ||
        S->BlockStartLine < 0 || S->BlockStartLine >= LineCount() || S->BlockStartPos < 0)
      return 0;
    EditorBlock B;
    B.Type = S->BlockType;
    B.StartLine = S->BlockStartLine;
    B.StartPos = S->BlockStartPos;
    B.Width = S->BlockWidth;
    B.Height = std::min(S->BlockHeight, LineCount() - S->BlockStartLine);
    if (B.Type == BTYPE_STREAM) {
      if (B.Height == 1 && S->BlockHeight == 1 && B.Width < 0)
        return 0;
      // Cut off at the last line: the block runs to that line's end.
      if (B.Height < S->BlockHeight)
        B.Width = static_cast<int>(At(B.StartLine + B.Height - 1).Text.size()) - B.StartPos;
    } else if (B.Width < 0) {
      B.StartPos = std::max(0, B.StartPos + B.Width);
      B.Width = S->BlockStartPos - B.StartPos;
    }
    Blk = B;
    return 1;
  }

  case ECTL_REDRAW:
    Redraws++;
    return 1;

  case ECTL_EDITORTOOEM:
  case ECTL_OEMTOEDITOR: {
    EditorConvertText *C = static_cast<EditorConvertText *>(Param);
    if (!C || C->TextLength < 0 || (!C->Text && C->TextLength > 0))
      return 0;
#ifdef _WIN32
    if (Ansi && C->TextLength > 0) {
      if (Command == ECTL_EDITORTOOEM)
        CharToOemBuffA(C->Text, C->Text, static_cast<DWORD>(C->TextLength));
      else
        OemToCharBuffA(C->Text, C->Text, static_cast<DWORD>(C->TextLength));
    }
#endif
    return 1;
  }

  default:
    return 0;
  }
}

// The break that Enter puts in: the cursor line's own, else the file's.
std::string EditorModel::NewLineBreak() const {
  const std::string &Own = At(CurLineNo).Eol;
  if (!Own.empty())
    return Own;
  if (!At(0).Eol.empty())
    return At(0).Eol;
  return "\r\n";
}

}  // namespace emu
