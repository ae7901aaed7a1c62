#!/usr/bin/env bash
# The desktop install: the layout of a --prefix and a DESTDIR install, the
# validators of the desktop entry, the AppStream data and the man page, and
# the installed launcher, which runs the game from each player's own folder
# and never replaces a player's config.cfg.
# Usage: install.sh <game folder> <build folder>
source "$(dirname "$0")/lib.bash"
build_dir=${2:?build folder}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)

APP_ID=org.zentavor.Zentavor
WAIT_START_S=40 # seconds; a slow (sanitized) game still draws its first frame well within this
WAIT_EXIT_S=40 # seconds after the last key
quit_keys=(Escape Escape Escape Escape)
edited_config=$'Nova\nVega\n2\n7\n3\n9\n8\n7\n6\n5\n0\n0\n1\n2\n3\n4'

work=$(mktemp -d /tmp/zentavor-install.XXXXXX)
copy=$work # removed by cleanup
trap cleanup EXIT
mkdir -p "$work/elsewhere" "$work/home"
export HOME=$work/home # nothing may land in the real home

cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build_dir/CMakeCache.txt"; }
bin_dir=$(cache_value CMAKE_INSTALL_BINDIR)
libexec_dir=$(cache_value CMAKE_INSTALL_LIBEXECDIR)
# Left empty, these two follow the data root.
data_root_dir=$(cache_value CMAKE_INSTALL_DATAROOTDIR)
data_dir=$(cache_value CMAKE_INSTALL_DATADIR)
data_dir=${data_dir:-$data_root_dir}
man_dir=$(cache_value CMAKE_INSTALL_MANDIR)
man_dir=${man_dir:-$data_root_dir/man}

