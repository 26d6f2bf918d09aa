// Marquee's message-box and dialog builders, compiled into the test and
// talking to the emulator through Marquee's own startup information.
#include "fixture.h"
#include "frame/dialogs.h"
#include "frame/frame.h"

#include <stdlib.h>
#include <string.h>

using namespace emu;

// What the frame offers the builders.
PluginStartupInfo StartupInfo;
const char *GetMsgText(int MsgNumber) {
  return StartupInfo.GetMsg(StartupInfo.ModuleNumber, MsgNumber & 0x7F);
}

class MarqueeDialogs : public HostTest {
protected:
  Plugin *P = nullptr;
  void SetUp() override {
    HostTest::SetUp();
    P = LoadMarquee();
    ASSERT_TRUE(P);
    memcpy(&StartupInfo, P->StartupInfo, sizeof StartupInfo);
  }
  // Eight values for one item.
  static void Item(std::vector<TaggedValue> &V, int Type, int X1, int Y1, int X2, TaggedValue Focus,
                   TaggedValue Selected, int Flags, TaggedValue Data) {
    const TaggedValue Values[] = {TagInt(Type), TagInt(X1), TagInt(Y1), TagInt(X2),
                                  Focus,        Selected,   TagInt(Flags), Data};
    V.insert(V.end(), Values, Values + 8);
  }
  static void Frame(std::vector<TaggedValue> &V) {
    Item(V, DI_DOUBLEBOX, 3, 7, 30, TagBool(false), TagBool(false), 0, TagInt(MTitle));
  }
  static void Button(std::vector<TaggedValue> &V, int Y, int Msg) {
    Item(V, DI_BUTTON, 0, Y, 0, TagBool(false), TagBool(false), DIF_CENTERGROUP, TagInt(Msg));
  }
  int Run(const std::vector<TaggedValue> &V, int DefaultIndex, const char *Help = "Edit") {
    return RunDialog(Help, V.data(), (int)V.size(), DefaultIndex);
  }
  const DialogCall &LastDialog() { return LastCall().DialogData; }
};

TEST_F(MarqueeDialogs, ItemsBecomeHostRecords) {
  unsigned char Flag = 200;
  char *Var = strdup("initial");
  char *NullVar = nullptr;
  static const char History[] = "Some-History";
  std::vector<TaggedValue> V;
  Frame(V);
  Item(V, DI_RADIOBUTTON, 5, 2, 0, TagBool(true), TagFlag(&Flag), DIF_GROUP, TagInt(MScheme1));
  Item(V, DI_EDIT, 5, 3, 28, TagBool(false), TagText(History), DIF_HISTORY, TagString(&Var));
  Item(V, DI_EDIT, 5, 4, 28, TagBool(false), TagBool(true), 0, TagString(nullptr));
  Item(V, DI_EDIT, 5, 5, 28, TagBool(false), TagBool(false), 0, TagString(&NullVar));
  Item(V, DI_TEXT, 2, 6, 30, TagBool(false), TagBool(false), DIF_SEPARATOR, TagText("literal"));
  Item(V, DI_TEXT, 5, 7, 0, TagBool(false), TagBool(false), 0, TagBool(true));
  Button(V, 8, MOk);
  H.AnswerDialog({});
  EXPECT_EQ(Run(V, -1), -1);
  const DialogCall &D = LastDialog();
  EXPECT_EQ(D.X1, -1);
  EXPECT_EQ(D.Y1, -1);
  EXPECT_EQ(D.X2, 34) << "frame X2 + 4";
  EXPECT_EQ(D.Y2, 11) << "last item's Y1 + 3";
  EXPECT_EQ(D.HelpTopic, "Edit");
  ASSERT_EQ(D.Items.size(), 8u);
  const FarDialogItem *I = D.Items.data();
  EXPECT_EQ(I[0].Type, DI_DOUBLEBOX);
  EXPECT_EQ(I[0].X1, 3);
  EXPECT_EQ(I[0].Y1, 1) << "the frame's top row is forced";
  EXPECT_EQ(I[0].X2, 30);
  EXPECT_EQ(I[0].Y2, 9) << "the frame ends below the last item";
  EXPECT_EQ(I[0].Data, P->Msg(MTitle));
  EXPECT_EQ(I[1].Focus, -1);
  EXPECT_EQ(I[1].Selected, 200) << "the flag's value";
  EXPECT_EQ(I[1].Flags, (FARDWORD)DIF_GROUP);
  EXPECT_EQ(I[1].Data, P->Msg(MScheme1));
  EXPECT_EQ(I[2].Focus, 0);
  EXPECT_EQ(I[2].History, History) << "a text as Selected is the history name's address";
  EXPECT_STREQ(I[2].Data, "initial");
  EXPECT_EQ(I[3].Selected, 1);
  EXPECT_STREQ(I[3].Data, "") << "null string address";
  EXPECT_STREQ(I[4].Data, "") << "string variable holding null";
  EXPECT_STREQ(I[5].Data, "") << "literal texts are not shown as Data";
  EXPECT_STREQ(I[6].Data, "") << "a boolean Data";
  for (int K = 1; K < 8; K++) {
    SCOPED_TRACE(K);
    EXPECT_EQ(I[K].Y2, 0);
    EXPECT_EQ(I[K].DefaultButton, K == 7 ? -1 : 0);
  }
  EXPECT_STREQ(Var, "initial");
  EXPECT_EQ(NullVar, nullptr);
  free(Var);
}

