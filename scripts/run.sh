#!/usr/bin/env bash
# Sets up, builds and starts the calculator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
exec build/tools/zorvik-solve longitudinal --trace txtidiam=50 txtfdiam=40 txtlen=100 txtangle=90 \
    txtcspeed=150 txtfeed=0.2 txtspcf=2000 txteeff=0.9 txtmeff=0.8
