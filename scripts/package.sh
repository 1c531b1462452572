#!/bin/sh
# Builds both programs and writes build/dist/brumix-<version>.zip, <version> taken from the
# version block of res/brumix.rc: brumix.exe (32-bit), x64/brumix.exe, LISEZMOI.txt and
# SHA256SUMS. The archive is the same bytes from the same programs, whenever and wherever
# it is made: fixed order, fixed times, fixed permissions.
#   scripts/package.sh [--built] [output folder]
# --built packs the programs already in build/ without building first.
set -eu
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--built" ]; then
    shift
else
    scripts/build.sh
fi
out=${1:-build/dist}

version=$(sed -n 's/^ *VALUE "FileVersion", *"\([0-9.]*\)".*/\1/p' res/brumix.rc)
if [ -z "$version" ]; then
    echo "package: no FileVersion in the version block of res/brumix.rc" >&2
    exit 1
fi
for exe in build/brumix.exe build/x64/brumix.exe; do
    [ -f "$exe" ] || { echo "package: $exe is missing; build first" >&2; exit 1; }
done
mkdir -p "$out"
zip="$out/brumix-$version.zip"

python3 - "$zip" <<'PYTHON'
import hashlib, sys, zipfile

# (name in the archive, file, permissions); the order is the archive's order.
members = [
    ("brumix.exe", "build/brumix.exe", 0o755),
    ("x64/brumix.exe", "build/x64/brumix.exe", 0o755),
    ("LISEZMOI.txt", "docs/LISEZMOI.txt", 0o644),
]
def read(path):
    with open(path, "rb") as f:
        return f.read()

# Windows users open the notice with Notepad: CR LF line ends and a byte-order mark.
notice = read("docs/LISEZMOI.txt").decode("utf-8").replace("\r\n", "\n").replace("\n", "\r\n")
data = {
    "brumix.exe": read("build/brumix.exe"),
    "x64/brumix.exe": read("build/x64/brumix.exe"),
    "LISEZMOI.txt": b"\xef\xbb\xbf" + notice.encode("utf-8"),
}
sums = "".join("%s  %s\n" % (hashlib.sha256(data[name]).hexdigest(), name)
               for name in ("brumix.exe", "x64/brumix.exe"))
data["SHA256SUMS"] = sums.encode("ascii")
members.append(("SHA256SUMS", None, 0o644))

with zipfile.ZipFile(sys.argv[1], "w") as archive:
    for name, _, mode in members:
        entry = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
        entry.create_system = 3                  # Unix, so that the permissions below count
        entry.external_attr = (0o100000 | mode) << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        archive.writestr(entry, data[name], compresslevel=9)
PYTHON
echo "$zip"
