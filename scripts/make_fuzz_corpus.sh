#!/usr/bin/env bash
# Rebuilds the seed corpora of the fuzz targets (tests/fuzz/corpus/<target>/) from the golden
# cases and the example knowledge base. Inputs the fuzzers found since (crash-*) are kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
corpus="$root/tests/fuzz/corpus"
mkdir -p "$corpus/base_file" "$corpus/console"
rm -f "$corpus/base_file/seed-"* "$corpus/console/seed-"*

# base_file: one byte choosing the section (0 rules, 1 models, 2 constraints, 3 advice,
# 4 graphics, 5 sounds, 6 report), then the file.
section_byte() {
  case "$(basename "$1")" in
    RE*) printf '\x00' ;; MO*) printf '\x01' ;; OG*) printf '\x02' ;; RA*) printf '\x03' ;;
    GR*) printf '\x04' ;; *) printf '\x05' ;;
  esac
}
n=0
for file in "$root"/tests/golden/*/*.BRD "$root"/examples/BAZY/*.BRD; do
  [ -f "$file" ] || continue
  n=$((n + 1))
  { section_byte "$file"; cat "$file"; } > "$corpus/base_file/seed-$n"
done
printf '\x06tekst_raportu("Raport\\nz dwiema liniami \\"cytat\\" c:\\\\dane")\r\n' \
  > "$corpus/base_file/seed-report"

# console: REf.BRD, MOf.BRD, OGf.BRD and the case's script with its file names replaced.
for case_dir in "$root"/tests/golden/*/; do
  name=$(basename "$case_dir")
  re=$(ls "$case_dir" | grep '^RE.*\.BRD$' | head -1 || true)
  [ -n "$re" ] || continue
  mo=$(ls "$case_dir" | grep '^MO.*\.BRD$' | head -1 || true)
  og=$(ls "$case_dir" | grep '^OG.*\.BRD$' | head -1 || true)
  {
    cat "$case_dir/$re"; printf '\n#####\n'
    [ -n "$mo" ] && cat "$case_dir/$mo"; printf '\n#####\n'
    [ -n "$og" ] && cat "$case_dir/$og"; printf '\n#####\n'
    sed -e "s/^RE[^ ]*\.BRD$/REf.BRD/" -e "s/^MO[^ ]*\.BRD$/MOf.BRD/" \
        -e "s/^OG[^ ]*\.BRD$/OGf.BRD/" "$case_dir/input"
  } > "$corpus/console/seed-$name"
done
ls "$corpus"/* | wc -l
