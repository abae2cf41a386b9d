# Source from the project's root: jotwell_wine_build JOBS [TARGET...] builds the 32-bit program
# (build/win; only the targets named, when any are) and picks the build that Wine can run, in
# JOTWELL_WINE_BUILD.
# Some kernels run no 32-bit program at all (Exec format error), and 32-bit Wine with them.
# The 32-bit Jotwell.exe is then still built, but everything that runs under Wine runs on a
# 64-bit build of the same sources (build/win64) under the 64-bit Wine loader, which
# cmake/wine64 puts first in PATH (exported here for the caller).
jotwell_wine_build() {
  local jobs=$1 targets=()
  shift
  [ $# -gt 0 ] && targets=(--target "$@")
  cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/win -j"$jobs" "${targets[@]}"
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    JOTWELL_WINE_BUILD=build/win
    return 0
  fi
  echo "NOTE: this kernel cannot run 32-bit programs; what runs under Wine runs on a 64-bit build"
  export PATH=$PWD/cmake/wine64:$PATH
  cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/win64 -j"$jobs" "${targets[@]}"
  JOTWELL_WINE_BUILD=build/win64
}
