# Stand-in Wine loaders for the script tests, so that each case gives the same result on
# every machine, whatever its own loaders can do.
#   . tests/scripts/stand_ins.sh; make_stand_ins DIR
# makes DIR/starts, a loader that starts and prints a version, and names
# tests/scripts/not-a-program, which the kernel refuses with "Exec format error" as it
# refuses the 32-bit loader where it runs no 32-bit program.
make_stand_ins() {
    printf '#!/bin/sh\necho wine-stand-in\n' >"$1/starts"
    chmod +x "$1/starts"
    STARTS="$1/starts"
    CANNOT_RUN="$PWD/tests/scripts/not-a-program"
}

failures=0
check() {
    if [ "$2" != "$3" ]; then
        echo "FAILED: $1: got '$2', expected '$3'"
        failures=$((failures + 1))
    fi
}
