#!/usr/bin/env bash
# binary_words.sh PROGRAM WORD...: fails when the program holds any WORD, as UTF-8 (C strings) or
# as UTF-16 (Qt string literals), listing the words found.
set -euo pipefail
program="$1"
shift
found=0
for word in "$@"; do
    utf16=$(printf '%s' "$word" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -s ' \n' ' ' | sed 's/^ //;s/ $//;s/ /\\x/g')
    if LC_ALL=C grep -a -q -F -e "$word" "$program" || LC_ALL=C grep -a -q -P "\\x$utf16" "$program"; then
        echo "found: $word"
        found=1
    fi
done
exit $found
