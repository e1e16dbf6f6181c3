#!/usr/bin/env bash
# Runs inside a display: prefix, stand-ins, then the demo host.
source "$(dirname "$0")/common.sh"
velmora_prepare_prefix
velmora_start_wineserver
source "$(dirname "$0")/nginx.sh"
velmora_start_nginx
velmora_register_standins
cd "$VELMORA_BUILD/bin"
wine VelmoraDemo.exe "$@"
