# Shared set-up of scripts/run and scripts/test: Debian packages, configure, incremental build.
# Sourced, not run.

LUMETRA4_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
LUMETRA4_BUILD=${LUMETRA4_BUILD:-$LUMETRA4_ROOT/build}

LUMETRA4_PACKAGES=(
    build-essential cmake ninja-build ccache pkg-config python3
    qt6-base-dev libqt6sql6-sqlite libsqlite3-dev qt6-charts-dev qt6-svg-dev libgl-dev
    fonts-dejavu-core poppler-utils
    libfreexl-dev libzip-dev libshp-dev mdbtools-dev
)

lumetra4_install_packages() {
    local missing=()
    for package in "${LUMETRA4_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing Debian packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

lumetra4_build() {
    lumetra4_install_packages
    if [ ! -f "$LUMETRA4_BUILD/build.ninja" ]; then
        cmake -S "$LUMETRA4_ROOT" -B "$LUMETRA4_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    cmake --build "$LUMETRA4_BUILD" -j "$(nproc)"
}
