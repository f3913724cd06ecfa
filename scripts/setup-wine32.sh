#!/bin/bash
# Makes this machine able to run the real 32-bit programs: 32-bit Wine, run
# through qemu's user-mode emulation because the kernel cannot execute i386
# programs itself. Idempotent; does only what is missing.
#
# Exit 0 when the machine is ready, or when it cannot do this at all (not
# root, no binfmt_misc): then the last line printed starts with "SKIPPED:"
# and gives the reason, and the 32-bit tests report themselves skipped.
# Anything else that stops the 32-bit programs from running, a package that
# will not install or a 32-bit Wine that does not start, exits non-zero.
set -u

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
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null || fail "apt-get update failed"
  apt-get install -y -qq --no-install-recommends qemu-user-static "$wine32" \
    >/dev/null || fail "apt-get install qemu-user-static $wine32 failed"
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
