#include "emulator.h"

#include <algorithm>
#include <string.h>

namespace emu {

std::string OemToUtf8(const std::string &Text) {
  if (Text.empty()) return Text;
  std::wstring Wide(Text.size(), L'\0');
  int N = MultiByteToWideChar(CP_OEMCP, 0, Text.data(), (int)Text.size(), &Wide[0],
                              (int)Wide.size());
  Wide.resize(N > 0 ? N : 0);
  int M = WideCharToMultiByte(CP_UTF8, 0, Wide.data(), (int)Wide.size(), nullptr, 0, nullptr,
                              nullptr);
  std::string Out(M > 0 ? M : 0, '\0');
  if (M > 0)
    WideCharToMultiByte(CP_UTF8, 0, Wide.data(), (int)Wide.size(), &Out[0], M, nullptr, nullptr);
  return Out;
}

namespace {

// A grid of cells, each holding one UTF-8 character.
class Canvas {
public:
  Canvas(int W, int H) : Width(std::max(W, 1)), Cells(std::max(H, 1), std::vector<std::string>(Width, " ")) {}
  void Put(int X, int Y, const std::string &Utf8) {
    if (Y < 0 || Y >= (int)Cells.size()) return;
    for (size_t I = 0; I < Utf8.size();) {
      size_t Len = 1;
      unsigned char C = Utf8[I];
      if (C >= 0xF0) Len = 4;
      else if (C >= 0xE0) Len = 3;
      else if (C >= 0xC0) Len = 2;
      if (X >= 0 && X < Width) Cells[Y][X] = Utf8.substr(I, Len);
      X++;
      I += Len;
    }
  }
  void Text(int X, int Y, const std::string &Oem) { Put(X, Y, OemToUtf8(Oem)); }
  void Box(int X1, int Y1, int X2, int Y2, bool Double) {
    const char *H = Double ? "═" : "─", *V = Double ? "║" : "│";
    for (int X = X1 + 1; X < X2; X++) Put(X, Y1, H), Put(X, Y2, H);
    for (int Y = Y1 + 1; Y < Y2; Y++) Put(X1, Y, V), Put(X2, Y, V);
    Put(X1, Y1, Double ? "╔" : "┌"), Put(X2, Y1, Double ? "╗" : "┐");
    Put(X1, Y2, Double ? "╚" : "└"), Put(X2, Y2, Double ? "╝" : "┘");
  }
  void Title(int X1, int X2, int Y, const std::string &Oem) {
    if (Oem.empty()) return;
    std::string T = " " + Oem + " ";
    Text(X1 + std::max(1, (X2 - X1 + 1 - (int)T.size()) / 2), Y, T);
  }
  std::string Str() const {
    std::string Out;
    for (auto &Row : Cells) {
      std::string L;
      for (auto &C : Row) L += C;
      while (!L.empty() && L.back() == ' ') L.pop_back();
      Out += L + "\n";
    }
    return Out;
  }
  int Width;
  std::vector<std::vector<std::string>> Cells;
};

// "&Name" shows as "Name": the ampersand marks the hot key.
std::string Plain(const std::string &S) {
  std::string Out;
  for (char C : S)
    if (C != '&') Out += C;
  return Out;
}

std::string RenderMenu(const MenuCall &M) {
  size_t W = M.Title.size() + 4;
  for (auto &I : M.Items) W = std::max(W, strnlen(I.Text, sizeof I.Text) + 6);
  W = std::max(W, M.Bottom.size() + 4);
  int H = (int)M.Items.size() + 2;
  Canvas C((int)W, H);
  C.Box(0, 0, (int)W - 1, H - 1, true);
  C.Title(0, (int)W - 1, 0, M.Title);
  C.Title(0, (int)W - 1, H - 1, M.Bottom);
  for (size_t I = 0; I < M.Items.size(); I++) {
    const FarMenuItem &Item = M.Items[I];
    int Y = (int)I + 1;
    if (Item.Separator) {
      for (int X = 1; X < (int)W - 1; X++) C.Put(X, Y, "─");
      continue;
    }
    std::string T(Item.Text, strnlen(Item.Text, sizeof Item.Text));
    bool Mark = (int)I == M.Result;
    C.Put(1, Y, Mark ? "▶" : " ");
    C.Put(2, Y, Item.Checked ? "√" : " ");
    C.Text(3, Y, (M.Flags & FMENU_SHOWAMPERSAND) ? T : Plain(T));
  }
  return C.Str();
}

std::string RenderDialog(const DialogCall &D, const std::vector<FarDialogItem> &Items) {
  int W = D.X1 == -1 ? D.X2 : D.X2 - D.X1 + 1, H = D.Y1 == -1 ? D.Y2 : D.Y2 - D.Y1 + 1;
  Canvas C(W, H);
  for (size_t K = 0; K < Items.size(); K++) {
    const FarDialogItem &I = Items[K];
    if (I.Flags & DIF_HIDDEN) continue;
    std::string Data(I.Data, strnlen(I.Data, sizeof I.Data));
    std::string T = (I.Flags & DIF_SHOWAMPERSAND) ? Data : Plain(Data);
    auto CenteredX = [&](int Len) { return I.X1 > 0 ? I.X1 : std::max(0, (W - Len) / 2); };
    switch (I.Type) {
      case DI_DOUBLEBOX:
      case DI_SINGLEBOX:
        C.Box(I.X1, I.Y1, I.X2, I.Y2, I.Type == DI_DOUBLEBOX);
        C.Title(I.X1, I.X2, I.Y1, T);
        break;
      case DI_TEXT:
        if (I.Flags & DIF_SEPARATOR) {
          for (int X = 3; X < W - 3; X++) C.Put(X, I.Y1, "─");
          if (!T.empty()) C.Title(3, W - 4, I.Y1, T);
        } else {
          C.Text(I.X1 < 0 ? CenteredX((int)T.size()) : I.X1, I.Y1, T);
        }
        break;
      case DI_EDIT:
      case DI_FIXEDIT:
      case DI_PSWEDIT:
      case DI_COMBOBOX: {
        int Width = std::max(1, I.X2 - I.X1 + 1);
        std::string Shown = I.Type == DI_PSWEDIT ? std::string(Data.size(), '*') : Data;
        Shown.resize(Width, '.');
        C.Text(I.X1, I.Y1, Shown);
        break;
      }
      case DI_CHECKBOX:
        C.Text(I.X1, I.Y1, std::string("[") + (I.Selected ? "x" : " ") + "] " + T);
        break;
      case DI_RADIOBUTTON:
        C.Text(I.X1, I.Y1, std::string("(") + (I.Selected ? "*" : " ") + ") " + T);
        break;
      case DI_BUTTON: {
        std::string B = (I.Flags & DIF_NOBRACKETS) ? T : (I.DefaultButton ? "{ " + T + " }" : "[ " + T + " ]");
        int X = I.X1;
        if (I.Flags & DIF_CENTERGROUP) {
          // Buttons of one centred row share the line.
          int Total = 0, Before = 0;
          for (size_t J = 0; J < Items.size(); J++) {
            const FarDialogItem &O = Items[J];
            if (O.Type != DI_BUTTON || O.Y1 != I.Y1 || !(O.Flags & DIF_CENTERGROUP)) continue;
            std::string OT = Plain(std::string(O.Data, strnlen(O.Data, sizeof O.Data)));
            int Len = (int)OT.size() + 4 + 1;
            if (J < K) Before += Len;
            Total += Len;
          }
          X = std::max(0, (W - (Total - 1)) / 2) + Before;
        }
        C.Text(X, I.Y1, B);
        break;
      }
      default:
        C.Text(I.X1, I.Y1, T);
    }
  }
  return C.Str();
}

std::string RenderMessage(const MessageCall &M) {
  std::vector<std::string> Body;
  size_t Buttons = std::min<size_t>(std::max(M.ButtonsNumber, 0), M.Lines.size() ? M.Lines.size() - 1 : 0);
  for (size_t I = 1; I + Buttons < M.Lines.size(); I++) Body.push_back(M.Lines[I]);
  if (!M.ErrorText.empty()) Body.push_back(M.ErrorText);
  std::string ButtonRow;
  for (size_t I = M.Lines.size() - Buttons; I < M.Lines.size(); I++)
    ButtonRow += (ButtonRow.empty() ? "" : " ") + ("[ " + Plain(M.Lines[I]) + " ]");
  size_t W = (M.Lines.empty() ? 0 : M.Lines[0].size()) + 4;
  for (auto &B : Body) W = std::max(W, B.size());
  W = std::max(W, ButtonRow.size()) + 6;
  int H = (int)Body.size() + (Buttons ? 2 : 0) + 2 + 2;
  Canvas C((int)W, H);
  C.Box(1, 0, (int)W - 2, H - 1, true);
  if (!M.Lines.empty()) C.Title(1, (int)W - 2, 0, M.Lines[0]);
  int Y = 1;
  for (auto &B : Body) C.Text((M.Flags & FMSG_LEFTALIGN) ? 3 : ((int)W - (int)B.size()) / 2, Y++, B);
  if (Buttons) {
    for (int X = 2; X < (int)W - 2; X++) C.Put(X, Y, "─");
    Y++;
    C.Text(((int)W - (int)ButtonRow.size()) / 2, Y, ButtonRow);
  }
  return C.Str();
}

}  // namespace

std::string Emulator::Render(const UiCall &Call) const {
  switch (Call.Type) {
    case UiCall::Menu:
      return RenderMenu(Call.MenuData);
    case UiCall::Dialog:
      return RenderDialog(Call.DialogData, Call.DialogData.Final.empty() ? Call.DialogData.Items
                                                                         : Call.DialogData.Final);
    case UiCall::Message:
      return RenderMessage(Call.MessageData);
  }
  return std::string();
}

}  // namespace emu
