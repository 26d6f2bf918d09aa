// What every test of the real DLLs shares: a fresh emulator, a registry key
// of its own, and the emulator's own findings reported as failures.
#ifndef TESTS_FIXTURE_H
#define TESTS_FIXTURE_H

#include "emulator/emulator.h"

#include <gtest/gtest.h>

#include <string>

inline std::string DistPath(const std::string &Relative) {
  return std::string(DIST_DIR) + "/" + Relative;
}

inline void DeleteRegistryTree(const std::string &Key) {
  RegDeleteTreeA(HKEY_CURRENT_USER, Key.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, Key.c_str());
}

class HostTest : public ::testing::Test {
protected:
  emu::Emulator &H = emu::Host();
  std::string RootKey;

  void SetUp() override {
    H.Reset();
    const ::testing::TestInfo *T = ::testing::UnitTest::GetInstance()->current_test_info();
    // Short, since a plug-in's key paths must fit 79 characters; unique per test.
    std::string Name = std::string(T->test_suite_name()) + "." + T->name();
    unsigned Hash = 2166136261u;
    for (char C : Name) Hash = (Hash ^ (unsigned char)C) * 16777619u;
    char Buf[32];
    snprintf(Buf, sizeof Buf, "Software\\HostTests\\%08x", Hash);
    RootKey = Buf;
    DeleteRegistryTree(RootKey);
  }

  void TearDown() override {
    for (auto &F : H.TakeFailures()) ADD_FAILURE() << "emulator: " << F;
    H.Reset();
    DeleteRegistryTree(RootKey);
  }

  // Reports what the emulator noticed so far and forgets it.
  void ExpectNoEmulatorFailures() {
    for (auto &F : H.TakeFailures()) ADD_FAILURE() << "emulator: " << F;
  }

  std::string PluginKey(const char *Name) const { return RootKey + "\\" + Name; }

  emu::Plugin *LoadMarquee() {
    emu::Plugin *P = H.Load(DistPath("Marquee/Marquee.dll"), RootKey,
                            {"OpenPlugin", "Configure", "ProcessEditorInput"});
    EXPECT_NE(P, nullptr);
    return P;
  }

  void SetDWord(const std::string &Key, const char *Name, DWORD Value) {
    HKEY K;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &K,
                              nullptr), ERROR_SUCCESS);
    RegSetValueExA(K, Name, 0, REG_DWORD, (const BYTE *)&Value, sizeof Value);
    RegCloseKey(K);
  }

  // Stores raw bytes under any type: for values edited by hand or by other tools.
  void SetRaw(const std::string &Key, const char *Name, DWORD Type, const std::string &Bytes) {
    HKEY K;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &K,
                              nullptr), ERROR_SUCCESS);
    RegSetValueExA(K, Name, 0, Type, (const BYTE *)Bytes.data(), (DWORD)Bytes.size());
    RegCloseKey(K);
  }

  void SetString(const std::string &Key, const char *Name, const std::string &Value) {
    SetRaw(Key, Name, REG_SZ, std::string(Value.c_str(), Value.size() + 1));
  }

  bool ValueExists(const std::string &Key, const char *Name) {
    HKEY K;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_QUERY_VALUE, &K) != ERROR_SUCCESS)
      return false;
    bool Found = RegQueryValueExA(K, Name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(K);
    return Found;
  }

  bool KeyExists(const std::string &Key) {
    HKEY K;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_QUERY_VALUE, &K) != ERROR_SUCCESS)
      return false;
    RegCloseKey(K);
    return true;
  }

  const emu::UiCall &LastCall() {
    static emu::UiCall None;
    if (H.Calls.empty()) {
      ADD_FAILURE() << "no box, menu or dialog was shown";
      return None;
    }
    return H.Calls.back();
  }
};

// Keeps a system value as it was before the test and puts it back afterwards.
class SavedValue {
public:
  SavedValue(const char *Key, const char *Name) : Key(Key), Name(Name) {
    HKEY K;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Key, 0, KEY_QUERY_VALUE, &K) != ERROR_SUCCESS) return;
    DWORD Size = sizeof Data;
    Present = RegQueryValueExA(K, Name, nullptr, &Type, Data, &Size) == ERROR_SUCCESS;
    this->Size = Size;
    RegCloseKey(K);
  }
  ~SavedValue() {
    HKEY K;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_WRITE, nullptr, &K, nullptr) !=
        ERROR_SUCCESS)
      return;
    if (Present) RegSetValueExA(K, Name, 0, Type, Data, Size);
    else RegDeleteValueA(K, Name);
    RegCloseKey(K);
  }

private:
  const char *Key, *Name;
  bool Present = false;
  DWORD Type = 0, Size = 0;
  BYTE Data[1024];
};

#endif
