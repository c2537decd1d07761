# Sourced by scripts: installs what the builds and tests need on a fresh Debian machine.
TESSARINE_PACKAGES=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix mingw-w64-tools
  binutils-mingw-w64-x86-64 wine wine64 xvfb xauth nlohmann-json3-dev googletest
  python3 x11-utils chromium python3-websockets xdotool clang libclang-rt-dev graphviz)

ensure_packages() {
  local missing=()
  local p
  for p in "${TESSARINE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "error: missing packages and not root: ${missing[*]}" >&2
    return 1
  fi
  # Another build on the machine may be installing too: wait for its lock.
  apt-get -o DPkg::Lock::Timeout=900 update -qq
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y -qq "${missing[@]}" >/dev/null
}

# An X server for Wine's windows; reuses a running one on the same display number.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  export DISPLAY=:${TESSARINE_DISPLAY_NUMBER:-87}
  if ! xdpyinfo >/dev/null 2>&1; then
    # Large enough for a 144-DPI window without Wine clamping it.
    Xvfb "$DISPLAY" -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
    local i
    for i in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "error: Xvfb did not start on $DISPLAY" >&2
    return 1
  fi
}

# Node.js may come from elsewhere with npm inside it; Debian's packages only where it is
# missing. Call before ensure_packages.
want_node() {
  { command -v node && command -v npm; } >/dev/null || TESSARINE_PACKAGES+=(nodejs npm)
}

# The npm packages locked in DIR, installed again whenever the lock file is newer than the
# install; further arguments go to npm ci.
ensure_npm_packages() { # dir, npm ci arguments...
  local dir=$1; shift
  if [ ! -f "$dir/node_modules/.package-lock.json" ] || [ "$dir/package-lock.json" -nt "$dir/node_modules/.package-lock.json" ]; then
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error "$@") || return 1
  fi
}
