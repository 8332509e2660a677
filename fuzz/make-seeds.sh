#!/usr/bin/env bash
# Seeds for the fuzz targets, made from the corpus of real form and resource files (which stays
# where it is): make-seeds.sh KVFORM CORPUS OUT makes OUT/<target>/ for each target.
#   text                 the text forms, and the binary forms as text
#   binary               the binary forms without their resource header
#   resource             the binary forms, and the text forms as framed binary
#   load designer        framed binary forms (designer: the text forms too)
#   kreader              each framed form in collect mode (first byte 0) and apply mode (1, no events)
#   picture view_items   the Data blobs of the forms, with the target's first byte
#   dcr                  the component resource files, 32-bit and 16-bit
set -euo pipefail

kvform="$(realpath "$1")" corpus="$(realpath "$2")" out="$(realpath -m "$3")"
[[ -d "$corpus" ]] || { echo "make-seeds: no corpus at $corpus" >&2; exit 1; }
rm -rf "$out.tmp"
mkdir -p "$out.tmp"/{text,binary,resource,load,designer,kreader,picture,view_items,dcr}
cd "$out.tmp"

# A form stream from its resource header on: the bytes from "TPF0".
bare() { local at; at="$(grep -obUa -m1 TPF0 "$1" | head -n1 | cut -d: -f1)"; tail -c "+$((at + 1))" "$1"; }

# The Data blobs of a text form as files: Picture.Data for picture with first byte 6 (the class
# name is in the data), Glyph/Bitmap.Data with 0 (TBitmap), Icon.Data with 1 (TIcon); Items.Data
# for view_items as a list (0) and as a tree (1).
blobs() {   # blobs <text form> <name>
  LC_ALL=C awk -v name="$2" '
    BEGIN { for (i = 0; i < 256; i++) hex[sprintf("%02X", i)] = i }
    function emit(file, first,   i) {
      printf "%c", first > file
      for (i = 1; i < length(data); i += 2) printf "%c", hex[substr(data, i, 2)] > file
      close(file)
    }
    function done() {
      n++
      if (prop == "Picture") emit("picture/" name "-" n, 6)
      else if (prop == "Glyph" || prop == "Bitmap") emit("picture/" name "-" n, 0)
      else if (prop == "Icon") emit("picture/" name "-" n, 1)
      else if (prop == "Items") { emit("view_items/" name "-" n "-list", 0); emit("view_items/" name "-" n "-tree", 1) }
      prop = ""
    }
    prop != "" { line = toupper($0); gsub(/[ \r\t]/, "", line); end = index(line, "}")
                 data = data (end ? substr(line, 1, end - 1) : line); if (end) done(); next }
    /^ *(Picture|Glyph|Bitmap|Icon|Items)\.Data = \{/ {
      prop = $1; sub(/\..*/, "", prop); data = ""
      rest = toupper(substr($0, index($0, "{") + 1)); gsub(/[ \r\t]/, "", rest); end = index(rest, "}")
      data = end ? substr(rest, 1, end - 1) : rest; if (end) done()
    }' "$1"
}

framed() {   # framed <name> <framed form file>
  cp "$2" "resource/$1"
  cp "$2" "load/$1"
  cp "$2" "designer/$1"
  bare "$2" >"binary/$1"
  { printf '\0'; cat "$2"; } >"kreader/$1-collect"
  { printf '\1\0'; cat "$2"; } >"kreader/$1-apply"
}

for f in "$corpus"/binary/*; do
  n="$(basename "$f")"
  framed "$n" "$f"
  "$kvform" totext "$f" "text/$n" 2>/dev/null || continue
  blobs "text/$n" "$n"
done
for f in "$corpus"/text/*; do
  n="$(basename "$f")"
  cp "$f" "text/$n"
  cp "$f" "designer/$n.txt"
  blobs "$f" "$n"
  "$kvform" tobinary "$f" "framed.tmp" 2>/dev/null && framed "$n" "framed.tmp"
done
rm -f framed.tmp
cp "$corpus"/dcr/* "$corpus"/dcr16/* dcr/

cd ..
rm -rf "$out"
mv "$out.tmp" "$out"
for d in "$out"/*/; do printf '%s: %s seeds\n' "$(basename "$d")" "$(find "$d" -type f | wc -l)"; done
