# shellcheck shell=bash
# Sourced by tools/test, tools/run, tools/screenshots, tools/measure-startup and
# tools/lib/check-call-order: a private X display and a private, prepared Wine
# prefix with Wine's own fonts, torn down on exit.
#   wine_env_start [--own-display] [--stand-in-joystick WINMM_DLL]
#     --own-display: always start a private Xvfb
#     --stand-in-joystick: programs named InputConfig.exe get WINMM_DLL, the end-to-end
#       tests' stand-in, as their winmm; without it every program keeps Wine's own

wine_env_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine_env_xvfb_pid=""
wine_env_tmp=""

# Sets WINESERVER to the wineserver that these scripts run themselves: -p to
# start the prefix's server and keep it up between programs, -k and -w to stop
# it. Wine does not run that one: when the prefix has no server, wine starts the
# wineserver of its own folder (on Debian 12 /usr/lib/wine/wineserver, beside
# wine64), and turns to WINESERVER only if that fails. Both reach the same
# server, through the prefix's socket, when they come from the same Wine, as
# the one on the PATH does, or else the one that package wine64 (the 64-bit
# wine the scripts run) puts under /usr/lib/<tuple>/wine/, where newer packages
# keep it off the PATH. An i386 server there would not serve a 64-bit prefix.
# The path is made absolute, so that it still runs after a cd.
wine_env_find_server() {
  local server
  server=$(command -v wineserver) ||
    server=$(dpkg-query -L wine64 2>/dev/null | grep -m1 -x '/usr/lib/[^/]*/wine/wineserver')
  if [ -z "$server" ] || [ ! -x "$server" ]; then
    if [ "$(dpkg-query -W -f='${db:Status-Status}' wine64 2>/dev/null)" != installed ]; then
      echo "no wineserver: none on the PATH, and package wine64 is not installed." >&2
      echo "Install the packages wine and wine64 (as root: apt-get install wine wine64)." >&2
    else
      echo "no wineserver: none on the PATH, and package wine64 has none in /usr/lib/<tuple>/wine/." >&2
      echo "Install or reinstall the packages wine and wine64 (as root: apt-get install --reinstall wine wine64)." >&2
    fi
    return 1
  fi
  case $server in
    /*) ;;
    *) server=$PWD/$server ;;
  esac
  export WINESERVER=$server
}

wine_env_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    if [ -n "${WINESERVER:-}" ] || wine_env_find_server; then
      "$WINESERVER" -k 2>/dev/null || true
      timeout 10 "$WINESERVER" -w 2>/dev/null || true
    else
      echo "could not stop the Wine server of $WINEPREFIX" >&2
    fi
  fi
  if [ -n "$wine_env_xvfb_pid" ]; then
    kill "$wine_env_xvfb_pid" 2>/dev/null || true
    wait "$wine_env_xvfb_pid" 2>/dev/null || true
  fi
  [ -n "$wine_env_tmp" ] && rm -rf "$wine_env_tmp"
}

# Waits up to $1 seconds for the command that follows to succeed.
wine_env_wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

wine_env_start_xvfb() {
  wine_env_tmp=$(mktemp -d)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$wine_env_tmp/display" 2>"$wine_env_tmp/xvfb.log" &
  wine_env_xvfb_pid=$!
  if ! wine_env_wait_for 20 test -s "$wine_env_tmp/display"; then
    echo "Xvfb did not start:" >&2; cat "$wine_env_tmp/xvfb.log" >&2; return 1
  fi
  DISPLAY=":$(head -n1 "$wine_env_tmp/display")"
  export DISPLAY
  wine_env_wait_for 20 xdpyinfo || { echo "display $DISPLAY does not answer" >&2; return 1; }
}

# Wine draws with substitute faces unless its own fonts are in the prefix (it does
# not look in the folder the package installs them to): the close box then shows
# "r" instead of a cross and labels no longer fit. Real font files, not
# substitution entries, so that every run in this prefix draws the true faces.
# Done on every start, so that an older prefix gets them too.
wine_env_install_fonts() {
  local fonts=/usr/share/wine/fonts
  [ -f "$fonts/marlett.ttf" ] || { echo "Wine's fonts are missing from $fonts (package fonts-wine)" >&2; return 1; }
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -pu "$fonts"/*.ttf "$fonts"/*.fon "$WINEPREFIX/drive_c/windows/Fonts/"
}

# Settings every run relies on: no window-manager waits, no crash dialogs, and
# the joystick DLL. The stand-in goes where the program loads winmm from, the
# system folder, and only programs of the program's file name are told to load
# it from there: a copy under another name, and every other program, keep
# Wine's own. Applied on every start, so that a rebuilt stand-in is never left
# stale and an older prefix loses its prefix-wide override, which let a
# winmm.dll beside any program be loaded into it.
#   wine_env_apply_settings STAND_IN   (empty: Wine's own winmm for every program)
wine_env_apply_settings() {
  local stand_in=$1 reg="$WINEPREFIX/inputconfig.reg" override=-
  if [ -n "$stand_in" ]; then
    cp "$stand_in" "$WINEPREFIX/drive_c/windows/system32/winmm.dll" || return 1
    override='"native"'
  fi
  cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winmm"=-

[HKEY_CURRENT_USER\Software\Wine\AppDefaults\InputConfig.exe\DllOverrides]
"winmm"=$override
REG
  timeout 120 wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1
}

wine_env_start() {
  local own_display=false stand_in=""
  while [ $# -gt 0 ]; do
    case $1 in
      --own-display) own_display=true ;;
      --stand-in-joystick) stand_in=$2; shift ;;
      *) echo "wine_env_start: unknown option $1" >&2; return 1 ;;
    esac
    shift
  done
  wine_env_find_server || return 1
  export WINEPREFIX=${INPUTCONFIG_WINEPREFIX:-$wine_env_repo/build/wineprefix}
  export WINEDEBUG=-all WINEARCH=win64
  trap wine_env_stop EXIT
  if $own_display || [ -z "${DISPLAY:-}" ]; then
    wine_env_start_xvfb || return 1
  fi
  if [ ! -f "$WINEPREFIX/.inputconfig-ready" ]; then
    mkdir -p "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=" timeout 300 wineboot -i >/dev/null 2>&1 && "$WINESERVER" -w || {
      echo "could not create the Wine prefix $WINEPREFIX" >&2; return 1; }
    # Before any service starts, so that all of them see the settings.
    wine_env_apply_settings "$stand_in" && "$WINESERVER" -w ||
      { echo "could not prepare the Wine prefix" >&2; return 1; }
    touch "$WINEPREFIX/.inputconfig-ready"
  fi
  wine_env_install_fonts || return 1
  # Exit status 2: a server of this prefix runs already, such as one left by a
  # run that was killed, and that one serves.
  "$WINESERVER" -p || [ $? -eq 2 ] || return 1
  # Start Wine's background services now, detached from our output: started by
  # a test under CTest they would hold its pipe open and CTest would never end.
  timeout 120 wine wineboot </dev/null >/dev/null 2>&1
  wine_env_apply_settings "$stand_in" || { echo "could not apply the settings to the Wine prefix" >&2; return 1; }
}

# Clicks the point (X, Y) of a main window's client area; WINDOW is its X window,
# which holds Wine's frame, caption and client edge around the client area.
wine_env_click_client() {
  xdotool mousemove --window "$1" $((5 + $2)) $((24 + $3)) click 1
}
