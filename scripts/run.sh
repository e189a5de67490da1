#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the program and starts it on a data folder
# (default: ~/zolbin-data; any further arguments go to the program).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

# Compiler cache hits across clones of the project in other folders.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

data_dir="${1:-$HOME/zolbin-data}"
[ $# -gt 0 ] && shift

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
exec build/release/zolbin --data-dir "$data_dir" "$@"
