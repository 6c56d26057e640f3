# Sourced, not run: a fresh Wine prefix on a virtual desktop, on a headless X
# server when no display is set, as the end-to-end tests, the benchmarks and
# the run script all use it.
#
#   . scripts/wine-desktop.sh
#   wine_desktop_start "$OUT" || exit 2   # prefix in $OUT/prefix, logs in $OUT
#   ...                                   # wine runs on the desktop
#   wine_desktop_stop                     # (from the caller's EXIT trap)

WINE_DESKTOP_XVFB_PID=

wine_desktop_start() {
  local out=$1 tag=${2:-vantrel}
  mkdir -p "$out"
  export WINEPREFIX=$out/prefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompts
  rm -rf "$WINEPREFIX"

  if [ -z "${DISPLAY:-}" ]; then
    command -v Xvfb >/dev/null || { echo "$tag: no DISPLAY and no Xvfb" >&2; return 1; }
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$out/display.txt" 2>"$out/xvfb.log" &
    WINE_DESKTOP_XVFB_PID=$!
    for _ in $(seq 100); do [ -s "$out/display.txt" ] && break; sleep 0.1; done
    [ -s "$out/display.txt" ] || { echo "$tag: Xvfb did not start" >&2; return 1; }
    export DISPLAY=:$(head -n1 "$out/display.txt")
  fi

  timeout 120 wineboot --init >"$out/wineboot.log" 2>&1 || { echo "$tag: wineboot failed" >&2; return 1; }
  timeout 60 wineserver -w
  # A virtual desktop gives a taskbar with a tray, and fast window hides.
  timeout 30 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$tag" /f >/dev/null 2>&1
  timeout 30 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$tag" /d 1024x768 /f >/dev/null 2>&1
  # A crash prints its backtrace and ends, instead of waiting on a dialog nobody answers.
  timeout 30 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1

  # The designed fonts under Wine: Liberation's faces have Arial's, Times New
  # Roman's and Courier New's metrics; Tahoma, MS Sans Serif and the caption
  # buttons' Marlett are Wine's own (fonts-wine), which this Wine finds only in
  # the prefix's Fonts folder. Without them labels wrap differently and get cut.
  local fonts=/usr/share/wine/fonts f pair
  for f in tahoma.ttf tahomabd.ttf marlett.ttf sserife.fon; do
    if [ -f "$fonts/$f" ]; then
      cp "$fonts/$f" "$WINEPREFIX/drive_c/windows/Fonts/"
    else
      echo "$tag: $fonts/$f is missing (fonts-wine); windows will not look as designed" >&2
    fi
  done
  for pair in 'Arial=Liberation Sans' 'Times New Roman=Liberation Serif' 'Courier New=Liberation Mono'; do
    timeout 30 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /d "${pair#*=}" \
      /f >/dev/null 2>&1
  done
  timeout 60 wineserver -w
}

wine_desktop_stop() {
  timeout 20 wineserver -k 2>/dev/null
  timeout 20 wineserver -w 2>/dev/null
  if [ -n "$WINE_DESKTOP_XVFB_PID" ]; then
    kill "$WINE_DESKTOP_XVFB_PID" 2>/dev/null && wait "$WINE_DESKTOP_XVFB_PID" 2>/dev/null
  fi
  WINE_DESKTOP_XVFB_PID=
  return 0
}
