#!/usr/bin/env bash
# Installs what is missing, builds, lays out a runnable folder run/ (the program, its alarm sound, its
# help pages and an empty data file the first time) and starts Horalog there.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
mkdir -p run/help
cp build/horalog build/BeepBeep.wav run/
cp -r assets/help/. run/help/
build/horalog-datafile --keep-existing run
cd run
exec ./horalog "$@"
