#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "screensaver/screensaver_switches.h"
#include "tray/accelerators.h"
#include "tray/tray_window.h"

namespace vantrel {
namespace {

const char* const kDesktop = "Control Panel\\Desktop";
const char* const kNt = "ScreensaverIsSecure";
const char* const k9x = "Screensaveusepassword";

const std::string kW1 =
    "Cannot access screensaver settings. It appears you do not have the privilege to access "
    "this, therefore you will not be able to adjust the screensaver settings from this icon. You "
    "can still activate the screensaver and your other programs.";
const std::string kW2 =
    "Cannot access screensaver settings. It appears you do not have the privilege to access "
    "this, therefore you will not be able to adjust the screensaver password settings from this "
    "icon. You can still activate the screensaver and your other programs.";
const std::string kW3 =
    "Cannot access screensaver settings. It appears you do not have the privilege to access this "
    "on your pc, therefore you will not be able to adjust the screensaver settings from this "
    "icon. You can still activate the screensaver and your other programs.";

// The left press as the shell delivers it, through TForm1's own handler: the
// two switch items' captions, and whether the menu opened (only when the
// refresh ran to its end).
struct LeftMenu {
  explicit LeftMenu(FakePlatform& p)
      : platform(p), form(p, p.clock, p, p.shell, p, p, p.autostart, p.screenSaver, p.desktop) {}
  FakePlatform& platform;
  TForm1 form;
  std::string setSS;
  std::string setPwd;
  bool opened = false;
};

void LeftPress(LeftMenu& menu) {
  const std::size_t before = menu.platform.menus.size();
  menu.form.OnTrayCallback(kLeftButtonDown);
  menu.opened = menu.platform.menus.size() > before;
  menu.setSS = WithoutMarks(menu.form.LeftItem("SetSS").caption);
  menu.setPwd = WithoutMarks(menu.form.LeftItem("SetPwd").caption);
}

std::vector<std::string> BoxTexts(const FakePlatform& platform) {
  std::vector<std::string> texts;
  for (const auto& box : platform.boxes) {
    EXPECT_EQ(box.kind, BoxKind::Warning);
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
    texts.push_back(box.text);
  }
  return texts;
}

RegValue Raw(RegType type, const std::string& bytes) { return {type, bytes}; }

TEST(ScreensaverSwitches, NtCaptionsFollowTheSystem) {
  FakePlatform platform;
  platform.platformId = 2;
  LeftMenu menu(platform);
  SwitchState& state = menu.form.Switches;

  platform.screenSaveActive = true;
  platform.RegPutString(kDesktop, kNt, "1");
  LeftPress(menu);
  EXPECT_TRUE(menu.opened);
  EXPECT_TRUE(platform.screenSaver.IsWinNT());
  EXPECT_EQ(menu.setSS, "Disable Screensaver");
  EXPECT_EQ(menu.setPwd, "Disable Password");
  EXPECT_TRUE(state.ScreensaverOn);
  EXPECT_TRUE(state.PasswordOn);

  platform.screenSaveActive = false;
  platform.RegPutString(kDesktop, kNt, "0");
  LeftPress(menu);
  EXPECT_EQ(menu.setSS, "Enable Screensaver");
  EXPECT_EQ(menu.setPwd, "Enable Password");
  EXPECT_FALSE(state.ScreensaverOn);
  EXPECT_FALSE(state.PasswordOn);

  // Both string types count; the text ends at its first zero byte.
  platform.RegPut(kDesktop, kNt, Raw(RegType::ExpandString, std::string("1\0", 2)));
  LeftPress(menu);
  EXPECT_EQ(menu.setPwd, "Disable Password");
  platform.RegPut(kDesktop, kNt, Raw(RegType::String, std::string("1\0junk\0", 7)));
  LeftPress(menu);
  EXPECT_EQ(menu.setPwd, "Disable Password");

  // Absent and empty values read as empty text: off, and no error.
  platform.RegPut(kDesktop, kNt, Raw(RegType::String, ""));
  LeftPress(menu);
  EXPECT_EQ(menu.setPwd, "Enable Password");
  platform.RegPutString(kDesktop, kNt, "1");
  LeftPress(menu);
  platform.RegPut(kDesktop, kNt, Raw(RegType::Dword, ""));  // empty data of any type
  LeftPress(menu);
  EXPECT_EQ(menu.setPwd, "Enable Password");
  platform.RegPutString(kDesktop, kNt, "1");
  LeftPress(menu);
  FakePlatform fresh;  // value never written at all
  LeftMenu freshMenu(fresh);
  LeftPress(freshMenu);
  EXPECT_TRUE(freshMenu.opened);
  EXPECT_EQ(freshMenu.setPwd, "Enable Password");

  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_TRUE(platform.errorBoxes.empty());
  EXPECT_EQ(platform.openKeys, 0);
  EXPECT_EQ(fresh.openKeys, 0);
}

TEST(ScreensaverSwitches, NtPasswordIsOnOnlyForExactlyOne) {
  FakePlatform platform;
  LeftMenu menu(platform);
  SwitchState& state = menu.form.Switches;
  for (const std::string text : {"01", "1 ", " 1", "11", "1.0", "2", "yes", "true", "On", "l"}) {
    platform.RegPutString(kDesktop, kNt, "1");
    LeftPress(menu);
    ASSERT_TRUE(state.PasswordOn);
    platform.RegPutString(kDesktop, kNt, text);
    LeftPress(menu);
    EXPECT_TRUE(menu.opened) << text;
    EXPECT_FALSE(state.PasswordOn) << text;
    EXPECT_EQ(menu.setPwd, "Enable Password") << text;
  }
  EXPECT_EQ(platform.openKeys, 0);
}

TEST(ScreensaverSwitches, OlderFamilyReadsAFourByteInteger) {
  for (int id : {0, 1}) {
    FakePlatform platform;
    platform.platformId = id;
    platform.RegPutString(kDesktop, kNt, "1");  // the other family's value is not looked at
    LeftMenu menu(platform);
    SwitchState& state = menu.form.Switches;

    platform.RegPutDword(kDesktop, k9x, 0);
    LeftPress(menu);
    EXPECT_TRUE(menu.opened);
    EXPECT_FALSE(platform.screenSaver.IsWinNT());
    EXPECT_FALSE(state.PasswordOn);
    EXPECT_EQ(menu.setPwd, "Enable Password");

    for (std::uint32_t n : {1u, 7u, 0x80000000u, 0xFFFFFFFFu}) {
      platform.RegPutDword(kDesktop, k9x, n);
      LeftPress(menu);
      EXPECT_TRUE(state.PasswordOn) << n;
      EXPECT_EQ(menu.setPwd, "Disable Password") << n;
    }
    // Shorter data is still a number.
    platform.RegPut(kDesktop, k9x, Raw(RegType::Dword, std::string("\0\0", 2)));
    LeftPress(menu);
    EXPECT_TRUE(menu.opened);
    EXPECT_FALSE(state.PasswordOn);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.openKeys, 0);
  }
}

TEST(ScreensaverSwitches, RegistryReadErrorsEndTheLeftPress) {
  struct Case {
    int platformId;
    const char* name;
    RegValue value;
    bool absent;
    std::string error;
  };
  const std::string invalidNt = "Invalid data type for 'ScreensaverIsSecure'";
  const std::string invalid9x = "Invalid data type for 'Screensaveusepassword'";
  const std::string missing9x = "Failed to get data for 'Screensaveusepassword'";
  const std::vector<Case> cases = {
      {2, kNt, Raw(RegType::Dword, std::string("\1\0\0\0", 4)), false, invalidNt},
      {2, kNt, Raw(RegType::Binary, std::string("1\0", 2)), false, invalidNt},
      {2, kNt, Raw(RegType::Other, "1"), false, invalidNt},
      {1, k9x, {}, true, missing9x},
      {0, k9x, {}, true, missing9x},
      {1, k9x, Raw(RegType::Dword, std::string("\1\0\0\0\0", 5)), false, missing9x},
      {1, k9x, Raw(RegType::Binary, std::string(8, '\1')), false, missing9x},
      {1, k9x, Raw(RegType::String, "12345\0"), false, missing9x},
      {1, k9x, Raw(RegType::String, std::string("1\0", 2)), false, invalid9x},
      {1, k9x, Raw(RegType::String, std::string("abc\0", 4)), false, invalid9x},
      {1, k9x, Raw(RegType::Binary, std::string("\1\0\0\0", 4)), false, invalid9x},
      {0, k9x, Raw(RegType::ExpandString, std::string("1\0", 2)), false, invalid9x},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error + " / platform " + std::to_string(c.platformId));
    FakePlatform platform;
    platform.platformId = c.platformId;
    LeftMenu menu(platform);
    SwitchState& state = menu.form.Switches;
    // A good first press, so that we can see what the failing one leaves alone.
    platform.screenSaveActive = true;
    platform.RegPutString(kDesktop, kNt, "1");
    platform.RegPutDword(kDesktop, k9x, 1);
    LeftPress(menu);
    ASSERT_TRUE(menu.opened);
    ASSERT_EQ(menu.setPwd, "Disable Password");

    platform.screenSaveActive = false;
    if (c.absent) {
      platform.RegRemoveKey(kDesktop);
      platform.RegCreateKey(kDesktop);
    } else {
      platform.RegPut(kDesktop, c.name, c.value);
    }
    LeftPress(menu);
    EXPECT_FALSE(menu.opened);
    ASSERT_EQ(platform.errorBoxes.size(), 1u);
    EXPECT_EQ(platform.errorBoxes[0], c.error);  // ends in an apostrophe: no full stop
    EXPECT_TRUE(platform.boxes.empty());
    // The screensaver flag came first and was taken; the password was not.
    EXPECT_EQ(menu.setSS, "Enable Screensaver");
    EXPECT_EQ(menu.setPwd, "Disable Password");
    EXPECT_TRUE(state.PasswordOn);
    EXPECT_EQ(platform.openKeys, 0);

    // The raised error itself carries the same text.
    try {
      RefreshScreensaverSwitches(platform, platform.screenSaver, state, menu.setSS, menu.setPwd);
      ADD_FAILURE() << "no error raised";
    } catch (const VantrelError& e) {
      EXPECT_EQ(std::string(e.what()), c.error);
    }
    EXPECT_EQ(platform.openKeys, 0);
  }
}

