# Sourced by the scripts that install Debian's packages (as root).
#
#   apt_install PACKAGE...
#
# Refreshes the package lists, then installs the packages quietly. The
# registry can serve one index that does not match its release file for
# hours (a mirror in mid-sync), often of an architecture that the packages
# asked for do not need; `apt-get update` then exits non-zero although the
# other lists are fresh. So the install alone decides. Afterwards
#   apt_update_error  the update's first error line (its first failed index,
#                     if any), empty if it had none
#   apt_index_failed  1 when an index failed to download, else 0
#   apt_error         on failure, the install's first error line

apt_first_error() { # LOG
  grep -m 1 '^E: ' "$1" | tr -s ' '
}

apt_install() {
  local log
  log=$(mktemp) || return 1
  apt_update_error="" apt_index_failed=0 apt_error=""
  # An index that fails to download is an error when the registry served a
  # wrong one, only a warning when the registry could not be reached. A lock
  # held by another apt is neither: an error, but no index that failed.
  apt-get update -qq >"$log" 2>&1
  if grep -qE '^(E|W): Failed to fetch' "$log"; then
    apt_index_failed=1
    apt_update_error=$(grep -m 1 -E '^(E|W): Failed to fetch' "$log" | tr -s ' ')
  else
    apt_update_error=$(apt_first_error "$log")
  fi
  if DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" \
       >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  apt_error=$(apt_first_error "$log")
  [ -n "$apt_error" ] || apt_error="apt-get install $* failed without an error line"
  rm -f "$log"
  return 1
}
