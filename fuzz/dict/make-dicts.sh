#!/usr/bin/env bash
# Writes the fuzz dictionaries in this folder (checked in; run again when classes are added):
#   make-dicts.sh CORPUS
# Class names come from the library's sources, property names and identifier values from the
# corpus's text forms; the binary targets get them as short strings (a length byte first).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$here/../.."
corpus="$1"

classes() { grep -ho 'KV_IMPLEMENT_CLASS(T[A-Za-z0-9_]*' "$root"/platform/*.cpp | sed 's/.*(//' | sort -u; }
props() {
  LC_ALL=C grep -hoE '^ *[A-Za-z_][A-Za-z0-9_.]* = ' "$corpus"/text/* | tr -d ' =' | sort | uniq -c |
    sort -rn | awk '$1 >= 2 { print $2 }' | head -n 400
}
idents() {
  LC_ALL=C grep -hoE ' = [a-z][a-z]?[A-Z][A-Za-z0-9]*\r?$' "$corpus"/text/* | tr -d ' =\r' | sort -u | head -n 300
}

entry() { printf '"%s"\n' "$1"; }
# A short string: its length as \xNN, then the name.
short() { printf '"\\x%02X%s"\n' "${#1}" "$1"; }

tags() {
  local t
  for t in $(seq 0 20); do printf '"\\x%02X"\n' "$t"; done
  entry 'TPF0'
  entry '\xFF\x0A\x00'
  entry '\x00\x30\x10'
  entry '\xFF\xFF\xFF\x7F'
  entry '\x00\x00\x00\x80'
}

{
  echo "# Binary form streams: value tags, the signature, the resource header, names as short strings."
  tags
  { classes; props; idents; } | while read -r n; do short "$n"; done
} >"$here/binary.dict"
cp "$here/binary.dict" "$here/resource.dict"
cp "$here/binary.dict" "$here/load.dict"
cp "$here/binary.dict" "$here/kreader.dict"

{
  echo "# Text form files: keywords, punctuation, class, property and identifier names."
  for k in object inherited inline end item True False nil "= " ": " "{" "}" "<" ">" "(" ")" "[" "]" "'" "#" "+" "," "1.5E300" "-2147483649"; do
    entry "$k"
  done
  { classes; props; idents; } | while read -r n; do entry "$n"; done
} >"$here/text.dict"

{
  echo "# The designer opens binary and text form files."
  tail -n +2 "$here/binary.dict"
  tail -n +2 "$here/text.dict"
} >"$here/designer.dict"

{
  echo "# Picture data: graphic class names as short strings, and the formats' own headers."
  for n in TBitmap TIcon TMetafile TPngImage TJPEGImage TGIFImage; do short "$n"; done
  entry 'BM'
  entry '\x28\x00\x00\x00'
  entry '\x0C\x00\x00\x00'
  entry '\x00\x00\x01\x00'
  entry '\x00\x00\x02\x00'
  entry '\xD7\xCD\xC6\x9A'
  entry '\x01\x00\x09\x00'
  entry '\x89PNG\x0D\x0A\x1A\x0A'
  entry 'IHDR'
  entry 'IDAT'
  entry 'IEND'
  entry '\xFF\xD8\xFF\xE0'
  entry '\xFF\xD9'
  entry 'GIF89a'
  entry 'GIF87a'
  entry '\xFF\xFF\xFF\x7F'
} >"$here/picture.dict"

{
  echo "# Component resource files: the 32-bit file's empty first entry, resource types, bitmap headers."
  entry '\x00\x00\x00\x00\x20\x00\x00\x00\xFF\xFF\x00\x00\xFF\xFF\x00\x00'
  entry '\xFF\xFF\x02\x00'
  entry '\xFF\xFF\x03\x00'
  entry '\xFF\xFF\x0E\x00'
  entry '\xFF\xFF\x01\x00'
  entry '\x28\x00\x00\x00'
  entry '\x18\x00\x18\x00'
  entry '\x01\x00\x04\x00'
  entry '\x01\x00\x08\x00'
  entry '\xFF\xFF\xFF\x7F'
  for n in TBUTTON TLABEL TEDIT KVUNKNOWN; do entry "$n"; done
} >"$here/dcr.dict"

{
  echo "# Items.Data of list and tree views: counts and sizes."
  entry '\x01\x00\x00\x00'
  entry '\xFF\xFF\xFF\xFF'
  entry '\xFF\xFF\xFF\x7F'
  entry '\x00\x00\x00\x80'
} >"$here/view_items.dict"
