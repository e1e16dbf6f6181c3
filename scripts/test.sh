#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite under Wine in one virtual
# display. Extra arguments go to ctest (for example -R host).
source "$(dirname "$0")/common.sh"
velmora_install_packages
velmora_build
xvfb-run -a -s "-screen 0 1920x1080x24" "$VELMORA_ROOT/scripts/in-display-tests.sh" "$@"
