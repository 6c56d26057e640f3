// Every fake wired together, with the Windows rules over the fake primitives.
#include "platform/fake/fake_platform.h"

namespace vantrel {

FakePlatform::FakePlatform()
    : FakeDialogs(static_cast<FakeTrayHost&>(*this)),
      FakeFiles(clock),
      FakeShortcutKeys(static_cast<FakeTrayHost&>(*this)),
      FakeShell(static_cast<FakeFiles&>(*this)) {
  clock.now = 1000000;
  MakeDirectory(windowsDir);
  MakeDirectory(systemDir);
  RegCreateKey(kRunKey);
  RegCreateKey(kDesktopKey);
}

Capabilities FakePlatform::All() {
  return {*this, *this, *this, shell, *this, *this, autostart, screenSaver, desktop, clock};
}

}  // namespace vantrel
