#!/usr/bin/env bash
# Makes the Debian package from a built tree and checks it: lintian without errors, the desktop
# entry and the AppStream file valid, and the programs run from the unpacked package (varn's
# version and one round trip of each subcommand, the window started offscreen, the manual pages
# rendered without warnings). A missing tool skips its check with a line saying so.
# Usage: scripts/check-package.sh BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
have() {
  command -v "$1" >/dev/null && return 0
  echo "package check: skipping $2: $1 is not installed"
  return 1
}

have cpack "the package" || exit 0
have dpkg-deb "the package" || exit 0
rm -f "$build"/ostrel-varn_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/ostrel-varn_*.deb)
echo "package check: $(basename "$deb")"
if have lintian "lintian"; then
  lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root' || true
  lintian --fail-on error "$deb" >/dev/null 2>&1 || { echo "lintian reports errors" >&2; exit 1; }
fi
if have desktop-file-validate "the desktop entry"; then
  desktop-file-validate "$root/resources/org.ostrelvarn.OstrelVarn.desktop"
fi
if have appstreamcli "the AppStream file"; then
  appstreamcli validate --no-net "$root"/packaging/*.metainfo.xml
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/root"
varn="$scratch/root/usr/bin/varn"
for f in usr/share/man/man1/varn.1.gz usr/share/man/man1/ostrel-varn.1.gz \
  usr/share/doc/ostrel-varn/copyright usr/share/doc/ostrel-varn/changelog.Debian.gz \
  usr/share/bash-completion/completions/varn usr/share/applications/org.ostrelvarn.OstrelVarn.desktop; do
  [ -s "$scratch/root/$f" ] || { echo "the package lacks $f" >&2; exit 1; }
done
"$varn" --version
"$varn" --help >/dev/null
# The letter models and tables are built into the programs: nothing may point back at the
# source or build tree the package was made from.
if grep -lF -e "$root" -e "$build" "$scratch"/root/usr/bin/*; then
  echo "the programs above refer to the tree they were built in" >&2
  exit 1
fi
if have man "the manual pages"; then
  for page in "$scratch"/root/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$(basename "$page"): $warnings" >&2; exit 1; }
  done
fi
cd "$scratch"
text="It was the best of times, it was the worst of times, it was the age of wisdom,
it was the age of foolishness, it was the epoch of belief, it was the epoch of incredulity,
it was the season of Light, it was the season of Darkness, it was the spring of hope."
printf '%s\n' "$text" >plain.txt
"$varn" count --builtin en plain.txt >table.txt && [ -s table.txt ]
"$varn" count --all --format json plain.txt | grep -q '"total"'
"$varn" substitute --builtin en-asc plain.txt -o cipher.txt
"$varn" solve cipher.txt -o solved.txt
grep -q "it was the best of times" solved.txt
"$varn" caesar encrypt plain.txt -o plain.3v
"$varn" caesar decrypt plain.3v -o back.txt
[ "$(tr -d '\r' <back.txt)" = "$text" ]
printf 'secret\n' >pass
"$varn" encrypt --passphrase-file pass plain.txt -o plain.enc
"$varn" decrypt --passphrase-file pass plain.enc -o plain.dec
cmp -s plain.txt plain.dec
printf 'one\ntwo\nthree\n' >pass3
"$varn" encrypt --triple --passphrase-file pass3 plain.txt -o plain.3x
"$varn" decrypt --triple --passphrase-file pass3 plain.3x -o plain.3xd
cmp -s plain.txt plain.3xd
[ "$("$varn" passgen --count 3 --length 12 --set latin | awk 'length($0) == 12' | wc -l)" = 3 ]
if [ -r /usr/share/bash-completion/bash_completion ]; then
  bash -c ". /usr/share/bash-completion/bash_completion
    . '$scratch/root/usr/share/bash-completion/completions/varn'; complete -p varn" >/dev/null
else
  echo "package check: skipping the completion: bash-completion is not installed"
fi
# The window starts from the package with the libraries it names, and is still running two
# seconds later.
QT_QPA_PLATFORM=offscreen "$scratch/root/usr/bin/ostrel-varn" >window.log 2>&1 &
window=$!
sleep 2
if ! kill -0 "$window" 2>/dev/null; then
  echo "the window program ended at once:" >&2
  cat window.log >&2
  exit 1
fi
kill "$window"
wait "$window" 2>/dev/null || true
echo "package check: passed"
