#!/usr/bin/env bash
# Updates a sample installation from a web area served on this computer (127.0.0.1 only):
# two changed data files, one added, and release notes. Then shows that a second check finds
# everything up to date and that a list changed after signing is refused.
#
#   scripts/update-demo.sh [PROGRAM_FOLDER]     (default: build/sanitize)
#
# Exits non-zero when anything does not behave as described; the program's log lines of each
# check are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
program_dir=$(realpath "${1:-build/sanitize}")
work=$(mktemp -d)
server_pid=""
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/home"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"

# --- the installation: the program with its data folders, and the list of what it holds
inst="$work/installation"
mkdir -p "$inst"
cp "$program_dir/corvane" "$program_dir/corvane-gui" "$inst/"
cp -r "$program_dir/opdata" "$program_dir/proddata" "$inst/"
mkdir -p "$inst/JobFiles" "$inst/Updates"

line() { # name remote local version
    printf '0\t%s\t%s\t%s\t%s\t\n' "$1" "$2" "$3" "$4"
}

# --- the web area of the next release
area="$work/area"
mkdir -p "$area/files/data" "$area/files/notes"
cp "$inst/opdata/help.html" "$inst/opdata/contrast.col" "$area/files/data/"
sed -i 's|</body>|<h2>Updates</h2><p>Check for updates keeps the program and its data current.</p></body>|' "$area/files/data/help.html"
sed -i '0,/\t[0-9]\+\t[0-9]\+\t[0-9]\+/s//\t0\t0\t96/' "$area/files/data/contrast.col"
cp "$inst/opdata/default.col" "$area/files/data/slate.col"
printf 'Corvane 0.1.93\r\n\r\n- The help explains the update check.\r\n- The contrast colours are darker.\r\n- New colour file slate.col.\r\n' \
    > "$area/files/notes/notes-0.1.93.txt"
cp "$inst/opdata/TableA.data" "$area/files/data/"
{
    echo "# Corvane 0.1.93"
    line help.html data opdata 0.1.93
    line contrast.col data opdata 0.1.93
    line slate.col data opdata 0.1.93
    line TableA.data data opdata 0.1.92
    line notes-0.1.93.txt notes ReleaseNotes 0.1.93
} > "$area/files/Newest.ver"

publish="$program_dir/corvane-publish"
"$publish" keygen "$work/publisher.key"
"$publish" sign "$area/files" "$work/publisher.key"
cp "$work/publisher.key.pub" "$inst/opdata/trusted.pub"

# What is installed now: the same files at the previous version.
{
    line help.html data opdata 0.1.92
    line contrast.col data opdata 0.1.92
    line TableA.data data opdata 0.1.92
} > "$inst/opdata/Installed.ver"

# --- the server, on the loopback interface only
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$area" > "$work/server.log" 2>&1 &
server_pid=$!
port=""
for _ in $(seq 100); do
    port=$(sed -n 's/.*port \([0-9]\+\).*/\1/p' "$work/server.log" | head -n1)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { echo "update-demo: the local server did not start" >&2; exit 1; }
printf -v url 'http://127.0.0.1:%s/files' "$port"
sed -i "s|^UPDATEURL\t0\tURL\t.*\r\$|UPDATEURL\t0\tURL\t$url\r|" "$inst/opdata/default.lng"

check() { # expected-status title
    echo "== $2"
    set +e
    "$inst/corvane" --batch --update
    status=$?
    set -e
    echo "(exit status $status)"
    [ "$status" -eq "$1" ] || { echo "update-demo: expected exit status $1" >&2; exit 1; }
}

check 0 "First check: two changed data files, one added, release notes"
for f in help.html contrast.col slate.col; do cmp "$area/files/data/$f" "$inst/opdata/$f"; done
cmp "$area/files/notes/notes-0.1.93.txt" "$inst/ReleaseNotes/notes-0.1.93.txt"
cmp <(tr -d "\r" < "$area/files/Newest.ver" | grep -v "^#" | sort) <(tr -d "\r" < "$inst/opdata/Installed.ver" | sort)
[ ! -e "$inst/Updates/staging" ]

check 0 "Second check: everything is up to date"

echo "Someone changes the list on the server after it was signed."
sed -i 's/\t0\.1\.92\t/\t0.1.94\t/' "$area/files/Newest.ver"
before=$(cd "$inst" && find . -type f ! -name '!!LogFile.txt' -exec sha256sum {} + | sort)
check 3 "Third check: the list no longer matches its signature"
after=$(cd "$inst" && find . -type f ! -name '!!LogFile.txt' -exec sha256sum {} + | sort)
[ "$before" = "$after" ] || { echo "update-demo: the refused list changed the installation" >&2; exit 1; }
echo "update-demo: all checks behaved as expected"