TEST_F(MarqueeDialogs, DefaultButtonRule) {
  struct Case {
    int DefaultIndex;
    int Buttons;
    int Expected;  // the one default item, or -1 for none
    const char *Why;
  } Cases[] = {
      {-1, 2, 2, "the first of two buttons"},
      {-1, 0, -1, "no button, no default"},
      {1, 2, 1, "an index wins over the buttons, whatever its type"},
      {3, 2, 3, "the second button by index"},
      {99, 2, -1, "an index past the items marks nothing"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Why);
    std::vector<TaggedValue> V;
    Frame(V);
    Item(V, DI_TEXT, 5, 2, 0, TagBool(false), TagBool(false), 0, TagInt(MSchemeLabel));
    for (int B = 0; B < C.Buttons; B++) Button(V, 4, B == 0 ? MOk : MCancel);
    H.AnswerDialog({});
    Run(V, C.DefaultIndex);
    const DialogCall &D = LastDialog();
    for (size_t K = 0; K < D.Items.size(); K++)
      EXPECT_EQ(D.Items[K].DefaultButton, (int)K == C.Expected ? -1 : 0) << "item " << K;
  }
}

TEST_F(MarqueeDialogs, WriteBackOnlyWhenNotCancelled) {
  struct Case {
    int Close;
    bool Written;
  } Cases[] = {{-1, false}, {3, true} /* the cancel button */, {2, true}};
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Close);
    unsigned char Touched = 0, Untouched = 0x2A;
    char *Text = strdup("before");
    char *Other = strdup("other");
    std::vector<TaggedValue> V;
    Frame(V);
    Item(V, DI_RADIOBUTTON, 5, 2, 0, TagBool(false), TagFlag(&Touched), 0, TagString(&Text));
    Item(V, DI_EDIT, 5, 3, 20, TagBool(false), TagFlag(&Untouched), 0, TagString(&Other));
    Button(V, 5, MOk);
    Button(V, 5, MCancel);
    DialogAnswer A;
    A.Texts = {{2, "after"}};
    A.Close = C.Close;
    // A value past one byte: only its low byte goes back into the flag.
    A.During = [](FarDialogItem *Items, int) {
      Items[1].Selected = 0x101;
      Items[2].Selected = 0x1FF;
      strcpy(Items[1].Data, "typed");
    };
    H.AnswerDialog(A);
    EXPECT_EQ(Run(V, -1), C.Close);
    EXPECT_EQ(Touched, C.Written ? 1 : 0);
    EXPECT_EQ(Untouched, C.Written ? 0xFF : 0x2A);
    EXPECT_STREQ(Text, C.Written ? "typed" : "before");
    EXPECT_STREQ(Other, C.Written ? "after" : "other");
    free(Text);
    free(Other);
  }
}

