#!/bin/sh
# Runs a test program on a pseudo-terminal (the console API needs one) and
# prints its report from the XML file, since the terminal's own output is
# full of the console's escape sequences. Usage: run-on-terminal.sh REPORT PROGRAM...
Report=$1
shift
rm -f "$Report"
# A Windows program takes "/x/y" as relative to its drive: name the report
# from the folder it is written in.
cd "$(dirname "$Report")" || exit 1
script -qec "$* --gtest_output=xml:$(basename "$Report")" /dev/null >/dev/null 2>&1
Status=$?
if [ -f "$Report" ]; then
  grep -o '<testcase name="[^"]*"[^>]*result="[^"]*"\|<failure message="[^"]*"\|<skipped message="[^"]*"' "$Report" |
    sed 's/&#x0A;/\n    /g; s/&quot;/"/g; s/&lt;/</g; s/&gt;/>/g; s/&amp;/\&/g'
else
  echo "no report: the program did not run"
  Status=1
fi
exit $Status
