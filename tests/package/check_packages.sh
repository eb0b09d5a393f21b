#!/usr/bin/env bash
# Checks the packages that scripts/package.sh built, as a user and the system would use them.
# Usage: check_packages.sh CHECK PACKAGE_FOLDER VERSION SOURCE_FOLDER
#   contents  the Debian package's files and control data, the portable archive's files
#   desktop   the desktop entry, AppStream metainfo, MIME package and icons pass their validators
#   readonly  the Debian package unpacked and made read-only runs its batch mode, writes nothing there
#   portable  the portable archive unpacked runs, saves jobs into its own JobFiles/
#   mime      a saved job is recognised as a Corvane job by its name and by its first record
set -euo pipefail

check=$1
packages=$2
version=$3
source=$4

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

arch=$(dpkg --print-architecture)
deb=$packages/corvane_${version}_${arch}.deb
tgz=$(ls "$packages"/corvane-"$version"-linux-*.tar.gz 2>/dev/null | head -n 1 || true)
[ -f "$deb" ] || fail "no Debian package $deb (run scripts/package.sh first)"
[ -n "$tgz" ] || fail "no portable archive corvane-$version-linux-*.tar.gz in $packages (run scripts/package.sh first)"

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"

# The data files every installation must carry: the source opdata/ as shipped, and the
# equipment files compiled from the catalogue.
data_files() {
    (cd "$source/opdata" && find . -type f ! -name README.md | sed 's|^\./|opdata/|')
    for f in CModels.rec CRatings.rec CProdList.data ERatings.rec EProdList.data; do echo "proddata/$f"; done
}

# Runs a command as a user who cannot write into a read-only folder: as root, permissions
# are not enforced, so the command runs as nobody.
as_user() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"
    else
        "$@"
    fi
}

user_home() {
    local home=$work/home
    mkdir -p "$home"
    [ "$(id -u)" -eq 0 ] && chown 65534:65534 "$home"
    echo "$home"
}

# Runs a command as that user, in a session whose folders all lie under the given home.
session() {
    local home=$1
    shift
    as_user env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
        XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" "$@"
}

snapshot() {
    (cd "$1" && find . -printf '%p %y %s %m %T@\n' | sort && find . -type f -exec md5sum {} + | sort)
}

unpack_portable() {
    tar -xzf "$tgz" -C "$work"
    local top
    top=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name "corvane-$version-*")
    [ -n "$top" ] || fail "the archive has no top folder corvane-$version-*"
    echo "$top"
}

case $check in
contents)
    full=$(dpkg-deb -c "$deb")
    listing=$(awk '{ print $6 $7 $8 }' <<<"$full" | sed 's|^\./||; s|/$||')
    expect() { grep -qxF -- "$1" <<<"$listing" || fail "the Debian package lacks $1"; }
    expect opt/corvane/corvane
    expect opt/corvane/corvane-gui
    expect opt/corvane/package-managed
    for f in $(data_files); do expect "opt/corvane/$f"; done
    for d in JobFiles pdf Updates; do expect "opt/corvane/$d"; done
    expect "usr/bin/corvane->/opt/corvane/corvane"
    expect usr/share/applications/corvane.desktop
    expect usr/share/metainfo/example.corvane.Corvane.metainfo.xml
    expect usr/share/mime/packages/corvane.xml
    for size in 16 22 24 32 48 64 128 256; do
        expect "usr/share/icons/hicolor/${size}x${size}/apps/corvane.png"
        expect "usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-corvane-job.png"
    done
    expect usr/share/icons/hicolor/scalable/apps/corvane.svg
    expect usr/share/icons/hicolor/scalable/mimetypes/application-x-corvane-job.svg
    stray=$(grep -vE '^(opt|opt/corvane(/.*)?|usr|usr/bin(/.*)?|usr/share|usr/share/(applications|metainfo|mime|icons)(/.*)?)$' <<<"$listing" || true)
    [ -z "$stray" ] || fail "files outside the program's folder and the desktop folders: $stray"
    for program in corvane corvane-gui; do
        grep -q "^-rwxr-xr-x root/root .* \./opt/corvane/$program\$" <<<"$full" ||
            fail "$program is not an executable owned by root"
    done

    [ "$(dpkg-deb -f "$deb" Package)" = corvane ] || fail "package name"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version), expected $version"
    [ "$(dpkg-deb -f "$deb" Architecture)" = "$arch" ] || fail "architecture"
    depends=$(dpkg-deb -f "$deb" Depends)
    names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
    for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
        grep -qxF "$lib" <<<"$names" || fail "Depends lacks $lib: $depends"
    done

    dpkg-deb -x "$deb" "$work/root"
    for program in corvane corvane-gui; do
        file "$work/root/opt/corvane/$program" | grep -q 'ELF.*, stripped' || fail "$program is not a stripped executable"
    done

    top=$(unpack_portable)
    for f in corvane corvane-gui $(data_files); do [ -f "$top/$f" ] || fail "the portable archive lacks $f"; done
    for d in JobFiles pdf Updates; do [ -d "$top/$d" ] || fail "the portable archive lacks $d/"; done
    [ ! -e "$top/package-managed" ] || fail "the portable archive carries the package manager's mark"
    [ "$(tar -tzf "$tgz" | cut -d/ -f1 | sort -u)" = "$(basename "$top")" ] ||
        fail "the portable archive holds more than its top folder"
    ;;

