#!/usr/bin/env bash
# Prepares this machine and the build tree: Debian packages, the cross-built
# libraries for both Windows builds, and a private Wine prefix.
# Idempotent: every step checks what is already there.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARNUVO_BUILD:-$root/build}
cache=${TARNUVO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnuvo}
mkdir -p "$build" "$cache"

log() { printf '== %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

packages=(
  # build tools
  cmake ninja-build make git pkg-config dpkg-dev python3 g++ clang-format
  # cross compilers (posix threads, so std::thread works)
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  # Windows runtime; wine32 must never be installed on this kernel
  wine wine64 xvfb xauth x11-utils imagemagick locales fonts-ipafont-gothic fonts-ipafont-mincho
  # Wine's own fonts (Marlett draws the caption buttons)
  fonts-wine
  # native core
  libvorbis-dev libogg-dev googletest libbenchmark-dev clang libclang-rt-14-dev
  libmpg123-dev libflac-dev libopus-dev libopusfile-dev
  # media tools used by tests and benchmarks
  sox vorbis-tools lame flac opus-tools mpg123
  # archive fixtures and the TagLib build of the stand-in tag DLL
  zip p7zip-full libutfcpp-dev
  # DirectShow under Wine decodes through GStreamer; a null sink hears it
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-libav
  pulseaudio pulseaudio-utils bc
)

install_packages() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if dpkg-query -W -f='${Status}' wine32 2>/dev/null | grep -q 'install ok installed'; then
    log "removing wine32 (it breaks the wine command on this kernel)"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y wine32
  fi
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

ensure_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    log "generating ja_JP.UTF-8"
    if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
      echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen >/dev/null
  fi
}

# A deb-src entry for the main archive, derived from the machine's own entry.
ensure_deb_src() {
  if grep -rqs '^[[:space:]]*deb-src[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list ||
     grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/*.sources; then
    return 0
  fi
  local suite
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  local src=/etc/apt/sources.list.d/tarnuvo-src.sources
  local list=/etc/apt/sources.list.d/tarnuvo-src.list
  local stanza
  stanza=$(python3 - "$suite" <<'PY'
import glob, re, sys
suite = sys.argv[1]
for f in sorted(glob.glob('/etc/apt/sources.list.d/*.sources')):
    for block in re.split(r'\n\s*\n', open(f).read()):
        fields = {}
        for line in block.splitlines():
            if line.startswith('#') or ':' not in line or line[0].isspace():
                continue
            k, v = line.split(':', 1)
            fields[k.strip()] = v.strip()
        if 'deb' in fields.get('Types', '').split() and suite in fields.get('Suites', '').split():
            out = ['Types: deb-src', 'URIs: ' + fields['URIs'], 'Suites: ' + suite,
                   'Components: ' + fields.get('Components', 'main')]
            if 'Signed-By' in fields:
                out.append('Signed-By: ' + fields['Signed-By'])
            print('\n'.join(out))
            sys.exit(0)
PY
)
  if [ -n "$stanza" ]; then
    log "adding a deb-src entry ($src)"
    printf '%s\n' "$stanza" | as_root tee "$src" >/dev/null
  else
    local line
    line=$(grep -hE "^[[:space:]]*deb[[:space:]]+[^[:space:]]+[[:space:]]+$suite[[:space:]]" \
      /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | head -n 1 || true)
    [ -n "$line" ] || { echo "no Debian main archive entry found for $suite" >&2; exit 1; }
    log "adding a deb-src entry ($list)"
    printf '%s\n' "${line/deb/deb-src}" | as_root tee "$list" >/dev/null
  fi
  as_root apt-get update -qq
}

toolchain_file() { echo "$root/cmake/mingw-$1.cmake"; }

# Cross-builds the static libraries for one Windows architecture into a
# per-user cache keyed by the source versions, then links it into the build tree.
build_deps() {
  local arch=$1 key="ogg-1.3.5_vorbis-1.3.7"
  local prefix="$cache/deps-$key-$arch"
  if [ ! -f "$prefix/.done" ]; then
    ensure_deb_src
    local work="$cache/src"
    mkdir -p "$work"
    ( cd "$work"
      [ -d libogg-1.3.5 ] || apt-get source -qq libogg >/dev/null
      [ -d libvorbis-1.3.7 ] || apt-get source -qq libvorbis >/dev/null )
    rm -rf "$prefix" "$work/b-$arch"
    local tc; tc=$(toolchain_file "$arch")
    log "cross-building libogg ($arch)"
    cmake -S "$work/libogg-1.3.5" -B "$work/b-$arch/ogg" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" \
      -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF -DINSTALL_DOCS=OFF \
      -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
    cmake --build "$work/b-$arch/ogg" --target install >/dev/null
    log "cross-building libvorbis ($arch)"
    cmake -S "$work/libvorbis-1.3.7" -B "$work/b-$arch/vorbis" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" \
      -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
    cmake --build "$work/b-$arch/vorbis" --target install >/dev/null
    touch "$prefix/.done"
  fi
  mkdir -p "$build/deps"
  ln -sfn "$prefix" "$build/deps/$arch"
}

wine_prefix() {
  local wp="$build/wineprefix"
  [ -f "$wp/.ready" ] && return 0
  log "creating the Wine prefix"
  rm -rf "$wp"
  export WINEPREFIX="$wp" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
  touch "$wp/.ready"
}

# The Japanese faces that the program and its dialog template name do not
# exist under Wine: substitutes make the texts render instead of boxes. Only
# the prefix is changed; the program itself writes nothing to the registry.
wine_font_substitutes() {
  local wp="$build/wineprefix"
  local reg
  reg=$(cat <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"ＭＳ Ｐ明朝"="IPAPMincho"
"ＭＳ 明朝"="IPAMincho"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS PMincho"="IPAPMincho"
"MS Mincho"="IPAMincho"
"MS UI Gothic"="IPAPGothic"
REG
)
  # Wine draws the caption buttons with Marlett, which this Wine does not
  # find in its own data folder.
  local marlett=/usr/share/wine/fonts/marlett.ttf fonts="$wp/drive_c/windows/Fonts"
  if [ -f "$marlett" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp "$marlett" "$fonts/marlett.ttf"
  fi
  local marker
  marker="$wp/.font-substitutes-$(printf '%s' "$reg" | md5sum | cut -c1-12)"
  [ -f "$marker" ] && return 0
  log "adding font substitutes for the Japanese faces to the Wine prefix"
  local file="$wp/font-substitutes.reg"
  # regedit reads this format as UTF-16 with a byte order mark.
  { printf '\xff\xfe'; printf '%s\n' "$reg" | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } > "$file"
  WINEPREFIX="$wp" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wine regedit /S "$(WINEPREFIX="$wp" winepath -w "$file" 2>/dev/null)" >/dev/null 2>&1
  WINEPREFIX="$wp" wineserver -w
  rm -f "$wp"/.font-substitutes-* "$file"
  touch "$marker"
}

install_packages
ensure_locale
case "${1:-all}" in
  packages) ;;
  *)
    build_deps x64
    build_deps x86
    ensure_deb_src
    for a in x64 x86; do
      TARNUVO_BUILD="$build" TARNUVO_CACHE="$cache" "$root/scripts/deps-media.sh" "$a"
      TARNUVO_BUILD="$build" TARNUVO_CACHE="$cache" "$root/scripts/deps-decoders.sh" "$a"
    done
    wine_prefix
    wine_font_substitutes
    ;;
esac
log "setup done"
