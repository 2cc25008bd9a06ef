#!/usr/bin/env bash
# End to end, as a user works: quillet.exe in a Wine prefix of its own with the X11 driver, on
# a virtual X server it starts itself. Text is typed, converted through the menus, the
# conversion undone with Ctrl+Z, and saved, all through the keyboard (xdotool),
# the program is left through File > Exit, and the file's bytes and the recent-file list in
# the registry are checked after it has ended.
#   end_to_end_test.sh <project root> <quillet.exe>
set -uo pipefail
root=$1
exe=$2
export QUILLET_WINEPREFIX="$root/build/wine-e2e"
export WINEPREFIX="$QUILLET_WINEPREFIX"
wine_exec() { "$root/scripts/wine-exec" "$@"; }
fail() { echo "FAILED: $*"; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if [ ! -f "$WINEPREFIX/.quillet-ready" ]; then
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  WINEARCH=win64 wine_exec wineboot -i </dev/null >/dev/null 2>&1 || fail "wineboot"
  wineserver -w
  touch "$WINEPREFIX/.quillet-ready"
fi

for display_number in $(seq 120 160); do
  [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ] || break
done
export DISPLAY=":$display_number"
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display_number" ] && break; sleep 0.1; done

wine_exec reg delete 'HKCU\Software\QuilletPad' /f </dev/null >/dev/null 2>&1
target_unix="$work/e2e.txt"
target=$(wine_exec winepath -w "$target_unix" 2>/dev/null | tr -d '\r')
[ -n "$target" ] || fail "winepath"

wine_exec "$exe" </dev/null >/dev/null 2>&1 &
program=$!

wait_for_window() {  # name pattern -> window id
  local id=""
  for _ in $(seq 200); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

main=$(wait_for_window '^Quillet') || fail "the main window did not appear"
sleep 1
xdotool windowactivate --sync "$main" >/dev/null 2>&1
xdotool windowfocus --sync "$main" >/dev/null 2>&1
xdotool type --delay 40 'hello quillet'
xdotool key Return
xdotool type --delay 40 'line 2'
sleep 0.5
# To upper case through the keyboard (修正 > 转换 > 到大写), taken back with Ctrl+Z; then to
# full width, which the saved file shows.
menu_item() {  # downs: how many items below the first of 转换
  xdotool key alt+a
  sleep 0.5
  xdotool key Right
  sleep 0.3
  for _ in $(seq "$1"); do xdotool key Down; done
  xdotool key Return
  sleep 0.5
}
menu_item 0
xdotool key ctrl+z
sleep 0.5
menu_item 2
xdotool key ctrl+s
dialog=$(wait_for_window '请输入欲保存到的文本文件名') || fail "the save dialog did not appear"
sleep 1
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
xdotool key ctrl+a
xdotool type --delay 20 "$target"
xdotool key Return
for _ in $(seq 100); do [ -f "$target_unix" ] && break; sleep 0.2; done
[ -f "$target_unix" ] || fail "no file was saved"

sleep 1
xdotool windowactivate --sync "$main" >/dev/null 2>&1
xdotool key alt+f
sleep 0.5
xdotool key x
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
kill -0 "$program" 2>/dev/null && fail "the program did not end after File > Exit"
wait "$program"
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"

# ｈｅｌｌｏ　ｑｕｉｌｌｅｔ CR LF ｌｉｎｅ　２: lower case, as Ctrl+Z left it.
expected=$(printf '\xa3\xe8\xa3\xe5\xa3\xec\xa3\xec\xa3\xef\xa1\xa1\xa3\xf1\xa3\xf5\xa3\xe9\xa3\xec\xa3\xec\xa3\xe5\xa3\xf4\r\n\xa3\xec\xa3\xe9\xa3\xee\xa3\xe5\xa1\xa1\xa3\xb2')
actual=$(cat "$target_unix"; printf x)
[ "${actual%x}" = "$expected" ] || fail "the file holds $(od -c "$target_unix" | head -3)"

listed=$(wine_exec reg query 'HKCU\Software\QuilletPad\常用文件' /v 1 </dev/null 2>/dev/null | iconv -f GBK -t UTF-8 2>/dev/null | tr -d '\r')
case "$listed" in
  *"$target"*) ;;
  *) fail "the recent-file list holds: $listed" ;;
esac
# Logging off with unsaved text asks as closing does (wineboot --end-session is Wine's log off).
# Cancel refuses the end of the session and the program goes on; No lets the text go, and the
# program ends when the session does.
wine_exec "$exe" </dev/null >/dev/null 2>&1 &
program=$!
main=$(wait_for_window '^Quillet') || fail "the main window did not appear a second time"
sleep 1
xdotool windowactivate --sync "$main" >/dev/null 2>&1
xdotool windowfocus --sync "$main" >/dev/null 2>&1
xdotool type --delay 40 'unsaved'
sleep 0.5
end_session() {  # key that answers the question
  wine_exec wineboot --end-session </dev/null >/dev/null 2>&1 &
  local ending=$!
  local question
  question=$(wait_for_window '^询问$') || fail "no question at the end of the session"
  sleep 0.5
  xdotool windowactivate --sync "$question" >/dev/null 2>&1
  xdotool key "$1"
  wait "$ending"
}
end_session Escape
sleep 1
kill -0 "$program" 2>/dev/null || fail "Cancel did not keep the program"
end_session n
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
kill -0 "$program" 2>/dev/null && fail "the program did not end with the session"
wait "$program"
code=$?
[ "$code" -eq 0 ] || fail "exit code $code at the end of the session"

echo "Test Passed."
