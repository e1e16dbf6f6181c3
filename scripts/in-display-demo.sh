#!/usr/bin/env bash
# Runs inside a display: prefix, stand-ins, the local file server and the demo's data, then the
# demo host.
source "$(dirname "$0")/common.sh"
velmora_prepare_prefix
velmora_start_wineserver
source "$(dirname "$0")/nginx.sh"
velmora_start_nginx
velmora_register_standins

# The demo's models: one plain, one packed for the model reader, one on the file server.
cd "$VELMORA_BUILD/bin"
mkdir -p demo-data
cp "$VELMORA_ROOT/demo/models/lamp.wrl" demo-data/
wine velmora-pack.exe "$(winepath -w "$VELMORA_ROOT/demo/models/stool.wrl")" 'demo-data\stool.vmpk' >/dev/null
mkdir -p "$VELMORA_HTTP_ROOT/quorbelV4"
cp "$VELMORA_ROOT/demo/models/chair.wrl" "$VELMORA_HTTP_ROOT/quorbelV4/"

wine VelmoraDemo.exe "$@"
