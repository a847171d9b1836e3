# Sourced by the other scripts: what they share.

# Installs those of the given Debian packages that are missing.
install_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "${missing[@]}"
}

# Configures and builds the project in the given folder with the given
# extra CMake arguments.
build_in() {
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@"
  cmake --build "$dir" -j"$(nproc)"
}

# Builds tpfw in build/ with the demo firmware tree beside it, and the
# station settings as installed (no keys); the build puts the stand-in
# updater there too.
build_demo() {
  build_in build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
  rm -rf build/FwBinFiles
  cp -r demo/FwBinFiles build/
  cp deploy/station.ini build/station.ini
}
