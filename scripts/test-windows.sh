#!/usr/bin/env bash
# make test-windows: builds the Qt-free core with the Win32 backend and its tests for 64-bit Windows
# with MinGW-w64, and runs them through ctest under Wine, in a private Wine prefix set to Windows 10.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_WINDOWS:-build-windows}
jobs=${JOBS:-$(nproc)}

# Install what is missing (as root), or say how.
scripts/install-deps.sh scripts/windows-packages.txt

wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver
# Wine cannot create non-ASCII file names under the C or POSIX locale.
export LC_ALL=C.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/nagitori-wine-XXXXXX")
export WINEPREFIX

cleanup() {
  "$server" -k 2>/dev/null || true
  "$server" -w 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

# Set the prefix up and let it settle: services that start while the prefix is still being made come up
# twice and then fail every shell call after a long wait.
"$wine" wineboot -i </dev/null >/dev/null 2>&1
"$wine" winecfg -v win10 </dev/null >/dev/null 2>&1
# There is no display here; Wine's null display driver lets the shell make its windows all the same.
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
"$server" -w

# Wine's helper processes keep the first Wine process's output open, and every pipe (ctest's too) would
# wait for them: start the server and the prefix's services detached, before anything reads a pipe.
"$server" -p </dev/null >/dev/null 2>&1
"$wine" wineboot </dev/null >/dev/null 2>&1

cmake -S . -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" \
  -DNAGITORI_CORE_ONLY=ON -DNAGITORI_BENCH=OFF -DNAGITORI_WERROR="${WERROR:-OFF}" \
  -DNAGITORI_GTEST_SOURCE_DIR=/usr/src/googletest >/dev/null
cmake --build "$build" -j "$jobs"
cd "$build" && ctest --output-on-failure -j "$jobs"
