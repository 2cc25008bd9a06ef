# Shared by scripts/test, scripts/run and scripts/bench: install what is missing, build the
# trees, and manage the project's own Wine prefix. Source it; it defines functions only.

QUILLET_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUILLET_PACKAGES=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth locales
  fonts-wqy-microhei fonts-wine libboost1.81-dev googletest imagemagick xdotool clang libclang-rt-14-dev)
export QUILLET_WINEPREFIX="$QUILLET_ROOT/build/wine"

say() { printf '==> %s\n' "$*" >&2; }

# Installs the Debian packages that are missing and generates the zh_CN.UTF-8 locale, which
# gives Wine its code page 936. Does nothing when both are already there.
quillet_install_prerequisites() {
  local missing=() pkg sudo=""
  for pkg in "${QUILLET_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  if [ ${#missing[@]} -gt 0 ]; then
    say "installing ${missing[*]}"
    $sudo apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
  fi
  if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    say "generating the zh_CN.UTF-8 locale"
    $sudo sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null || return 1
  fi
}

# quillet_build native|win64|bench [targets...]
quillet_build() {
  local tree=$1; shift
  local dir="$QUILLET_ROOT/build/$tree" args=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
  case $tree in
    native) args+=(-DQUILLET_SANITIZE=ON) ;;
    win64) args+=(-DCMAKE_TOOLCHAIN_FILE="$QUILLET_ROOT/cmake/mingw-w64-x86_64.cmake") ;;
    bench) args=(-G Ninja -DCMAKE_BUILD_TYPE=Release) ;;
    fuzz) args=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_FUZZ=ON -DCMAKE_C_COMPILER=clang
      -DCMAKE_CXX_COMPILER=clang++) ;;
  esac
  if [ ! -f "$dir/build.ninja" ]; then
    say "configuring build/$tree"
    cmake -S "$QUILLET_ROOT" -B "$dir" "${args[@]}" >/dev/null || return 1
  fi
  say "building build/$tree"
  cmake --build "$dir" -- "$@" || return 1
}

quillet_wine() { "$QUILLET_ROOT/scripts/wine-exec" "$@"; }

# Creates the prefix once (64-bit, Wine's null graphics driver so no display is needed) and
# keeps a wineserver running so that each test program starts quickly.
quillet_wine_start() {
  export WINEPREFIX="$QUILLET_WINEPREFIX"
  if [ ! -f "$WINEPREFIX/.quillet-ready" ]; then
    say "creating the Wine prefix in build/wine"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    WINEARCH=win64 quillet_wine wineboot -i >/dev/null 2>&1 || return 1
    quillet_wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || return 1
    wineserver -w
    touch "$WINEPREFIX/.quillet-ready"
  fi
  wineserver -p
  # Start Wine's own services now, detached from every pipe: if a test program started them,
  # they would inherit its output and keep ctest waiting for the pipe to close.
  quillet_wine wineboot </dev/null >/dev/null 2>&1 || return 1
}

quillet_wine_stop() {
  WINEPREFIX="$QUILLET_WINEPREFIX" wineserver -k 2>/dev/null || true
}

# quillet_set_dpi DPI: the screen resolution Wine reports in the current prefix (96 is 100 %,
# 144 is 150 %); programs started afterwards see it.
quillet_set_dpi() {
  local key
  for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    quillet_wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1 || return 1
  done
}
