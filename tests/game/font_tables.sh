#!/usr/bin/env bash
# font.ttf as two independent readers see it: fontTools decodes every table
# (and checks each one's length against its version), and the OpenType
# sanitizer that browsers run accepts the file.
source "$(dirname "$0")/lib.bash"
cd "$game_dir"
# Debian's fontTools belongs to Debian's Python, whatever python3 comes first on PATH.
report=$(/usr/bin/python3 - font.ttf <<'PYTHON' 2>&1
import sys
from fontTools.ttLib import TTFont
font = TTFont(sys.argv[1])
for tag in font.keys():
    font[tag]
print("maxp", font.reader.tables["maxp"].length, font["maxp"].tableVersion)
PYTHON
) || fail "fontTools cannot read font.ttf: $(printf '%s\n' "$report" | tail -1)"
expect_eq "$(printf '%s\n' "$report" | tail -1)" "maxp 32 65536" "the maxp table: its length and version"
ots=$(ots-sanitize font.ttf /dev/null 2>&1) || fail "ots-sanitize refuses font.ttf: $ots"
finish
