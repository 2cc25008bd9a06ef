#!/usr/bin/env bash
# quillet-tools against the byte-wise standard tools on a 64 MB GBK file, whole processes side by
# side: each command runs five times after a warm-up, writing to a file (GNU grep stops at the
# first match when its output is /dev/null), and the median wall time is printed.
#   bench/cli_bench.sh QUILLET_TOOLS [WORK_FOLDER]
set -uo pipefail
tool=$1
work=${2:-$(mktemp -d)}
mkdir -p "$work"
corpus="$work/corpus.txt"
if [ ! -s "$corpus" ]; then
  # Lines of Chinese and ASCII with numbers and x's, made by the program itself (options in
  # UTF-8, the file in GBK).
  "$tool" numbered --count 640000 --left "第 " --start-number 1 \
    --right " 行：这是一段测试文本 with some ascii words, x marks 和数字 12345 以及 full width ＡＢＣ " >"$corpus"
fi

median() {  # command... -> median wall seconds of five runs
  local times=() start end
  "$@" >/dev/null 2>&1
  for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    times+=("$((end - start))")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p | awk '{ printf "%.3f", $1 / 1e9 }'
}

out="$work/out"
row() {  # label command...
  printf '%-48s %8s s\n' "$1" "$(median sh -c "$2 > '$out'")"
}
printf 'input: %s bytes of GBK text\n' "$(stat -c %s "$corpus")"
row "quillet-tools upper" "'$tool' upper '$corpus'"
row "tr a-z A-Z" "tr a-z A-Z < '$corpus'"
row "quillet-tools replace --find x --with y" "'$tool' replace --find x --with y '$corpus'"
row "sed 's/x/y/g' (C locale)" "LC_ALL=C sed 's/x/y/g' '$corpus'"
row "perl -pe 's/x/y/g'" "perl -pe 's/x/y/g' '$corpus'"
row "quillet-tools regex-extract --pattern '[0-9]+'" "'$tool' regex-extract --pattern '[0-9]+' '$corpus'"
row "grep -o -E '[0-9]+' (C locale)" "LC_ALL=C grep -o -E '[0-9]+' '$corpus'"
