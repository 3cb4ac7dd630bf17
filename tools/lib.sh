# shellcheck shell=bash
# Sourced by tools/ and the Windows tests: a private display and Wine prefix,
# the program's windows, and its signature.
lib_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The centre of each button in the program's client area (main_window.cpp), x y.
readonly ok_button="235 362" cancel_button="325 362" axis_button="340 41"
# at_exit FUNCTION: runs FUNCTION when the shell exits, after those added before.
exit_functions=()
at_exit() { exit_functions+=("$1") && trap run_exit_functions EXIT; }
run_exit_functions() { local f; for f in "${exit_functions[@]}"; do "$f" || true; done; }
# wait_for SECONDS COMMAND...: waits up to SECONDS for COMMAND to succeed.
wait_for() {
  local deadline=$((SECONDS + $1)) && shift
  until "$@" >/dev/null 2>&1; do [ "$SECONDS" -lt "$deadline" ] && sleep 0.1 || return 1; done
}
# The wineserver on the PATH, or else package wine64's, which newer packages
# keep off the PATH: the one wine reaches through the prefix's socket.
wine_find_server() {
  local server && server=$(command -v wineserver || dpkg-query -L wine64 | grep -m1 -x '/usr/lib/[^/]*/wine/wineserver') &&
    WINESERVER=$(realpath "$server") && export WINESERVER || { echo "no wineserver: install the packages wine and wine64" >&2; return 1; }
}
# On every start, so that nothing is left stale: no window manager, no crash
# dialogs, Wine's own fonts (else it draws substitutes), and the stand-in
# joystick, if given, as winmm of programs named InputConfig.exe only.
wine_apply_settings() {
  local stand_in=$1 override=- reg=$WINEPREFIX/inputconfig.reg
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -pu /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" ||
    { echo "Wine's fonts are missing (package fonts-wine)" >&2; return 1; }
  [ -z "$stand_in" ] || { cp "$stand_in" "$WINEPREFIX/drive_c/windows/system32/winmm.dll" && override='"native"'; }
  printf '%s\n' REGEDIT4 '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' \
    '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' \
    '[HKEY_CURRENT_USER\Software\Wine\DllOverrides]' '"winmm"=-' \
    '[HKEY_CURRENT_USER\Software\Wine\AppDefaults\InputConfig.exe\DllOverrides]' "\"winmm\"=$override" >"$reg"
  timeout 120 wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1
}
# wine_up STATE [STAND_IN]: a private display, recorded in the folder STATE, and the prefix (made
# if new) with its server, which CTest would wait for if they held its output. wine_use STATE gives
# a shell that display and prefix.
wine_up() {
  local state=$1 stand_in=${2:-}
  mkdir -p "$state" && wine_find_server
  export WINEPREFIX=${INPUTCONFIG_WINEPREFIX:-$lib_repo/build/wineprefix} WINEDEBUG=-all WINEARCH=win64
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 &
  echo $! >"$state/xvfb.pid"
  wait_for 20 test -s "$state/display" || { echo "Xvfb did not start: $(cat "$state/xvfb.log")" >&2; return 1; }
  printf 'DISPLAY=:%s\nWINEPREFIX=%s\nWINESERVER=%s\n' "$(head -n1 "$state/display")" "$WINEPREFIX" \
    "$WINESERVER" >"$state/environment"
  wine_use "$state"
  wait_for 20 xdpyinfo || { echo "display $DISPLAY does not answer" >&2; return 1; }
  if [ ! -f "$WINEPREFIX/.inputconfig-ready" ]; then
    mkdir -p "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=" timeout 300 wineboot -i </dev/null >/dev/null 2>&1 && "$WINESERVER" -w &&
      wine_apply_settings "$stand_in" && "$WINESERVER" -w && touch "$WINEPREFIX/.inputconfig-ready" ||
      { echo "could not create the Wine prefix $WINEPREFIX" >&2; return 1; }
  fi
  wine_serve || { echo "could not start the server of $WINEPREFIX and Wine's services" >&2; return 1; }
  wine_apply_settings "$stand_in" || { echo "could not apply the settings to $WINEPREFIX" >&2; return 1; }
}
# wine_serve [COMMAND...]: the prefix's server, kept up, and Wine's services, started through COMMAND
# (setpriv, say), none holding the caller's output. Status 2: a server left by a killed run serves.
wine_serve() {
  "$@" "$WINESERVER" -p </dev/null >/dev/null 2>&1 || [ $? -eq 2 ] || return 1
  "$@" timeout 120 wine wineboot </dev/null >/dev/null 2>&1
}
wine_use() {
  local line && while IFS= read -r line; do export "${line?}"; done <"$1/environment"
  export WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win64
}
# wine_down STATE: stops the prefix's server and the display that wine_up started.
wine_down() {
  [ ! -f "$1/environment" ] || { wine_use "$1" && "$WINESERVER" -k; timeout 10 "$WINESERVER" -w; } 2>/dev/null || true
  [ ! -f "$1/xvfb.pid" ] || kill "$(cat "$1/xvfb.pid")" 2>/dev/null || true
  rm -f "$1/environment" "$1/xvfb.pid" "$1/display"
}
# window NAME: waits up to 60 s for a visible window titled NAME, prints its id.
window() {
  wait_for 60 xdotool search --onlyvisible --name "^$1\$" && xdotool search --onlyvisible --name "^$1\$" | head -n1 ||
    { echo "no window \"$1\" within 60 s" >&2; return 1; }
}
window_absent() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null; }
process_ended() { ! kill -0 "$1" 2>/dev/null; }
# click WINDOW "X Y": that point of its client area, inside Wine's frame and caption.
click() { xdotool mousemove --window "$1" $((5 + ${2% *})) $((24 + ${2#* })) click 1; }
# close_window WINDOW NAME: Alt+F4, as its close box, then waits until it is gone.
close_window() {
  xdotool windowfocus --sync "$1" key alt+F4 && wait_for 20 window_absent "$2" || { echo "\"$2\" did not close" >&2; return 1; }
}
# signature_problem FILE: fails saying what is wrong with FILE's Authenticode signature, whose
# digest must be FILE's. Trusting no root, osslsigncode fails on trust but prints both digests;
# without -CAfile, 2.14 prints nothing where the system has no roots.
signature_problem() {
  local report current calculated
  report=$(LC_ALL=C osslsigncode verify -CAfile /dev/null -in "$1" 2>&1) || true
  current=$(sed -n 's/^Current message digest *: *\([0-9A-Fa-f]\{1,\}\).*/\1/p' <<<"$report" | head -n1)
  calculated=$(sed -n 's/^Calculated message digest *: *\([0-9A-Fa-f]\{1,\}\).*/\1/p' <<<"$report" | head -n1)
  [ -n "$current" ] && [ -n "$calculated" ] || { echo "carries no Authenticode signature that osslsigncode can read"; return 1; }
  [ "$current" = "$calculated" ] ||
    { echo "has a broken signature: it was made for a file whose digest is $current, and this file's is $calculated"; return 1; }
}
# removal_gives SIGNED UNSIGNED: SIGNED without its signature (left in SIGNED.removed) is UNSIGNED.
removal_gives() { rm -f "$1.removed" && osslsigncode remove-signature -in "$1" -out "$1.removed" >/dev/null 2>&1 && cmp -s "$1.removed" "$2"; }
# attaching_gives SIGNATURE UNSIGNED SIGNED: the detached SIGNATURE on UNSIGNED (in SIGNED.attached) is SIGNED,
# by its bytes: osslsigncode 2.5 fails an untrusted result that it writes, and 2.14 takes no -CAfile here.
attaching_gives() {
  rm -f "$3.attached" && { osslsigncode attach-signature -sigin "$1" -in "$2" -out "$3.attached" >/dev/null 2>&1 || true; } &&
    cmp -s "$3.attached" "$3"
}
