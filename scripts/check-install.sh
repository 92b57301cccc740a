#!/usr/bin/env bash
# Installs the built program into a staging folder and checks what a desktop reads from it, starts
# the installed program as an ordinary user, and builds the Debian package and checks its files and
# dependencies. Runs after a build in ./build.
set -euo pipefail
cd "$(dirname "$0")/.."
id=de.tickerpost.Tickerpost

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
chmod 755 "$stage"
DESTDIR="$stage/root" cmake --install build --prefix /usr >/dev/null
share="$stage/root/usr/share"
desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null
for size in 16 22 24 32 48 64 128 256; do
    test -s "$share/icons/hicolor/${size}x${size}/apps/$id.png"
done
test -s "$share/icons/hicolor/scalable/apps/$id.svg"

# The installed program, its folder read-only, started by an ordinary user with a fresh home: the
# window opens and stays until it is ended, and the per-user folders appear, private.
home="$stage/home"
mkdir -m 755 "$home"
chmod -R a-w "$stage/root"
as_user=()
if [ "$(id -u)" = 0 ]; then
    chown nobody "$home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
status=0
"${as_user[@]}" env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=offscreen \
    timeout 5 "$stage/root/usr/bin/tickerpost" 2>/dev/null || status=$?
chmod -R u+w "$stage/root"
[ "$status" = 124 ] || { echo "the installed program ended with status $status"; exit 1; }
for folder in .config/Tickerpost .local/share/Tickerpost; do
    [ "$(stat -c %a "$home/$folder")" = 700 ] || { echo "$folder is not private"; exit 1; }
done
# The installed command-line sender, as the same user: it answers --version and, with the window's
# files and no server, shows the mail it would send without touching them.
"${as_user[@]}" "$stage/root/usr/bin/tickerpost-send" --version | grep -q '^tickerpost-send (Tickerpost) ' ||
    { echo "the installed tickerpost-send does not answer --version"; exit 1; }
dry_run=$("${as_user[@]}" env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" \
    "$stage/root/usr/bin/tickerpost-send" --dry-run -m Hallo 01711234567 </dev/null)
grep -q '^To: 491711234567@sms.example.com' <<<"$dry_run" ||
    { echo "the installed tickerpost-send --dry-run shows no mail: $dry_run"; exit 1; }

# The Debian package: the installed files, and dependencies from dpkg-shlibdeps plus Qt's plugins
# and translations.
(cd build && rm -f tickerpost_*.deb && cpack -G DEB >/dev/null)
deb=$(ls build/tickerpost_*.deb)
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for file in ./usr/bin/tickerpost ./usr/bin/tickerpost-send ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/$id.svg ./usr/share/icons/hicolor/16x16/apps/$id.png \
    ./usr/share/icons/hicolor/256x256/apps/$id.png; do
    grep -qxF "$file" <<<"$contents" || { echo "$deb lacks $file"; exit 1; }
done
depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libc6 qt6-qpa-plugins qt6-translations-l10n; do
    grep -q "$package" <<<"$depends" || { echo "$deb does not depend on $package: $depends"; exit 1; }
done
echo "Install check passed: $deb"
