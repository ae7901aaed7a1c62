#!/usr/bin/env bash
# -t and -tirel lay a pink tint over everything: against a run without them,
# the HUD panel and the whole window keep their red and lose about 30 % of
# their green and blue. Look-alike options leave the colours alone.
source "$(dirname "$0")/lib.bash"
start_x
copy=$(copy_game)
trap cleanup EXIT
# Deep space: no planet for an idle ship to fall into, so the lives shown stay.
sed -i '3s/.*/1/' "$copy/config.cfg"

TINTED_SHARE=0.706 # 180 / 255: what the tint leaves of green and blue
WHOLE_WINDOW=1024x768+0+0

# Means of red, green and blue over region $1 of a match frame of a run with
# the given options.
colours_with() {
  local region=$1
  shift
  if ! launch_game "$copy" ./zentavor -w -nm "$@" || ! wait_match_frame "$copy/frame.ppm" 30; then
    fail "no match frame with $*: $(cat "$copy/stderr")"
    stop_game
    echo "0 0 0"
    return
  fi
  stop_game
  channel_means "$copy/frame.ppm" "$region"
}

# Checks that each channel of $2 is its share ($3 $4 $5) of the same channel
# of $1, within $6; $7 names the case.
expect_shares() {
  awk -v plain="$1" -v seen="$2" -v shares="$3 $4 $5" -v tolerance="$6" 'BEGIN {
    split(plain, p); split(seen, s); split(shares, w); split("red green blue", name)
    for (i = 1; i <= 3; ++i) {
      if (p[i] <= 0.02) { print name[i] " is missing without options"; bad = 1; continue }
      share = s[i] / p[i]
      if (share < w[i] - tolerance || share > w[i] + tolerance) {
        printf "%s kept %.3f, expected %.3f\n", name[i], share, w[i]; bad = 1
      }
    }
    exit bad
  }' >"$copy/shares" || fail "$7: $(tr '\n' ';' <"$copy/shares")"
}

plain_panel=$(colours_with "$HUD_PANEL")
plain_window=$(colours_with "$WHOLE_WINDOW")
for option in -t -tirel; do
  expect_shares "$plain_panel" "$(colours_with "$HUD_PANEL" "$option")" 1 $TINTED_SHARE $TINTED_SHARE 0.04 "HUD panel with $option"
done
expect_shares "$plain_window" "$(colours_with "$WHOLE_WINDOW" -t)" 1 $TINTED_SHARE $TINTED_SHARE 0.04 "whole window with -t"
expect_shares "$plain_panel" "$(colours_with "$HUD_PANEL" -T -Tirel -TIREL --t -tint -tt t)" 1 1 1 0.04 \
  "HUD panel with look-alike options"
finish
