# Sourced, not run: a fresh Wine prefix on a virtual desktop, on a headless X
# server when no display is set, as the end-to-end tests, the benchmarks and
# the run script all use it; and the choice of Wine's loader for the 64-bit or
# the 32-bit programs.
#
#   . scripts/wine-desktop.sh
#   wine_use_arch x64 "$OUT" || exit 2    # or x86, where 32-bit programs run
#   wine_desktop_start "$OUT" || exit 2   # prefix in $OUT/prefix, logs in $OUT
#   ...                                   # wine runs on the desktop
#   wine_desktop_stop                     # (from the caller's EXIT trap)

WINE_DESKTOP_XVFB_PID=
WINE_DESKTOP_PREFIX=

# Whether the kernel runs 32-bit x86 programs at all: some kernels boot with
# 32-bit emulation off, and then wine32 installs but cannot start. The probe
# is the smallest 32-bit program there is (exit(0) through int 0x80).
kernel_runs_32bit() {
  local probe
  probe=$(mktemp "${TMPDIR:-/tmp}/vantrel-elf32.XXXXXX") || return 1
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  local status=$?
  rm -f "$probe"
  return "$status"
}

# Finds out once whether this machine runs the 32-bit Windows programs, by
# trying Wine's 32-bit loader, and keeps the answer in the environment for the
# scripts it starts: VANTREL_RUNS_32BIT=yes|no, and VANTREL_NO_32BIT_WHY.
wine_check_32bit() {
  [ -n "${VANTREL_RUNS_32BIT:-}" ] && return 0
  local out
  if [ ! -x /usr/lib/wine/wine ]; then
    VANTREL_RUNS_32BIT=no
    if kernel_runs_32bit; then
      VANTREL_NO_32BIT_WHY="wine32 is not installed"
    else
      VANTREL_NO_32BIT_WHY="this kernel runs no 32-bit programs (32-bit emulation is off), so wine32 is not installed"
    fi
  elif out=$(/usr/lib/wine/wine --version 2>&1); then
    VANTREL_RUNS_32BIT=yes
    VANTREL_NO_32BIT_WHY=
  else
    VANTREL_RUNS_32BIT=no
    VANTREL_NO_32BIT_WHY="Wine's 32-bit loader cannot run here: $(printf '%s' "$out" | tail -n 1)"
  fi
  export VANTREL_RUNS_32BIT VANTREL_NO_32BIT_WHY
}

# Makes wine, wineboot, winepath and wine reg use the loader for `arch` (x64:
# Wine's 64-bit loader, which runs wherever Wine does; x86: the 32-bit one).
# The plain `wine` script prefers the 32-bit loader whenever it is installed,
# even where it cannot run, so a two-line `wine` first in PATH decides instead.
# Returns 1, with the reason in WINE_ARCH_WHY, when that loader cannot run.
wine_use_arch() {
  local arch=$1 dir=$2 loader name
  WINE_ARCH_WHY=
  case "$arch" in
    x64)
      loader=/usr/lib/wine/wine64
      [ -x "$loader" ] || { WINE_ARCH_WHY="$loader is missing (install wine64)"; return 1; }
      export WINELOADER=$loader
      ;;
    x86)
      wine_check_32bit
      [ "$VANTREL_RUNS_32BIT" = yes ] || { WINE_ARCH_WHY=$VANTREL_NO_32BIT_WHY; return 1; }
      loader=/usr/lib/wine/wine
      unset WINELOADER
      ;;
    *) WINE_ARCH_WHY="unknown architecture $arch"; return 1 ;;
  esac
  mkdir -p "$dir/bin"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$dir/bin/$name"
    chmod +x "$dir/bin/$name"
  done
  export PATH="$dir/bin:$PATH"
}

# The last line of a log that says something, for a one-line failure report.
wine_log_reason() {
  local reason
  reason=$(grep -v '^[[:space:]]*$' "$1" 2>/dev/null | tail -n 1)
  printf '%s' "${reason:-the log is empty}"
}

wine_desktop_start() {
  local out=$1 tag=${2:-vantrel} status=0
  # Failures are checked where they matter and said in one line; the callers'
  # `set -e` must not end the set-up silently halfway.
  local -
  set +e
  mkdir -p "$out"
  export WINEPREFIX=$out/prefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompts
  rm -rf "$WINEPREFIX"
  WINE_DESKTOP_PREFIX=$WINEPREFIX

  if [ -z "${DISPLAY:-}" ]; then
    command -v Xvfb >/dev/null || { echo "$tag: no DISPLAY and no Xvfb (install xvfb)" >&2; return 1; }
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$out/display.txt" 2>"$out/xvfb.log" &
    WINE_DESKTOP_XVFB_PID=$!
    for _ in $(seq 100); do [ -s "$out/display.txt" ] && break; sleep 0.1; done
    if [ ! -s "$out/display.txt" ]; then
      echo "$tag: Xvfb did not start: $(wine_log_reason "$out/xvfb.log") (log: $out/xvfb.log)" >&2
      return 1
    fi
    export DISPLAY=:$(head -n1 "$out/display.txt")
  fi

  timeout 120 wineboot --init >"$out/wineboot.log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    local reason
    if [ "$status" -eq 124 ]; then reason="no answer in 120 s"; else reason=$(wine_log_reason "$out/wineboot.log"); fi
    echo "$tag: wineboot failed: $reason (log: $out/wineboot.log)" >&2
    return 1
  fi
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

# Ends everything the desktop started. Every step runs whatever the one before
# it did, also under `set -e` (where a trap would otherwise stop at the first
# failing command and leave Xvfb running).
wine_desktop_stop() {
  local -
  set +e
  if [ -n "$WINE_DESKTOP_PREFIX" ] && [ -d "$WINE_DESKTOP_PREFIX" ]; then
    WINEPREFIX=$WINE_DESKTOP_PREFIX timeout 20 wineserver -k >/dev/null 2>&1
    WINEPREFIX=$WINE_DESKTOP_PREFIX timeout 20 wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$WINE_DESKTOP_XVFB_PID" ]; then
    kill "$WINE_DESKTOP_XVFB_PID" 2>/dev/null
    wait "$WINE_DESKTOP_XVFB_PID" 2>/dev/null
  fi
  WINE_DESKTOP_XVFB_PID=
  WINE_DESKTOP_PREFIX=
  return 0
}
