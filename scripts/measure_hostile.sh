#!/usr/bin/env bash
# Opens every file of the hostile suite in the built viewer, and in the
# loader the suite runs, and prints the peak memory (GNU time's maximum
# resident size) of each, with what the loader made of the file. Two more
# runs start the viewer on a sound page with a Voxa.ini that is a FIFO, and
# one linked to /dev/zero. Needs the Release build (scripts/test.sh makes it).
#   scripts/measure_hostile.sh
# The viewer runs on Qt's offscreen platform from a copy of its folder (so
# no settings are saved beside the build); it is stopped once it has been
# idle for two seconds, which is when the page is shown or its error box waits.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/release
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/files" "$work/bin"
"$build/tests/write_hostile_files" "$work/files"
cp "$build"/bin/voxa "$build"/bin/*.spi "$work/bin/"

# Runs the command under GNU time and prints its peak in MiB and the kernel
# function it waited in when it was ended (poll: the event loop;
# wait_for_partner: a FIFO's open): it is ended once its CPU time has stood
# still for two seconds.
peak() {
  /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null 2>&1 &
  local timer=$! pid="" last="" same=0
  while [ -z "$pid" ] && kill -0 "$timer" 2>/dev/null; do pid=$(pgrep -P "$timer" || true); done
  while [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && [ "$same" -lt 10 ]; do
    local now
    now=$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || echo gone)
    if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; last=$now; fi
    sleep 0.2
  done
  local waiting=-
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    waiting=$(cat "/proc/$pid/wchan" 2>/dev/null || echo -)
    kill "$pid" 2>/dev/null || true
  fi
  wait "$timer" 2>/dev/null || true
  echo "$(($(tail -1 "$work/peak") / 1024)) $waiting"
}

row() { printf '| %-26s | %8s | %-22s | %10s | %s\n' "$@"; }
row file "voxa MiB" "voxa waits in" "loader MiB" "the loader's result"
for file in "$work"/files/*; do
  result=$("$build/tests/hostile_loader" "$work/bin" "$file" 2>&1 || true)
  read -r viewer waiting < <(QT_QPA_PLATFORM=offscreen peak "$work/bin/voxa" /mode1 "$file")
  /usr/bin/time -f %M -o "$work/peak" "$build/tests/hostile_loader" "$work/bin" "$file" >/dev/null 2>&1 || true
  loader=$(($(tail -1 "$work/peak") / 1024))
  row "$(basename "$file")" "$viewer" "$waiting" "$loader" "$result"
done

# The settings file as a FIFO, and linked to /dev/zero, with a sound page.
page=$work/files/rle8.bmp
mkfifo "$work/bin/Voxa.ini"
read -r viewer waiting < <(QT_QPA_PLATFORM=offscreen peak "$work/bin/voxa" /mode1 "$page")
row "Voxa.ini a FIFO" "$viewer" "$waiting" - -
rm "$work/bin/Voxa.ini" && ln -s /dev/zero "$work/bin/Voxa.ini"
read -r viewer waiting < <(QT_QPA_PLATFORM=offscreen peak "$work/bin/voxa" /mode1 "$page")
row "Voxa.ini -> /dev/zero" "$viewer" "$waiting" - -
