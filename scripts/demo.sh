#!/usr/bin/env bash
# Installs what is missing, builds and runs the demo host. Without a display it runs its
# scripted tour in a virtual one and exits with the tour's result.
source "$(dirname "$0")/common.sh"
velmora_install_packages
velmora_build
if [ -n "${DISPLAY:-}" ]; then
    "$VELMORA_ROOT/scripts/in-display-demo.sh" "$@"
else
    xvfb-run -a -s "-screen 0 1280x800x24" "$VELMORA_ROOT/scripts/in-display-demo.sh" --tour "$@"
fi
