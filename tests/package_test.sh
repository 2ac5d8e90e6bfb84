#!/usr/bin/env bash
# Makes the Debian package from a build tree, unpacks it into a scratch folder and
# checks it as a player's machine would see it: the control fields, the exact list of
# files, the programs run from the unpacked tree with nothing of the build on their
# paths, the desktop entry, the software-centre metadata, the manual pages and lintian.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2

for tool in cpack dpkg-deb dpkg-architecture dpkg-shlibdeps readelf lintian \
            desktop-file-validate appstreamcli man; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is missing (tools/setup.sh test installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# --- the package itself
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack" >&2
  exit 1
fi
deb=$work/out/mirado-shogi_${version}_$(dpkg --print-architecture).deb
if [ ! -f "$deb" ]; then
  ls "$work/out"
  echo "FAIL: no $(basename "$deb")" >&2
  exit 1
fi

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = mirado-shogi ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
depends=$(field Depends)
# The font by hand; the rest worked out from what the programs and the library link.
for dep in fonts-ipafont-mincho libc6 libqt6widgets6 libsdl2-mixer-2.0-0; do
  [[ ", $depends," == *", $dep"[\ ,]* ]] || fail "Depends lacks $dep: $depends"
done
[[ $depends != *mirado* ]] || fail "Depends names the package's own library: $depends"
[ "$(field Description | wc -l)" -gt 3 ] || fail "no long description"

# --- exactly these files, nothing of the tests, benchmarks or headers
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
libdir=usr/lib/$multiarch/mirado-shogi
expected=(
  usr/bin/mirado-cli
  usr/bin/mirado-shogi
  "$libdir/libmirado_sound.so.${version%%.*}"
  "$libdir/libmirado_sound.so.$version"
  usr/share/applications/mirado-shogi.desktop
  usr/share/doc/mirado-shogi/changelog.gz
  usr/share/doc/mirado-shogi/copyright
  usr/share/icons/hicolor/256x256/apps/mirado-shogi.png
  usr/share/icons/hicolor/scalable/apps/mirado-shogi.svg
  usr/share/lintian/overrides/mirado-shogi
  usr/share/man/man6/mirado-cli.6.gz
  usr/share/man/man6/mirado-shogi.6.gz
  usr/share/metainfo/org.example.mirado_shogi.metainfo.xml
  usr/share/mirado-shogi/BGM.wav
  usr/share/mirado-shogi/その他.wav
  usr/share/mirado-shogi/禁止.wav
  usr/share/mirado-shogi/駒打音.wav
  usr/share/mirado-shogi/銃声.wav
)
printf '%s\n' "${expected[@]}" | LC_ALL=C sort >"$work/expected"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | LC_ALL=C sort >"$work/listed"
diff -u "$work/expected" "$work/listed" || fail "the package's files differ from the layout"

root=$work/root
dpkg-deb -x "$deb" "$root"

# The window finds its sound library relative to itself, wherever the tree lies.
runpath=$(readelf -d "$root/usr/bin/mirado-shogi" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
[ "$runpath" = "\$ORIGIN/../lib/$multiarch/mirado-shogi" ] || fail "RUNPATH of mirado-shogi: '$runpath'"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
size=$(od -An -tu1 -j16 -N8 "$root/usr/share/icons/hicolor/256x256/apps/mirado-shogi.png" | tr -s ' ')
[ "$size" = " 0 0 1 0 0 0 1 0" ] || fail "the PNG icon is not 256 x 256 (bytes:$size)"

# --- the unpacked programs, with a bare environment and a fresh player
mkdir -p "$work/home" "$work/play" "$work/run"
chmod 700 "$work/run"
run() {
  (cd "$work/play" && env -i PATH=/usr/bin:/bin HOME="$work/home" LANG=C.UTF-8 \
     QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/run" "$@")
}
sound_lib=$(run ldd "$root/usr/bin/mirado-shogi" | sed -n 's/.*libmirado_sound.* => \(.*\) (.*/\1/p')
[ -n "$sound_lib" ] && [ "$(realpath "$sound_lib")" = "$(realpath "$root/$libdir/libmirado_sound.so.$version")" ] ||
  fail "mirado-shogi does not load the unpacked sound library: '$sound_lib'"
! run ldd "$root/usr/bin/mirado-shogi" | grep -q "not found" || fail "a library of mirado-shogi is missing"

start="lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1"
perft=$(run "$root/usr/bin/mirado-cli" perft "$start" 2) || fail "mirado-cli perft failed"
[ "$perft" = '{"depth":2,"nodes":900}' ] || fail "mirado-cli perft: $perft"
for program in mirado-cli mirado-shogi; do
  [ "$(run "$root/usr/bin/$program" --version)" = "$program $version" ] || fail "$program --version"
done

# Started as the menu starts it, the window works in the player's data folder and
# leaves the home folder and the working directory alone. The settings file is written
# only when an option changes, so the start changes one.
printf 'menu BGM\n' >"$work/option.events"
if run "$root/usr/bin/mirado-shogi" --user-data --screenshot shot.png --events "$work/option.events" 2>"$work/shot.log"; then
  [ "$(head -c 8 "$work/play/shot.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
    fail "the screenshot is not a PNG"
  [ -f "$work/home/.local/share/mirado-shogi/ミラド将棋.ini" ] ||
    fail "no settings file in the player's data folder"
  [ "$(ls -A "$work/play")" = shot.png ] || fail "files beside the screenshot: $(ls -A "$work/play")"
  [ "$(ls -A "$work/home")" = .local ] || fail "files in the home folder: $(ls -A "$work/home")"
else
  cat "$work/shot.log"
  fail "mirado-shogi --screenshot failed"
fi

# The sounds come from the unpacked data folder: the about box's sound reaches the sound
# device, here a file. Mixing keeps real time, so a busy machine gets two more tries.
printf 'menu VER\n' >"$work/about.txt"
heard=no
for attempt in 1 2 3; do
  rm -f "$work/play/sound.raw"
  run env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=sound.raw "$root/usr/bin/mirado-shogi" \
    --screenshot about.png --events "$work/about.txt" >/dev/null 2>&1 || true
  if [ "$(tr -d '\0' <"$work/play/sound.raw" 2>/dev/null | head -c 1 | wc -c)" -eq 1 ]; then
    heard=yes
    break
  fi
done
[ "$heard" = yes ] || fail "no sound from the unpacked data folder reached the sound device"

# --- desktop entry, metadata, manual pages
desktop=$root/usr/share/applications/mirado-shogi.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=mirado-shogi --user-data' "$desktop" || fail "the menu entry does not pass --user-data"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.example.mirado_shogi.metainfo.xml" ||
  fail "appstreamcli validate"
# The whole tree: the metadata's launchable names the desktop entry, whose icon is there.
appstreamcli validate-tree --no-net --pedantic "$root" || fail "appstreamcli validate-tree"
for page in mirado-shogi mirado-cli; do
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/man6/$page.6.gz" 2>"$work/man.log")
  [ ! -s "$work/man.log" ] || { cat "$work/man.log"; fail "$page(6) has warnings"; }
  [[ $text == *"$page -"* && $text == *--help* && $text == *--version* ]] ||
    fail "$page(6) lacks its name line or its options"
done

# --- lintian, warnings counting as failures (the package explains its overrides)
if ! lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1; then
  grep -v "root privileges" "$work/lintian.log" || true
  fail "lintian reports errors or warnings"
fi

[ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "package checked: $(basename "$deb")"
