#!/usr/bin/env bash
# Builds the decoding libraries that Debian ships only for Linux (libogg, libvorbis, libspng,
# libjpeg-turbo) from Debian's own source packages, static, for the targets named on the command
# line, into build/deps/<target>. The source version is the one of the Linux -dev package installed
# here, so every build decodes with the same code. A finished library leaves a stamp with its
# version: later runs reuse it and only check.
#
#   scripts/deps.sh mingw32 mingw64     the two Windows targets (zlib: Debian's libz-mingw-w64-dev)
#   scripts/deps.sh native32            32-bit Linux (gcc -m32), zlib included
#   scripts/deps.sh fuzz                clang with AddressSanitizer, UndefinedBehaviorSanitizer and
#                                       libFuzzer's coverage, so the fuzzers see inside the decoders
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deps="$root/build/deps"
jobs="$(nproc)"

# source_version <binary package>: the version of the source package it was built from.
source_version() {
  local v
  v="$(dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null)" || { echo "deps: $1 is not installed" >&2; exit 1; }
  echo "$v"
}

# fetch <source package> <version>: unpacks Debian's source with its patches applied, once.
fetch() {
  local name="$1" version="$2" upstream dir
  upstream="${version#*:}"; upstream="${upstream%-*}"
  dir="$deps/src/$name-$upstream"
  if [ ! -f "$dir/.unpacked-$version" ]; then
    echo "deps: fetching Debian's source of $name $version" >&2
    rm -rf "$dir" && mkdir -p "$deps/src/download-$name"
    (cd "$deps/src/download-$name" && rm -rf ./* && apt-get source -qq "$name=$version" >/dev/null 2>&1) || {
      echo "deps: apt-get source $name=$version failed (a deb-src entry is needed: scripts/setup.sh adds it)" >&2; exit 1; }
    mv "$deps/src/download-$name/$name-$upstream" "$dir"
    rm -rf "$deps/src/download-$name"
    touch "$dir/.unpacked-$version"
  fi
  echo "$dir"
}

# build <target> <source package> <version> <cmake options...>: configures, builds and installs
# one library into the target's prefix unless its stamp says this version is there.
build() {
  local target="$1" name="$2" version="$3"; shift 3
  local prefix="$deps/$target" stamp="$deps/$target/.$name-$version"
  [ -f "$stamp" ] && return 0
  local src; src="$(fetch "$name" "$version")"
  echo "deps: building $name $version for $target" >&2
  local work="$deps/work/$target-$name"
  rm -rf "$work" && mkdir -p "$deps/work"
  cmake -S "$src" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_INSTALL_LIBDIR="$prefix/lib" -DBUILD_SHARED_LIBS=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
    -DBUILD_TESTING=OFF "${target_options[@]}" "$@" >"$work.log" 2>&1 \
    && cmake --build "$work" -j"$jobs" >>"$work.log" 2>&1 \
    && cmake --install "$work" >>"$work.log" 2>&1 \
    || { echo "deps: building $name for $target failed; see $work.log" >&2; exit 1; }
  rm -rf "$work"
  touch "$stamp"
}

# build_zlib <target> <version> <compiler flags...>: zlib, compiled file by file. Debian's source
# lacks the Windows resource file that zlib's own CMake build lists even for a Linux target.
build_zlib() {
  local target="$1" version="$2"; shift 2
  local prefix="$deps/$target" stamp="$deps/$target/.zlib-$version"
  [ -f "$stamp" ] && return 0
  local src; src="$(fetch zlib "$version")"
  echo "deps: building zlib $version for $target" >&2
  local work="$deps/work/$target-zlib" f
  rm -rf "$work" && mkdir -p "$work/include"
  # An earlier CMake configuration of this source renames its zconf.h.
  cp "$src/zlib.h" "$work/include/"
  if [ -f "$src/zconf.h" ]; then cp "$src/zconf.h" "$work/include/"; else cp "$src/zconf.h.included" "$work/include/zconf.h"; fi
  for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees \
           trees uncompr zutil; do
    gcc "$@" -O2 -fPIC -D_LARGEFILE64_SOURCE=1 -DHAVE_HIDDEN -I"$work/include" -c "$src/$f.c" -o "$work/$f.o" \
      2>>"$work.log" || { echo "deps: building zlib for $target failed; see $work.log" >&2; exit 1; }
  done
  ar rcs "$prefix/lib/libz.a" "$work"/*.o
  cp "$work/include/zlib.h" "$work/include/zconf.h" "$prefix/include/"
  rm -rf "$work" "$work.log"
  touch "$stamp"
}

for target in "$@"; do
  prefix="$deps/$target"
  mkdir -p "$prefix/lib" "$prefix/include"
  case "$target" in
    mingw32|mingw64)
      triple=i686-w64-mingw32; [ "$target" = mingw64 ] && triple=x86_64-w64-mingw32
      target_options=(--toolchain "$root/cmake/toolchain-$triple.cmake")
      zlib_options=(-DZLIB_INCLUDE_DIR="/usr/$triple/include" -DZLIB_LIBRARY="/usr/$triple/lib/libz.a")
      # The 32-bit program runs on processors without SSE2, which libspng's filters assume.
      [ "$target" = mingw32 ] && zlib_options+=(-DENABLE_OPT=OFF) ;;
    native32)
      target_options=(-DCMAKE_C_FLAGS=-m32 -DCMAKE_CXX_FLAGS=-m32 -DCMAKE_ASM_NASM_FLAGS=-DELF
                      -DCMAKE_SYSTEM_PROCESSOR=i686 -DCMAKE_ASM_NASM_OBJECT_FORMAT=elf32)
      build_zlib "$target" "$(source_version zlib1g-dev)" -m32
      zlib_options=(-DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" -DENABLE_OPT=OFF) ;;
    fuzz)
      flags="-g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer"
      target_options=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "-DCMAKE_C_FLAGS=$flags"
                      "-DCMAKE_CXX_FLAGS=$flags" -DWITH_SIMD=OFF)
      zlib_options=() ;;
    *) echo "deps: unknown target $target (mingw32, mingw64, native32, fuzz)" >&2; exit 1 ;;
  esac
  ogg_version="$(source_version libogg-dev)"
  build "$target" libogg "$ogg_version" -DINSTALL_DOCS=OFF
  build "$target" libvorbis "$(source_version libvorbis-dev)" \
    -DOGG_INCLUDE_DIR="$prefix/include" -DOGG_LIBRARY="$prefix/lib/libogg.a"
  # Its static-only configuration is broken upstream: build both, link libspng_static.a.
  build "$target" libspng "$(source_version libspng-dev)" -DSPNG_SHARED=ON -DSPNG_STATIC=ON \
    -DBUILD_EXAMPLES=OFF "${zlib_options[@]}"
  build "$target" libjpeg-turbo "$(source_version libjpeg62-turbo-dev)" -DENABLE_SHARED=OFF \
    -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF
done
