# Installs the Debian packages given as arguments that are not installed yet
# (as root, non-interactively). Returns non-zero with a one-line message when
# the installation fails. Sourced by tools/test-all and tools/demo.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! { apt-get update -q >/dev/null && apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null; }; then
    echo "could not install: ${missing[*]}" >&2
    return 1
  fi
}

# What the Windows build and its runs under Wine need.
windows_packages=(
  cmake ninja-build googletest
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth locales fonts-noto-cjk fontconfig imagemagick
)
