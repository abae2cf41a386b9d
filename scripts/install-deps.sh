#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when something is missing.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd cmake || need+=(cmake)
have_cmd g++ || need+=(g++)
have_cmd clang++ || need+=(clang)
have_pkg libclang-rt-14-dev || need+=(libclang-rt-14-dev)
have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686)
have_pkg googletest || [ -d /usr/src/googletest ] || need+=(googletest)
have_pkg libbenchmark-dev || need+=(libbenchmark-dev)
have_pkg nlohmann-json3-dev || need+=(nlohmann-json3-dev)
have_cmd Xvfb || need+=(xvfb)
have_cmd xdotool || need+=(xdotool)
have_cmd chromium || need+=(chromium)
have_cmd xwd || need+=(x11-apps)
have_cmd import || need+=(imagemagick)  # screenshots of the demonstration drop
have_pkg wine32:i386 || need+=(wine wine32:i386)
# For a kernel that cannot run 32-bit programs: the tests then run a 64-bit build under wine64.
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${need[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

# A mirror being synced serves an index of the wrong size for a while: try the update again,
# and go on with what loaded (apt keeps the indexes that did), since the release's own suite
# holds every package named above.
for attempt in 1 2 3; do
  if apt-get update -qq; then
    break
  fi
  echo "apt-get update failed (attempt $attempt of 3)" >&2
  [ "$attempt" -lt 3 ] && sleep $((attempt * 5))
done

# With one architecture's update index missing, amd64 and i386 may offer different versions
# of a package that must match across them (wine, wine32:i386): the release's own suite then
# has both at one version.
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
if ! apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null; then
  echo "Installing again from the release's own suite ($release)" >&2
  if [ -z "$release" ] ||
     ! apt-get install -y -qq --no-install-recommends -t "$release" "${need[@]}" >/dev/null; then
    echo "Could not install: ${need[*]}; retry later with: bash scripts/install-deps.sh" >&2
    exit 1
  fi
fi
