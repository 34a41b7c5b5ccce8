#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it, opening the record given as the argument.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target quorvel_program
exec ./build/dev/program/ZarnShow "$@"
