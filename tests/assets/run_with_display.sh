#!/bin/bash
# Runs a test program on a private Xvfb display, stopped when it ends.
set -u
source "$(dirname "$(realpath "$0")")/../e2e/xvfb.sh"
start_xvfb
"$@"
