#!/usr/bin/env bash
# Usage: package.sh BUILD32 BUILD64 OUT
# Writes the release's files from two built release folders (32-bit and 64-bit) into OUT: the two
# zips, the two installers, the winget and Scoop manifests and SHA256SUMS. The same built files
# give the same bytes: every file carries the commit's time (generated/source-date-epoch), and the
# installers' codes and summary are derived from the version and the files. The download address
# in the manifests is SANDRIVO_DOWNLOAD_URL (a placeholder unless the publisher sets it).
set -euo pipefail
source "$(dirname "$0")/common.sh"

build32=$(realpath "$1") build64=$(realpath "$2") out=$(realpath -m "$3")
DIST=(/usr/bin/python3 "$ROOT/scripts/dist.py")
version=$(sed -n 's/^#define SANDRIVO_VERSION_TEXT "\(.*\)"$/\1/p' "$build32/generated/version.h")
epoch=$(cat "$build32/generated/source-date-epoch")
[ -n "$version" ] || { echo "no version in $build32/generated/version.h" >&2; exit 1; }
for dir in "$build32" "$build64"; do
  if [ "$(sed -n 's/^#define SANDRIVO_VERSION_TEXT "\(.*\)"$/\1/p' "$dir/generated/version.h")" != "$version" ] ||
     [ "$(cat "$dir/generated/source-date-epoch")" != "$epoch" ]; then
    echo "$build32 and $build64 are not built from the same commit" >&2
    exit 1
  fi
done
base_url=${SANDRIVO_DOWNLOAD_URL:-https://downloads.example.invalid/sandrivo/$version/}

rm -rf "$out"
mkdir -p "$out"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for arch in win32 win64; do
  if [ $arch = win32 ]; then dir=$build32 msi_arch=x86; else dir=$build64 msi_arch=x64; fi
  files=$stage/$arch
  mkdir -p "$files"
  cp "$dir/Sandrivo.exe" "$dir/sandrivo-report.exe" "$files/"
  "${DIST[@]}" readme "$ROOT/resources/installer/LIESMICH.txt" "$files/LIESMICH.txt" "$version"
  cp "$dir/art/program_icon.ico" "$stage/Sandrivo-$arch.ico"
  touch -d "@$epoch" "$files"/*
  "${DIST[@]}" zip "$out/Sandrivo-$version-$arch.zip" "$epoch" \
    "$files/LIESMICH.txt" "$files/Sandrivo.exe" "$files/sandrivo-report.exe"
  "${DIST[@]}" msi "$out/Sandrivo-$version-$msi_arch.msi" $msi_arch "$version" "$epoch" "$files" \
    "$stage/Sandrivo-$arch.ico"
done

"${DIST[@]}" manifests "$out" "$build32/generated/version.h" "$base_url"
"${DIST[@]}" sums "$out"
"${DIST[@]}" check "$out"
