# Shared helpers of the end-to-end scripts: a private Xvfb, kvdemo on it, window lookups and
# screenshots kept as artifacts. Source it, then call e2e_start.
set -euo pipefail

E2E_ARTIFACTS="${E2E_ARTIFACTS:-$PWD/e2e-artifacts}"
mkdir -p "$E2E_ARTIFACTS"
# kvdemo's output (its --report lines included), one file per script: scripts run in parallel.
E2E_LOG="$E2E_ARTIFACTS/$(basename "$0" .sh)-kvdemo.log"

fail() {
  printf 'FAIL: %s\n' "$*" >&2
  [[ -s "$E2E_LOG" ]] && { echo "--- the end of $E2E_LOG:" >&2; grep -v '^row ' "$E2E_LOG" | tail -15 >&2; }
  [[ -n "${E2E_DISPLAY:-}" ]] && shot "failure"
  exit 1
}

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
  # The user's data (recovery copies of designs) in a folder of this run, unless the script
  # keeps one across runs of kvdemo.
  if [[ -z "${E2E_DATA_HOME:-}" ]]; then
    E2E_DATA_HOME="$(mktemp -d)"
    E2E_OWN_DATA=1
  fi
  export XDG_DATA_HOME="$E2E_DATA_HOME"
  : >"$E2E_LOG"
  e2e_launch "$demo" "$@"
}

# e2e_launch KVDEMO ARGS...: kvdemo (again) on the display of e2e_start.
e2e_launch() {
  local demo="$1"; shift
  # Under AddressSanitizer, libxkbcommon-x11 reads a whole X reply through strndup; the
  # interceptor takes that for an overflow of the system library.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_strndup=0" \
    QT_QPA_PLATFORM=xcb "$demo" "$@" >>"$E2E_LOG" 2>&1 &
  E2E_DEMO=$!
}

