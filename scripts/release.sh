#!/usr/bin/env bash
# Makes the release of the commit checked out in dist/: Sandrivo-<version>-win32.zip and -win64.zip,
# Sandrivo-<version>-x86.msi and -x64.msi, the winget manifests (dist/winget/), the Scoop manifest
# (dist/scoop/) and SHA256SUMS over all of them.
#
# First every test runs (scripts/test.sh, which builds build/ and build64/ and also tests the
# installers). Then both programs are built once more, without the tests, in build-release/ and
# build-release64/, and packaged into dist/. The release's files must be byte for byte the files of
# the tested builds: the script packages those too, attaching the release's signatures (time stamps
# and all), and compares, so a release is the tested build and shows that a build in another folder
# at another time gives the same bytes.
#
# The manifests name the download address SANDRIVO_DOWNLOAD_URL (the folder that will hold the
# zips); unset, they hold a placeholder for the publisher to replace. Signing: see package.sh.
#
# A tree with uncommitted changes is refused: its files would name a commit that does not hold
# their source. --allow-dirty makes them anyway (their commit then reads "<id>-dirty").
set -euo pipefail
source "$(dirname "$0")/common.sh"

allow_dirty=
for arg in "$@"; do
  case $arg in
    --allow-dirty) allow_dirty=1 ;;
    *) echo "Usage: release.sh [--allow-dirty]" >&2; exit 2 ;;
  esac
done
install_packages "${PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${RELEASE_PACKAGES[@]}"
if ! git -C "$ROOT" rev-parse --verify -q HEAD >/dev/null; then
  echo "Not a git checkout: a release names its commit." >&2
  exit 1
fi
if [ -n "$(git -C "$ROOT" status --porcelain --untracked-files=no)" ]; then
  if [ -z "$allow_dirty" ]; then
    echo "The tree has uncommitted changes: commit them, or give --allow-dirty." >&2
    exit 1
  fi
  echo "Warning: the tree has uncommitted changes; the files name the commit as <id>-dirty." >&2
fi

# One time for every build of this run, even should a commit come meanwhile.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && epoch=$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null); then
  export SOURCE_DATE_EPOCH=$epoch
fi

bash "$ROOT/scripts/test.sh"

release32=$ROOT/build-release release64=$ROOT/build-release64
build "$release32" "$TOOLCHAIN_I686" OFF
build "$release64" "$TOOLCHAIN_X86_64" OFF
bash "$ROOT/scripts/package.sh" "$release32" "$release64" "$ROOT/dist"

# Signed once: the tested builds get the release's signatures, which must match their files.
fingerprint=$(tr -d '\r' <"$ROOT/dist/BUILDINFO.txt" | sed -n "s/^Signer's certificate, SHA-256: //p")
if [ -n "$fingerprint" ]; then
  SANDRIVO_SIGNATURES=$ROOT/dist/signatures SANDRIVO_SIGN_FINGERPRINT=$fingerprint \
    bash "$ROOT/scripts/package.sh" "$BUILD_DIR" "$ROOT/build64" "$release32/dist-of-tested-build" >/dev/null
else
  bash "$ROOT/scripts/package.sh" "$BUILD_DIR" "$ROOT/build64" "$release32/dist-of-tested-build" >/dev/null
fi
if ! diff -r "$ROOT/dist" "$release32/dist-of-tested-build"; then
  echo "The release's files differ from those of the tested builds: the build is not reproducible." >&2
  exit 1
fi
echo "The release's files are those of the tested builds, byte for byte."
echo
echo "dist/:"
(cd "$ROOT/dist" && cat SHA256SUMS)
if [ -n "$fingerprint" ]; then
  echo "Signed: the executables, the installers and SHA256SUMS (SHA256SUMS.p7s); detached signatures in dist/signatures/."
  echo "The signer's certificate, SHA-256 (for the release notes): $fingerprint"
else
  echo "NOT signed: no certificate was given (see scripts/package.sh)."
fi
