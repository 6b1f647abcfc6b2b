#!/bin/bash
# Smoke test of the x86_64 Veltrask.exe under Wine, on a Japanese X display of its own.
# The confirmation question is answered No, the cancellation notice confirmed; the program must end with code 0.
# Usage: wine_smoke.sh EXE WORK_DIR   (WORK_DIR keeps the Wine prefix, the logs and a screenshot of each box)
set -u -o pipefail

exe=$1
work=$2
wine=${WINE64:-/usr/lib/wine/wine64}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
title='ZOV 4260-WIN ｱﾝｲﾝｽﾄｰﾗ'
# A companion that leaves a mark: it runs only if the uninstall goes ahead, which a No must prevent. Its words
# contain no blank, since Wine quotes an argument with blanks when it joins them into the command line.
companion_mark=companion-ran.txt
companion=("C:\\windows\\system32\\cmd.exe" /c echo "ran>C:\\$companion_mark")

fail() {
  echo "FAIL: $*"
  exit 1
}
step() { echo "-- $*"; }

for tool in "$wine" "$wineserver" Xvfb xdotool import timeout; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -f "$exe" ] || fail "no such program file: $exe"
locale -a | grep -qix 'ja_JP.utf8' || fail "the locale ja_JP.UTF-8 is not generated"

mkdir -p "$work"
work=$(cd "$work" && pwd)
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")

# Japanese locale, so Wine's ANSI code page is 932; no Mono or Gecko install offer; no debug noise.
unset LC_ALL LC_CTYPE LC_MESSAGES LANGUAGE
export LANG=ja_JP.UTF-8
export WINEPREFIX=$work/prefix
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
export WINEARCH=win64

xvfb_pid=
server_pid=
program_pid=
cleanup() {
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then kill "$program_pid" 2>/dev/null; fi
  # Ends the prefix's own processes (services, device host, desktop) through their server, then the server.
  if [ -n "$server_pid" ]; then
    timeout 10 "$wineserver" -k >/dev/null 2>&1
    kill "$server_pid" 2>/dev/null
  fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; fi
  for pid in $program_pid $server_pid $xvfb_pid; do wait "$pid" 2>/dev/null; done
}
trap cleanup EXIT

step "starting Xvfb on a free display"
first=$((70 + $$ % 100))
for number in $(seq "$first" $((first + 40))); do
  [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
  Xvfb ":$number" -nolisten tcp -screen 0 1024x768x24 >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    DISPLAY=":$number" timeout 2 xdotool getdisplaygeometry >/dev/null 2>&1 && break 2
    sleep 0.1
  done
  # Another server took the number first, or this one did not come up: try the next.
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=
done
[ -n "$xvfb_pid" ] || fail "no Xvfb could be started (see $work/xvfb.log)"
export DISPLAY=:$number
echo "display $DISPLAY"

step "starting the Wine server for $WINEPREFIX"
mkdir -p "$WINEPREFIX"
"$wineserver" -f -p >"$work/wineserver.log" 2>&1 &
server_pid=$!

# A client that finds no socket yet starts a server of its own, so the first client waits for this one's socket:
# in the directory that Debian's Wine names in the prefix's file "wineserver", else where upstream Wine keeps it.
server_listens() {
  local name
  if name=$(cat "$WINEPREFIX/wineserver" 2>/dev/null); then
    compgen -G "${TMPDIR:-/tmp}/$name/server-*/socket" >/dev/null && return 0
  fi
  [ -S "/tmp/.wine-$(id -u)/server-$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")/socket" ]
}
for _ in $(seq 100); do
  server_listens && break
  kill -0 "$server_pid" 2>/dev/null || fail "the Wine server ended at once: $(cat "$work/wineserver.log")"
  sleep 0.1
done
server_listens || fail "the Wine server opened no socket within 10 s"

if [ ! -f "$WINEPREFIX/.prefix-ready" ]; then
  step "creating the Wine prefix (first use)"
  if ! timeout 60 "$wine" wineboot --init >"$work/wineboot.log" 2>&1; then
    tail -n 20 "$work/wineboot.log"
    fail "wineboot did not finish within 60 s, or failed (log above: $work/wineboot.log)"
  fi
  touch "$WINEPREFIX/.prefix-ready"
fi

# The exit code below only means something if Wine hands a program's exit code on.
step "checking that Wine passes an exit code through"
timeout 20 "$wine" cmd.exe /c exit 3 >"$work/exit-code-probe.log" 2>&1
probe=$?
[ $probe -eq 3 ] || fail "wine64 cmd /c exit 3 gave exit code $probe, so Veltrask's exit code cannot be read"

# Prints the visible windows whose title is the box title, one id a line.
boxes() { xdotool search --onlyvisible --name "^$title\$" 2>/dev/null; }

# Waits up to $1 seconds for a box other than $2; prints its id.
wait_for_box() {
  local seconds=$1 other=$2 id
  for _ in $(seq $((seconds * 5))); do
    for id in $(boxes); do
      if [ "$id" != "$other" ]; then
        echo "$id"
        return 0
      fi
    done
    kill -0 "$program_pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

# Why a box did not come: the program ended (with which exit code), or the time ran out.
no_box() {
  if ! kill -0 "$program_pid" 2>/dev/null; then
    wait "$program_pid"
    local code=$?
    program_pid=
    fail "Veltrask ended with exit code $code before $1 appeared (see $work/veltrask.log)"
  fi
  fail "no $1 titled '$title' appeared within $2 s"
}

# Lets the box finish drawing, so the picture shows it whole.
screenshot() {
  sleep 0.5
  import -window root "$work/$1" 2>/dev/null || fail "no screenshot $work/$1 could be taken"
  echo "screenshot: $work/$1"
}

press() {
  xdotool windowfocus "$1" 2>/dev/null
  xdotool key "$2" || fail "xdotool could not send $2"
}

rm -f "$WINEPREFIX/drive_c/$companion_mark"
step "starting Veltrask.exe ${companion[*]}"
timeout 60 "$wine" "$exe" "${companion[@]}" >"$work/veltrask.log" 2>&1 &
program_pid=$!

confirmation=$(wait_for_box 30 none) || no_box "the confirmation question" 30
shown_title=$(xdotool getwindowname "$confirmation")
[ "$shown_title" = "$title" ] || fail "the question is titled '$shown_title', not '$title'"
echo "confirmation question: window $confirmation"
screenshot wine-confirmation.png

step "answering No (n)"
press "$confirmation" n
cancellation=$(wait_for_box 15 "$confirmation") || no_box "a second box (the cancellation notice)" 15
if boxes | grep -qx "$confirmation"; then fail "the question is still open after n: the key did not answer it"; fi
echo "cancellation notice: window $cancellation"
screenshot wine-cancellation.png

step "confirming the notice (Return)"
press "$cancellation" Return
for _ in $(seq 75); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$program_pid" 2>/dev/null; then
  extra=$(wait_for_box 1 "$cancellation") && screenshot wine-unexpected.png &&
    fail "Veltrask went on after the notice and shows another box (window $extra): No was not taken as No"
  fail "Veltrask did not end within 15 s after the notice was confirmed"
fi
wait "$program_pid"
exit_code=$?
program_pid=

[ ! -e "$WINEPREFIX/drive_c/$companion_mark" ] || fail "the companion uninstaller ran although the answer was No"
[ $exit_code -eq 0 ] || fail "Veltrask ended with exit code $exit_code, not 0 (see $work/veltrask.log)"
echo "PASS: question, No, cancellation notice, exit code 0"
