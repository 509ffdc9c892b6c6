# build.bash: the build steps that demo and web/build share (sourced, not
# run). A build folder is configured through its preset of CMakePresets.json
# and built by ninja under the folder's lock, DIR/.demo/lock: two builds at
# once in one folder break each other, so a second one waits, and says so.
# ninja's output goes to DIR/build.log, shown only when the build fails.

say() { printf 'demo: %s\n' "$*" >&2; }

# fail MESSAGE [LOG]: the log, then the message; the script ends, status 1.
fail() {
    [ -z "${2:-}" ] || cat "$2" >&2
    say "$1${2:+ (log above)}"
    exit 1
}

# lock DIR: holds DIR's lock until unlock, or until the script ends.
lock() {
    mkdir -p "$1/.demo"
    exec {lock_fd}>"$1/.demo/lock"
    flock -n "$lock_fd" || {
        say "waiting: another demo is building in ${1#"$root"/}"
        flock "$lock_fd"
    }
}
unlock() { exec {lock_fd}>&-; }

# configure PRESET DIR [again]: DIR configured through the preset, unless it
# is, or with "again" in any case: packages installed since may bring what
# the last configuration lacked (GoogleTest for the tests). A folder that an
# earlier build made with another generator is configured afresh.
configure() {
    [ -f "$2/build.ninja" ] && [ "${3-}" != again ] && return 0
    if [ -f "$2/CMakeCache.txt" ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$2/CMakeCache.txt"; then
        rm -rf "$2/CMakeCache.txt" "$2/CMakeFiles"
    fi
    say "configuring ${2#"$root"/}/ (about 5 s)"
    (cd "$root" && cmake --preset "$1" -B "$2") >"$2/configure.log" 2>&1 || fail "configuring $2 failed" "$2/configure.log"
}

# The seconds that one build step takes one processor, in tenths, measured
# on a 2-core machine (full builds, divided by their steps): the estimate of
# the line that announces a build.
declare -A pace=([release]=8 [sanitize]=40 [web]=25)

duration() { (($1 < 90)) && echo "$1 s" || echo "$((($1 + 30) / 60)) min"; }

# compile DIR PRESET WHAT TARGET...: the targets brought up to date, after a
# line on what is built and roughly how long, from the steps ninja has to do.
compile() {
    local dir=$1 preset=$2 what=$3 plan steps jobs shown=${1#"$root"/}/
    shift 3
    jobs=$(nproc)
    plan=$(ninja -C "$dir" -n "$@" 2>&1) || true
    if [[ $plan == *'Re-running CMake'* ]]; then
        say "the build rules changed: configuring $shown again (a few seconds)"
        ninja -C "$dir" build.ninja >"$dir/build.log" 2>&1 || fail "configuring $dir failed" "$dir/build.log"
        plan=$(ninja -C "$dir" -n "$@" 2>&1) || true
    fi
    steps=$(grep -c '^\[' <<<"$plan") || true
    ((steps == 0)) ||
        say "building $what (in $shown, $steps steps, about $(duration $((steps * pace[$preset] / 10 / jobs + 1))))"
    ninja -C "$dir" -j "$jobs" "$@" >"$dir/build.log" 2>&1 || fail "the build in $dir failed" "$dir/build.log"
}
