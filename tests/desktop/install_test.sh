#!/usr/bin/env bash
# Installs the build into a temporary prefix with `cmake --install`, checks
# where each file went, runs the installed voxa through its bin/voxa link on
# the sample book (the Installed end-to-end test), then removes it all with
# the uninstaller the install left.
#   install_test.sh BUILD_DIR VOXA_E2E_TEST
set -euo pipefail
build=$1 e2e=$2
work=$(mktemp -d)
# The install rewrites the build folder's install_manifest.txt: keep the
# reader's own, should there be one.
manifest=$build/install_manifest.txt
[ ! -f "$manifest" ] || cp -p "$manifest" "$work/manifest"
finish() {
  if [ -f "$work/manifest" ]; then cp -p "$work/manifest" "$manifest"; else rm -f "$manifest"; fi
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "install: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

[ "$(readlink "$prefix/bin/voxa")" = ../lib/voxa/voxa ] || fail "bin/voxa is no relative link to lib/voxa/voxa"
[ -x "$prefix/lib/voxa/voxa" ] || fail "no lib/voxa/voxa"
for plugin in "$build"/bin/*.spi; do
  [ -f "$prefix/lib/voxa/$(basename "$plugin")" ] || fail "$(basename "$plugin") is not installed"
done
[ -f "$prefix/share/voxa/voxa_help.html" ] || fail "no help page"
[ -f "$prefix/share/man/man1/voxa.1" ] || fail "no manual page"
[ -f "$prefix/share/metainfo/org.voxa.Voxa.metainfo.xml" ] || fail "no AppStream metadata"
entry=$prefix/share/applications/org.voxa.Voxa.desktop
[ -f "$entry" ] || fail "no desktop entry"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$prefix/bin/$command" ] || fail "the launcher's command $command is not in bin/"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"
for size in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
  file "$png" | grep -q "PNG image data, $size x $size" || fail "$png is no $size x $size PNG"
done

VOXA_INSTALLED=$prefix/bin/voxa "$e2e" --gtest_filter='Installed.*' --gtest_brief=1 ||
  fail "the installed voxa failed"

"$prefix/lib/voxa/uninstall.sh" >/dev/null
left=$(find "$prefix" ! -type d)
[ -z "$left" ] || fail "the uninstaller left $left"
[ ! -d "$prefix/lib/voxa" ] && [ ! -d "$prefix/share/voxa" ] || fail "the uninstaller left voxa's folders"
echo "install: installed, ran and uninstalled"
