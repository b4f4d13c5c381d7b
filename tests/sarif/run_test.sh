#!/usr/bin/env bash
# The checker's SARIF output read back by a SARIF consumer: the published 2.1.0 schema with a
# JSON-schema validator. The validator is first shown to refuse an invalid log.
set -euo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '{"version": "2.1.0", "runs": [{"tool": {"driver": {"name": "x"}}, "results": [{"message": {"text": "t"}, "level": "fatal"}]}]}' > "$work/invalid.sarif"
if node "$here/validate.js" "$work/invalid.sarif" 2>/dev/null; then
  echo "the validator accepted an invalid SARIF log" >&2
  exit 1
fi
# Findings of many kinds, related locations, and a directory whose name is not UTF-8.
cp -r "$here/../golden/check_findings" "$work/kat$(printf '\xb3')"
cp -r "$here/../golden/check_joint/laczne" "$work/laczne"
cd "$work"
status=0
"$exe" --check --format sarif "kat$(printf '\xb3')" laczne > out.sarif || status=$?
[ "$status" = 1 ] || { echo "exit status $status, expected 1" >&2; exit 1; }
grep -q '"ruleId": "RD205"' out.sarif || { echo "no result in the log" >&2; exit 1; }
node "$here/validate.js" out.sarif
