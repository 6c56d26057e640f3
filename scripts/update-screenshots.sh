#!/usr/bin/env bash
# Copies the screenshots of the last end-to-end run (build/screenshots/) into
# docs/screenshots/ for the README. The run takes each window's picture once it
# has painted, cropped to the window; the desktop ones are cropped here.
set -euo pipefail
cd "$(dirname "$0")/.."
src=build/screenshots
dst=docs/screenshots
mkdir -p "$dst"
for name in menu-left-named menu-right editor dialog-addfile dialog-webpage dialog-rename \
            dialog-rename-key dialog-screensaver dialog-entryoptions help editor-144dpi \
            contrast-webpage editor-dark dialog-webpage-dark editor-remember \
            dialog-entryoptions-place; do
  cp "$src/$name.png" "$dst/$name.png"
done
# Notepad is another program's window: cut the taskbar off, then trim the desktop around it.
/usr/bin/convert "$src/launch-notepad.png" -crop 1024x738+0+0 +repage -fuzz 3% -trim +repage \
  "$dst/launch-notepad.png"
/usr/bin/convert "$src/menu-close-title.png" -crop 1024x738+0+0 +repage -fuzz 3% -trim +repage \
  "$dst/menu-close-title.png"
/usr/bin/convert "$src/desktop-icon.png" -gravity SouthEast -crop 240x60+0+0 +repage "$dst/tray-icon.png"
echo "Updated $dst"