TEST_F(MarqueeDialogs, IncompleteItemIsIgnored) {
  std::vector<TaggedValue> V;
  Frame(V);
  for (int K = 1; K < 10; K++)
    Item(V, DI_TEXT, 5, K + 1, 0, TagBool(false), TagBool(false), 0, TagInt(MSchemeLabel));
  V.resize(87);  // ten whole items and seven values of an eleventh
  ASSERT_EQ(V.size(), 87u);
  H.AnswerDialog({});
  Run(V, -1);
  EXPECT_EQ(LastDialog().Items.size(), 10u);
  EXPECT_EQ(LastDialog().Y2, 10 + 3);

  H.Calls.clear();
  V.resize(7);
  EXPECT_EQ(Run(V, -1), -1) << "no whole item: nothing to show";
  EXPECT_TRUE(H.Calls.empty());
}

TEST_F(MarqueeDialogs, LongTextsAreCutToTheField) {
  std::string Long(5000, 'm');
  for (size_t K = 0; K < Long.size(); K += 7) Long[K] = (char)('a' + K % 26);
  struct Case {
    const char *Typed;  // null: the user leaves the field alone
    std::string After;
  } Cases[] = {
      {nullptr, Long},  // left as shown, the text keeps its whole length
      {"short", "short"},
  };
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Typed ? C.Typed : "untouched");
    char *Var = strdup(Long.c_str());
    std::vector<TaggedValue> V;
    Frame(V);
    Item(V, DI_EDIT, 5, 2, 28, TagBool(true), TagBool(false), 0, TagString(&Var));
    Button(V, 4, MOk);
    DialogAnswer A;
    if (C.Typed) A.Texts = {{1, C.Typed}};
    A.Close = 2;
    H.AnswerDialog(A);
    EXPECT_EQ(Run(V, -1), 2);
    const FarDialogItem &Field = LastDialog().Items[1];
    ASSERT_EQ(strnlen(Field.Data, sizeof Field.Data), 511u);
    EXPECT_TRUE(std::string(Field.Data) == Long.substr(0, 511));
    EXPECT_EQ(strlen(Var), C.After.size());
    EXPECT_TRUE(Var == C.After);
    free(Var);
  }

  // Edited to a text that shares the first 511 characters: that is what the user left.
  char *Var = strdup(Long.c_str());
  std::vector<TaggedValue> V;
  Frame(V);
  Item(V, DI_EDIT, 5, 2, 28, TagBool(true), TagBool(false), 0, TagString(&Var));
  Button(V, 4, MOk);
  DialogAnswer A;
  A.Texts = {{1, Long.substr(0, 510)}};
  A.Close = 2;
  H.AnswerDialog(A);
  Run(V, -1);
  EXPECT_EQ(strlen(Var), 510u);
  free(Var);
}

TEST_F(MarqueeDialogs, NullMessageTextShowsEmpty) {
  std::vector<TaggedValue> V;
  Frame(V);
  Button(V, 3, MOk);
  H.FailCall(Service::GetMsg, Fault::NullText);
  H.AnswerDialog({});
  Run(V, -1);
  EXPECT_STREQ(LastDialog().Items[0].Data, "");
}

TEST_F(MarqueeDialogs, MessageBoxLines) {
  unsigned char Flag = 1;
  char *Var = strdup("var");
  const TaggedValue Lines[] = {TagInt(MFileTypesTitle), TagText("plain text"), TagBool(true),
                               TagFlag(&Flag),          TagString(&Var),     TagText(nullptr),
                               TagInt(MDelete),         TagInt(MCancel)};
  struct Case {
    int Answer, Result;
  } Cases[] = {{1, 1}, {0, 0}, {-1, -1}};
  for (const Case &C : Cases) {
    SCOPED_TRACE(C.Answer);
    H.Calls.clear();
    H.AnswerMessage(C.Answer);
    EXPECT_EQ(ShowMessageBox(FMSG_WARNING | FMSG_LEFTALIGN, "Exception", Lines, 8, 2), C.Result);
    const MessageCall &M = LastCall().MessageData;
    EXPECT_EQ(M.Flags, (FARDWORD)(FMSG_WARNING | FMSG_LEFTALIGN));
    EXPECT_EQ(M.HelpTopic, "Exception");
    EXPECT_EQ(M.ButtonsNumber, 2);
    std::vector<std::string> Expected = {P->Msg(MFileTypesTitle), "plain text", " ", " ", " ", "",
                                         P->Msg(MDelete), P->Msg(MCancel)};
    EXPECT_EQ(M.Lines, Expected);
  }
  free(Var);
}
