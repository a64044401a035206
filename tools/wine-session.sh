# Sourced by the run and test commands: a private Wine prefix under build/, and optionally a
# private Xvfb, started and stopped together so that no Wine or X process outlives the caller.

root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
wine_xvfb_pid=""

# Starts Xvfb on the first free display number from 90 on, whatever DISPLAY the caller has.
start_private_xvfb() {
  local n
  for n in $(seq 90 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$root/build/xvfb.log" 2>&1 &
    wine_xvfb_pid=$!
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$wine_xvfb_pid" 2>/dev/null || break
      sleep 0.05
    done
    kill "$wine_xvfb_pid" 2>/dev/null || true
    wine_xvfb_pid=""
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

wine_reg_add() {
  "$WINE" reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1
}

# Creates the prefix once (serially: concurrent first use fails) and keeps one wineserver
# alive for the whole session, since a cold one costs seconds per process. With the
# argument "caller-display" the caller's DISPLAY is used instead of a private Xvfb; with
# "null-driver" there is no display at all (Wine's null graphics driver), for runs that
# show no window.
start_wine_session() {
  local mode=${1:-private-xvfb}
  local driver=x11
  mkdir -p "$root/build"
  "$WINESERVER" -k >/dev/null 2>&1 || true
  case "$mode" in
    caller-display) ;;
    null-driver) driver=null; unset DISPLAY ;;
    *) start_private_xvfb ;;
  esac
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINE" wineboot -i >"$root/build/wineboot.log" 2>&1
  fi
  # The graphics driver is chosen when the wineserver's desktop is made: start afresh.
  wine_reg_add 'HKCU\Software\Wine\Drivers' Graphics REG_SZ "$driver"
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  "$WINESERVER" -p
  # The first program of a wineserver starts Wine's services, which keep the standard
  # output they inherit: started here, they hold no pipe of a caller (ctest) open.
  wine_reg_add 'HKCU\Software\Wine\WineDbg' ShowCrashDialog REG_DWORD 0
  wine_reg_add 'HKCU\Software\Wine\X11 Driver' Managed REG_SZ N
}

stop_wine_session() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$wine_xvfb_pid" ]; then
    kill "$wine_xvfb_pid" 2>/dev/null || true
    wait "$wine_xvfb_pid" 2>/dev/null || true
    wine_xvfb_pid=""
  fi
}
