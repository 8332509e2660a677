#!/usr/bin/env bash
# The image list editor driven by the mouse: a form file's TImageList icon double-clicked, a
# two-image bitmap (its bottom-left pixel white: transparent) added through Add... and the file
# dialog, OK, Save File; the saved form file holds both images.
#   imagelist.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo; kvform is taken from the same folder)
source "$(dirname "$0")/lib.bash"

demo="${1:-$KV_BIN_DIR/kvdemo}"
kvform="$(dirname "$demo")/kvform"
dir="$E2E_ARTIFACTS/imagelist"
rm -rf "$dir"
mkdir -p "$dir"
cat >"$dir/Images.txt" <<'FORM'
object Form1: TForm1
  Left = 300
  Top = 260
  Width = 320
  Height = 240
  Caption = 'Form1'
  object ImageList1: TImageList
    Left = 40
    Top = 40
  end
end
FORM
"$kvform" tobinary "$dir/Images.txt" "$dir/Images.dfm" || fail "kvform tobinary failed"
convert -size 32x16 xc:red -fill blue -draw 'rectangle 16,0 31,15' -fill white -draw 'point 0,15' "BMP3:$dir/two.bmp" || fail "no bitmap made"

e2e_start "$demo" --open "$dir/Images.dfm" --dump "$E2E_DUMP"
designer="$(wait_window 'KvFormDesigner1')"
wait_window '^Form1$' >/dev/null
read -r _ _ fx fy _ _ < <(wait_design '^form Form1 ')
wait_design '^ImageList1 TImageList - 40 40 ' >/dev/null

read -r x y < <(at 54 54)
xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 80 1
w="$(wait_window '^Form1\.ImageList1 ImageList$')"
read -r wx wy _ _ < <(geometry "$w")
shot "0-editor"
xdotool mousemove --sync $((wx + 157)) $((wy + 36)) click 1  # Add...
sleep 1
xdotool key ctrl+a
xdotool type "$dir/two.bmp"
xdotool key Return
sleep 1
shot "1-added"
xdotool mousemove --sync $((wx + 313)) $((wy + 252)) click 1  # OK
sleep 0.5

xdotool windowfocus --sync "$designer"
xdotool key --window "$designer" ctrl+s
for ((i = 0; i < 50; i++)); do
  text="$("$kvform" totext "$dir/Images.dfm" 2>/dev/null || true)"
  grep -q 'Bitmap = {' <<<"$text" && break
  sleep 0.1
done
printf '%s\n' "$text" >"$dir/saved.txt"
grep -q 'Bitmap = {' <<<"$text" || fail "the saved form holds no images"
# The stream's header: "IL", version 0x0101, two images.
header="$(grep -A1 'Bitmap = {' <<<"$text" | tail -1 | tr -d ' ' | cut -c1-12)"
expect_eq "the image list stream's header" "494C01010200" "$header"
shot "2-saved"
quit_saved
echo "ok"
