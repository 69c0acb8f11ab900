#!/usr/bin/env bash
# Installs the build into a fresh prefix, checks the installed tree, starts
# the installed program offscreen with an empty home, and checks that it
# showed the demo edition, wrote its settings to the user's configuration
# folder, and wrote nothing under the prefix.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
home=$work/home
mkdir -p "$home" "$work/run"
chmod 0700 "$work/run"

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$work/install.log"

data=$prefix/share/korvelan
for file in bin/korvelan lib/korvelan/libkorvelan_sound_engine.so share/korvelan/PROGR_NM.TXT share/korvelan/Korvelan.txt \
    share/korvelan/Korvelan.ini share/korvelan/names_sc.txt share/korvelan/taxa.txt \
    share/applications/org.korvelan.Korvelan.desktop \
    share/metainfo/org.korvelan.Korvelan.metainfo.xml \
    share/icons/hicolor/scalable/apps/korvelan.svg; do
  [ -e "$prefix/$file" ] || fail "$file is not installed"
done
for size in 16 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/korvelan.png
  [ -s "$icon" ] || fail "no ${size}x${size} icon"
  file "$icon" | grep -q "${size} x ${size}" || fail "the ${size}x${size} icon has another size"
done
[ -x "$prefix/bin/korvelan" ] || fail "the program is not executable"
if [ -d "$(dirname "$0")/../../editions/demo/base" ]; then
  [ -d "$data/base" ] || fail "the demo base directory is not installed"
fi
grep -qx "Base Directory=$data/base/" "$data/Korvelan.ini" || fail "the settings do not name the installed base directory"
desktop="$prefix/share/applications/org.korvelan.Korvelan.desktop"
grep -qx "Exec=korvelan" "$desktop" || fail "the launcher does not start korvelan"
grep -qx "Icon=korvelan" "$desktop" || fail "the launcher names another icon"
if command -v desktop-file-validate > /dev/null; then desktop-file-validate "$desktop"; fi
if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.korvelan.Korvelan.metainfo.xml" > /dev/null
fi

snapshot() { (cd "$prefix" && find . -printf '%p %s %T@\n' | sort); }
snapshot > "$work/before"

# Started as the launcher starts it: by name, from the PATH, elsewhere.
(cd "$home" && env -i HOME="$home" PATH="$prefix/bin:/usr/bin:/bin" \
  XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen KORVELAN_CLOSE_AFTER_START=1 \
  timeout 60 korvelan > "$work/out" 2> "$work/err") || {
  cat "$work/out" "$work/err" >&2
  fail "the installed program did not end normally"
}
grep -q "^main window shown: .*Voices of the Andes and the Chaco" "$work/out" || {
  cat "$work/out" "$work/err" >&2
  fail "the main window of the demo edition was not shown"
}

settings=$home/.config/Korvelan/korvelan/Korvelan.ini
[ -f "$settings" ] || fail "no settings in the user's configuration folder"
grep -q "^\[WINDOW 1\]" "$settings" || fail "the main window's state was not written"
grep -qx "Base Directory=$data/base/" "$settings" || fail "the base directory was not kept"
snapshot > "$work/after"
diff "$work/before" "$work/after" || fail "the program wrote under the prefix"

# The user's guide, in every language it is written in, where Help looks.
for language in en es; do
  [ -f "$data/help/$language/index.html" ] || fail "the user's guide ($language) is not installed"
done
# Help opens it in the installed program, as a user does: F1 in the main
# window on a display of its own.
if command -v Xvfb > /dev/null && command -v xdotool > /dev/null; then
  for n in $(seq 150 199); do [ -e /tmp/.X11-unix/X$n ] || break; done
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2> /dev/null; rm -rf "$work"' EXIT
  for i in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  export DISPLAY=:$n
  mkdir -p "$work/home2" "$work/run2"
  chmod 0700 "$work/run2"
  (cd "$work/home2" && exec env -i HOME="$work/home2" PATH="$prefix/bin:/usr/bin:/bin" \
    XDG_RUNTIME_DIR="$work/run2" DISPLAY=:$n korvelan > "$work/out2" 2> "$work/err2") &
  program=$!
  main=$(timeout 30 xdotool search --sync --onlyvisible --name "Voices of the Andes" | head -1) ||
    { kill $program; cat "$work/err2" >&2; fail "the installed program showed no main window"; }
  # The introduction goes away at a click, then the main window takes keys.
  # A busy machine may show the introduction late: the user clicks again.
  help=""
  for attempt in 1 2 3 4 5 6; do
    sleep 1
    xdotool mousemove --window "$main" 200 200 click 1
    sleep 0.3
    xdotool windowfocus --sync "$main" 2> /dev/null || true
    xdotool key F1
    help=$(timeout 5 xdotool search --sync --onlyvisible --name "^Help - " | head -1) && break
    help=""
  done
  if [ -z "$help" ]; then
    kill $program
    cat "$work/err2" >&2
    fail "Help did not open the installed user's guide"
  fi
  grep -q "not found" "$work/err2" && { kill $program; fail "the guide was reported missing"; }
  kill $program
  wait $program 2> /dev/null || true
  echo "installed user's guide: opened ($help)"
else
  echo "installed user's guide: not opened (no Xvfb or xdotool here)"
fi
echo "installed program: OK"
