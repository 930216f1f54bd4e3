#!/usr/bin/env bash
# An installed copy, end to end: installs into a scratch prefix, validates
# the menu entry and the software-centre entry, checks that they and the
# copyright file agree with LICENSE, makes the prefix read-only and starts
# the installed program twice as a normal user under a private X server. The
# first start must fill the user's data directory and, told to quit by
# SIGTERM, close cleanly and write its settings; the second must keep the
# user's own list; the prefix must never be written.
# Usage: installed_copy_test.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
id="jp.example.sorvi"

scratch=$(mktemp -d /tmp/sorvi_installed_XXXXXX)
xvfb_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill -KILL "$program_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  chmod -R u+w "$scratch" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
chmod 755 "$scratch"

# ---- install and validate ----
prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop file not valid"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo not valid"
for size in 16 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/sorvi.png"
  [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "$icon is not ${size}x${size}"
done
# The licence LICENSE names is the one the copyright file and the
# software-centre entry give, and the copyright file holds its text.
source=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
license=$(sed -n '1s/ License$//p' "$source/LICENSE")
copyright="$prefix/share/doc/sorvi/copyright"
[ "$(grep -c "^License: $license\$" "$copyright")" -eq 2 ] || fail "the copyright file does not give the licence $license"
grep -q "<project_license>$license</project_license>" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the software-centre entry names another licence than $license"
awk '/^License: /{n=NR} {l[NR]=$0} END{for(i=n+1;i<=NR;i++){s=substr(l[i],2); print (s=="." ? "" : s)}}' \
  "$copyright" | diff - <(tail -n +3 "$source/LICENSE") >&2 || fail "the copyright file's licence text is not LICENSE's"
chmod -R a-w "$prefix"
snapshot() { (cd "$prefix" && find . -printf '%p %s %T@ %m\n' | sort); }
snapshot >"$scratch/prefix.before"

# ---- a normal user ----
home="$scratch/home"
runtime="$scratch/runtime"
mkdir -p "$home" "$runtime"
chmod 700 "$runtime"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  # CI runs as root; the program must meet the permissions a user meets.
  uid=$(id -u nobody 2>/dev/null) || fail "no user 'nobody' to run the installed program as"
  gid=$(id -g nobody)
  as_user=(setpriv --reuid="$uid" --regid="$gid" --clear-groups --)
  chown "$uid:$gid" "$home" "$runtime"
fi
[ "$("${as_user[@]}" id -u)" -ne 0 ] || fail "could not become a normal user"

# ---- a private X server ----
# -noreset: the server must not reset when a client (xdpyinfo) leaves.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || fail "Xvfb did not start: $(cat "$scratch/xvfb.log")"
export DISPLAY=":$(head -n1 "$scratch/display")"
# Ready for the user's connections (a busy machine may take a moment).
for _ in $(seq 100); do "${as_user[@]}" env DISPLAY="$DISPLAY" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"${as_user[@]}" env DISPLAY="$DISPLAY" xdpyinfo >/dev/null 2>&1 ||
  fail "the user cannot reach the X server $DISPLAY: $(cat "$scratch/xvfb.log")"

# Starts the installed program, waits for its window, sends SIGTERM and
# expects a clean exit.
run_once() {
  local log="$scratch/run$1.log"
  env -i PATH=/usr/bin:/bin HOME="$home" DISPLAY="$DISPLAY" LANG=C.UTF-8 XDG_RUNTIME_DIR="$runtime" \
    QTWEBENGINE_DISABLE_SANDBOX=1 \
    QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking --disable-component-update" \
    "${as_user[@]}" "$prefix/bin/sorvi" >"$log" 2>&1 &
  program_pid=$!
  local shown=""
  for _ in $(seq 300); do
    kill -0 "$program_pid" 2>/dev/null || { cat "$log" >&2; fail "the program ended before showing its window"; }
    shown=$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null || true)
    [ -n "$shown" ] && break
    sleep 0.1
  done
  [ -n "$shown" ] || { cat "$log" >&2; fail "no window within 30 s"; }
  if [ -n "${SORVI_SHOT:-}" ]; then sleep 1; import -window root "$SORVI_SHOT"; fi
  kill -TERM "$program_pid"
  local status=""
  for _ in $(seq 200); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      wait "$program_pid" && status=0 || status=$?
      break
    fi
    sleep 0.1
  done
  [ -n "$status" ] || { cat "$log" >&2; fail "the program did not close within 20 s of SIGTERM"; }
  program_pid=""
  [ "$status" -eq 0 ] || { cat "$log" >&2; fail "the program exited with status $status"; }
}

data="$home/.local/share/Sorvi"
run_once 1
for name in SV_Code.txt SV_List.txt Sorvi.ini Sorvi.htm; do
  [ -f "$data/$name" ] || fail "$data/$name was not written"
done
for name in SV_Code.txt SV_List.txt Sorvi.htm; do
  cmp -s "$data/$name" "$prefix/share/sorvi/$name" || fail "$name is not the installed one"
done
grep -q '^\[Window\]' "$data/Sorvi.ini" || fail "the settings hold no window state"
"${as_user[@]}" test -w "$data/SV_Code.txt" || fail "the user cannot write the copied list"

# The user's own list survives the next start.
printf '9999 TESTSTOCK\r\n' >>"$data/SV_Code.txt"
cp "$data/SV_Code.txt" "$scratch/code.expected"
run_once 2
cmp -s "$data/SV_Code.txt" "$scratch/code.expected" || fail "the user's list was replaced"
grep -q '^\[Window\]' "$data/Sorvi.ini" || fail "the settings were lost at the second close"

snapshot >"$scratch/prefix.after"
diff "$scratch/prefix.before" "$scratch/prefix.after" >&2 || fail "the install prefix was written"
echo "installed copy: data in $data, prefix untouched"
