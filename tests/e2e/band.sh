#!/usr/bin/env bash
# The first rubber band after another window had the input: three buttons on a new form, a
# click on the palette's pointer, then a band over empty space selects nothing and leaves no
# frame behind.
#   band.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo)
source "$(dirname "$0")/lib.bash"

e2e_start "${1:-$KV_BIN_DIR/kvdemo}" --new-form --dump "$E2E_DUMP"
wait_window '^Form1$' >/dev/null
design_origins

insert_button 16 16
insert_button 16 48
insert_button 16 80
wait_design '^Button3 TButton Form1 16 80 75 25 selected$' >/dev/null

read -r x y < <(palette_pointer)
xdotool mousemove --sync "$x" "$y" click 1
sleep 0.5
shot "0-before"
band 480 360 680 500
sleep 0.5
shot "1-band"
expect_eq "controls selected by a band over empty space" 0 "$(count ' selected$')"
# Below the buttons, from the form's left edge to past the press point: the band is gone.
same_area "band erased" 0-before 1-band 0 120 490 250

# The second band, over the buttons, takes all three.
band 4 4 40 100
wait_design '^Button1 .* selected$' >/dev/null
expect_eq "controls selected by a band over the buttons" 3 "$(count ' selected$')"

quit_without_saving "2-save-prompt"
echo "ok"
