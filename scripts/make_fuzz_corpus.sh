#!/usr/bin/env bash
# Rebuilds the seed corpora of the fuzz targets (tests/fuzz/corpus/<target>/) from the golden
# cases and the example knowledge base. Inputs the fuzzers found since (crash-*) are kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
corpus="$root/tests/fuzz/corpus"
mkdir -p "$corpus/base_file" "$corpus/console" "$corpus/media_files"
rm -f "$corpus/base_file/seed-"* "$corpus/console/seed-"* "$corpus/media_files/seed-"*

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
  base_dir="$case_dir"
  [ -d "$case_dir/BAZY" ] && base_dir="$case_dir/BAZY"
  re=$(ls "$base_dir" | grep '^RE.*\.BRD$' | head -1 || true)
  [ -n "$re" ] || continue
  mo=$(ls "$base_dir" | grep '^MO.*\.BRD$' | head -1 || true)
  og=$(ls "$base_dir" | grep '^OG.*\.BRD$' | head -1 || true)
  {
    cat "$base_dir/$re"; printf '\n#####\n'
    [ -n "$mo" ] && cat "$base_dir/$mo"; printf '\n#####\n'
    [ -n "$og" ] && cat "$base_dir/$og"; printf '\n#####\n'
    sed -e "s#^\([^ ]*/\)\?RE[^/ ]*\.BRD\$#REf.BRD#" -e "s#^\([^ ]*/\)\?MO[^/ ]*\.BRD\$#MOf.BRD#" \
        -e "s#^\([^ ]*/\)\?OG[^/ ]*\.BRD\$#OGf.BRD#" "$case_dir/input"
  } > "$corpus/console/seed-$name"
done
# media_files: one byte choosing the reader (0 picture, 1 wave, 2 report), then the file. The
# small pictures and sounds of the golden cases, one of the example's, and the reports.
n=0
for file in "$root"/tests/golden/*/*/*/*.bmp "$root"/examples/GRAFIKA/*/pompa.bmp; do
  [ -f "$file" ] || continue; n=$((n + 1)); { printf '\x00'; cat "$file"; } > "$corpus/media_files/seed-p$n"
done
for file in "$root"/tests/golden/*/*/*/*.wav "$root"/examples/DŹWIĘKI/*/plomien.wav; do
  [ -f "$file" ] || continue; n=$((n + 1)); { printf '\x01'; cat "$file"; } > "$corpus/media_files/seed-w$n"
done
for file in $(find "$root/tests/golden" -iname '*.rpt'); do
  n=$((n + 1)); { printf '\x02'; cat "$file"; } > "$corpus/media_files/seed-r$n"
done
# case_table: the tables of the golden cases and the example as they are, and a quoted header.
mkdir -p "$corpus/case_table"
rm -f "$corpus/case_table/seed-"*
n=0
for file in "$root"/tests/golden/*/*.csv "$root"/examples/*.csv; do
  [ -f "$file" ] || continue; n=$((n + 1)); cp "$file" "$corpus/case_table/seed-$n"
done
printf 'pogoda,"czas\n""x"",temperatura\ntak,nie\r' > "$corpus/case_table/seed-quoted"
ls "$corpus"/* | wc -l
