#!/bin/sh
# The path the test command takes for the loaders it finds: every suite that can run, one
# after the other, then a line for each build left out and why; the exit status covers
# every suite that ran. Played in a scratch copy of the scripts, with stand-in loaders and
# a ctest that only notes how it was called; the last case with the loaders that the pass
# names instead (see arches_test.sh).
set -u
cd "$(dirname "$0")/../.."
. tests/scripts/stand_ins.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
make_stand_ins "$scratch"
mkdir -p "$scratch/copy" "$scratch/bin"
cp -R scripts "$scratch/copy/scripts"
# The stand-in ctest notes the build tree it was given, whether the command's own
# arguments came last, unchanged, and the prefix and loader it was run with.
cat >"$scratch/bin/ctest" <<'STUB'
#!/bin/sh
case " $* " in *" -R Engine ") given="-R Engine last" ;; *) given="not '-R Engine' last" ;; esac
tree=
while [ $# -gt 0 ]; do
    [ "$1" = --test-dir ] && tree=${2:-}
    shift
done
echo "ctest on $tree, $given, in $WINEPREFIX with $BRUMIX_WINE" >>"$CTEST_CALLS"
exit "${CTEST_STATUS:-0}"
STUB
printf '#!/bin/sh\nexit 0\n' >"$scratch/bin/wineserver"
chmod +x "$scratch/bin/ctest" "$scratch/bin/wineserver"

# Runs the copied test command's suites: prints its status, then its last output lines.
suites() {
    : >"$scratch/calls"
    env PATH="$scratch/bin:$PATH" CTEST_CALLS="$scratch/calls" "$@" \
        sh "$scratch/copy/scripts/run-tests.sh" -R Engine >"$scratch/out" 2>&1
    echo "status $?"
    grep -v '^===' "$scratch/out"
}
tree="$scratch/copy/build"
suite() { echo "ctest on $1, -R Engine last, in $tree${1#build}/wineprefix with $2"; }

check "without 32-bit support: the 64-bit suite alone, then why" \
    "$(suites BRUMIX_WINE32="$CANNOT_RUN" BRUMIX_WINE64="$STARTS")" \
    "status 0
The 64-bit suite (build/x64) passed.
The 32-bit build (build/brumix.exe) was built but not run here: its Wine loader cannot start on this machine ($CANNOT_RUN: Exec format error)."
check "without 32-bit support: ctest runs once" "$(cat "$scratch/calls")" "$(suite build/x64 "$STARTS")"

check "both loaders start: both suites, nothing left out" \
    "$(suites BRUMIX_WINE32="$STARTS" BRUMIX_WINE64="$STARTS")" \
    "status 0
The 32-bit suite (build) passed.
The 64-bit suite (build/x64) passed."
check "both loaders start: ctest runs for each build" "$(cat "$scratch/calls")" \
    "$(suite build "$STARTS")
$(suite build/x64 "$STARTS")"

check "a failing suite fails the command" \
    "$(suites BRUMIX_WINE32="$CANNOT_RUN" BRUMIX_WINE64="$STARTS" CTEST_STATUS=8 | head -n 2)" \
    "status 8
The 64-bit suite (build/x64) FAILED."

check "no loader starts: no suite, a failure" \
    "$(suites BRUMIX_WINE32="$CANNOT_RUN" BRUMIX_WINE64="$CANNOT_RUN" | head -n 2)" \
    "status 1
No build of Brumix can run under Wine here: run scripts/setup.sh, and check BRUMIX_ARCHES."
check "no loader starts: ctest never runs" "$(cat "$scratch/calls")" ""

# The loaders that this pass names, not stand-ins: the machine's own, or the file that
# plays a machine without 32-bit support. The 64-bit suite runs on both kinds of machine.
. scripts/arches.sh
loader32=$(brumix_loader x86)
got=$(unset BRUMIX_ARCHES; suites)
calls=$(cat "$scratch/calls")
if [ "$loader32" = "$CANNOT_RUN" ]; then
    check "this pass's own loaders, without 32-bit support" "$got" "status 0
The 64-bit suite (build/x64) passed.
The 32-bit build (build/brumix.exe) was built but not run here: its Wine loader cannot start on this machine ($CANNOT_RUN: Exec format error)."
    check "this pass's own loaders: ctest runs once" "$calls" "$(suite build/x64 "$(brumix_loader x64)")"
else
    case "$got" in
    "status 0
The 32-bit suite (build) passed.
The 64-bit suite (build/x64) passed." | "status 0
The 64-bit suite (build/x64) passed.
The 32-bit build (build/brumix.exe) was built but not run here: its Wine loader cannot start on this machine ($loader32: "*").") ;;
    *) check "this machine's own loaders" "$got" "both suites passed, or the 64-bit one and why not the 32-bit one" ;;
    esac
fi

[ $failures -eq 0 ] && echo "the test command takes the expected path for each machine"
exit $failures
