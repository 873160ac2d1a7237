#!/usr/bin/env bash
# Builds the system and starts its main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-release.sh

cat <<TXT

Built in build/release:
  tools/bvtool/bvtool   inspects and edits the system's files ('bvtool help')

The range control program does not exist yet; this command will start it on a
demo range folder once it does.
TXT
