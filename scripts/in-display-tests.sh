#!/usr/bin/env bash
# Runs inside the virtual display: one persistent wineserver for every test process.
source "$(dirname "$0")/common.sh"
velmora_prepare_prefix
velmora_start_wineserver
source "$(dirname "$0")/nginx.sh"
velmora_start_nginx
velmora_register_standins
cd "$VELMORA_BUILD"
ctest --output-on-failure "$@"
