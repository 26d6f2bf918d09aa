// Tests that talk to the stand-in LAN Manager (netapi32.dll and mpr.dll
// beside the test program): its script starts empty.
#ifndef TESTS_NETWORK_FIXTURE_H
#define TESTS_NETWORK_FIXTURE_H

#include "fixture.h"
#include "netstub/netstub.h"

class NetworkTest : public HostTest {
protected:
  NetStub Net;

  void SetUp() override {
    HostTest::SetUp();
    ASSERT_TRUE(Net.Bind()) << "the stand-in netapi32.dll is not beside the test program";
    ASSERT_EQ(Net.Load(""), 0);
  }
};

#endif
