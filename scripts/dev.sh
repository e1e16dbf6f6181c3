#!/usr/bin/env bash
# For developers working side by side in one tree: builds and runs tests (ctest arguments
# pass through, e.g. -R test_host) while holding a lock, so that two builds or two Wine
# sessions never run at once.
exec flock /tmp/velmora-dev.lock bash -c '
source "$0/scripts/common.sh"
velmora_build
xvfb-run -a -s "-screen 0 1920x1080x24" "$VELMORA_ROOT/scripts/in-display-tests.sh" "${@:1}"
' "$(cd "$(dirname "$0")/.." && pwd)" "$@"
