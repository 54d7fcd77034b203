#!/bin/bash
# Runs the asset generators again into a scratch directory and compares
# every file byte for byte with the build's data directory.
# Arguments: the data directory, then the texture, model and music generators.
set -u
data=$1 textures=$2 models=$3 music=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$textures" "$scratch/textures" && "$models" "$scratch/models" && "$music" "$scratch/stream/kiru.ogg" || {
    echo "a generator failed"; exit 1; }
fail=0
count=0
for file in "$data"/textures/* "$data"/models/* "$data"/stream/*; do
    relative=${file#"$data"/}
    count=$((count + 1))
    if ! cmp -s "$file" "$scratch/$relative"; then
        echo "differs: $relative"
        fail=1
    fi
done
# Nothing generated only once, nothing missing from the build.
built=$(cd "$data" && find textures models stream -type f | sort)
again=$(cd "$scratch" && find textures models stream -type f | sort)
[ "$built" == "$again" ] || { echo "the file lists differ"; fail=1; }
[ "$count" -eq 25 ] || { echo "expected 25 asset files, found $count"; fail=1; }
[ $fail -eq 0 ] && echo "all $count files identical"
exit $fail
