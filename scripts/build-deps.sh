#!/usr/bin/env bash
# Builds the third-party libraries of the cross builds from Debian's sources
# into deps/<triple>/ (git-ignored): SQLite and pugixml from their Debian
# source packages (apt-get source, needs the deb-src entry that
# scripts/setup-windows.sh adds) and, for the Windows builds, GoogleTest
# from /usr/src/googletest. All static, compiled with the same compilers as
# the component: mingw-w64 for Windows, clang against the target's Debian
# root for the portable Linux libraries (position-independent, with hidden
# symbols, since they end up inside a shared library).
# Skips whatever is already built for the same source versions.
#
#   build-deps.sh TRIPLE...    i686-w64-mingw32, x86_64-w64-mingw32,
#                              x86_64-linux-gnu, i686-linux-gnu, aarch64-linux-gnu
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=${QARVEX_DEPS_DIR:-$root/deps}
src=$deps/src
jobs=${QARVEX_JOBS:-2}
mkdir -p "$src"

# --- sources -------------------------------------------------------------
fetch() {  # fetch PACKAGE: unpacked Debian source tree in $src (patches applied)
  local pkg=$1 version dir
  version=$(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -V | tail -1)
  dir=$src/$pkg-$version
  if [[ ! -d $dir ]]; then
    local tmp; tmp=$(mktemp -d "$src/.fetch.XXXXXX")
    (cd "$tmp" && apt-get source -q "$pkg=$version" >/dev/null 2>&1) ||
      { echo "apt-get source $pkg failed (is the deb-src entry there? run scripts/setup-windows.sh)" >&2; exit 1; }
    local unpacked; unpacked=$(find "$tmp" -mindepth 1 -maxdepth 1 -type d | head -1)
    mv "$unpacked" "$dir"
    rm -rf "$tmp"
  fi
  echo "$dir"
}

sqlite_src=$(fetch sqlite3)
pugixml_src=$(fetch pugixml)
gtest_src=/usr/src/googletest
gtest_version=$(dpkg-query -W -f='${Version}' googletest)

# The SQLite amalgamation (sqlite3.c, sqlite3.h) is generated on the build
# machine once; both targets compile the same file.
amalgamation=$src/sqlite3-amalgamation-$(basename "$sqlite_src")
if [[ ! -f $amalgamation/sqlite3.c ]]; then
  rm -rf "$amalgamation.build"
  mkdir -p "$amalgamation.build"
  (cd "$amalgamation.build" && "$sqlite_src/configure" --disable-tcl >/dev/null &&
     make -j"$jobs" sqlite3.c >/dev/null)
  mkdir -p "$amalgamation"
  cp "$amalgamation.build"/sqlite3.c "$amalgamation.build"/sqlite3.h "$amalgamation.build"/sqlite3ext.h "$amalgamation"/
  rm -rf "$amalgamation.build"
fi

# --- per target ----------------------------------------------------------
(($#)) || { echo "usage: scripts/build-deps.sh TRIPLE..." >&2; exit 2; }
for triple in "$@"; do
  prefix=$deps/$triple
  build=$deps/build/$triple
  toolchain=$root/cmake/toolchain-$triple.cmake
  mkdir -p "$prefix/include" "$prefix/lib" "$build"
  # GoogleTest for every target whose own test suites are built; the
  # portable x86_64 library is tested by the machine's own build instead.
  case $triple in
    *-w64-mingw32) windows=1 tests=1 ;;
    x86_64-linux-gnu) windows=0 tests=0 ;;
    *-linux-gnu) windows=0 tests=1 ;;
    *) echo "build-deps.sh: unknown target '$triple'" >&2; exit 2 ;;
  esac
  # The Linux libraries depend on the root they were compiled against.
  sysroot_id=""
  if ((!windows)); then
    sysroot_id=-$(readlink -f "${QARVEX_ROOTS_DIR:-/var/cache/qarvex-termemu/roots}/sysroot-$triple" | md5sum | cut -c1-8)
  fi
  stamp="$prefix/.built-$(basename "$sqlite_src")-$(basename "$pugixml_src")-$(md5sum <"$root/cmake/old_glibc_symbols.h" | cut -c1-8)"
  stamp+="-json-$(dpkg-query -W -f='${Version}' nlohmann-json3-dev)"
  ((tests)) && stamp+="-gtest-$gtest_version"
  stamp+=$sysroot_id
  [[ -f $stamp ]] && { echo "$triple: up to date"; continue; }
  echo "$triple: building SQLite, pugixml$( ((tests)) && echo ", GoogleTest")"

  # Both through the target's CMake toolchain, so that SQLite is compiled
  # with exactly the compiler and flags the component gets.
  sqlite_project=$build/sqlite3-project
  mkdir -p "$sqlite_project"
  cat >"$sqlite_project/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(sqlite3 C)
add_library(sqlite3 STATIC "$amalgamation/sqlite3.c")
target_compile_definitions(sqlite3 PRIVATE NDEBUG SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  target_compile_options(sqlite3 PRIVATE -include "$root/cmake/old_glibc_symbols.h")
endif()
install(TARGETS sqlite3 ARCHIVE DESTINATION lib)
install(FILES "$amalgamation/sqlite3.h" "$amalgamation/sqlite3ext.h" DESTINATION include)
CMAKE
  common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQARVEX_DEPS_PREFIX="$prefix"
          -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF
          -DCMAKE_POSITION_INDEPENDENT_CODE=ON -DCMAKE_C_VISIBILITY_PRESET=hidden
          -DCMAKE_CXX_VISIBILITY_PRESET=hidden -DCMAKE_VISIBILITY_INLINES_HIDDEN=ON)
  for project in sqlite3:"$sqlite_project" pugixml:"$pugixml_src"; do
    name=${project%%:*}
    rm -rf "$build/$name"
    cmake -S "${project#*:}" -B "$build/$name" "${common[@]}" -DPUGIXML_BUILD_TESTS=OFF >"$build/$name.log" 2>&1 &&
      cmake --build "$build/$name" -j "$jobs" >>"$build/$name.log" 2>&1 &&
      cmake --install "$build/$name" >>"$build/$name.log" 2>&1 ||
      { cat "$build/$name.log" >&2; echo "build-deps.sh: $name for $triple failed" >&2; exit 1; }
  done

  # nlohmann/json (header-only, the command-line tool's) from Debian's
  # package, laid out in the prefix so that the cross build finds it there
  # and not among the build machine's own headers.
  mkdir -p "$prefix/share/cmake"
  rm -rf "$prefix/include/nlohmann" "$prefix/share/cmake/nlohmann_json"
  cp -r /usr/include/nlohmann "$prefix/include/"
  cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"

  if ((!tests)); then
    rm -f "$prefix"/.built-*
    touch "$stamp"
    continue
  fi
  cmake -S "$gtest_src" -B "$build/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQARVEX_DEPS_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON >/dev/null
  cmake --build "$build/googletest" -j "$jobs" >/dev/null
  cmake --install "$build/googletest" >/dev/null

  rm -f "$prefix"/.built-*
  touch "$stamp"
done
