// What a user installs from dist/: every plug-in folder's language and help
// files in English and Russian, and the plug-ins run with the Russian ones.
#include "fixture.h"
#include "netstub/netstub.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace emu;

namespace {

// The OEM Cyrillic form (code page 866) of a UTF-8 text.
std::string Cp866(const char *Utf8) {
  std::wstring W(strlen(Utf8) + 1, L'\0');
  int N = MultiByteToWideChar(CP_UTF8, 0, Utf8, -1, &W[0], (int)W.size());
  std::string Out(W.size() * 2, '\0');
  int M = WideCharToMultiByte(866, 0, W.c_str(), N, &Out[0], (int)Out.size(), nullptr, nullptr);
  Out.resize(M > 0 ? M - 1 : 0);
  return Out;
}

std::string ReadFile(const std::string &Path) {
  std::string Out;
  FILE *F = fopen(Path.c_str(), "rb");
  if (!F) return Out;
  char Buf[4096];
  for (size_t N; (N = fread(Buf, 1, sizeof Buf, F)) > 0;) Out.append(Buf, N);
  fclose(F);
  return Out;
}

bool IsUtf8(const std::string &Bytes) {
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, Bytes.data(), (int)Bytes.size(),
                             nullptr, 0) > 0;
}

std::vector<std::string> Lines(const std::string &Text) {
  std::vector<std::string> Out;
  size_t Start = 0;
  while (Start < Text.size()) {
    size_t End = Text.find('\n', Start);
    if (End == std::string::npos) End = Text.size();
    std::string L = Text.substr(Start, End - Start);
    if (!L.empty() && L.back() == '\r') L.pop_back();
    Out.push_back(L);
    Start = End + 1;
  }
  return Out;
}

// The plug-in folders in dist/ (each holds a DLL of the folder's name).
std::vector<std::string> PluginFolders() {
  std::vector<std::string> Out;
  WIN32_FIND_DATAA Data;
  HANDLE Find = FindFirstFileA(DistPath("*").c_str(), &Data);
  if (Find == INVALID_HANDLE_VALUE) return Out;
  do {
    std::string N = Data.cFileName;
    if ((Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && N != "." && N != "..")
      Out.push_back(N);
  } while (FindNextFileA(Find, &Data));
  FindClose(Find);
  std::sort(Out.begin(), Out.end());
  return Out;
}

// Width of a label or button text on screen: hot-key marks take no cell.
size_t Shown(const std::string &Text) {
  return Text.size() - std::count(Text.begin(), Text.end(), '&');
}

struct HelpFile {
  std::string Language;
  std::vector<std::string> Topics;
};

// Reads a help file and reports what would spoil it in the host: a missing
// header, a topic without its heading, an unbalanced highlight mark, a link
// to a topic that isn't there.
HelpFile CheckHelpFile(const std::string &Path) {
  SCOPED_TRACE(Path);
  HelpFile H;
  std::vector<std::string> L = Lines(ReadFile(Path));
  if (L.size() < 3) {
    ADD_FAILURE() << "empty help file";
    return H;
  }
  EXPECT_EQ(L[0].compare(0, 10, ".Language="), 0) << L[0];
  H.Language = L[0].substr(10, L[0].find(',') - 10);
  EXPECT_EQ(L[1].compare(0, 16, ".PluginContents="), 0) << L[1];
  EXPECT_GT(L[1].size(), 16u) << "the title in the host's list of help files";
  std::vector<std::pair<size_t, std::string>> Links;
  for (size_t N = 2; N < L.size(); N++) {
    const std::string &T = L[N];
    if (T.size() > 1 && T[0] == '@') {
      H.Topics.push_back(T.substr(1));
      EXPECT_TRUE(N + 1 < L.size() && L[N + 1].compare(0, 3, "$ #") == 0 && L[N + 1].back() == '#')
          << "topic " << T << " has no heading";
      continue;
    }
    size_t Marks = 0;
    for (size_t I = 0; I < T.size(); I++) {
      if (T[I] == '#' && I + 1 < T.size() && T[I + 1] == '#') I++;
      else if (T[I] == '#') Marks++;
      if (T[I] == '~' && I + 1 < T.size() && T[I + 1] == '~') {
        I++;
        continue;
      }
      if (T[I] == '~') {
        size_t Close = T.find("~@", I + 1);
        size_t End = Close == std::string::npos ? Close : T.find('@', Close + 2);
        if (End == std::string::npos) {
          ADD_FAILURE() << "line " << N + 1 << ": unfinished link";
          break;
        }
        Links.push_back({N + 1, T.substr(Close + 2, End - Close - 2)});
        I = End;
      }
    }
    EXPECT_EQ(Marks % 2, 0u) << "line " << N + 1 << ": unbalanced #";
  }
  for (auto &Link : Links)
    EXPECT_TRUE(std::count(H.Topics.begin(), H.Topics.end(), Link.second))
        << "line " << Link.first << ": link to a missing topic " << Link.second;
  std::set<std::string> Unique(H.Topics.begin(), H.Topics.end());
  EXPECT_EQ(Unique.size(), H.Topics.size()) << "a topic is defined twice";
  EXPECT_NE(Unique.count("Contents"), 0u);
  return H;
}

}  // namespace

