#!/usr/bin/env bash
# Cross-builds the static libraries behind the stand-in archiver and tag DLLs
# (zlib, liblzma, libarchive, TagLib) for one Windows architecture from their
# Debian source packages, into a per-user cache keyed by the source versions,
# and links the result into the build tree as build/deps/media-<arch>.
# Usage: deps-media.sh x64|x86
# Needs a deb-src entry (scripts/setup.sh adds one before calling this).
set -euo pipefail

arch=${1:?usage: deps-media.sh x64|x86}
case "$arch" in x64 | x86) ;; *) echo "unknown architecture: $arch" >&2; exit 2 ;; esac

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARNUVO_BUILD:-$root/build}
cache=${TARNUVO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnuvo}

zlib_dir=zlib-1.2.13.dfsg
xz_dir=xz-utils-5.4.1
archive_dir=libarchive-3.6.2
taglib_dir=taglib-1.13
key="zlib-1.2.13_xz-5.4.1_archive-3.6.2_taglib-1.13"
prefix="$cache/deps-media-$key-$arch"

log() { printf '== %s\n' "$*" >&2; }

fetch_sources() {
  local work=$1
  mkdir -p "$work"
  (
    cd "$work"
    [ -d "$zlib_dir" ] || apt-get source -qq zlib >/dev/null
    [ -d "$xz_dir" ] || apt-get source -qq xz-utils >/dev/null
    [ -d "$archive_dir" ] || apt-get source -qq libarchive >/dev/null
    [ -d "$taglib_dir" ] || apt-get source -qq taglib >/dev/null
  )
}

configure() {
  local src=$1 bin=$2
  shift 2
  cmake -S "$src" -B "$bin" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null
}

build_all() {
  local work="$cache/src" b
  fetch_sources "$work"
  b="$work/b-media-$arch"
  rm -rf "$prefix" "$b"
  mkdir -p "$prefix/include" "$prefix/lib"

  # Debian's zlib source lacks the resource script of the shared library:
  # build the static target alone and install it by hand.
  log "cross-building zlib ($arch)"
  configure "$work/$zlib_dir" "$b/zlib"
  cmake --build "$b/zlib" --target zlibstatic >/dev/null
  cp "$work/$zlib_dir/zlib.h" "$b/zlib/zconf.h" "$prefix/include/"
  cp "$b/zlib/libzlibstatic.a" "$prefix/lib/libz.a"

  log "cross-building liblzma ($arch)"
  configure "$work/$xz_dir" "$b/xz"
  cmake --build "$b/xz" --target install >/dev/null

  # Only the static library: the shared one would compile every source twice.
  log "cross-building libarchive ($arch)"
  local off=()
  for o in TEST TAR CPIO CAT OPENSSL LIBXML2 EXPAT ICONV BZip2 LZ4 ZSTD LIBB2 CNG ACL XATTR \
    PCREPOSIX LIBGCC MBEDTLS NETTLE LZO WERROR; do
    off+=("-DENABLE_$o=OFF")
  done
  # Its one run-time check (whether zlib was built with ZLIB_WINAPI) crashes
  # CMake 3.25 when cross-compiling; our zlib is built without it. A regex
  # library is only for the command-line tools, which are off.
  configure "$work/$archive_dir" "$b/archive" "${off[@]}" -DENABLE_ZLIB=ON -DENABLE_LZMA=ON \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" \
    -DZLIB_WINAPI=0 -DZLIB_WINAPI_WITH_LIB="$prefix/lib/libz.a" -DPOSIX_REGEX_LIB=NONE
  grep -q '^#define HAVE_ZLIB_H 1' "$b/archive/config.h" || { echo "libarchive: no zlib" >&2; exit 1; }
  grep -q '^#define HAVE_LZMA_H 1' "$b/archive/config.h" || { echo "libarchive: no lzma" >&2; exit 1; }
  cmake --build "$b/archive" --target archive_static >/dev/null
  cp "$work/$archive_dir/libarchive/archive.h" "$work/$archive_dir/libarchive/archive_entry.h" \
    "$prefix/include/"
  cp "$b/archive/libarchive/libarchive_static.a" "$prefix/lib/libarchive.a"

  log "cross-building TagLib ($arch)"
  configure "$work/$taglib_dir" "$b/taglib" -DBUILD_BINDINGS=OFF -DBUILD_EXAMPLES=OFF -DWITH_ZLIB=ON \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" \
    -DCMAKE_CXX_FLAGS="-I/usr/include/utf8cpp"
  cmake --build "$b/taglib" --target install >/dev/null

  rm -rf "$b"
  touch "$prefix/.done"
}

# Not "[ -f ] || build_all": errexit is off inside a function called from a list like that.
if [ ! -f "$prefix/.done" ]; then build_all; fi
mkdir -p "$build/deps"
ln -sfn "$prefix" "$build/deps/media-$arch"