e2e_stop() {
  kill "${E2E_DEMO:-0}" 2>/dev/null || true
  kill "${E2E_XVFB:-0}" 2>/dev/null || true
  wait 2>/dev/null || true
  [[ -n "${E2E_OWN_DATA:-}" ]] && rm -rf "$E2E_DATA_HOME"
  return 0
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

# stacked_above WHAT A B: window A lies above window B. There is no window manager: the
# windows are the root's children, which xwininfo lists from the top down.
stacked_above() {
  local order a b
  order="$(xwininfo -root -children | grep -oE '^ +0x[0-9a-f]+' | tr -d ' ')"
  a="$(grep -n -x "$(printf '0x%x' "$2")" <<<"$order" | cut -d: -f1)"
  b="$(grep -n -x "$(printf '0x%x' "$3")" <<<"$order" | cut -d: -f1)"
  [[ -n "$a" && -n "$b" ]] || fail "$1: windows $2 and $3 are not both on the screen"
  ((a < b)) || fail "$1: window $2 lies below window $3"
}

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

# quit_without_saving SHOT: File > Exit on the host; the save prompt (the first kept as SHOT),
# answered No for every modified design, must let kvdemo end.
quit_without_saving() {
  local confirm i
  host_menu f x
  confirm="$(wait_window '^Confirm$')"
  shot "$1"
  for ((i = 0; i < 50; i++)); do
    kill -0 "$E2E_DEMO" 2>/dev/null || break
    confirm="$(xdotool search --onlyvisible --name '^Confirm$' 2>/dev/null | head -1 || true)"
    if [[ -n "$confirm" ]]; then
      xdotool windowfocus --sync "$confirm" 2>/dev/null && xdotool key alt+n || true
    fi
    sleep 0.1
  done
  kill -0 "$E2E_DEMO" 2>/dev/null && fail "kvdemo still running after No in the save prompts"
  return 0
}

# quit_saved: File > Exit on the host when every design is saved: kvdemo ends without a prompt.
quit_saved() {
  local i
  host_menu f x
  for ((i = 0; i < 50; i++)); do
    kill -0 "$E2E_DEMO" 2>/dev/null || return 0
    sleep 0.1
  done
  fail "kvdemo still running after File > Exit with every design saved"
}

# ---------------------------------------------------------------- the design dump
# kvdemo --dump FILE keeps FILE describing the current design (see demo/kvdemo.cpp).
E2E_DUMP="$E2E_ARTIFACTS/$(basename "$0" .sh)-design.txt"
rm -f "$E2E_DUMP"

# wait_design REGEX: waits up to 5 s for a line of the dump that matches; prints it.
wait_design() {
  local i
  for ((i = 0; i < 50; i++)); do
    if [[ -s "$E2E_DUMP" ]] && grep -E -m1 "$1" "$E2E_DUMP"; then return 0; fi
    sleep 0.1
  done
  [[ -s "$E2E_DUMP" ]] && cat "$E2E_DUMP" >&2
  fail "the design shows no line /$1/"
}
# count REGEX: how many lines of the dump match.
count() { grep -c -E "$1" "$E2E_DUMP" || true; }
# The engine reads the pointer's position when it handles an event, not the event's own: a
# press must be handled before the pointer moves on, so the gestures pause after each step.
settle() { sleep 0.2; }

# design_origins: the palette page's and the form client's screen origins into px py fx fy.
design_origins() {
  read -r _ px py < <(wait_design '^palette ')
  read -r _ _ fx fy _ _ < <(wait_design '^form ')
}
# Form-client point to the screen.
at() { echo "$((fx + $1)) $((fy + $2))"; }
# The palette's class button k (0 = first after the pointer and the scroll buttons).
palette_button() { echo "$((px + 50 + 28 * $1 + 14)) $((py + 14))"; }
palette_pointer() { echo "$((px + 18)) $((py + 14))"; }
# TButton is the sixth class of the Standard page, the page shown first.
choose_button() {
  read -r x y < <(palette_button 5)
  xdotool mousemove --sync "$x" "$y" click 1
}
# insert_button X Y: a button chosen on the palette and clicked onto the form at client X Y.
insert_button() {
  choose_button
  read -r x y < <(at "$1" "$2")
  xdotool mousemove --sync "$x" "$y" click 1
  settle
}
# band X1 Y1 X2 Y2: a rubber band dragged over the form client from one point to the other.
band() {
  read -r x y < <(at "$1" "$2")
  xdotool mousemove --sync "$x" "$y" mousedown 1
  settle
  read -r x y < <(at "$(( ($1 + $3) / 2 ))" "$(( ($2 + $4) / 2 ))")
  xdotool mousemove --sync "$x" "$y"
  settle
  read -r x y < <(at "$3" "$4")
  xdotool mousemove --sync "$x" "$y"
  settle
  xdotool mouseup 1
}

# same_area WHAT SHOT1 SHOT2 X Y W H: the two screenshots agree pixel for pixel on that
# form-client rectangle (nothing left behind by handles or the band).
same_area() {
  local what="$1" name a b crop diff
  name="$(basename "$0" .sh)"
  a="$E2E_ARTIFACTS/$name-$2.png" b="$E2E_ARTIFACTS/$name-$3.png"
  crop="$6x$7+$((fx + $4))+$((fy + $5))"
  convert "$a" -crop "$crop" +repage "$E2E_ARTIFACTS/crop-a.png"
  convert "$b" -crop "$crop" +repage "$E2E_ARTIFACTS/crop-b.png"
  diff="$(compare -metric AE "$E2E_ARTIFACTS/crop-a.png" "$E2E_ARTIFACTS/crop-b.png" null: 2>&1 || true)"
  rm -f "$E2E_ARTIFACTS/crop-a.png" "$E2E_ARTIFACTS/crop-b.png"
  expect_eq "$what: pixels differing from $2" 0 "$diff"
}

# close_window ID: asks a window to close as a window manager's close button does (there is no
# window manager here): a WM_DELETE_WINDOW client message, sent through libX11.
close_window() {
  python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
x.XFlush.argtypes = x.XCloseDisplay.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(None)
window = int(sys.argv[1])
e = Event()
e.xclient.type = 33  # ClientMessage
e.xclient.window = window
e.xclient.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
e.xclient.format = 32
e.xclient.data[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(d, window, 0, 0, ctypes.byref(e))
x.XFlush(d)
x.XCloseDisplay(d)
PY
}
