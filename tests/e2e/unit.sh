#!/usr/bin/env bash
# A button and an edit clicked onto a new form and double-clicked: each gets the handler of its
# default event, named as Delphi names it, which the inspector shows. Generate Unit As then writes a unit a Delphi user can
# compile: the form's own class, a field per component, the handlers, the controls' units.
#   unit.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo; kvform is taken from the same folder)
source "$(dirname "$0")/lib.bash"

demo="${1:-$KV_BIN_DIR/kvdemo}"
kvform="$(dirname "$demo")/kvform"
saved="$E2E_ARTIFACTS/unit-saved"
rm -rf "$saved"
mkdir -p "$saved"

e2e_start "$demo" --new-form --dump "$E2E_DUMP"
designer="$(wait_window 'KvFormDesigner1')"
design_origins

insert_button 40 40
wait_design '^Button1 TButton Form1 ' >/dev/null
read -r x y < <(palette_button 3)  # TEdit
xdotool mousemove --sync "$x" "$y" click 1
read -r x y < <(at 40 100)
xdotool mousemove --sync "$x" "$y" click 1
settle
wait_design '^Edit1 TEdit Form1 ' >/dev/null

# double_click NAME: a double click in the middle of the control.
double_click() {
  local l t w h
  read -r _ _ _ l t w h < <(wait_design "^$1 ")
  read -r x y < <(at $((l + w / 2)) $((t + h / 2)))
  xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 80 1
  settle
}
# shown_row NAME VALUE: the inspector's current row is NAME, showing VALUE.
shown_row() {
  local row
  row="$(wait_design "^row [0-9]+ $1 = $2\$" | awk '{print $2}')"
  wait_design "^inspector [0-9]+ [0-9]+ [0-9]+ $row " >/dev/null
}
double_click Button1
shown_row OnClick Button1Click
double_click Edit1
shown_row OnChange Edit1Change
shot "1-double-clicked"

# --- File > Generate Unit As..., given the unit's name.
xdotool windowfocus --sync "$designer"
xdotool key --window "$designer" alt+f
sleep 0.3
xdotool key g
sleep 1
xdotool key ctrl+a
xdotool type "$saved/Unit1.pas"
xdotool key Return
for ((i = 0; i < 50; i++)); do
  [[ -s "$saved/Unit1.dfm" && -s "$saved/Unit1.pas" ]] && break
  sleep 0.1
done
[[ -s "$saved/Unit1.pas" ]] || fail "no unit saved"
shot "2-saved"
e2e_stop

unit="$(tr -d '\r' <"$saved/Unit1.pas")"
text="$("$kvform" totext "$saved/Unit1.dfm" | tr -d '\r')" || fail "kvform totext failed"
printf '%s\n' "$unit" "$text" >"$E2E_ARTIFACTS/unit-saved.txt"
has() { grep -qxF -- "$2" <<<"$1" || fail "missing line: $2"; }
has "$unit" '  TForm1 = class(TForm)'
has "$unit" '    Button1: TButton;'
has "$unit" '    Edit1: TEdit;'
has "$unit" '    procedure Button1Click(Sender: TObject);'
has "$unit" '    procedure Edit1Change(Sender: TObject);'
has "$unit" '  Form1: TForm1;'
has "$unit" 'procedure TForm1.Button1Click(Sender: TObject);'
has "$unit" 'procedure TForm1.Edit1Change(Sender: TObject);'
grep -qE '^  .*\bStdCtrls\b' <<<"$unit" || fail "the uses clause lacks StdCtrls"
has "$text" 'object Form1: TForm1'
has "$text" '    OnClick = Button1Click'
has "$text" '    OnChange = Edit1Change'
echo "ok"