desktop)
    dpkg-deb -x "$deb" "$work/root"
    share=$work/root/usr/share
    desktop-file-validate "$share/applications/corvane.desktop" || fail "desktop-file-validate"
    grep -qx 'Exec=corvane %f' "$share/applications/corvane.desktop" || fail "the desktop entry does not pass the file"
    appstreamcli validate --no-net "$share/metainfo/example.corvane.Corvane.metainfo.xml" || fail "appstreamcli validate"
    xmllint --noout "$share/mime/packages/corvane.xml" || fail "xmllint on the MIME package"
    for png in "$share"/icons/hicolor/*x*/*/*.png; do
        size=$(basename "$(dirname "$(dirname "$png")")")
        file "$png" | grep -q "PNG image data, ${size/x/ x }," || fail "$png is not a ${size} PNG"
    done
    for svg in "$share"/icons/hicolor/scalable/*/*.svg; do xmllint --noout "$svg" || fail "xmllint on $svg"; done
    ;;

readonly)
    dpkg-deb -x "$deb" "$work/root"
    program=$work/root/opt/corvane
    chmod -R a-w "$program"
    before=$(snapshot "$program")
    home=$(user_home)
    out=$(session "$home" "$program/corvane" --batch /LOG) || fail "batch mode failed (status $?): $out"
    grep -q '^  Total' <<<"$out" || fail "no total load in the batch output: $out"
    [ -s "$home/.local/share/Corvane/!!LogFile.txt" ] || fail "the log is not in the user's data folder"
    help=$(session "$home" "$program/corvane" --help)
    grep -qF "$home/Documents/Corvane/" <<<"$help" || fail "the job folder is not in the user's documents: $help"
    [ "$(session "$home" "$program/corvane" --version)" = "Corvane $version" ] || fail "--version"
    # The report needs fonts: `corvane` hands the run to corvane-gui beside it.
    session "$home" "$program/corvane" --batch --pdf "$home/walk-in.pdf" >/dev/null || fail "the report run failed"
    head -c 5 "$home/walk-in.pdf" | grep -qF '%PDF-' || fail "the report is not a PDF"
    after=$(snapshot "$program")
    [ "$before" = "$after" ] || fail "the program wrote into its read-only folder: $(diff <(echo "$before") <(echo "$after"))"
    ;;

portable)
    top=$(unpack_portable)
    home=$(user_home)
    chown -R "$(stat -c %u:%g "$home")" "$top"
    job="$top/JobFiles/cold room, 2\" doors.cvj"
    session "$home" "$top/corvane" --batch --set 103=0 --save "$job" /LOG >/dev/null ||
        fail "saving a job failed"
    head -c 14 "$job" | grep -qF '"# ","Tundrel"' || fail "the saved job has no header record"
    [ -s "$top/!!LogFile.txt" ] || fail "the log is not beside the program"
    [ ! -e "$home/.local/share/Corvane" ] || fail "the portable program wrote into the user's data folder"
    help=$(session "$home" "$top/corvane" --help)
    grep -qF "$top/JobFiles/" <<<"$help" || fail "the job folder is not the program's own JobFiles/: $help"
    out=$(session "$home" "$top/corvane" --batch "$job") || fail "the saved job does not open"
    grep -qF "Job: $job" <<<"$out" || fail "the batch mode did not open the saved job: $out"
    ;;

mime)
    top=$(unpack_portable)
    home=$(user_home)
    session "$home" "$top/corvane" --batch --save "$home/walk-in.cvj" >/dev/null || fail "saving a job failed"
    cp "$home/walk-in.cvj" "$home/walk-in copy"
    printf 'just text\r\n' >"$home/notes.txt"
    mkdir -p "$work/share/mime/packages"
    dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/mime/packages/corvane.xml >"$work/share/mime/packages/corvane.xml"
    XDG_DATA_DIRS="$work/share" update-mime-database "$work/share/mime" || fail "update-mime-database"
    query() {
        env -i PATH=/usr/bin:/bin HOME="$work" XDG_DATA_HOME="$work/share" XDG_DATA_DIRS="$work/share" \
            xdg-mime query filetype "$1"
    }
    [ "$(query "$home/walk-in.cvj")" = application/x-corvane-job ] || fail "by name: $(query "$home/walk-in.cvj")"
    [ "$(query "$home/walk-in copy")" = application/x-corvane-job ] || fail "by first record: $(query "$home/walk-in copy")"
    [ "$(query "$home/notes.txt")" = text/plain ] || fail "a text file taken for $(query "$home/notes.txt")"
    ;;

*)
    fail "unknown check '$check'"
    ;;
esac
echo "ok: $check"
