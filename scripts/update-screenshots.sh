#!/usr/bin/env bash
# Copies the screenshots of the last end-to-end run (build/screenshots/, whole
# desktops) into docs/screenshots/ for the README, cropped to what they show.
set -euo pipefail
cd "$(dirname "$0")/.."
src=build/screenshots
dst=docs/screenshots
mkdir -p "$dst"
for name in menu-left-named menu-right editor dialog-addfile dialog-webpage dialog-rename \
            dialog-screensaver help launch-notepad; do
  # Cut the taskbar off, then trim the desktop around the window.
  /usr/bin/convert "$src/$name.png" -crop 1024x738+0+0 +repage -fuzz 3% -trim +repage "$dst/$name.png"
done
/usr/bin/convert "$src/desktop-icon.png" -gravity SouthEast -crop 240x60+0+0 +repage "$dst/tray-icon.png"
echo "Updated $dst"