TEST(ScreensaverSwitches, PlatformIdChoosesTheFamilyOrKeepsIt) {
  FakePlatform platform;
  platform.RegPutString(kDesktop, kNt, "1");  // NT reads: on
  platform.RegPutDword(kDesktop, k9x, 0);     // older family reads: off
  LeftMenu menu(platform);
  struct Step {
    int id;
    bool nt;
  };
  // Unknown answers keep what was found before; at the start that is the older family.
  for (const Step& s :
       {Step{3, false}, Step{-1, false}, Step{2, true}, Step{3, true}, Step{-1, true},
        Step{0, false}, Step{-1, false}, Step{2, true}, Step{1, false}, Step{99, false}}) {
    platform.platformId = s.id;
    LeftPress(menu);
    EXPECT_EQ(platform.screenSaver.IsWinNT(), s.nt) << s.id;
    EXPECT_EQ(menu.setPwd, s.nt ? "Disable Password" : "Enable Password") << s.id;
  }
  EXPECT_TRUE(platform.errorBoxes.empty());
}

TEST(ScreensaverSwitches, WarningsKeepCaptionsAndStillOpenTheMenu) {
  FakePlatform platform;
  LeftMenu menu(platform);
  SwitchState& state = menu.form.Switches;

  // First press on a locked-down system: both warnings, W1 first, empty captions.
  platform.spiGetFails = true;
  platform.deniedKeys = {"control panel\\DESKTOP"};
  LeftPress(menu);
  EXPECT_TRUE(menu.opened);
  EXPECT_EQ(BoxTexts(platform), (std::vector<std::string>{kW1, kW2}));
  EXPECT_EQ(menu.setSS, "");
  EXPECT_EQ(menu.setPwd, "");
  EXPECT_FALSE(state.ScreensaverOn);
  EXPECT_FALSE(state.PasswordOn);

  // After a good press the captions survive later failures unchanged.
  platform.spiGetFails = false;
  platform.deniedKeys.clear();
  platform.RegPutString(kDesktop, kNt, "1");
  platform.boxes.clear();
  LeftPress(menu);
  EXPECT_TRUE(platform.boxes.empty());
  platform.spiGetFails = true;
  platform.screenSaveActive = false;
  LeftPress(menu);
  EXPECT_EQ(BoxTexts(platform), std::vector<std::string>{kW1});
  EXPECT_EQ(menu.setSS, "Disable Screensaver");
  EXPECT_TRUE(state.ScreensaverOn);
  EXPECT_EQ(menu.setPwd, "Disable Password");

  // A key that does not exist at all is W2 too, and is never created.
  platform.boxes.clear();
  platform.spiGetFails = false;
  platform.RegRemoveKey(kDesktop);
  LeftPress(menu);
  EXPECT_TRUE(menu.opened);
  EXPECT_EQ(BoxTexts(platform), std::vector<std::string>{kW2});
  EXPECT_EQ(menu.setSS, "Enable Screensaver");
  EXPECT_EQ(menu.setPwd, "Disable Password");
  SetPwdClick(platform, platform.screenSaver, state);
  EXPECT_EQ(BoxTexts(platform), (std::vector<std::string>{kW2, kW2}));
  EXPECT_EQ(platform.RegOpenKey(kDesktop), 0u);
  EXPECT_TRUE(state.PasswordOn);
  EXPECT_TRUE(platform.errorBoxes.empty());
  EXPECT_EQ(platform.openKeys, 0);
}

