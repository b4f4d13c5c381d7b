#!/usr/bin/env bash
# Runs one golden transcript: copies the case to a temporary directory, feeds `input` to
# `xamo_rd --console --batch` there and compares the transcript with `expected`. A case with a
# `script` runs that instead (bash, with $XAMO_RD naming the program and `input` on its standard
# input), for the command-line modes. Every case says what it checks in a one-line README.
# XAMO_UPDATE_GOLDEN=1 rewrites `expected` instead (read every rewritten file before committing).
set -euo pipefail
exe=$1
case_dir=$2
if [ ! -s "$case_dir/README" ]; then
  echo "$case_dir has no README saying what the case checks" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$case_dir"/. "$work"/
rm -f "$work/expected" "$work/README"
cd "$work"
status=0
if [ -f script ]; then
  XAMO_RD=$exe timeout 120 bash script < input > "$work/.transcript" 2>&1 || status=$?
else
  timeout 120 "$exe" --console --batch < input > "$work/.transcript" 2>&1 || status=$?
fi
# Temporary paths and the checker's time differ from run to run.
sed -e "s#$work#<KATALOG>#g" -e 's/czas: [0-9.]* s$/czas: <CZAS> s/' "$work/.transcript" > "$work/.actual"
echo "exit status: $status" >> "$work/.actual"
if [ "${XAMO_UPDATE_GOLDEN:-}" = 1 ]; then
  cp "$work/.actual" "$case_dir/expected"
  echo "rewrote $case_dir/expected"
  exit 0
fi
diff -u "$case_dir/expected" "$work/.actual"
