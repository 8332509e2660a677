#!/usr/bin/env bash
# A page control of a form file designed with the mouse: a click on the second tab shows that
# page (a click where the first page's button was now picks the second page), New Page from the
# context menu and a double click add uniquely named pages, Delete Page takes the last one off,
# and Save File writes the pages.
#   pages.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo; kvform is taken from the same folder)
source "$(dirname "$0")/lib.bash"

demo="${1:-$KV_BIN_DIR/kvdemo}"
kvform="$(dirname "$demo")/kvform"
dir="$E2E_ARTIFACTS/pages"
rm -rf "$dir"
mkdir -p "$dir"
# Tabs 80 wide from x = 2: the first tab's centre is at 42, the second's at 122.
cat >"$dir/Pages.txt" <<'FORM'
object Form1: TForm1
  Left = 300
  Top = 260
  Width = 480
  Height = 360
  Caption = 'Form1'
  object PageControl1: TPageControl
    Left = 8
    Top = 8
    Width = 400
    Height = 240
    ActivePage = TabSheet1
    TabWidth = 80
    object TabSheet1: TTabSheet
      Caption = 'TabSheet1'
      object Button1: TButton
        Left = 8
        Top = 8
        Width = 75
        Height = 25
        Caption = 'Button1'
      end
    end
    object TabSheet2: TTabSheet
      Caption = 'TabSheet2'
    end
  end
end
FORM
"$kvform" tobinary "$dir/Pages.txt" "$dir/Pages.dfm" || fail "kvform tobinary failed"

e2e_start "$demo" --open "$dir/Pages.dfm" --dump "$E2E_DUMP"
designer="$(wait_window 'KvFormDesigner1')"
wait_window '^Form1$' >/dev/null
read -r _ _ fx fy _ _ < <(wait_design '^form Form1 ')
read -r _ _ _ pl pt _ _ < <(wait_design '^PageControl1 ')
read -r _ _ _ sl st _ _ < <(wait_design '^TabSheet1 ')
# The button's centre on the form, through its page and the page control.
bx=$((pl + sl + 8 + 37)) by=$((pt + st + 8 + 12))
tab() { at $((pl + 2 + 80 * $1 + 40)) $((pt + 9)); }
click_at() { xdotool mousemove --sync "$1" "$2" click 1; settle; }
shot "0-opened"

# --- The second tab shows its page: the button's place now belongs to TabSheet2.
read -r x y < <(tab 1)
click_at "$x" "$y"
wait_design '^PageControl1 .* selected$' >/dev/null
read -r x y < <(at "$bx" "$by")
click_at "$x" "$y"
wait_design '^TabSheet2 .* selected$' >/dev/null
shot "1-second-page"
# ... and the first tab brings the button back.
read -r x y < <(tab 0)
click_at "$x" "$y"
read -r x y < <(at "$bx" "$by")
click_at "$x" "$y"
wait_design '^Button1 .* selected$' >/dev/null

# --- New Page, the context menu's first item.
read -r x y < <(tab 0)
xdotool mousemove --sync "$x" "$y" click 3
sleep 0.5
shot "2-context-menu"
xdotool key Down Return
wait_design '^TabSheet3 TTabSheet PageControl1 .* selected$' >/dev/null

# --- A double click on the page control's free tab area adds another.
read -r x y < <(at $((pl + 380)) $((pt + 9)))
xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 80 1
wait_design '^TabSheet4 TTabSheet PageControl1 ' >/dev/null
shot "3-pages-added"

# --- Delete Page (the fourth verb) takes the page shown, TabSheet4.
xdotool mousemove --sync "$x" "$y" click 3
sleep 0.5
xdotool key Down Down Down Down Return
for ((i = 0; i < 50; i++)); do (($(count '^TabSheet4 ') == 0)) && break; sleep 0.1; done
expect_eq "pages after Delete Page" 3 "$(count '^TabSheet[0-9] TTabSheet PageControl1 ')"

# --- Save File writes the pages.
xdotool windowfocus --sync "$designer"
xdotool key --window "$designer" ctrl+s
for ((i = 0; i < 50; i++)); do
  text="$("$kvform" totext "$dir/Pages.dfm" 2>/dev/null || true)"
  grep -q 'object TabSheet3: TTabSheet' <<<"$text" && break
  sleep 0.1
done
printf '%s\n' "$text" >"$dir/saved.txt"
grep -q 'object TabSheet3: TTabSheet' <<<"$text" || fail "the saved form lacks TabSheet3"
grep -q 'TabSheet4' <<<"$text" && fail "the saved form still holds the deleted TabSheet4"

shot "4-saved"
quit_saved
echo "ok"