TEST(Release, EveryPluginHasEnglishAndRussianLanguageFilesThatPairUp) {
  std::vector<std::string> Folders = PluginFolders();
  ASSERT_FALSE(Folders.empty());
  for (const std::string &F : Folders) {
    SCOPED_TRACE(F);
    std::string Eng = DistPath(F + "/" + F + "Eng.lng"), Rus = DistPath(F + "/" + F + "Rus.lng");
    std::string Lang;
    std::vector<std::string> English, Russian;
    ASSERT_TRUE(ReadLanguageFile(Eng, &Lang, &English)) << Eng;
    EXPECT_EQ(Lang, "English");
    ASSERT_TRUE(ReadLanguageFile(Rus, &Lang, &Russian)) << Rus;
    EXPECT_EQ(Lang, "Russian");
    ASSERT_EQ(Russian.size(), English.size()) << "the same messages in the same order";
    for (size_t N = 0; N < English.size(); N++) {
      SCOPED_TRACE(N);
      EXPECT_EQ(Russian[N].empty(), English[N].empty());
      EXPECT_EQ(std::count(Russian[N].begin(), Russian[N].end(), '&'),
                std::count(English[N].begin(), English[N].end(), '&'))
          << "a hot key lost or added in translation";
    }
    EXPECT_FALSE(IsUtf8(ReadFile(Rus))) << "Russian texts in code page 866, not UTF-8";
  }
}

TEST(Release, EveryPluginHasEnglishAndRussianHelpWithTheSameTopics) {
  for (const std::string &F : PluginFolders()) {
    SCOPED_TRACE(F);
    HelpFile Eng = CheckHelpFile(DistPath(F + "/" + F + "Eng.hlf"));
    HelpFile Rus = CheckHelpFile(DistPath(F + "/" + F + "Rus.hlf"));
    EXPECT_EQ(Eng.Language, "English");
    EXPECT_EQ(Rus.Language, "Russian");
    EXPECT_EQ(Rus.Topics, Eng.Topics);
    EXPECT_FALSE(IsUtf8(ReadFile(DistPath(F + "/" + F + "Rus.hlf"))));
  }
}

class Russian : public HostTest {
protected:
  void SetUp() override {
    HostTest::SetUp();
    H.SetLanguage("Russian");
  }
};

TEST_F(Russian, MarqueeConfigurationFileTypesAndErrorBox) {
  Plugin *P = LoadMarquee();
  ASSERT_TRUE(P);
  ASSERT_FALSE(P->HelpTopics.empty()) << "the Russian help file was found";
  EXPECT_EQ(P->Msg(3), Cp866("Выделение мышью"));
  EXPECT_EQ(P->MenuStrings(), std::vector<std::string>({Cp866("Выделение мышью")}));

  // Configuration dialog, then the file types and a type's dialog, each
  // with its help topic in the Russian help file (the emulator checks).
  DialogAnswer ToFileTypes;
  ToFileTypes.Close = 6;
  H.AnswerDialog(ToFileTypes);
  MenuAnswer Insert;
  Insert.Highlight = 0;
  Insert.Press = MenuAnswer::BreakKey;
  Insert.BreakKeyCode = VK_INSERT;
  H.AnswerMenu(Insert);
  DialogAnswer Cancel;
  Cancel.Close = -1;
  H.AnswerDialog(Cancel);
  MenuAnswer Esc;
  Esc.Press = MenuAnswer::Esc;
  H.AnswerMenu(Esc);
  H.AnswerDialog(Cancel);
  EXPECT_EQ(P->Configure(0), 0);
  ASSERT_EQ(H.Calls.size(), 5u);
  const DialogCall &D = H.Calls[0].DialogData;
  EXPECT_STREQ(D.Items[0].Data, Cp866("Выделение мышью").c_str());
  EXPECT_STREQ(D.Items[6].Data, Cp866("&Типы файлов...").c_str());
  for (int K = 1; K <= 4; K++)  // radio buttons take four cells before the text
    EXPECT_LT(5 + Shown(D.Items[K].Data) + (K >= 2 ? 4 : 0), 37u) << K;
  EXPECT_EQ(H.Calls[1].MenuData.Title, Cp866("Типы файлов"));
  EXPECT_STREQ(H.Calls[2].DialogData.Items[0].Data, Cp866("Тип файла").c_str());

  // The error box shows the Russian text as the language file holds it.
  H.FailCall(Service::Dialog, Fault::RaiseException);
  H.AnswerMessage(0);
  EXPECT_EQ(P->Configure(0), 0);
  ASSERT_EQ(LastCall().Type, UiCall::Message);
  EXPECT_EQ(LastCall().MessageData.Lines,
            std::vector<std::string>({Cp866("Ошибка выделения мышью"), Cp866("Настройка не удалась"),
                                      Cp866("Изменения, сохранённые до сбоя, остаются в силе."),
                                      "OK"}));
}