TEST(ScreensaverSwitches, SetSSTogglesFromTheRememberedState) {
  FakePlatform platform;
  platform.RegPutString(kDesktop, kNt, "1");
  LeftMenu menu(platform);
  SwitchState& state = menu.form.Switches;

  platform.screenSaveActive = true;
  LeftPress(menu);
  SetSSClick(platform, platform.screenSaver, state);
  EXPECT_EQ(platform.spiSets, std::vector<bool>{false});
  EXPECT_FALSE(platform.screenSaveActive);
  EXPECT_TRUE(state.ScreensaverOn);  // unchanged until the next refresh
  EXPECT_EQ(menu.setSS, "Disable Screensaver");

  // Without a refresh the click repeats the same direction.
  SetSSClick(platform, platform.screenSaver, state);
  EXPECT_EQ(platform.spiSets, (std::vector<bool>{false, false}));

  LeftPress(menu);
  EXPECT_EQ(menu.setSS, "Enable Screensaver");
  SetSSClick(platform, platform.screenSaver, state);
  EXPECT_EQ(platform.spiSets, (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(platform.boxes.empty());

  // A refused change warns with W3 and remembers nothing new.
  LeftPress(menu);
  platform.spiSetFails = true;
  SetSSClick(platform, platform.screenSaver, state);
  EXPECT_EQ(BoxTexts(platform), std::vector<std::string>{kW3});
  EXPECT_TRUE(state.ScreensaverOn);
  EXPECT_TRUE(platform.screenSaveActive);

  // The screensaver switch never touches the password.
  EXPECT_EQ(platform.RegGet(kDesktop, kNt)->data, std::string("1\0", 2));
  EXPECT_FALSE(platform.RegGet(kDesktop, k9x).has_value());
  EXPECT_TRUE(state.PasswordOn);
  EXPECT_EQ(platform.openKeys, 0);
}

TEST(ScreensaverSwitches, UnreadStateIsNeverChangedByAClick) {
  FakePlatform platform;
  LeftMenu menu(platform);
  SwitchState& state = menu.form.Switches;
  platform.screenSaveActive = false;
  platform.spiGetFails = true;
  platform.deniedKeys = {kDesktop};
  LeftPress(menu);
  ASSERT_TRUE(menu.opened);
  ASSERT_EQ(menu.setSS, "");
  ASSERT_EQ(menu.setPwd, "");

  // The user clicks the nameless items: no direction was offered, so nothing changes.
  platform.boxes.clear();
  SetSSClick(platform, platform.screenSaver, state);
  EXPECT_TRUE(platform.spiSets.empty());
  EXPECT_FALSE(platform.screenSaveActive);
  EXPECT_TRUE(platform.boxes.empty());
  platform.deniedKeys.clear();  // even if the key became reachable meanwhile
  SetPwdClick(platform, platform.screenSaver, state);
  EXPECT_FALSE(platform.RegGet(kDesktop, kNt).has_value());
  EXPECT_FALSE(platform.RegGet(kDesktop, k9x).has_value());
  EXPECT_TRUE(platform.boxes.empty());

  // A press whose password read failed leaves the item just as unchosen.
  platform.platformId = 1;
  platform.spiGetFails = false;
  LeftPress(menu);  // Screensaveusepassword is absent
  ASSERT_FALSE(menu.opened);
  SetPwdClick(platform, platform.screenSaver, state);
  EXPECT_FALSE(platform.RegGet(kDesktop, k9x).has_value());

  // Once read, the clicks work.
  platform.RegPutDword(kDesktop, k9x, 0);
  LeftPress(menu);
  SetSSClick(platform, platform.screenSaver, state);
  SetPwdClick(platform, platform.screenSaver, state);
  EXPECT_EQ(platform.spiSets, std::vector<bool>{true});
  EXPECT_EQ(platform.RegGet(kDesktop, k9x)->data, std::string("\1\0\0\0", 4));
  EXPECT_EQ(platform.openKeys, 0);
}

TEST(ScreensaverSwitches, SetPwdWritesTheFamilysValue) {
  {
    FakePlatform platform;  // NT, value absent
    LeftMenu menu(platform);
    SwitchState& state = menu.form.Switches;
    LeftPress(menu);
    ASSERT_EQ(menu.setPwd, "Enable Password");
    SetPwdClick(platform, platform.screenSaver, state);
    auto v = platform.RegGet(kDesktop, kNt);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->type, RegType::String);
    EXPECT_EQ(v->data, std::string("1\0", 2));  // the terminating zero is stored
    EXPECT_TRUE(state.PasswordOn);
    EXPECT_EQ(menu.setPwd, "Enable Password");  // a click leaves the caption alone
    LeftPress(menu);
    EXPECT_EQ(menu.setPwd, "Disable Password");
    SetPwdClick(platform, platform.screenSaver, state);
    EXPECT_EQ(platform.RegGet(kDesktop, kNt)->data, std::string("0\0", 2));
    EXPECT_FALSE(state.PasswordOn);

    // The direction comes from the remembered state, not a fresh reading.
    LeftPress(menu);  // reads "0": off
    platform.RegPutString(kDesktop, kNt, "1");
    SetPwdClick(platform, platform.screenSaver, state);
    EXPECT_EQ(platform.RegGet(kDesktop, kNt)->data, std::string("1\0", 2));
    SetPwdClick(platform, platform.screenSaver,
                state);  // and a successful click flips what is remembered
    EXPECT_EQ(platform.RegGet(kDesktop, kNt)->data, std::string("0\0", 2));

    EXPECT_FALSE(platform.RegGet(kDesktop, k9x).has_value());
    EXPECT_TRUE(platform.spiSets.empty());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.openKeys, 0);
  }
  {
    FakePlatform platform;
    platform.platformId = 1;
    platform.RegPutDword(kDesktop, k9x, 0);
    LeftMenu menu(platform);
    SwitchState& state = menu.form.Switches;
    LeftPress(menu);
    SetPwdClick(platform, platform.screenSaver, state);
    auto v = platform.RegGet(kDesktop, k9x);
    EXPECT_EQ(v->type, RegType::Dword);
    EXPECT_EQ(v->data, std::string("\1\0\0\0", 4));
    LeftPress(menu);
    EXPECT_EQ(menu.setPwd, "Disable Password");
    SetPwdClick(platform, platform.screenSaver, state);
    EXPECT_EQ(platform.RegGet(kDesktop, k9x)->data, std::string(4, '\0'));
    EXPECT_FALSE(platform.RegGet(kDesktop, kNt).has_value());
    EXPECT_TRUE(platform.spiSets.empty());
    EXPECT_EQ(platform.openKeys, 0);
  }
}

