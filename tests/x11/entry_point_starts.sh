#!/usr/bin/env bash
# Starts the real program with a private home folder and checks what it leaves there.
set -euo pipefail
binary="$1"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/data"
"$binary" > "$home/stdout.txt"
dir="$home/data/Glimmerbox"
test -f "$dir/config.json" || { echo "config.json was not created"; exit 1; }
grep -q '"600519"' "$dir/config.json" || { echo "default watch list missing"; exit 1; }
grep -q '"didImportHoldings": true' "$dir/config.json" || { echo "seeding flag missing"; exit 1; }
grep -qE '^\[[0-9-]{10} [0-9:]{8}\] INFO 启动 v1.1.2（Brisko）股票池=3只 尺寸=350x216 透明度=0.55 刷新=30s$' "$dir/events.log" \
  || { echo "start line missing from events.log"; cat "$dir/events.log"; exit 1; }
grep -q 'INFO 启动' "$home/stdout.txt" || { echo "start line not echoed"; exit 1; }
echo "entry point ok"
