#!/usr/bin/env bash
# Builds the third-party libraries of the Windows cross builds from Debian's
# sources into deps/<triple>/ (git-ignored): SQLite and pugixml from their
# Debian source packages (apt-get source, needs the deb-src entry that
# scripts/setup-windows.sh adds), GoogleTest from /usr/src/googletest.
# All static, compiled with the same mingw-w64 compilers as the component.
# Skips whatever is already built for the same source versions.
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
for triple in i686-w64-mingw32 x86_64-w64-mingw32; do
  prefix=$deps/$triple
  build=$deps/build/$triple
  toolchain=$root/cmake/toolchain-$triple.cmake
  mkdir -p "$prefix/include" "$prefix/lib" "$build"
  stamp="$prefix/.built-$(basename "$sqlite_src")-$(basename "$pugixml_src")-gtest-$gtest_version"
  [[ -f $stamp ]] && { echo "$triple: up to date"; continue; }
  echo "$triple: building SQLite, pugixml, GoogleTest"

  "$triple-gcc-posix" -O2 -DNDEBUG -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION \
    -c "$amalgamation/sqlite3.c" -o "$build/sqlite3.o"
  rm -f "$prefix/lib/libsqlite3.a"
  "$triple-ar" rcs "$prefix/lib/libsqlite3.a" "$build/sqlite3.o"
  cp "$amalgamation/sqlite3.h" "$amalgamation/sqlite3ext.h" "$prefix/include/"

  cmake -S "$pugixml_src" -B "$build/pugixml" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQARVEX_DEPS_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build/pugixml" -j "$jobs" >/dev/null
  cmake --install "$build/pugixml" >/dev/null

  cmake -S "$gtest_src" -B "$build/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQARVEX_DEPS_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON >/dev/null
  cmake --build "$build/googletest" -j "$jobs" >/dev/null
  cmake --install "$build/googletest" >/dev/null

  rm -f "$prefix"/.built-*
  touch "$stamp"
done
