#!/bin/sh
# Writes the libraries MODULE needs, as the dynamic loader finds them on this
# machine, one name per line, each after every library it needs itself, so
# that opening them in this order maps one library per opening.
#   module-libraries.sh MODULE OUTPUT
set -eu
module=$1
output=$2
ldd "$module" | awk '$2 == "=>" && $3 ~ /^\// { print $1, $3 }' > "$output.found"
# Each library's own needs, read from its dynamic section.
# shellcheck disable=SC2046
objdump -p $(awk '{ print $2 }' "$output.found") | awk '
    FNR == NR { path[$2] = $1; next }
    /file format/ { sub(/:$/, "", $1); current = path[$1]; next }
    $1 == "NEEDED" && current != "" { needs[current] = needs[current] " " $2 }
    function visit(name,    count, list, i) {
        if (done[name]++) return
        count = split(needs[name], list, " ")
        for (i = 1; i <= count; i++)
            if (list[i] in known) visit(list[i])
        print name
    }
    END {
        for (p in path) known[path[p]] = 1
        while ((getline line < ORDER) > 0) { split(line, field, " "); visit(field[1]) }
    }' ORDER="$output.found" "$output.found" - > "$output.new"
mv "$output.new" "$output"
rm -f "$output.found"
