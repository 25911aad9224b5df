#!/usr/bin/env bash
# Builds the Debian package with cpack, checks the dependencies it declares
# and that this machine meets them, unpacks it (dpkg-deb -x) into a temporary
# folder and runs the unpacked voxa on the sample book (the Installed
# end-to-end test).
#   package_test.sh BUILD_DIR VOXA_E2E_TEST
set -euo pipefail
build=$1 e2e=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/out/voxa_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || fail "cpack made no voxa_*.deb"

# The font and the X11 platform plug-in that voxa loads at run time, and the
# libraries dpkg-shlibdeps found in voxa and in every plug-in.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-ipaexfont-gothic qt6-qpa-plugins libqt6widgets libicu libjpeg libpng libgif \
              libwebp libarchive; do
  grep -qE "(^|[ ,|])$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

# One alternative, "name" or "name (op version)", is met by an installed package.
met() {
  local name=${1%% *} status version op wanted
  status=$(dpkg-query -W -f='${Status} ${Version}' "$name" 2>/dev/null) || return 1
  [[ $status == "install ok installed "* ]] || return 1
  [[ $1 == *"("* ]] || return 0
  version=${status##* }
  read -r op wanted <<<"$(sed -E 's/.*\(([<>=]+) *([^)]+)\).*/\1 \2/' <<<"$1")"
  dpkg --compare-versions "$version" "$op" "$wanted"
}
IFS=',' read -ra groups <<<"$depends"
for group in "${groups[@]}"; do
  IFS='|' read -ra alternatives <<<"$group"
  ok=
  for alternative in "${alternatives[@]}"; do
    alternative=$(xargs <<<"$alternative")
    if met "$alternative"; then ok=1; break; fi
  done
  [ -n "$ok" ] || fail "not met on this machine: $group"
done

contents=$(dpkg-deb -c "$deb")
grep -q "uninstall.sh" <<<"$contents" && fail "the package holds the uninstaller"
dpkg-deb -x "$deb" "$work/root"
VOXA_INSTALLED=$work/root/usr/bin/voxa "$e2e" --gtest_filter='Installed.*' --gtest_brief=1 ||
  fail "the unpacked voxa failed"
echo "package: $(basename "$deb") built, its dependencies met, unpacked and ran"
