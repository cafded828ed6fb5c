#!/usr/bin/env bash
# make uninstall: removes exactly the files that make install listed in the program's folder, then that folder when
# nothing else is in it. The settings file and the user's registered programs and histories were never installed:
# they stay, and this says where they are.
# Usage: uninstall.sh <prefix>
set -euo pipefail
prefix=$(realpath -m -s -- "$1")
folder=$prefix/lib/nagitori
record=$folder/install_manifest.txt

if [[ ! -f $record ]]; then
  echo "Nothing to uninstall under $prefix: $record is missing. An install made before installs were listed is" >&2
  echo "removed by installing it again (make install PREFIX=$prefix), then: make uninstall PREFIX=$prefix" >&2
  exit 1
fi

failed=0
while IFS= read -r file; do
  [[ -n $file && $file != "$record" ]] || continue
  # Only what lies under the prefix, and never a folder: a moved or edited list must not reach anything else.
  if [[ $file != "$prefix"/* ]]; then
    echo "Left alone, not under $prefix: $file" >&2
  elif [[ -L $file || -f $file ]]; then
    rm -f -- "$file" || failed=1
  elif [[ -e $file ]]; then
    echo "Left alone, not a file: $file" >&2
  fi
done <"$record"
if [[ $failed -ne 0 ]]; then
  echo "Some files could not be removed (see above); $record is kept, so make uninstall can run again." >&2
  exit 1
fi
rm -f -- "$record"
rmdir -- "$folder" 2>/dev/null || true

echo "Uninstalled from $prefix."
if [[ -e $folder/nagitori.ini ]]; then
  echo "Kept your settings: $folder/nagitori.ini"
fi
config=${XDG_CONFIG_HOME:-}
[[ $config == /* ]] || config=${HOME:-}/.config
if [[ -d $config/ナギトリ ]]; then
  echo "Kept your registered programs, input histories and any settings kept there: $config/ナギトリ/"
fi
autostart=/etc/xdg
IFS=: read -ra dirs <<<"${XDG_CONFIG_DIRS:-}"
for dir in "${dirs[@]}"; do
  if [[ $dir == /* ]]; then
    autostart=$dir
    break
  fi
done
if [[ -e $autostart/autostart/Nagitori.desktop ]]; then
  echo "Start with the system is still on: remove $autostart/autostart/Nagitori.desktop (as root)."
fi
