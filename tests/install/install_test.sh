#!/usr/bin/env bash
# Installs Vellumar into a temporary root and checks it as a desktop would see
# it: the files and their permissions, the manual pages, the desktop entry, the
# AppStream metadata, the icons, the spellbook file type and its handler, and
# the installed programs themselves.
#
# The Debian package is built with cpack, checked with lintian and unpacked
# with dpkg -x when the Debian tools are there; otherwise `cmake --install`
# fills the root.
# Exits 77 (skipped) when a needed tool is missing.
# usage: install_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: install_test.sh BUILD_DIR}

skip() {
    echo "SKIPPED: $*"
    exit 77
}
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
for tool in cmake desktop-file-validate update-mime-database update-desktop-database xdg-mime \
    timeout appstreamcli gzip man file; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root
prefix=$root/usr

# 1. Install.
# CPack's dependency scan needs dpkg-shlibdeps and file.
if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null &&
    command -v dpkg-shlibdeps >/dev/null && command -v file >/dev/null &&
    [ -f "$build/CPackConfig.cmake" ]; then
    echo "== Debian package"
    cpack -G DEB -B "$tmp/package" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1 ||
        { cat "$tmp/cpack.log"; fail "cpack could not build the package"; }
    deb=$(echo "$tmp"/package/*.deb)
    [ -f "$deb" ] || fail "no package in $tmp/package"
    dpkg-deb -x "$deb" "$root"
    [ "$(dpkg-deb -f "$deb" Package)" = vellumar ] || fail "package name"
    depends=$(dpkg-deb -f "$deb" Depends)
    # Linked libraries come from dpkg-shlibdeps, plug-ins are named by hand.
    for package in libqt6widgets6 libqt6svg6 qt6-qpa-plugins; do
        [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
    done
    # What Debian's archive would say of it: no error, no warning.
    if command -v lintian >/dev/null; then
        lintian --fail-on error,warning "$deb" >"$tmp/lintian.log" 2>&1 ||
            { cat "$tmp/lintian.log"; fail "lintian"; }
        cat "$tmp/lintian.log"
    else
        echo "lintian is not installed: the package is not checked"
    fi
else
    echo "== cmake --install (no Debian packaging tools)"
    cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" ||
        { cat "$tmp/install.log"; fail "cmake --install"; }
fi

# 2. The files, where desktops and the program look for them.
for program in vellumar vellumar-cli; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is missing or not executable"
done
for file in share/vellumar/MASTER.DAT share/vellumar/MASTER.DAT.texts.json \
    share/vellumar/Vellumar.HLP share/vellumar/MASTER.README.md \
    share/applications/vellumar.desktop share/mime/packages/vellumar.xml \
    share/icons/hicolor/scalable/apps/vellumar.svg \
    share/icons/hicolor/scalable/mimetypes/application-x-vellumar-spellbook.svg; do
    [ -f "$prefix/$file" ] || fail "$file is missing"
done
# Data files as Debian has them, the programs executable by all.
while IFS= read -r -d '' file; do
    mode=$(stat -c %a "$file")
    [ "$mode" = 644 ] || fail "${file#"$root"} has mode $mode, not 644"
done < <(find "$prefix/share" -type f -print0)
for program in vellumar vellumar-cli; do
    [ "$(stat -c %a "$prefix/bin/$program")" = 755 ] || fail "bin/$program is not mode 755"
done

# The package's documents and manual pages, compressed without a time stamp.
doc=$prefix/share/doc/vellumar
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright" ||
    fail "the copyright file is not machine-readable"
for licence in CC-BY-4.0 Expat; do
    grep -q "^License: $licence\$" "$doc/copyright" || fail "the copyright file lacks $licence"
done
for program in vellumar vellumar-cli; do
    page=$prefix/share/man/man1/$program.1.gz
    gzip -t "$page" || fail "man1/$program.1.gz is not gzip"
    [[ $(file -b "$page") != *"last modified"* ]] || fail "man1/$program.1.gz carries a time stamp"
    warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man1/$program.1.gz: $warnings"
    zgrep -q "^\.SH NAME" "$page" || fail "man1/$program.1.gz has no NAME section"
done
gzip -t "$doc/changelog.gz" || fail "changelog.gz"

# What software centres read, and icons drawn at the usual sizes.
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml ||
    fail "appstreamcli validate"
grep -q '<launchable type="desktop-id">vellumar.desktop</launchable>' \
    "$prefix"/share/metainfo/*.metainfo.xml || fail "the metadata does not launch vellumar.desktop"
for size in 16 22 24 32 48 64 128 256; do
    for icon in apps/vellumar mimetypes/application-x-vellumar-spellbook; do
        png=$prefix/share/icons/hicolor/${size}x$size/$icon.png
        [[ $(file -b "$png") == "PNG image data, $size x $size,"* ]] ||
            fail "${png#"$prefix/"} is not a $size x $size PNG"
    done
done

# 3. The desktop entry.
desktop=$prefix/share/applications/vellumar.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=vellumar %F' "$desktop" || fail "the desktop entry does not pass files on"
grep -qx 'MimeType=application/x-vellumar-spellbook;' "$desktop" || fail "MimeType line"

# 4. The file type, and the desktop entry as its handler, in a private home
# whose only data folder is the installation's.
mkdir -p "$tmp/home/.config" "$tmp/home/.local/share" "$tmp/runtime" "$tmp/work"
chmod 700 "$tmp/runtime"
in_home=(env -i PATH="$prefix/bin:$PATH" HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config"
    XDG_DATA_HOME="$tmp/home/.local/share" XDG_DATA_DIRS="$prefix/share"
    XDG_RUNTIME_DIR="$tmp/runtime")
"${in_home[@]}" update-mime-database "$prefix/share/mime"
for pattern in '\*\.spb' '\*\.SPB'; do
    grep -q ":application/x-vellumar-spellbook:$pattern" "$prefix/share/mime/globs2" ||
        fail "globs2 lacks ${pattern//\\/}"
done
update-desktop-database "$prefix/share/applications"
handler=$("${in_home[@]}" xdg-mime query default application/x-vellumar-spellbook)
[ "$handler" = vellumar.desktop ] || fail "xdg-mime gives '$handler' as the handler"

# 5. The installed programs: a book made by the command-line tool from the
# installed master list, opened as a file manager would open it.
book=$tmp/work/Zarinth.SPB
"$prefix/bin/vellumar-cli" fill --master "$prefix/share/vellumar/MASTER.DAT" --output "$book" \
    --level 9 --intelligence 16 --specialty Invoker --seed 11 || fail "vellumar-cli fill"
[ -s "$book" ] || fail "vellumar-cli wrote no book"
spells=$(grep -c '^[1-9],' "$prefix/share/vellumar/MASTER.DAT")

# The Exec line's words, with the file manager's %F replaced by the book.
read -r -a command_line <<<"$(sed -n 's/^Exec=//p' "$desktop")"
for i in "${!command_line[@]}"; do
    [ "${command_line[$i]}" = %F ] && command_line[$i]=$book
done
command_line+=(--quit-after-start)
touch "$tmp/before"
status=0
(cd "$tmp/work" && "${in_home[@]}" QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
    UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" timeout 60 "${command_line[@]}") \
    >"$tmp/out" 2>"$tmp/err" || status=$?
cat "$tmp/out"
[ "$status" -eq 0 ] || { cat "$tmp/err"; fail "the program exited with $status"; }
expected=$(printf '%s\n' \
    "settings: $tmp/home/.config/vellumar/Vellumar.INI" \
    "help file: $prefix/share/vellumar/Vellumar.HLP" \
    "master list: $spells spells" \
    "spellbook windows: 1")
[ "$(cat "$tmp/out")" = "$expected" ] || fail "start-up report differs; expected:
$expected"
[ -d "$tmp/home/.config/vellumar" ] || fail "no settings folder in the user's configuration folder"
written=$(find "$root" -newer "$tmp/before" ! -type d)
[ -z "$written" ] || fail "the program wrote into its installation: $written"

echo "install test passed"