TEST_F(Russian, CourierSendsARussianMessageAndReportsTheFailureInRussian) {
  NetStub Net;
  ASSERT_TRUE(Net.Bind());
  ASSERT_EQ(Net.Load("refuse | bob | 2273"), 0);
  Plugin *P = H.Load(DistPath("Courier/Courier.dll"), RootKey, {"OpenPlugin", "Configure"});
  ASSERT_TRUE(P);
  ASSERT_FALSE(P->HelpTopics.empty());
  EXPECT_EQ(P->MenuStrings(), std::vector<std::string>({Cp866("Послать сетевое сообщение")}));

  DialogAnswer Send;
  Send.Texts = {{1, "alice;bob"}, {4, Cp866("Привет, Ёжик!")}};
  Send.Close = 11;
  H.AnswerDialog(Send);
  H.AnswerMessage(0);
  EXPECT_EQ(P->OpenPlugin(OPEN_PLUGINSMENU, 0), INVALID_HANDLE_VALUE);
  ASSERT_EQ(H.Calls.size(), 3u);
  const DialogCall &D = H.Calls[0].DialogData;
  EXPECT_STREQ(D.Items[13].Data, Cp866("Сетевое сообщение").c_str());
  // Labels end before their fields; buttons stay inside the frame (column 68).
  EXPECT_LT(6 + Shown(D.Items[0].Data), 19u);
  EXPECT_LT(6 + Shown(D.Items[3].Data), 19u);
  EXPECT_LE(56 + Shown(D.Items[2].Data) + 4, 68u);
  EXPECT_LE(58 + Shown(D.Items[12].Data) + 4, 68u);
  EXPECT_EQ(H.Calls[1].MessageData.Lines,
            std::vector<std::string>({"", Cp866("Отправка сообщения...")}));
  EXPECT_EQ(H.Calls[2].MessageData.Lines,
            std::vector<std::string>({Cp866("Сетевое сообщение"),
                                      Cp866("Сообщение не удалось отправить."), "OK"}));
  ASSERT_EQ(Net.MessageCount(), 1);
  const WCHAR *To, *Text;
  DWORD Bytes;
  Net.Message(0, &To, &Text, &Bytes);
  // Converted through the system's OEM code page (866 on a Russian system).
  std::string Oem = Cp866("Привет, Ёжик!");
  std::wstring Want(Oem.size(), L'\0');
  Want.resize(MultiByteToWideChar(CP_OEMCP, 0, Oem.data(), (int)Oem.size(), &Want[0],
                                  (int)Want.size()));
  EXPECT_TRUE(std::wstring(Text) == Want) << "the typed text reaches the network as UTF-16";

  // The configuration dialog's label ends before its field (column 15).
  DialogAnswer Esc;
  Esc.Close = -1;
  H.AnswerDialog(Esc);
  EXPECT_EQ(P->Configure(0), 0);
  const DialogCall &C = LastCall().DialogData;
  EXPECT_STREQ(C.Items[3].Data, Cp866("Сетевое сообщение").c_str());
  EXPECT_LT(6 + Shown(C.Items[4].Data), 15u);
}

TEST_F(Russian, AlmanacMainMenuAndQuickInsert) {
  Plugin *P = H.Load(DistPath("Almanac/Almanac.dll"), RootKey,
                     {"OpenPlugin", "Configure", "PutAlmanac"});
  ASSERT_TRUE(P);
  ASSERT_FALSE(P->HelpTopics.empty()) << "the Russian help file was found";
  EXPECT_EQ(P->MenuStrings(), std::vector<std::string>({Cp866("Альманах")}));
  H.Editor.SetText("\n");
  MenuAnswer Insert;
  Insert.Highlight = 0;
  H.AnswerMenu(Insert);
  EXPECT_EQ(P->OpenPlugin(OPEN_EDITOR, 0), INVALID_HANDLE_VALUE);
  ASSERT_EQ(H.Calls.size(), 1u);
  const MenuCall &M = H.Calls[0].MenuData;
  EXPECT_EQ(M.Title, Cp866("Дата и время"));
  EXPECT_STREQ(M.Items[3].Text, Cp866("&4 Календарь...").c_str());
  // The standard format of the Russian file went into the editor: dd.mm.yyyy hh:mm.
  std::string Line = H.Editor.Line(0).Text;
  ASSERT_EQ(Line.size(), 16u) << Line;
  EXPECT_EQ(Line[2], '.');
  EXPECT_EQ(Line[5], '.');
  EXPECT_EQ(Line[13], ':');
}
