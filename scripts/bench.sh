#!/usr/bin/env bash
# Builds and runs every benchmark under Wine; each prints its ratio table.
source "$(dirname "$0")/common.sh"
velmora_install_packages
velmora_build
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
source "$0/scripts/common.sh"
velmora_prepare_prefix
velmora_start_wineserver
velmora_register_standins
for exe in "$VELMORA_BUILD"/bin/bench_*.exe; do
    [ -e "$exe" ] && wine "$exe"
done' "$VELMORA_ROOT"
