#!/bin/sh
# The release is the same bytes from any clone, at any time, in any folder: both programs
# are built again later, from a copy of these sources in another folder, and compared byte
# for byte with build/brumix.exe and build/x64/brumix.exe; the archive made twice from
# programs whose files are newer the second time is the same archive, and its checksums
# hold. Needs the programs built (scripts/build.sh).
set -u
cd "$(dirname "$0")/../../.."
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
copy="$scratch/another/folder/for/brumix"
mkdir -p "$copy"
git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$copy"

for arch in x86 x64; do
    case $arch in x86) built=build/brumix.exe ;; x64) built=build/x64/brumix.exe ;; esac
    if ! cmake -S "$copy" -B "$scratch/build-$arch" -DCMAKE_BUILD_TYPE=Release -DBRUMIX_TESTS=OFF \
            -DCMAKE_TOOLCHAIN_FILE="$copy/cmake/toolchain-$arch.cmake" >"$scratch/log" 2>&1 ||
        ! cmake --build "$scratch/build-$arch" -j "$(nproc)" --target brumix >>"$scratch/log" 2>&1; then
        cat "$scratch/log"
        fail "the second $arch build"
        continue
    fi
    if ! cmp "$built" "$scratch/build-$arch/brumix.exe"; then
        fail "$built differs from the same sources built again in another folder"
    fi
    if grep -c -a -F -e "$PWD" -e "$copy" -e "$scratch" "$scratch/build-$arch/brumix.exe" >/dev/null; then
        fail "$built holds a build path"
    fi
done

# The archive, twice, the second time from copies of its files with other times, packed in
# a copy of the scripts: nothing of build/ nor of the sources is touched.
scripts/package.sh --built "$scratch/first" >/dev/null || fail "the first packing"
later="$scratch/later"
mkdir -p "$later"
cp --parents -t "$later" scripts/package.sh res/brumix.rc docs/LISEZMOI.txt build/brumix.exe build/x64/brumix.exe
touch -d '+1 hour' "$later/build/brumix.exe" "$later/build/x64/brumix.exe" "$later/docs/LISEZMOI.txt"
sh "$later/scripts/package.sh" --built "$scratch/second" >/dev/null || fail "the second packing"
zip=$(cd "$scratch/first" && ls)
cmp "$scratch/first/$zip" "$scratch/second/$zip" || fail "the archive differs when made again"
case "$zip" in brumix-[0-9]*.[0-9]*.[0-9]*.[0-9]*.zip) ;; *) fail "archive named $zip" ;; esac
python3 -m zipfile -e "$scratch/first/$zip" "$scratch/unpacked"
listed=$(python3 -c 'import sys, zipfile
for entry in zipfile.ZipFile(sys.argv[1]).infolist():
    print(entry.filename, oct(entry.external_attr >> 16), entry.date_time[0])' "$scratch/first/$zip")
expected="brumix.exe 0o100755 1980
x64/brumix.exe 0o100755 1980
LISEZMOI.txt 0o100644 1980
SHA256SUMS 0o100644 1980"
[ "$listed" = "$expected" ] || fail "archive holds: $listed"
(cd "$scratch/unpacked" && sha256sum --quiet -c SHA256SUMS) || fail "the checksums do not hold"
cmp build/x64/brumix.exe "$scratch/unpacked/x64/brumix.exe" || fail "the archive's 64-bit program"

[ $failures -eq 0 ] && echo "the same sources give the same programs and the same archive"
exit $failures
