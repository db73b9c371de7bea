#!/usr/bin/env bash
# Unpacks a Debian source package (with Debian's patches applied) into a folder, for code the
# browser build compiles itself because Debian ships it built for this machine only (giflib).
# Reads Debian's source index with apt into a private state folder: the system's apt
# configuration is neither read for sources nor changed.
# Usage: scripts/debian-source.sh PACKAGE[=VERSION] DEST
set -euo pipefail
[[ $# -eq 2 ]] || { echo "usage: $0 PACKAGE[=VERSION] DEST" >&2; exit 2; }
package="$1"
dest="$2"

. /etc/os-release
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
state="$(mktemp -d)"
trap 'rm -rf "$state"' EXIT
mkdir -p "$state/lists/partial" "$state/cache/archives/partial" "$state/get"
cat > "$state/sources.list" <<SOURCES
deb-src [signed-by=$keyring] http://deb.debian.org/debian $VERSION_CODENAME main
deb-src [signed-by=$keyring] http://deb.debian.org/debian $VERSION_CODENAME-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security $VERSION_CODENAME-security main
SOURCES
apt_options=(-o "Dir::Etc::SourceList=$state/sources.list" -o "Dir::Etc::SourceParts=$state/none"
             -o "Dir::State::Lists=$state/lists" -o "Dir::Cache=$state/cache"
             -o "APT::Sandbox::User=root")
apt-get "${apt_options[@]}" -qq update
(cd "$state/get" && apt-get "${apt_options[@]}" -qq source --download-only "$package")
# apt checked every file against the signed index; dpkg-source applies Debian's patches.
dpkg-source --no-check -x "$state"/get/*.dsc "$state/unpacked" >/dev/null
basename "$state"/get/*.dsc .dsc > "$state/unpacked/.debian-source"
mkdir -p "$(dirname "$dest")"
rm -rf "$dest"
mv "$state/unpacked" "$dest"
