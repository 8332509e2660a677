# Shared helpers of the end-to-end scripts: a private Xvfb, kvdemo on it, window lookups and
# screenshots kept as artifacts. Source it, then call e2e_start.
set -euo pipefail

E2E_ARTIFACTS="${E2E_ARTIFACTS:-$PWD/e2e-artifacts}"
mkdir -p "$E2E_ARTIFACTS"

fail() { printf 'FAIL: %s\n' "$*" >&2; [[ -n "${E2E_DISPLAY:-}" ]] && shot "failure"; exit 1; }

# e2e_start KVDEMO ARGS...: Xvfb on a display it picks itself (no race with other runs), and
# kvdemo on it.
e2e_start() {
  local demo="$1"; shift
  local fdfile="$E2E_ARTIFACTS/display.$$"
  rm -f "$fdfile"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  E2E_XVFB=$!
  trap e2e_stop EXIT
  local i
  for ((i = 0; i < 100; i++)); do
    [[ -s "$fdfile" ]] && break
    kill -0 "$E2E_XVFB" 2>/dev/null || fail "Xvfb did not start"
    sleep 0.1
  done
  [[ -s "$fdfile" ]] || fail "Xvfb did not report its display"
  E2E_DISPLAY=":$(tr -dc 0-9 <"$fdfile")"
  rm -f "$fdfile"
  export DISPLAY="$E2E_DISPLAY"
  # Under AddressSanitizer, libxkbcommon-x11 reads a whole X reply through strndup; the
  # interceptor takes that for an overflow of the system library.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_strndup=0" \
    QT_QPA_PLATFORM=xcb "$demo" "$@" >"$E2E_ARTIFACTS/kvdemo.log" 2>&1 &
  E2E_DEMO=$!
}

e2e_stop() {
  kill "${E2E_DEMO:-0}" 2>/dev/null || true
  kill "${E2E_XVFB:-0}" 2>/dev/null || true
  wait 2>/dev/null || true
}

# wait_window REGEX: the id of the first visible window whose name matches, waiting up to 15 s.
wait_window() {
  local id i
  for ((i = 0; i < 150; i++)); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)"
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    kill -0 "$E2E_DEMO" 2>/dev/null || fail "kvdemo ended while waiting for a window named /$1/"
    sleep 0.1
  done
  fail "no window named /$1/"
}

window_name() { xdotool getwindowname "$1"; }

# geometry ID: "X Y W H"
geometry() {
  local x y w h
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  x=$X y=$Y w=$WIDTH h=$HEIGHT
  echo "$x $y $w $h"
}

shot() {
  local file="$E2E_ARTIFACTS/$(basename "$0" .sh)-$1.png"
  import -display "$E2E_DISPLAY" -window root "$file" 2>/dev/null && printf 'screenshot: %s\n' "$file" || true
}

expect_eq() {  # expect_eq WHAT EXPECTED ACTUAL
  [[ "$2" == "$3" ]] || fail "$1: expected '$2', got '$3'"
}

# host_menu KEY ITEM: a command of the host window's menu, by its accelerators.
host_menu() {
  local host
  host="$(wait_window '^Korvata Kit demo$')"
  xdotool windowfocus --sync "$host"
  xdotool key --window "$host" "alt+$1"
  sleep 0.3
  xdotool key "$2"
}

# quit_without_saving SHOT: File > Exit on the host; the save prompt (kept as SHOT) answered No
# must let kvdemo end.
quit_without_saving() {
  local confirm i
  host_menu f x
  confirm="$(wait_window '^Confirm$')"
  shot "$1"
  xdotool windowfocus --sync "$confirm"
  xdotool key alt+n
  for ((i = 0; i < 50; i++)); do
    kill -0 "$E2E_DEMO" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$E2E_DEMO" 2>/dev/null && fail "kvdemo still running after No in the save prompt"
  return 0
}
