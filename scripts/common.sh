# Shared by the README's commands: packages, build, Wine prefix and stand-in registration.
# Source it; it sets -eu and defines the functions below.
set -euo pipefail

VELMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VELMORA_BUILD=${VELMORA_BUILD:-$VELMORA_ROOT/build}

export WINEPREFIX=$VELMORA_BUILD/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="/usr/lib/gcc/x86_64-w64-mingw32/12-posix;/usr/x86_64-w64-mingw32/lib"
export LC_ALL=C.UTF-8
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY all_proxy ALL_PROXY

VELMORA_PACKAGES=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev wine wine64 xvfb xauth x11-utils libboost-dev googletest nginx
    python3 locales)

velmora_install_packages() {
    local missing=()
    for pkg in "${VELMORA_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    if ((${#missing[@]})); then
        echo "installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" = 0 ] || sudo=sudo
        $sudo apt-get update -q
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
    velmora_ensure_locale zh_CN.UTF-8 "zh_CN.UTF-8 UTF-8"
}

# Tests switch Wine's code page through LC_ALL; the locale must exist on the host.
velmora_ensure_locale() {
    if ! locale -a 2>/dev/null | grep -qi "^${1/UTF-8/utf8}$"; then
        local sudo=""
        [ "$(id -u)" = 0 ] || sudo=sudo
        grep -q "^$2" /etc/locale.gen 2>/dev/null || echo "$2" | $sudo tee -a /etc/locale.gen >/dev/null
        $sudo locale-gen >/dev/null
    fi
}

velmora_build() {
    cmake -S "$VELMORA_ROOT" -B "$VELMORA_BUILD" \
        -DCMAKE_TOOLCHAIN_FILE="$VELMORA_ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$VELMORA_BUILD" -j"$(nproc)"
}

# A project-local 64-bit prefix that fails fast on a crash instead of showing a dialog.
velmora_prepare_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "creating Wine prefix in $WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
    # A crash fails fast instead of waiting on a dialog; without a window manager under Xvfb,
    # unmanaged windows show and hide at once instead of after a two-second wait.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
}

# One persistent wineserver for every Wine process that follows; stopped on exit.
velmora_start_wineserver() {
    wineserver -p 2>/dev/null || true  # already running: it serves us too
    trap 'wineserver -k 2>/dev/null || true' EXIT
    # Start Wine's background services now, detached from any output pipe: started by the
    # first test they would inherit its pipe and keep CTest waiting after the test has ended.
    wine cmd.exe /c exit >/dev/null 2>&1 </dev/null
}

# Registers every stand-in COM server of the build (bin/standin_*.dll) in the prefix.
velmora_register_standins() {
    local dll
    for dll in "$VELMORA_BUILD"/bin/standin_*.dll; do
        [ -e "$dll" ] || continue
        wine regsvr32 /s "$(winepath -w "$dll")" >/dev/null 2>&1 ||
            { echo "could not register $dll" >&2; return 1; }
    done
}
