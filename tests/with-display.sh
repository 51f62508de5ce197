#!/usr/bin/env bash
# Runs a test program inside a fresh virtual X server (24-bit, 1024x768), so
# that window tests never touch the user's desktop. Xvfb picks a free display
# number itself (-displayfd), so any number of these can run at once.
set -u
numberFile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numberFile" 2>/dev/null &
server=$!
for _ in $(seq 1 200); do
  grep -q . "$numberFile" 2>/dev/null && [ "$(tail -c1 "$numberFile" | od -An -c | tr -d ' ')" = '\n' ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.05
done
number=$(head -n1 "$numberFile")
rm -f "$numberFile"
if [ -z "$number" ]; then
  echo "with-display.sh: Xvfb did not start" >&2
  kill "$server" 2>/dev/null
  exit 1
fi
DISPLAY=":$number" "$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit $status