TEST(ScreensaverSwitches, FailedPasswordChangeKeepsTheState) {
  for (int id : {2, 1}) {
    const std::string name = id == 2 ? kNt : k9x;
    SCOPED_TRACE(name);
    FakePlatform platform;
    platform.platformId = id;
    platform.RegPutString(kDesktop, kNt, "1");
    platform.RegPutDword(kDesktop, k9x, 1);
    LeftMenu menu(platform);
    SwitchState& state = menu.form.Switches;
    LeftPress(menu);
    ASSERT_TRUE(state.PasswordOn);
    const RegValue before = *platform.RegGet(kDesktop, name);

    platform.regWritesFail = true;
    RunGuarded(platform, [&] { SetPwdClick(platform, platform.screenSaver, state); });
    EXPECT_EQ(platform.errorBoxes,
              std::vector<std::string>{"Failed to set data for '" + name + "'"});
    EXPECT_TRUE(state.PasswordOn);
    EXPECT_EQ(platform.RegGet(kDesktop, name)->data, before.data);
    EXPECT_EQ(platform.openKeys, 0);

    // A key that cannot be opened: W2, nothing written, nothing remembered.
    platform.regWritesFail = false;
    platform.deniedKeys = {kDesktop};
    SetPwdClick(platform, platform.screenSaver, state);
    EXPECT_EQ(BoxTexts(platform), std::vector<std::string>{kW2});
    EXPECT_TRUE(state.PasswordOn);
    EXPECT_EQ(platform.RegGet(kDesktop, name)->data, before.data);

    // Once it works again the same click goes through.
    platform.deniedKeys.clear();
    SetPwdClick(platform, platform.screenSaver, state);
    EXPECT_FALSE(state.PasswordOn);
    EXPECT_EQ(platform.openKeys, 0);
  }
}

}  // namespace
}  // namespace vantrel
