#!/usr/bin/env bash
# Where the kernel gives huge pages on request, the program runs with glibc's allocator told to
# request them: its environment then holds the setting. A setting of the user's is kept as it is,
# and other settings are kept beside the one added; with a library preloaded (a memory checker)
# the program does not start itself again. Skipped (77) where the kernel does otherwise.
set -euo pipefail
exe=$1
grep -q '\[madvise\]' /sys/kernel/mm/transparent_hugepage/enabled 2> /dev/null || exit 77

# The environment block of the running program (glibc cuts the setting's copy there into pieces
# as it reads it, hence no line of its own to compare). The program waits on a pipe for its
# first command; closing the pipe ends it.
environment_of_running() {
  local work pid
  work=$(mktemp -d)
  mkfifo "$work/input"
  env "$@" "$exe" --console < "$work/input" > /dev/null 2>&1 &
  pid=$!
  exec 3> "$work/input"
  sleep 0.5
  tr '\0' ' ' < "/proc/$pid/environ"
  exec 3>&-
  wait "$pid" || true
  rm -rf "$work"
}

# expect WANTED UNWANTED ENV-ARGUMENT...
expect() {
  local got
  got=$(environment_of_running "${@:3}")
  case "$got" in *"$1"*) ;; *) echo "with ${*:3}: no '$1' in its environment" >&2; exit 1 ;; esac
  case "$got" in *"$2"*) echo "with ${*:3}: '$2' in its environment" >&2; exit 1 ;; esac
}

expect 'glibc.malloc.hugetlb=1' 'no such setting' -u GLIBC_TUNABLES
expect 'glibc.malloc.hugetlb=0' 'glibc.malloc.hugetlb=1' GLIBC_TUNABLES=glibc.malloc.hugetlb=0
expect 'glibc.malloc.hugetlb=1' 'no such setting' GLIBC_TUNABLES=glibc.malloc.check=0
expect 'glibc.malloc.check=0' 'no such setting' GLIBC_TUNABLES=glibc.malloc.check=0
expect 'LD_PRELOAD=' 'glibc.malloc.hugetlb' -u GLIBC_TUNABLES LD_PRELOAD=/nonexistent/preload.so
echo "huge pages requested"
