#!/usr/bin/env bash
# A program's manual page names every option its --help names, and groff
# renders it without a warning.  Usage: man_page_test.sh PROGRAM PAGE
program=$1 page=$2 status=0
text=$(sed 's/\\-/-/g' "$page")
for option in $("$program" --help | sed -n 's/^  \(-[-a-z]*\).*/\1/p'); do
  grep -qe "$option\b" <<<"$text" || { echo "$page: no $option, which --help names"; status=1; }
done
warnings=$(groff -ww -man -z "$page" 2>&1)
[ -z "$warnings" ] || { echo "$page: $warnings"; status=1; }
exit $status
