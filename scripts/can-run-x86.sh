#!/usr/bin/env bash
# Exits 0 when this machine can execute 32-bit x86 programs, 1 when it cannot
# (and says why on stderr). Names and versions prove nothing: some x86-64
# kernels run 64-bit user code only (IA-32 emulation off), so we execute one.
#
#   scripts/can-run-x86.sh [--quiet]
#
# The program is a 96-byte static ELF32 for i386 that only calls exit(42)
# through int 0x80: no loader, no libraries, nothing to install first.
set -uo pipefail

quiet=0
[ "${1:-}" = "--quiet" ] && quiet=1
say() { [ $quiet -eq 1 ] || echo "$*" >&2; }

case "$(uname -m)" in
  x86_64|i?86) ;;
  *) say "this machine is $(uname -m), not x86"; exit 1 ;;
esac

# Not under /tmp alone: it may be mounted noexec, which would read as "no".
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=$(mktemp -d "$root/.x86probe.XXXXXX" 2>/dev/null || mktemp -d)
trap 'rm -rf "$dir"' EXIT
probe="$dir/exit42"

# ELF header (52 bytes): ELFCLASS32, little-endian, ET_EXEC, EM_386, entry
# 0x08048054; one PT_LOAD header (32 bytes) mapping the file read+execute at
# 0x08048000; then the code: mov ebx,42; mov eax,1 (exit); int 0x80.
printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x28\x00'\
'\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'\
'\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' > "$probe"
chmod +x "$probe"

out=$("$probe" 2>&1)
rc=$?
if [ $rc -eq 42 ]; then
  exit 0
fi
case "$out" in
  *"Exec format error"*) say "the kernel refuses 32-bit x86 programs (Exec format error; IA-32 emulation is off)" ;;
  *) say "a 32-bit x86 test program did not run (exit $rc${out:+: $out})" ;;
esac
exit 1
