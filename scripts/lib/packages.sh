# Sourced by scripts/setup and scripts/check-bare: install_missing PACKAGE... installs the
# Debian packages that are not installed yet, or says exactly what to do when it cannot.

install_missing() {
  local missing=() p
  for p in "$@"; do
    [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
      sudo=(sudo -n)
    elif command -v sudo >/dev/null && [ -t 0 ]; then
      sudo=(sudo) # asks for the password on this terminal
    else
      cat >&2 <<MSG
setup: GRIDGLYPH needs these Debian packages, which are not installed:
  ${missing[*]}
This user is neither root nor allowed to use sudo, so they cannot be installed from here.
Install them once as root, for example with
  su -c 'apt-get install --no-install-recommends ${missing[*]}'
and then run this command again as this user.
MSG
      exit 1
    fi
  fi
  echo "setup: installing ${#missing[@]} Debian packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # Not quiet: the first time this downloads a few hundred megabytes, and every file
  # fetched is worth a line.
  "${sudo[@]}" apt-get update
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}
