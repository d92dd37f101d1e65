#!/usr/bin/env bash
# Builds the VS Code extension package (.vsix) of this folder.
#   bash editors/vscode/build-vsix.sh [OUTDIR]     (default: build/vscode)
# The packaging tool (@vscode/vsce) and the extension's one dependency
# (vscode-languageclient) come from the npm registry into OUTDIR, which is
# not part of the repository.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../../build/vscode}
mkdir -p "$out"
out=$(cd "$out" && pwd)
tools=$out/tools
stage=$out/stage

if [ ! -x "$tools/node_modules/.bin/vsce" ]; then
  mkdir -p "$tools"
  npm install --prefix "$tools" --no-audit --no-fund --loglevel=error @vscode/vsce@^3 >/dev/null
fi

rm -rf "$stage"
mkdir -p "$stage"
cp "$here/package.json" "$here/extension.js" "$here/language-configuration.json" "$here/README.md" \
   "$here/.vscodeignore" "$stage/"
(cd "$stage" && npm install --omit=dev --no-audit --no-fund --loglevel=error >/dev/null)

version=$(node -p "require('$stage/package.json').version")
(cd "$stage" && "$tools/node_modules/.bin/vsce" package --allow-missing-repository --skip-license \
   --out "$out/vemlo-$version.vsix" >/dev/null)
echo "$out/vemlo-$version.vsix"
