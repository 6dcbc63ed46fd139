#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
set -euo pipefail
pkgs=(cmake g++ pkg-config qt6-base-dev qt6-base-dev-tools libsqlite3-dev libfreexl-dev libgsf-1-dev
      libgtest-dev libbenchmark-dev mdbtools-dev python3-xlwt xvfb xauth fonts-ipafont-gothic alsa-utils sqlite3
      qt6-translations-l10n)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

# A small Access database for the tests of the Access reading: the sample file that the npm package
# "mdb" ships (tables Fruit, Muffin/Bread, Dried). Left out when npm is not at hand; the test then says so.
sample="$(cd "$(dirname "$0")/.." && pwd)/.deps/access-sample/fruit.mdb"
if [ ! -f "$sample" ] && command -v npm >/dev/null 2>&1; then
  tmp="$(mktemp -d)"
  if (cd "$tmp" && npm pack --silent mdb@0.1.0 >/dev/null 2>&1 && tar xzf mdb-0.1.0.tgz package/test/fruit.mdb); then
    mkdir -p "$(dirname "$sample")" && cp "$tmp/package/test/fruit.mdb" "$sample"
  fi
  rm -rf "$tmp"
fi
