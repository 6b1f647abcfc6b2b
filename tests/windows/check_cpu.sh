#!/bin/bash
# Fails when the i686 build holds an instruction that a 486 cannot run, and lists them.
# Such are cmov and the other Pentium and Pentium Pro additions, and anything on MMX/SSE registers.
# Usage: check_cpu.sh EXE [OBJDUMP]
set -u -o pipefail

exe=$1
objdump=${2:-i686-w64-mingw32-objdump}
[ -f "$exe" ] || { echo "FAIL: no such program file: $exe"; exit 1; }

listing=$("$objdump" -d --no-show-raw-insn "$exe") || { echo "FAIL: $objdump -d $exe did not run"; exit 1; }

# Instruction lines are "address:<tab>mnemonic operands".
instructions=$(grep -E '^ *[0-9a-f]+:'$'\t' <<<"$listing")
[ -n "$instructions" ] || { echo "FAIL: no instructions found in $exe: nothing was disassembled"; exit 1; }

newer_mnemonics='^(cmov[a-z]*|fcmov[a-z]*|f[u]?comip?|cmpxchg8b|rdtsc|rdpmc|sysenter|sysexit|emms)$'
offending=$(awk -F'\t' -v newer="$newer_mnemonics" '{
    split($2, words, " ")
    if (words[1] ~ newer || $2 ~ /%(x|y|z)?mm[0-9]/) print
  }' <<<"$instructions")

if [ -n "$offending" ]; then
  echo "FAIL: instructions a 486 cannot run, in $exe:"
  printf '%s\n' "$offending" | head -n 40
  exit 1
fi
echo "PASS: $(wc -l <<<"$instructions") instructions of $exe, none beyond the 486"
