#!/bin/sh
# Runs a test program inside a fresh virtual X server with a 24-bit screen,
# so that window tests never touch the user's desktop.
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$@"
