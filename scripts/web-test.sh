#!/usr/bin/env bash
# Builds the web page and plays it in Debian's headless chromium (web/test.mjs), installing what is
# missing: Emscripten and the libraries for the web (scripts/web.sh, cached after the first run),
# chromium, node and the test's npm packages. Screenshots land in build/web-test/.
set -euo pipefail
cd "$(dirname "$0")/.."
missing=()
for p in chromium nodejs; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -c "install ok installed" >/dev/null || missing+=("$p")
done
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
        --no-install-recommends "${missing[@]}"
fi
scripts/web.sh
(cd web && npm ci --no-audit --no-fund --loglevel=error)
node web/test.mjs build/web/page build/web-test
