#!/usr/bin/env bash
# Cross-builds the MP3, FLAC and Opus decoders (libmpg123, libFLAC, libopus)
# for one Windows architecture from their Debian source packages, static, and
# copies the opusfile sources beside them (opusfile has no CMake build; the
# project compiles its four files itself). The prefix lives in a per-user
# cache keyed by the source versions and is linked into the build tree as
# build/deps/decoders-<arch>.
# Usage: deps-decoders.sh x64|x86
# Needs a deb-src entry (scripts/setup.sh adds one before calling this).
#
# To build with a changed library, replace its unpacked source in
# <cache>/src/<dir> (for example mpg123-1.31.2), delete the prefix
# <cache>/deps-decoders-*-<arch> and run this script again.
set -euo pipefail

arch=${1:?usage: deps-decoders.sh x64|x86}
case "$arch" in x64 | x86) ;; *) echo "unknown architecture: $arch" >&2; exit 2 ;; esac

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARNUVO_BUILD:-$root/build}
cache=${TARNUVO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnuvo}

# package, upstream version (as in the .dsc name), unpacked folder
mpg123=(mpg123 1.31.2 mpg123-1.31.2)
flac=(flac 1.4.2+ds flac-1.4.2+ds)
opus=(opus 1.3.1 opus-1.3.1)
opusfile=(opusfile 0.12 opusfile-0.12)
key="mpg123-1.31.2_flac-1.4.2_opus-1.3.1_opusfile-0.12"
prefix="$cache/deps-decoders-$key-$arch"

log() { printf '== %s\n' "$*" >&2; }
die() { printf '%s\n' "$*" >&2; exit 1; }

# `apt-get source mpg123` fails: the .dsc lists a signature file of the
# upstream tarball that the archive does not serve. So every package is
# downloaded only, each file that arrived is checked against the SHA-256 list
# of the .dsc (which apt checked against the signed index), a missing file is
# allowed only for such a signature, and the source is unpacked without
# dpkg-source's own check; Debian's patches are applied as usual.
fetch() {
  local pkg=$1 version=$2 dir=$3
  [ -d "$dir" ] && return 0
  apt-get source -qq --download-only "$pkg" >/dev/null 2>&1 || true
  local dsc
  dsc=$(find . -maxdepth 1 -name "${pkg}_${version}-*.dsc" | sort -V | tail -n 1)
  [ -n "$dsc" ] || die "$pkg: no source package ${pkg}_${version} in the archive (is there a deb-src entry?)"
  local sum size file
  while read -r sum size file; do
    if [ ! -f "$file" ]; then
      case "$file" in *.asc) continue ;; esac
      die "$pkg: $file did not arrive"
    fi
    [ "$(stat -c %s "$file")" = "$size" ] || die "$pkg: $file has the wrong size"
    printf '%s  %s\n' "$sum" "$file" | sha256sum --quiet -c - || die "$pkg: $file fails its SHA-256"
  done < <(awk '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 } on { print $1, $2, $3 }' "$dsc")
  # Unpacked aside first: an interrupted unpack must not pass for a source.
  rm -rf "$dir.part"
  dpkg-source --no-check -x "$dsc" "$dir.part" >/dev/null
  mv "$dir.part" "$dir"
}

configure() {
  local src=$1 bin=$2
  shift 2
  cmake -S "$src" -B "$bin" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null
}

build_all() {
  local work="$cache/src" b
  mkdir -p "$work"
  (
    cd "$work"
    for p in mpg123 flac opus opusfile; do
      declare -n spec=$p
      fetch "${spec[@]}"
    done
  )
  b="$work/b-decoders-$arch"
  rm -rf "$prefix" "$b"
  mkdir -p "$prefix"

  # Built with large-file support, the library still exports the plain names
  # taking mingw's 32-bit off_t (as wrappers), which a consumer that leaves
  # _FILE_OFFSET_BITS alone calls.
  log "cross-building libmpg123 ($arch)"
  configure "$work/${mpg123[2]}/ports/cmake" "$b/mpg123" -DBUILD_LIBOUT123=OFF -DNETWORK=OFF
  if ! cmake --build "$b/mpg123" --target install >"$b/mpg123.log" 2>&1; then
    [ "$arch" = x86 ] || { cat "$b/mpg123.log" >&2; die "libmpg123 failed"; }
    # The x86 assembly decoders did not build: a machine check answered "no"
    # in advance leaves the generic FPU decoder.
    log "libmpg123's x86 assembly failed; building the generic FPU decoder"
    rm -rf "$b/mpg123"
    configure "$work/${mpg123[2]}/ports/cmake" "$b/mpg123" -DBUILD_LIBOUT123=OFF -DNETWORK=OFF \
      -DHAVE_ARCH_IS_X86=OFF
    cmake --build "$b/mpg123" --target install >/dev/null
  fi

  log "cross-building libFLAC ($arch)"
  configure "$work/${flac[2]}" "$b/flac" -DBUILD_CXXLIBS=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF \
    -DBUILD_DOCS=OFF -DWITH_OGG=OFF -DINSTALL_MANPAGES=OFF -DWITH_STACK_PROTECTOR=OFF \
    -DWITH_FORTIFY_SOURCE=OFF
  cmake --build "$b/flac" --target install >/dev/null

  # Stack protection would need libssp. The release tarball lacks a file its
  # CMakeLists.txt includes, which only picks a default build type: ours is
  # given, so an empty one does. Without Git its version comes from the
  # tarball, not from `git describe` in whatever repository we run in.
  log "cross-building libopus ($arch)"
  [ -f "$work/${opus[2]}/opus_buildtype.cmake" ] || : >"$work/${opus[2]}/opus_buildtype.cmake"
  configure "$work/${opus[2]}" "$b/opus" -DOPUS_STACK_PROTECTOR=OFF -DOPUS_BUILD_PROGRAMS=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_Git=ON
  cmake --build "$b/opus" --target install >/dev/null

  log "installing the opusfile sources ($arch)"
  local of="$work/${opusfile[2]}"
  mkdir -p "$prefix/include/opus" "$prefix/src/opusfile"
  cp "$of/include/opusfile.h" "$prefix/include/opus/"
  cp "$of/src/info.c" "$of/src/internal.c" "$of/src/internal.h" "$of/src/opusfile.c" \
    "$of/src/stream.c" "$prefix/src/opusfile/"

  rm -rf "$b"
  touch "$prefix/.done"
}

# Two runs on one cache (either architecture: they share the sources) would
# undo each other's work: the second waits. An `if`, not `||`, so that
# errexit stays on inside build_all.
mkdir -p "$cache"
exec 9>"$cache/.deps-decoders.lock"
flock 9
if [ ! -f "$prefix/.done" ]; then build_all; fi
flock -u 9
mkdir -p "$build/deps"
ln -sfn "$prefix" "$build/deps/decoders-$arch"
