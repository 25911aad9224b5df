#!/usr/bin/env bash
# The manual page formats without a warning and names every option that the
# command line reads.
#   check_manual_page.sh voxa.1 command_line.cpp
set -euo pipefail
page=$1 parser=$2
warnings=$(LC_ALL=C.UTF-8 groff -t -man -ww -z -K utf8 "$page" 2>&1)
[ -z "$warnings" ] || { echo "manual page: $warnings"; exit 1; }
options=$(grep -oE '"/[a-z0-9]+"' "$parser" | tr -d '"' | sort -u)
[ -n "$options" ] || { echo "manual page: no options found in $parser"; exit 1; }
status=0
for option in $options; do
  grep -qE "^\.(B|BR|BI|RB) .*${option}" "$page" || { echo "manual page: $option is missing"; status=1; }
done
exit $status
