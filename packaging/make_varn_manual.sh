#!/bin/sh
# Makes varn.1.gz from the program's own help: the overview from `varn --help`, then a section
# per subcommand from `varn COMMAND --help`, then the hand-written sections of varn.h2m.
# Usage: make_varn_manual.sh VARN HELP2MAN INCLUDE OUTPUT_DIR
set -eu
varn=$1 help2man=$2 include=$3 out=$4
commands=$("$varn" --help | sed -n '/^Commands:/,$p' | awk 'NR > 1 && NF { print $1 }')
{
  cat "$include"
  echo "[COMMANDS]"
  for command in $commands; do
    echo ".SS \"varn $command\""
    echo ".nf"
    LANG=C "$varn" "$command" --help | sed -e 's/\\/\\\\/g' -e 's/^\./\\\&./' -e 's/^'"'"'/\\\&'"'"'/'
    echo ".fi"
  done
} >"$out/varn.h2m"
LANG=C "$help2man" --no-info --no-discard-stderr --section=1 \
  --name="the operations of Ostrel Varn on the command line" \
  --include="$out/varn.h2m" --output="$out/varn.1" "$varn"
gzip -9n -c "$out/varn.1" >"$out/varn.1.gz"