# A PNG read by our own check: signature, chunk CRCs, the zlib stream and
# its Adler-32, the size, filter bytes, and a drawing that is a round badge
# (clear corners, solid centre). Fails with the reason.
check_png() {
  python3 - "$1" "$2" <<'EOF'
import struct, sys, zlib
path, size = sys.argv[1], int(sys.argv[2])
def fail(*words):
    sys.exit(' '.join(str(w) for w in words))

data = open(path, 'rb').read()
if data[:8] != b'\x89PNG\r\n\x1a\n':
    fail('no PNG signature')
at, chunks = 8, []
while at < len(data):
    length, kind = struct.unpack('>I4s', data[at:at + 8])
    body = data[at + 8:at + 8 + length]
    crc, = struct.unpack('>I', data[at + 8 + length:at + 12 + length])
    if zlib.crc32(kind + body) != crc:
        fail('bad CRC in', kind)
    chunks.append((kind, body))
    at += 12 + length
kinds = [k for k, _ in chunks]
if kinds[0] != b'IHDR' or kinds[-1] != b'IEND':
    fail('chunks out of order:', kinds)
w, h, depth, colour = struct.unpack('>IIBB', chunks[0][1][:10])
if (w, h, depth, colour) != (size, size, 8, 6):
    fail('header', w, h, depth, colour)
try:
    raw = zlib.decompress(b''.join(b for k, b in chunks if k == b'IDAT'))
except zlib.error as e:
    fail('zlib stream:', e)
row = 1 + 4 * w
if len(raw) != row * h:
    fail('pixel data of', len(raw), 'bytes')
if any(raw[y * row] != 0 for y in range(h)):
    fail('a row filter other than none')
alpha = lambda x, y: raw[y * row + 1 + 4 * x + 3]
if alpha(0, 0) or alpha(w - 1, h - 1) or alpha(w // 2, h // 2) != 255:
    fail('not a round badge')
EOF
}

# The files of an install under $1 (a prefix, possibly inside a DESTDIR).
check_layout() {
  local root=$1 where=$2 size icon
  expect_eq "$(ls "$root/$bin_dir")" "zentavor" "$where: programs on the PATH"
  [[ -x "$root/$bin_dir/zentavor" ]] || fail "$where: the launcher is not executable"
  cmp -s "$root/$libexec_dir/zentavor/zentavor" "$game_dir/zentavor" || fail "$where: the game binary is not the built one"
  expect_eq "$(find "$root" -type f -perm -u+x | wc -l)" "2" "$where: executables (launcher and game, no tools or tests)"
  local data=$root/$data_dir/zentavor
  expect_eq "$(cd "$data/img" && ls)" "$(cd "$game_dir/img" && ls -- *.bmp)" "$where: pictures"
  for picture in "$game_dir"/img/*.bmp; do
    cmp -s "$picture" "$data/img/${picture##*/}" || fail "$where: ${picture##*/} differs"
  done
  cmp -s "$game_dir/sound/zentavor.ogg" "$data/sound/zentavor.ogg" || fail "$where: music"
  expect_eq "$(cd "$data/sound/sfx" && ls)" "$(cd "$game_dir/sound/sfx" && ls -- *.wav)" "$where: sound effects"
  for effect in "$game_dir"/sound/sfx/*.wav; do
    cmp -s "$effect" "$data/sound/sfx/${effect##*/}" || fail "$where: ${effect##*/} differs"
  done
  cmp -s "$game_dir/font.ttf" "$data/font.ttf" || fail "$where: font"
  cmp -s "$source_dir/tools/default-config.cfg" "$data/config.cfg" || fail "$where: the default config.cfg"
  [[ -f "$root/$data_dir/applications/$APP_ID.desktop" ]] || fail "$where: no desktop entry"
  [[ -f "$root/$data_dir/metainfo/$APP_ID.metainfo.xml" ]] || fail "$where: no metainfo"
  [[ -f "$root/$man_dir/man6/zentavor.6" ]] || fail "$where: no man page"
  for size in 64 128; do
    icon=$root/$data_dir/icons/hicolor/${size}x$size/apps/$APP_ID.png
    if [[ -f "$icon" ]]; then
      out=$(check_png "$icon" "$size" 2>&1) || fail "$where: the $size px icon: $out"
    else
      fail "$where: no $size px icon"
    fi
  done
}

# Validators and cross-references of the desktop files and the man page.
check_desktop_files() {
  local root=$1 desktop metainfo man out
  desktop=$root/$data_dir/applications/$APP_ID.desktop
  metainfo=$root/$data_dir/metainfo/$APP_ID.metainfo.xml
  man=$root/$man_dir/man6/zentavor.6
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop entry: $out"
  out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "metainfo: $out"
  expect_eq "$(sed -n 's/^Exec=//p' "$desktop")" "zentavor" "desktop entry command"
  expect_eq "$(sed -n 's/^Icon=//p' "$desktop")" "$APP_ID" "desktop entry icon"
  expect_contains "$(cat "$metainfo")" "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "metainfo launchable"
  expect_contains "$(cat "$metainfo")" "<id>$APP_ID</id>" "metainfo id"
  out=$(LC_ALL=C.UTF-8 groff -man -ww -z "$man" 2>&1) || true
  expect_eq "$out" "" "groff warnings on the man page"
  out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man" 2>&1 >"$work/man.txt") || true
  expect_eq "$out" "" "man warnings on the man page"
  local text option options
  text=$(cat "$work/man.txt")
  # Every option of the README's command-line table has its place.
  mapfile -t options < <(sed -n '/^## Command line/,/^## /p' "$source_dir/README.md" | grep -o '`-[a-z0-9]*`' | tr -d '`')
  ((${#options[@]} >= 12)) || fail "only ${#options[@]} options found in README.md"
  for option in "${options[@]}"; do
    expect_contains "$text" "$option" "man page option"
  done
  for needle in "KEYS" "FILES" '$XDG_CONFIG_HOME/zentavor/config.cfg' "You betcha!"; do
    expect_contains "$text" "$needle" "man page"
  done
}

# Runs a launcher without a display (the game stops at once with its own
# message) from an unrelated folder; sets status and err. Arguments: env
# settings, then the launcher.
run_headless() {
  set +e
  err=$(cd "$work/elsewhere" && env -u DISPLAY "$@" -w -nm 2>&1 >/dev/null)
  status=$?
  set -e
}

# Where each shared link of a player's folder $1 leads, against data folder $2.
check_links() {
  local name
  for name in img sound font.ttf; do
    [[ -L "$1/$name" ]] || { fail "$3: $name is not a link"; continue; }
    expect_eq "$(readlink -f "$1/$name")" "$(readlink -f "$2/$name")" "$3: $name link"
  done
}

# -- layout and desktop files -------------------------------------------------

prefix=$work/prefix
out=$(cmake --install "$build_dir" --prefix "$prefix" 2>&1) || fail "install into a prefix: $out"
check_layout "$prefix" "prefix"
check_desktop_files "$prefix"

root=$work/root
out=$(DESTDIR=$root cmake --install "$build_dir" --prefix /usr 2>&1) || fail "install with DESTDIR: $out"
expect_eq "$(ls "$root")" "usr" "DESTDIR: top folders"
check_layout "$root/usr" "DESTDIR"

launcher=$prefix/$bin_dir/zentavor
staged_launcher=$root/usr/$bin_dir/zentavor
prefix_data=$prefix/$data_dir/zentavor
staged_data=$root/usr/$data_dir/zentavor

# -- the launcher without a display -------------------------------------------

# A folder that cannot be made: one line, and no game.
touch "$work/not-a-folder"
run_headless XDG_CONFIG_HOME="$work/not-a-folder" "$launcher"
((status != 0)) || fail "unmakeable folder: status 0"
expect_eq "$(printf '%s\n' "$err" | wc -l)" "1" "unmakeable folder: lines on stderr"
expect_contains "$err" "$work/not-a-folder/zentavor" "unmakeable folder: message"

# The game's own failure and status come through the launcher, and the
# player's folder is made first; a relative XDG_CONFIG_HOME counts as unset.
run_headless XDG_CONFIG_HOME=relative "$launcher"
((status != 0 && status != 124)) || fail "no display: status $status"
expect_contains "$err" "window" "no display: the game's message"
[[ ! -e "$work/elsewhere/relative" ]] || fail "a relative XDG_CONFIG_HOME was used"
home_folder=$HOME/.config/zentavor
cmp -s "$home_folder/config.cfg" "$prefix_data/config.cfg" || fail "relative XDG_CONFIG_HOME: no default config.cfg in ~/.config/zentavor"
check_links "$home_folder" "$prefix_data" "first start"

# Another install (here the DESTDIR tree) takes the links over; a missing
# link comes back; a real folder of the player's own stays.
rm "$home_folder/font.ttf"
rm "$home_folder/sound"
mkdir "$home_folder/sound"
run_headless XDG_CONFIG_HOME= "$staged_launcher"
expect_contains "$err" "window" "moved install: the game's message"
expect_eq "$(readlink -f "$home_folder/img")" "$(readlink -f "$staged_data/img")" "moved install: img link"
expect_eq "$(readlink -f "$home_folder/font.ttf")" "$(readlink -f "$staged_data/font.ttf")" "missing link: font.ttf"
[[ -d "$home_folder/sound" && ! -L "$home_folder/sound" ]] || fail "the player's own sound folder was replaced"
rm -rf "${HOME:?}/.config"

# -- the launcher with a display ----------------------------------------------

start_x
trap cleanup EXIT # start_x set its own

# Starts a launcher from an unrelated folder with the given environment,
# waits for the window, quits with four Escapes; sets status.
play() {
  local window_size_expected=$1
  shift
  if launch_game "$work/elsewhere" env "$@"; then
    expect_eq "$(window_size "$game_window")" "$window_size_expected" "window of $*"
    wait_match_frame "$work/frame.ppm" "$WAIT_START_S" || fail "no match frame from $*"
    press_keys "${quit_keys[@]}"
    wait_game "$WAIT_EXIT_S"
    ((status == 0)) || echo "stderr of $*: $(cat "$work/elsewhere/stderr")" >&2
  else
    fail "no window from $*: $(cat "$work/elsewhere/stderr")"
    stop_game
    status=none
  fi
}

user_a=$work/user-a
user_b=$work/user-b

# Arguments reach the game (-640), and the first start makes the default config.cfg.
play 640x480 XDG_CONFIG_HOME="$user_a" "$launcher" -w -nm -640
expect_eq "$status" "0" "player A, first start: exit status"
cmp -s "$user_a/zentavor/config.cfg" "$prefix_data/config.cfg" || fail "player A: config.cfg is not the default"
check_links "$user_a/zentavor" "$prefix_data" "player A"

# Player A's own settings; player B (on the DESTDIR tree) starts with the defaults.
printf '%s' "$edited_config" >"$user_a/zentavor/config.cfg"
play 1024x768 XDG_CONFIG_HOME="$user_b" "$staged_launcher" -w -nm
expect_eq "$status" "0" "player B: exit status"
cmp -s "$user_b/zentavor/config.cfg" "$prefix_data/config.cfg" || fail "player B: config.cfg is not the default"
expect_eq "$(cat "$user_a/zentavor/config.cfg")" "$edited_config" "player A's settings after player B played"

# A second start keeps player A's changed file.
play 1024x768 XDG_CONFIG_HOME="$user_a" "$launcher" -w -nm
expect_eq "$status" "0" "player A, second start: exit status"
expect_eq "$(cat "$user_a/zentavor/config.cfg")" "$edited_config" "player A's settings after a second start"

# A recording named without a folder lands where the player started the game.
play 1024x768 XDG_CONFIG_HOME="$user_a" "$launcher" -w -nm -record match.zrec
expect_eq "$status" "0" "recording through the launcher: exit status"
[[ -s "$work/elsewhere/match.zrec" && ! -e "$user_a/zentavor/match.zrec" ]] || fail "the recording is not where the game was started"

# Without XDG_CONFIG_HOME the folder is ~/.config/zentavor.
[[ ! -e "$HOME/.config" ]] || fail "players with their own XDG_CONFIG_HOME wrote into HOME"
play 1024x768 -u XDG_CONFIG_HOME "$launcher" -w -nm
expect_eq "$status" "0" "HOME only: exit status"
cmp -s "$home_folder/config.cfg" "$prefix_data/config.cfg" || fail "HOME only: no default config.cfg in ~/.config/zentavor"
expect_eq "$(cat "$user_a/zentavor/config.cfg")" "$edited_config" "player A's settings after the HOME-only player"
cmp -s "$user_b/zentavor/config.cfg" "$prefix_data/config.cfg" || fail "player B's settings changed by another player"
finish
