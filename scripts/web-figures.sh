#!/usr/bin/env bash
# The web page's figures (web/figures.mjs): transfer size, time to the first intro frame and frames per
# second on the crowded battlefield, in Debian's headless chromium. Run scripts/web-test.sh once first
# (it installs chromium and the npm packages).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/web.sh
scripts/web.sh --target vevu_web_bench
(cd web && npm ci --no-audit --no-fund --loglevel=error)
node web/figures.mjs build/web
