#!/bin/sh
# Packs PNG pictures into a Windows icon file, each picture kept as PNG (as
# Windows reads icons since Vista), largest first.
#
#   make-ico.sh OUT.ico SIZE:PICTURE.png...     e.g. 256:icon-256.png 64:icon-64.png
set -eu
out=$1
shift

# A little-endian 16- or 32-bit number, as octal escapes for printf.
le16() { printf '\\%03o\\%03o' $(($1 & 255)) $(($1 >> 8 & 255)); }
le32() { printf '%s%s' "$(le16 $(($1 & 65535)))" "$(le16 $(($1 >> 16 & 65535)))"; }

count=$#
{
    printf "$(le16 0)$(le16 1)$(le16 "$count")"  # reserved, type 1 (icon), entries
    offset=$((6 + 16 * count))
    for entry in "$@"; do
        size=${entry%%:*} file=${entry#*:}
        bytes=$(wc -c <"$file")
        side=$((size >= 256 ? 0 : size))  # 0 stands for 256
        # width, height, no palette, reserved, one plane, 32 bits a pixel,
        # the picture's length and where it starts
        printf "\\$(printf '%03o' "$side")\\$(printf '%03o' "$side")\\000\\000$(le16 1)$(le16 32)$(le32 "$bytes")$(le32 "$offset")"
        offset=$((offset + bytes))
    done
    for entry in "$@"; do cat "${entry#*:}"; done
} >"$out"
