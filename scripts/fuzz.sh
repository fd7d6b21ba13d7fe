#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for some seconds each, starting from real data and the
# seeds in fuzz/seeds. A target that fails does not stop the others: every finding is listed at
# the end (crash-*, leak-*, timeout-*, oom-* in BUILD/artifacts), and the exit status is 1 when
# there is any.
#   scripts/fuzz.sh BUILD SECONDS
set -uo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=$2
corpus=$build/corpus
artifacts=$build/artifacts
mkdir -p "$artifacts"

# Seeds made from the real data: a few records of the index (a whole index would make every run
# slow), sample data files, the first lines of the decay data's texts.
mkdir -p "$corpus"/fuzz_index "$corpus"/fuzz_ndx "$corpus"/fuzz_dosedata "$corpus"/fuzz_spectratext
head -c 4000 "$build"/data/Index.rnx > "$corpus"/fuzz_index/first-records
cp "$build"/bin/QVData/Co-60.qvd "$build"/bin/QVData/Kr-85.qvd "$corpus"/fuzz_dosedata/
head -n 40 data/decay/nuclides.ndx > "$corpus"/fuzz_ndx/first-records
zcat data/decay/radiations.tsv.gz | head -n 200 > "$corpus"/fuzz_spectratext/radiations
zcat data/decay/beta.txt.gz | head -n 300 > "$corpus"/fuzz_spectratext/beta

# Inputs no larger than the seeds' kind needs: an index of about 75 records.
options_of() {
  case $1 in
    fuzz_index) echo "-max_len=8192" ;;
    *) echo "" ;;
  esac
}

failed=()
for target in "$build"/bin/fuzz_*; do
  name=$(basename "$target")
  echo "== $name"
  mkdir -p "$corpus/$name"
  if [ -d "fuzz/seeds/$name" ]; then cp fuzz/seeds/"$name"/* "$corpus/$name/"; fi
  log=$build/fuzz-$name.log
  # shellcheck disable=SC2046
  LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0 \
    "$target" -max_total_time="$seconds" -print_final_stats=1 $(options_of "$name") \
    -artifact_prefix="$artifacts/$name-" "$corpus/$name" > "$log" 2>&1
  status=$?
  grep -E "^stat::(number_of_executed_units|average_exec_per_sec)" "$log"
  if [ $status -ne 0 ]; then
    failed+=("$name")
    grep -E -A20 "==[0-9]+==ERROR|deadly signal|SUMMARY" "$log" | head -40
  fi
done

findings=$(find "$artifacts" -maxdepth 1 -type f \( -name '*crash-*' -o -name '*leak-*' -o -name '*timeout-*' -o -name '*oom-*' \) | sort)
if [ ${#failed[@]} -eq 0 ] && [ -z "$findings" ]; then
  echo "Fuzzing found nothing."
  exit 0
fi
echo "Fuzz targets that failed: ${failed[*]:-none}"
echo "Findings:"
echo "${findings:-  (none written)}"
exit 1
