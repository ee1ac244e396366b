# Shared by tools/run and tools/test: install what is missing, configure, build.
# Sourced, not run.

TIVORO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages the program needs to build and run.
TIVORO_BUILD_PACKAGES=(cmake g++ make qt6-base-dev qt6-multimedia-dev qt6-translations-l10n
  qt6-qpa-plugins fonts-liberation2 ccache)

tivoro_say() { printf '%s\n' "$*" >&2; }

# Installs the packages of the arguments that are not installed yet.
tivoro_ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo=(sudo); else
      tivoro_say "tools: these Debian packages are missing and I am not root (no sudo): ${missing[*]}"
      return 1
    fi
  fi
  tivoro_say "tools: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures (once) and builds a build folder: tivoro_build DIR [cmake options...]
# The output goes to DIR/build.log and is shown only when something fails.
tivoro_build() {
  local dir=$1; shift
  mkdir -p "$dir"
  local log="$dir/build.log"
  tivoro_say "tools: building in $dir"
  # Through ccache when it is there: the suite builds the program twice (as built for use and
  # with the sanitizers), and a fresh clone, in whatever folder, reuses what an earlier one
  # compiled (the clone's folder is left out of the key; the debug information may then
  # name the earlier clone's folder).
  local cache=()
  command -v ccache >/dev/null 2>&1 && cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  if { [ -f "$dir/CMakeCache.txt" ] ||
       cmake -S "$TIVORO_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cache[@]}" "$@"; } >"$log" 2>&1 &&
     CCACHE_BASEDIR="$TIVORO_ROOT" CCACHE_NOHASHDIR=1 cmake --build "$dir" -j2 >>"$log" 2>&1; then
    return 0
  fi
  tail -n 60 "$log" >&2
  tivoro_say "tools: the build failed; the whole output is in $log"
  return 1
}
