#!/usr/bin/env bash
# Fails when a file includes what its layer may not: Qt outside src/platform,
# or a subsystem above its own (viewer > catalog, settings > picture, sources > platform).
# resources holds plain tables over platform's types, for every window above it.
set -u
root=$1
status=0
report() { echo "layering: $1"; status=1; }

while IFS= read -r hit; do report "Qt outside platform: $hit"; done < <(
  grep -rnE '#include\s*[<"]Q[A-Za-z]+' "$root/src" "$root/plugins" --include='*.h' --include='*.cpp' |
    grep -v "^$root/src/platform/")

may_include() {
  case $1 in
    platform) echo "platform" ;;
    resources) echo "platform resources" ;;
    sources|picture) echo "platform sources picture" ;;
    settings|catalog) echo "platform sources picture settings catalog resources" ;;
    viewer) echo "platform sources picture settings catalog viewer resources" ;;
  esac
}
for dir in "$root"/src/*/; do
  layer=$(basename "$dir")
  allowed=$(may_include "$layer")
  [ -n "$allowed" ] || continue
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -nE 's/.*#include\s*"([a-z_]+)\/.*/\1/p' <<<"$line")
    [ -n "$target" ] && [ -d "$root/src/$target" ] || continue
    [[ " $allowed " == *" $target "* ]] || report "$layer may not include $target: $line"
  done < <(grep -rnE '#include\s*"[a-z_]+/' "$dir" --include='*.h' --include='*.cpp')
done
# picture and sources sit side by side; sources must not reach up into picture.
while IFS= read -r hit; do report "sources may not include picture: $hit"; done < <(
  grep -rnE '#include\s*"picture/' "$root/src/sources" 2>/dev/null)
[ $status -eq 0 ] && echo "layering: clean"
exit $status
