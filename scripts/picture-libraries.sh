#!/bin/bash
# Builds the picture libraries (zlib, libpng, giflib, libjpeg-turbo, libtiff, libwebp with its
# demux library) as static libraries for a cross target, from Debian's source packages at the
# versions the Linux build uses, so every build decodes with the same code.
#
# Usage: scripts/picture-libraries.sh TARGET FOLDER
#   TARGET  mingw-w64-x86_64 (the Windows programs) or emscripten (the browser page)
#   FOLDER  kept in the build folder, e.g. build-windows/third-party: sources/ holds the
#           source packages' files, prefix/ the headers, libraries and picture-libraries.txt
#           (what was built, and the Linux version it stands for); cmake/PictureLibraries.cmake
#           turns prefix/ into imported targets.
# A library is fetched and built again only when the Linux version, this script, the
# toolchain or the library it depends on changed; otherwise the step does nothing.
#
# The sources come through a private apt configuration in FOLDER/apt holding the deb-src
# entries, so the machine's own apt set-up stays untouched. When the mirror no longer serves
# the Linux version's source (Debian replaced it with a later update, or the security
# archive's sources cannot be reached), the newest Debian revision of the same upstream
# release that it serves is built instead, and the step says so every time it runs.
# A different upstream release is never built.
set -euo pipefail

usage() {
  echo "usage: $0 mingw-w64-x86_64|emscripten FOLDER" >&2
  exit 2
}
[ $# -eq 2 ] || usage
target=$1
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$2"
folder=$(cd "$2" && pwd)
jobs=${JOBS:-2}
mirror=${QUILLBIT_DEBIAN_MIRROR:-http://deb.debian.org}

# ---- the target's tools ------------------------------------------------------------------
case "$target" in
  mingw-w64-x86_64)
    "$root/scripts/install-deps.sh" dpkg-dev ninja-build g++-mingw-w64-x86-64-posix nasm
    cmake_tool=(cmake "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-w64-x86_64.cmake")
    host=x86_64-w64-mingw32
    cc=$host-gcc-posix
    ar=$host-ar
    ranlib=$host-ranlib
    simd=ON
    toolchain_files=("$root/cmake/mingw-w64-x86_64.cmake")
    ;;
  emscripten)
    "$root/scripts/install-deps.sh" dpkg-dev ninja-build emscripten
    # Debian's emscripten finds its node modules only there when another node comes first.
    export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
    # Its CMake checks run programs under node: emcmake's flag for that is gone from Node 20,
    # and the loader trips over Node's own fetch.
    cmake_tool=(emcmake cmake "-DCMAKE_CROSSCOMPILING_EMULATOR=$(command -v node);--no-experimental-fetch")
    # libpng's error exit is a longjmp: compiled as WebAssembly's own, like the page's code
    # (cmake/WebAssembly.cmake), for the two kinds do not link together.
    export EMCC_CFLAGS="-sSUPPORT_LONGJMP=wasm"
    host=""
    cc=emcc
    ar=emar
    ranlib=emranlib
    simd=OFF  # WebAssembly SIMD is not in every browser quillbit's page is meant for
    toolchain_files=()
    ;;
  *) usage ;;
esac

# ---- versions --------------------------------------------------------------------------
# Each library by the -dev package the Linux build compiles against.
libraries="zlib png gif jpeg tiff webp"
dev_package() {
  case "$1" in
    zlib) echo zlib1g-dev ;;
    png) echo libpng-dev ;;
    gif) echo libgif-dev ;;
    jpeg) echo libjpeg62-turbo-dev ;;
    tiff) echo libtiff-dev ;;
    webp) echo libwebp-dev ;;
  esac
}
depends_on() {
  case "$1" in
    png) echo zlib ;;
    tiff) echo "zlib jpeg" ;;
  esac
}

linux_source() {  # prints "source-package version" of the library the Linux build uses
  local package
  package=$(dev_package "$1")
  dpkg-query -W -f='${source:Package} ${source:Version}' "$package" 2>/dev/null || {
    echo "$package is not installed, so the Linux build's version of $1 is unknown;" \
      "scripts/install-deps.sh installs it" >&2
    return 1
  }
}

upstream_of() {  # 1:2.1.5-2 -> 2.1.5
  local version=${1#*:}
  echo "${version%-*}"
}

# ---- the private apt configuration ------------------------------------------------------
apt_ready=""
apt_options() {
  local dir=$folder/apt
  echo "-o Dir::Etc::SourceList=$dir/sources.list -o Dir::Etc::SourceParts=/dev/null" \
    "-o Dir::State::Lists=$dir/lists -o Dir::Cache=$dir/cache"
  # As root apt downloads as the user _apt, who may not enter the build folder.
  [ "$(id -u)" -ne 0 ] || echo "-o APT::Sandbox::User=root"
}

prepare_apt() {
  [ -z "$apt_ready" ] || return 0
  local dir=$folder/apt codename keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  # shellcheck source=/dev/null
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:?}")
  rm -rf "$dir"
  mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
  {
    echo "deb-src [signed-by=$keyring] $mirror/debian $codename main"
    echo "deb-src [signed-by=$keyring] $mirror/debian $codename-updates main"
    echo "deb-src [signed-by=$keyring] $mirror/debian-security $codename-security main"
  } >"$dir/sources.list"
  echo "picture libraries: reading the source lists of $mirror ($codename)"
  # shellcheck disable=SC2046
  apt-get $(apt_options) -qq update >"$dir/update.log" 2>&1 ||
    { cat "$dir/update.log" >&2; exit 1; }
  apt_ready=yes
}

