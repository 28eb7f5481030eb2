# Installs the packages the build and the tests need, when they are missing.
# Sourced by run.sh and test.sh. A prepared machine skips apt entirely.

KESTREL_PACKAGES=(
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb xauth imagemagick fonts-ipafont-gothic xdotool
  cmake ninja-build g++ googletest libbenchmark-dev
  clang libclang-rt-14-dev
)

install_prerequisites() {
  local missing=() package
  for package in "${KESTREL_PACKAGES[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
  done
  ((${#missing[@]} == 0)) && return 0
  if [[ $(id -u) != 0 ]]; then
    echo "missing packages: ${missing[*]}" >&2
    echo "install them as root: apt-get install ${missing[*]}" >&2
    return 1
  fi
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q </dev/null
  apt-get install -y -q "${missing[@]}" </dev/null
}
