#!/usr/bin/env bash
# Exits 0 when this machine runs 32-bit x86 Linux programs, which 32-bit Wine
# is: it starts the smallest such program, one that only exits, written here
# byte for byte. A kernel that runs 64-bit code only refuses it ("Exec format
# error") whatever packages are installed.
set -u
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# An ELF header for i386, one loadable segment, and: mov eax, 1; xor ebx, ebx; int 0x80.
base64 -d >"$probe" <<'ELF'
f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAAAAAAAAAAAAADQAIAABAAAAAAAAAAEAAAAAAAAAAIAECACABAhdAAAAXQAAAAUAAAAAEAAAuAEAAAAx282A
ELF
chmod +x "$probe"
"$probe" 2>/dev/null