newest_first() {  # sorts Debian versions on standard input, newest first
  local versions=() version i j swap
  while read -r version; do versions+=("$version"); done
  for ((i = 0; i < ${#versions[@]}; i++)); do
    for ((j = i + 1; j < ${#versions[@]}; j++)); do
      if dpkg --compare-versions "${versions[j]}" gt "${versions[i]}"; then
        swap=${versions[i]}; versions[i]=${versions[j]}; versions[j]=$swap
      fi
    done
  done
  [ ${#versions[@]} -eq 0 ] || printf '%s\n' "${versions[@]}"
}

# The Linux version first, then every other revision of its upstream release, newest first.
candidate_versions() {
  local source=$1 version=$2 other
  echo "$version"
  # shellcheck disable=SC2046
  apt-cache $(apt_options) showsrc "$source" |
    awk -v source="$source" '/^Package: / { p = $2 } /^Version: / && p == source { print $2 }' |
    while read -r other; do
      if [ "$(upstream_of "$other")" = "$(upstream_of "$version")" ] &&
        [ "$other" != "$version" ]; then
        echo "$other"
      fi
    done | sort -u | newest_first
}

try_fetch() {  # source version folder: downloads the source package's files
  rm -rf "$3"
  mkdir -p "$3"
  # shellcheck disable=SC2046
  (cd "$3" && apt-get $(apt_options) -q --download-only source "$1=$2") >"$3.log" 2>&1
}

# Sets $source_name, $linux_version, $built_version and $source_dir for a library,
# fetching its source package when it is not kept. Only the package's files are kept
# (a quarter of the unpacked size); each build unpacks them.
fetch_source() {
  local pair record candidate fetch=$folder/sources/.fetch
  pair=$(linux_source "$1")
  read -r source_name linux_version <<<"$pair"
  record=$folder/sources/$source_name.version
  if [ -f "$record" ]; then
    read -r recorded_linux_version built_version <"$record"
    source_dir=$folder/sources/${source_name}_${built_version#*:}
    if [ "$recorded_linux_version" = "$linux_version" ] && [ -d "$source_dir" ]; then
      return 0
    fi
  fi
  prepare_apt
  for candidate in $(candidate_versions "$source_name" "$linux_version"); do
    if try_fetch "$source_name" "$candidate" "$fetch"; then
      built_version=$candidate
      source_dir=$folder/sources/${source_name}_${built_version#*:}
      rm -rf "$source_dir"
      mv "$fetch" "$source_dir"
      rm -f "$fetch.log"
      echo "$linux_version $built_version" >"$record"
      echo "picture libraries: fetched $source_name $built_version"
      return 0
    fi
  done
  cat "$fetch.log" >&2
  echo "cannot fetch the source of $source_name $linux_version (the Linux build's) nor of" \
    "another Debian revision of $(upstream_of "$linux_version") from $mirror" >&2
  exit 1
}

# ---- building ----------------------------------------------------------------------------
prefix=$folder/prefix

# Compiled as Debian compiles them for Linux: -O2, and assertions left in.
configure() {  # source build-folder [cmake options...]
  local source=$1 build=$2
  shift 2
  "${cmake_tool[@]}" -S "$source" -B "$build" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_C_FLAGS=-O2 \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib "$@"
}

zlib_options=(-DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include")

# zlib's own configure script, as Debian builds it: its CMake file needs the Windows resources
# that Debian's source leaves out. `make install` builds only the static library.
build_zlib() {
  mkdir -p "$2"
  (cd "$2" && env ${host:+CHOST=$host} CC="$cc" AR="$ar" RANLIB="$ranlib" CFLAGS=-O2 \
    "$1/configure" --static --prefix="$prefix")
  make -C "$2" -j "$jobs" install
}

build_png() {
  configure "$1" "$2" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF \
    -DPNG_HARDWARE_OPTIMIZATIONS="$simd" -DSKIP_INSTALL_EXECUTABLES=ON -DSKIP_INSTALL_FILES=ON \
    -DSKIP_INSTALL_EXPORT=ON "${zlib_options[@]}"
  cmake --build "$2" -j "$jobs"
  cmake --install "$2"
}

# giflib has a plain Makefile that builds in its own folder: it builds in a copy.
build_gif() {
  cp -a "$1" "$2"
  make -C "$2" -j "$jobs" CC="$cc" AR="$ar" libgif.a
  make -C "$2" PREFIX="$prefix" install-include
  install -m 644 "$2/libgif.a" "$prefix/lib/libgif.a"
}

# Its install rules know only the whole package with programs and documents: the library
# target is built and installed by hand, with the headers Debian's libjpeg-dev installs.
build_jpeg() {
  configure "$1" "$2" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_SIMD="$simd" -DREQUIRE_SIMD="$simd"
  cmake --build "$2" -j "$jobs" --target jpeg-static
  install -m 644 "$1/jpeglib.h" "$1/jerror.h" "$1/jmorecfg.h" "$2/jconfig.h" "$prefix/include"
  install -m 644 "$2/libjpeg.a" "$prefix/lib/libjpeg.a"
}

build_tiff() {
  configure "$1" "$2" -DBUILD_SHARED_LIBS=OFF -Dtiff-tools=OFF -Dtiff-tests=OFF \
    -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dcxx=OFF -Dzlib=ON -Djpeg=ON -Dlibdeflate=OFF \
    -Djbig=OFF -Dlerc=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Djpeg12=OFF -Dtiff-opengl=OFF \
    "${zlib_options[@]}" -DJPEG_LIBRARY="$prefix/lib/libjpeg.a" \
    -DJPEG_INCLUDE_DIR="$prefix/include"
  cmake --build "$2" -j "$jobs"
  cmake --install "$2"
}

# Its install rules add the decoder-only library, which would compile the decoder a second
# time: the two libraries the readers link are built and installed by hand.
build_webp() {
  local tool options=()
  for tool in ANIM_UTILS CWEBP DWEBP GIF2WEBP IMG2WEBP VWEBP WEBPINFO LIBWEBPMUX WEBPMUX EXTRAS; do
    options+=("-DWEBP_BUILD_$tool=OFF")
  done
  configure "$1" "$2" -DBUILD_SHARED_LIBS=OFF -DWEBP_ENABLE_SIMD="$simd" "${options[@]}"
  cmake --build "$2" -j "$jobs" --target webpdemux
  mkdir -p "$prefix/include/webp"
  install -m 644 "$1"/src/webp/{decode,demux,encode,mux_types,types}.h "$prefix/include/webp"
  install -m 644 "$2/libwebp.a" "$2/libwebpdemux.a" "$prefix/lib"
}

# What a library's build depends on: its version, this script, the toolchain, the compiler
# and the keys of the libraries it is built against.
compiler=$("$cc" --version)  # asked once: emcc takes half a second to answer
compiler=${compiler%%$'\n'*}
build_key() {
  local library=$1 dependency
  {
    echo "$target $library $built_version"
    cat "$0" "${toolchain_files[@]}"
    echo "$compiler"
    for dependency in $(depends_on "$library"); do
      cat "$prefix/keys/$dependency"
    done
  } | sha256sum | cut -d ' ' -f 1
}

# A failing build shows the end of its log, on the standard error the script was given.
exec 8>&2
failed_log=""
show_failed_log() {
  local status=$?
  if [ "$status" -ne 0 ] && [ -n "$failed_log" ]; then
    tail -n 40 "$failed_log" >&8
    echo "building the picture libraries for $target failed; the whole log: $failed_log" >&8
  fi
}
trap show_failed_log EXIT

build_library() {
  local library=$1 key work started
  key=$(build_key "$library")
  if [ -f "$prefix/keys/$library" ] && [ "$(cat "$prefix/keys/$library")" = "$key" ]; then
    return 0
  fi
  work=$folder/build/$library
  failed_log=$folder/build/$library.log
  rm -rf "$work" "$prefix/keys/$library" "$manifest"
  mkdir -p "$work" "$prefix/include" "$prefix/lib" "$prefix/keys"
  started=$(date +%s)
  {
    dpkg-source -x "$source_dir"/*.dsc "$work/source"  # applies Debian's patches
    "build_$library" "$work/source" "$work/build"
  } >"$failed_log" 2>&1
  failed_log=""
  rm -rf "$work"
  echo "$key" >"$prefix/keys/$library"
  echo "picture libraries: built $library $built_version in $(($(date +%s) - started)) s"
}

# ---- the run -----------------------------------------------------------------------------
mkdir -p "$folder/sources"
exec 9>"$folder/.lock"
flock 9  # two builds sharing the folder take turns

# Written once every library is in place, and only when it changes: CMake configures again
# when it does.
manifest=$prefix/picture-libraries.txt
listing="# source package, version built, version of the Linux build"
for library in $libraries; do
  fetch_source "$library"
  build_library "$library"
  listing="$listing
$source_name $built_version $linux_version"
  if [ "$built_version" != "$linux_version" ]; then
    echo "picture libraries: note: the source of $source_name $linux_version (the Linux" \
      "build's) is not to be had from $mirror; built $built_version instead, the newest" \
      "revision of $(upstream_of "$linux_version") to be had there"
  fi
done
rm -rf "$folder/apt" "$folder/build"
if [ ! -f "$manifest" ] || [ "$(cat "$manifest")" != "$listing" ]; then
  echo "$listing" >"$manifest"
fi
