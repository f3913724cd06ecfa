#!/bin/bash
# Makes this machine able to run the real 32-bit programs: 32-bit Wine, run
# through qemu's user-mode emulation because the kernel cannot execute i386
# programs itself. Idempotent; does only what is missing.
#
# Exit 0 when the machine is ready, or when it cannot do this at all (not
# root, no binfmt_misc, or a package registry that cannot serve 32-bit Wine
# after three tries): then the last line printed starts with "SKIPPED:"
# and gives the reason, and the 32-bit tests report themselves skipped.
# Anything else that stops the 32-bit programs from running, a package that
# will not install or a 32-bit Wine that does not start, exits non-zero.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/apt.sh"

skip() { echo "SKIPPED: $*"; exit 0; }
fail() { echo "setup-wine32: $*" >&2; exit 1; }

binfmt=/proc/sys/fs/binfmt_misc
loader32=/usr/lib/wine/wine
loader64=/usr/lib/wine/wine64

[ "$(id -u)" = 0 ] || skip "not root: cannot install 32-bit Wine or register qemu"

# The 32-bit tests run side by side, each setting the machine up first: one
# at a time, or two installs would fight over dpkg's lock and two
# registrations over binfmt_misc.
exec 8>>/var/lock/zindral-setup-wine32 && flock 8 || fail "cannot lock /var/lock/zindral-setup-wine32"

# The registry's last answer, when it could not serve 32-bit Wine. Each
# 32-bit test sets the machine up again right after the test command did:
# within minutes of three tries, a fourth would only add minutes.
registry_verdict=/var/lock/zindral-wine32-registry
registry_reason="the package registry cannot serve 32-bit Wine now"
tries=3
seconds_between_tries=${ZINDRAL_APT_WAIT:-80}

have_packages() {
  [ -x "$loader32" ] && [ -x /usr/bin/qemu-i386-static ] &&
    dpkg-query -W -f='${Status}\n' wine32:i386 2>/dev/null | grep -q 'install ok installed'
}

install_packages() {
  command -v apt-get >/dev/null || skip "no apt-get: cannot install 32-bit Wine"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386 || fail "dpkg --add-architecture i386 failed"
  fi
  # wine32 must come in the very version of the installed wine64/libwine, or
  # apt would replace the 64-bit loader that everybody else's tests use.
  local version
  version=$(dpkg-query -W -f='${Version}' libwine:amd64 2>/dev/null)
  local wine32=wine32:i386
  [ -n "$version" ] && wine32="wine32:i386=$version"
  if [ -n "$(find "$registry_verdict" -mmin -10 2>/dev/null)" ]; then
    skip "$(cat "$registry_verdict")"
  fi
  # A mirror in mid-sync serves an index that does not match its release
  # file, and wine32's i386 libraries must match the amd64 ones of the
  # very index it fails on: wait for the sync a while, then report.
  local try
  for ((try = 1; try <= tries; ++try)); do
    apt_install qemu-user-static "$wine32" && { rm -f "$registry_verdict"; return 0; }
    echo "setup-wine32: try $try of $tries failed: ${apt_update_error:-$apt_error}" >&2
    [ "$try" = "$tries" ] || sleep "$seconds_between_tries"
  done
  # The install could not be resolved after an index failed: the index's
  # error is the one that tells why.
  if [ "$apt_index_failed" = 1 ]; then
    echo "$registry_reason: $apt_update_error" >"$registry_verdict"
    skip "$registry_reason: $apt_update_error"
  fi
  fail "apt-get install qemu-user-static $wine32 failed: $apt_error"
}

register_qemu() {
  if [ ! -e "$binfmt/register" ]; then
    [ -d "$binfmt" ] || skip "kernel has no binfmt_misc support"
    mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
      skip "cannot mount binfmt_misc (no privilege in this container)"
  fi
  [ -e "$binfmt/qemu-i386" ] && return 0
  # F: the kernel opens the interpreter now, so it works inside chroots too.
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
    >"$binfmt/register" 2>/dev/null || skip "binfmt_misc refuses to register qemu-i386"
  [ -e "$binfmt/qemu-i386" ] || skip "qemu-i386 did not register with binfmt_misc"
}

have_packages || install_packages
have_packages || fail "32-bit Wine is still missing after the install"
register_qemu
# The 64-bit loader must have survived: every other test depends on it.
[ -x "$loader64" ] || fail "$loader64 is gone"
"$loader64" --version >/dev/null 2>&1 || fail "$loader64 no longer runs"
"$loader32" --version >/dev/null 2>&1 || fail "$loader32 does not start under qemu: a broken installation"
echo "wine32 ready: $("$loader32" --version)"
