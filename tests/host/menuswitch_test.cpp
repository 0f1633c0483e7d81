// The "AddMenu" switch: JPEGMENUON and JPEGMENUOFF store it, event 14 reads it.
#include "modulefixture.h"

namespace {

using MenuSwitchTest = ModuleTest;

void SendEvent(int code) {
  Host().registered.at(0)->eventHook(code);
}

std::int32_t StoredSwitch() {
  std::int32_t value = -1;
  EXPECT_TRUE(Host().Fetch(kExpectedKeyPath, "AddMenu", &value));
  return value;
}

// The switch takes effect when the host next starts and asks for menus.
TEST_F(MenuSwitchTest, SwitchHoldsAcrossHostRestarts) {
  SendEvent(14);  // nothing stored: the menu is on
  ASSERT_EQ(Host().menusAdded.size(), 1u);
  EXPECT_EQ(Host().menusAdded[0], Host().registered.at(0)->menuText);
  ASSERT_EQ(Host().reads.size(), 1u);
  EXPECT_EQ(Host().reads[0].keyPath, kExpectedKeyPath);
  EXPECT_EQ(Host().reads[0].valueName, "AddMenu");
  EXPECT_EQ(Host().reads[0].size, 4);
  EXPECT_EQ(Host().reads[0].type, 3);
  EXPECT_EQ(Host().reads[0].sizeAgain, 4);

  Handler(4)();  // JPEGMENUOFF
  EXPECT_EQ(StoredSwitch(), 0);
  EXPECT_EQ(Host().cmdEnds, 1);
  EXPECT_TRUE(Host().menusAdded.size() == 1u);  // only stored, not applied now
  RestartHost();
  SendEvent(14);
  EXPECT_TRUE(Host().menusAdded.empty());

  Handler(3)();  // JPEGMENUON
  EXPECT_EQ(StoredSwitch(), 1);
  ASSERT_EQ(Host().writes.size(), 1u);
  EXPECT_EQ(Host().writes[0].size, 4);
  EXPECT_EQ(Host().writes[0].type, 3);
  RestartHost();
  SendEvent(14);
  EXPECT_EQ(Host().menusAdded.size(), 1u);
}

TEST_F(MenuSwitchTest, OtherEventsReadNothingAndAddNothing) {
  for (int code : {0, 1, 13, 15, -14, 140}) SendEvent(code);
  EXPECT_TRUE(Host().reads.empty());
  EXPECT_TRUE(Host().menusAdded.empty());
}

}  // namespace
