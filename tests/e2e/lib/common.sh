# shellcheck shell=bash
# The start every end-to-end script shares, sourced right after its
# `set -euo pipefail`: the arguments <build dir> [<source dir>] as absolute
# paths, the script's name for messages, the skip without the default content
# and the scratch folder. Kept out of tests/e2e itself so CTest does not run it.

build=$(cd "$1" && pwd)                  # the build directory
source_dir=${2:+$(cd "$2" && pwd)}       # the source tree (empty when not given)
e2e_name=$(basename "$0" .sh)            # the script's name, first word of its messages
# The program under test (VIVUR_PROGRAM runs another build's, for example the
# Windows build under Wine) and the build holding the native tools.
vivur=${VIVUR_PROGRAM:-$build/vivur}
tools=${VIVUR_TOOLS:-$build}

# Ends the script as passed when the build has made no default archive.
e2e_need_content() {
  if [ ! -f "$build/vivur.pak" ]; then
    echo "$e2e_name: skipped, the build has made no vivur.pak in $build"
    exit 0
  fi
}

# Makes the scratch folder $work, removed when the script ends (files made
# read-only in it too).
e2e_scratch() {
  work=$(mktemp -d)
  trap 'chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"' EXIT
}

# Ends the script as skipped (CTest's SKIP_RETURN_CODE for these scripts), saying why.
e2e_skip() {
  echo "$e2e_name: skipped, $*"
  exit 77
}
