#!/usr/bin/env bash
# The music hits where the pictures hit: scripts/music-sync captures the
# default content at 60 frames a second and fails when a beating scene's rows
# and the drums have drifted apart, when the mix comes near clipping or when
# the music falls silent. Its table lands in music_sync.txt in the build folder.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_need_content
"$source_dir/scripts/music-sync" "$build" | tee "$build/music_sync.txt"
