#!/usr/bin/env bash
# Installs what is missing, builds, and starts VORBEL. Arguments go to the program ("test", "moi").
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
exec build/vorbel "$@"
