# What scripts/quick-start.sh, test-setup.sh and package-setup.sh share: installing Debian
# packages that are missing, as root or through sudo, and the check of CMake's version.
# Sourced, not run.

# Runs a command as root: directly when root already, else through sudo.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "Installing packages needs root: run this script as root, or install sudo first." >&2
    exit 1
  fi
}

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# install_missing PACKAGE... installs those of the Debian packages that are not installed yet,
# after updating the package lists; nothing when all are there. COMMAND:PACKAGE stands for a
# package that is only needed when the command is not on PATH at all (a Node.js or Python
# from elsewhere is taken as it is).
install_missing() {
  if ! command -v apt-get >/dev/null 2>&1; then
    echo "This script installs with apt-get (Debian 12, Ubuntu 24.04 or later). Elsewhere, install" >&2
    echo "what the README's manual steps name, and run their commands." >&2
    exit 1
  fi
  missing=""
  for wanted in "$@"; do
    case $wanted in
      *:*) command -v "${wanted%%:*}" >/dev/null 2>&1 || missing="$missing ${wanted#*:}" ;;
      *) installed "$wanted" || missing="$missing $wanted" ;;
    esac
  done
  if [ -z "$missing" ]; then
    echo "== Every package needed is installed"
    return
  fi
  echo "== Installing:$missing"
  as_root apt-get update
  # shellcheck disable=SC2086  # one word a package
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
}

# The CMake presets need CMake 3.25 or later.
require_cmake() {
  version=$(cmake --version | sed -n 's/^cmake version \([0-9][0-9.]*\).*/\1/p')
  major=${version%%.*}
  minor=${version#*.}
  minor=${minor%%.*}
  if [ "$major" -lt 3 ] || { [ "$major" -eq 3 ] && [ "$minor" -lt 25 ]; }; then
    cat >&2 <<EOF
CMake $version is installed; the build needs 3.25 or later (Debian 11 and Ubuntu 22.04 ship
older ones). Install a newer CMake, then run this script again:
  Debian 11:    sudo apt-get install -t bullseye-backports cmake   (with bullseye-backports in the sources)
  Ubuntu 22.04: sudo snap install cmake --classic   (or CMake from Kitware's APT repository)
EOF
    exit 1
  fi
}
