#!/usr/bin/env bash
# Builds what a Windows user downloads, from the checked-out commit:
#   out/release/kavrelo-<version>-setup.exe         32-bit (x86) installer (NSIS)
#   out/release/kavrelo-<version>-portable.zip      32-bit kavrelo.exe, BENIOKU.txt, portable.txt
#   out/release/kavrelo-<version>-x64-setup.exe     64-bit (x64) installer
#   out/release/kavrelo-<version>-x64-portable.zip  64-bit kavrelo.exe, BENIOKU.txt, portable.txt
#   out/release/manifests/Valdomer.Kavrelo*.yaml    winget's manifests of the two installers
#   out/release/kavrelo.json                        Scoop's manifest of the two zips
#   out/release/SHA256SUMS                          all of them: the packages, then the
#                                                   manifests (which hash the packages)
#
#   scripts/release.sh --news-host HOST --web-host HOST --counter-host HOST \
#                      [--plain-http news|web|counter]... [--port N] \
#                      [--https-port N] [--referral TEXT]
#
# Every host is reached over https (its certificate must check out) unless
# --plain-http names it; --port is the port of the hosts reached over http
# (0: 80), --https-port that of the others (0: 443). Each setting may come
# from the environment instead (KAVRELO_NEWS_HOST, KAVRELO_WEB_HOST,
# KAVRELO_COUNTER_HOST, KAVRELO_PLAIN_HTTP with the names separated by
# spaces, KAVRELO_HTTP_PORT, KAVRELO_HTTPS_PORT, KAVRELO_REFERRAL).
# A release that would talk to loopback or to the .example placeholders is
# refused unless --allow-test-hosts is given (the release tests do that).
# The manifests expect the folder's files on the web host under
# /indir/<version>/, SHA256SUMS included. Each is checked against its schema
# in KAVRELO_MANIFEST_SCHEMAS (by default resources/release/schemas) before
# it is written.
# Other options: --build DIR (default build/release; the two Release builds
# go to DIR/win32 and DIR/win64), --out DIR (default out/release),
# --no-installer (programs, zips and Scoop's manifest only), --check
# (validate the settings, print them and stop). Two runs of the same commit
# with the same settings give the same programs, zips, installers and
# manifests, byte for byte;
# SOURCE_DATE_EPOCH, when set, replaces the commit time as the date of the
# packaged files.
set -euo pipefail
. "$(dirname "$0")/common.sh"

news=${KAVRELO_NEWS_HOST:-news.example}
web=${KAVRELO_WEB_HOST:-kavrelo.example}
counter=${KAVRELO_COUNTER_HOST:-counter.example}
port=${KAVRELO_HTTP_PORT:-0}
https_port=${KAVRELO_HTTPS_PORT:-0}
plain=" ${KAVRELO_PLAIN_HTTP:-} "
referral=${KAVRELO_REFERRAL:-kavrelo}
schemas=${KAVRELO_MANIFEST_SCHEMAS:-$root/resources/release/schemas}
allow_test_hosts=0
installer=1
check_only=0
build="$root/build/release"
out="$root/out/release"

fail() { echo "release: $*" >&2; exit 2; }
need() { [ $# -ge 2 ] || fail "$1 needs a value"; }
while [ $# -gt 0 ]; do
  case "$1" in
    --news-host) need "$@"; news=$2; shift 2 ;;
    --web-host) need "$@"; web=$2; shift 2 ;;
    --counter-host) need "$@"; counter=$2; shift 2 ;;
    --port) need "$@"; port=$2; shift 2 ;;
    --https-port) need "$@"; https_port=$2; shift 2 ;;
    --plain-http) need "$@"; plain="$plain$2 "; shift 2 ;;
    --referral) need "$@"; referral=$2; shift 2 ;;
    --build) need "$@"; build=$2; shift 2 ;;
    --out) need "$@"; out=$2; shift 2 ;;
    --allow-test-hosts) allow_test_hosts=1; shift ;;
    --no-installer) installer=0; shift ;;
    --check) check_only=1; shift ;;
    -h|--help) sed -n '2,/^set /p' "$0" | grep '^#' | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) fail "unknown argument '$1' (see --help)" ;;
  esac
done

# The values end up inside C string literals and URLs: only what a host name
# or a query value may hold gets through.
valid_host() { [[ ${#1} -le 253 && $1 =~ ^[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?$ ]]; }
test_host() {
  local h=${1,,}
  case "$h" in
    localhost|*.localhost|example|*.example|0.0.0.0) return 0 ;;
  esac
  [[ $h =~ ^127\.[0-9.]+$ ]]
}
refused=()
for pair in "news-host=$news" "web-host=$web" "counter-host=$counter"; do
  name=${pair%%=*} value=${pair#*=}
  valid_host "$value" || fail "--$name '$value' is not a host name"
  test_host "$value" && refused+=("--$name $value")
done
[[ $port =~ ^[0-9]{1,5}$ ]] && [ "$port" -le 65535 ] || fail "--port '$port' is not a port (0 means 80)"
[[ $https_port =~ ^[0-9]{1,5}$ ]] && [ "$https_port" -le 65535 ] ||
  fail "--https-port '$https_port' is not a port (0 means 443)"
for name in $plain; do
  case "$name" in news|web|counter) ;; *) fail "--plain-http '$name' is not one of news, web, counter" ;; esac
done
# ON when the host is reached over https.
https_of() { case "$plain" in *" $1 "*) echo OFF ;; *) echo ON ;; esac; }
scheme_of() { [ "$(https_of "$1")" = ON ] && echo https || echo http; }
[[ $referral =~ ^[A-Za-z0-9._~-]{1,64}$ ]] || fail "--referral '$referral' must be 1 to 64 of A-Z a-z 0-9 . _ ~ -"
if [ ${#refused[@]} -gt 0 ] && [ $allow_test_hosts -eq 0 ]; then
  fail "refusing a release that talks to loopback or a placeholder: ${refused[*]} (--allow-test-hosts builds it anyway)"
fi
if [ $check_only -eq 1 ]; then
  echo "news=$(scheme_of news)://$news web=$(scheme_of web)://$web counter=$(scheme_of counter)://$counter" \
       "port=$port https-port=$https_port referral=$referral"
  exit 0
fi

setup_machine
# Before the long builds: the manifests, written last, need these.
python3 "$root/tools/package_manifests.py" --preflight --schemas "$schemas" ||
  fail "the manifests could not be checked (KAVRELO_MANIFEST_SCHEMAS names the schemas' folder)"
mkdir -p "$build" "$out"
build=$(cd "$build" && pwd)
out=$(cd "$out" && pwd)

for arch in x86 x64; do
  arch_build="$build/$(win_folder_of $arch)"
  step "configuring $arch_build"
  mapfile -t arch_args < <(win_arch_args $arch)
  cmake -S "$root" -B "$arch_build" -G Ninja "${arch_args[@]}" \
    -DCMAKE_BUILD_TYPE=Release -DKAVRELO_TESTS=OFF -DKAVRELO_REPRODUCIBLE=ON \
    -DKAVRELO_NEWS_HOST="$news" -DKAVRELO_WEB_HOST="$web" -DKAVRELO_COUNTER_HOST="$counter" \
    -DKAVRELO_NEWS_HTTPS=$(https_of news) -DKAVRELO_WEB_HTTPS=$(https_of web) \
    -DKAVRELO_COUNTER_HTTPS=$(https_of counter) \
    -DKAVRELO_HTTP_PORT="$port" -DKAVRELO_HTTPS_PORT="$https_port" -DKAVRELO_REFERRAL="$referral" >/dev/null
  step "building the $arch kavrelo.exe (Release)"
  targets=(kavrelo)
  # The 32-bit build also proves that callbacks of the wrong calling
  # convention still fail to compile.
  if [ $arch = x86 ]; then
    targets+=(kavrelo_callback_guard)
  fi
  cmake --build "$arch_build" --target "${targets[@]}" -j"$jobs"
done

# A program whose DLL calls would land on nothing must not ship, whether or
# not this machine can run it.
step "checking both programs' import and delay-load slots and calls"
python3 "$root/tools/pe_load_check.py" "$build/win32/bin/kavrelo.exe" "$build/win64/bin/kavrelo.exe" >&2 ||
  fail "a program would call through a null or stray pointer (see above); nothing was packaged"

version_h="$build/win32/generated/build/Version.h"
version=$(sed -n 's/^#define KAVRELO_VERSION_TEXT "\(.*\)"$/\1/p' "$version_h")
numbers=$(sed -n 's/^#define KAVRELO_VERSION_NUMBERS \(.*\)$/\1/p' "$version_h" | tr , .)
[ -n "$version" ] && [ -n "$numbers" ] || fail "no version in $version_h"

# The packaged files carry the commit's time, not the build's.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)
fi
# Zip dates start in 1980.
[ "$SOURCE_DATE_EPOCH" -ge 315532800 ] 2>/dev/null || SOURCE_DATE_EPOCH=315532800
export SOURCE_DATE_EPOCH

if git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
  [ "$(git -C "$root" tag --points-at HEAD | grep -cx "v$version" || true)" -eq 1 ] ||
    step "note: HEAD carries no tag v$version"
  [ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
    step "note: the checkout has uncommitted changes; the packages are not the commit's"
fi

rm -f "$out"/kavrelo-*-setup.exe "$out"/kavrelo-*-portable.zip "$out/SHA256SUMS" "$out/kavrelo.json"
rm -rf "$out/manifests"
# The installer's link to the maker's page, as the program builds it.
if [ "$(https_of web)" = ON ]; then web_port=$https_port; else web_port=$port; fi
web_url="$(scheme_of web)://$web"
[ "$web_port" -eq 0 ] || web_url="$web_url:$web_port"
web_url="$web_url/?linkid=7940"

packages=()
for arch in x86 x64; do
  arch_build="$build/$(win_folder_of $arch)"
  # The 32-bit packages keep the names they have always had; the 64-bit
  # ones say x64.
  suffix=""
  [ $arch = x64 ] && suffix="-x64"
  stage="$arch_build/package"
  rm -rf "$stage" && mkdir -p "$stage"
  cp "$arch_build/bin/kavrelo.exe" "$stage/kavrelo.exe"
  # Notepad shows UTF-8 with a byte-order mark and CRLF line ends everywhere.
  { printf '\357\273\277'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/resources/release/BENIOKU.txt"; } > "$stage/BENIOKU.txt"
  # The marker that makes the unzipped copy keep its data beside itself.
  sed -e 's/$/\r/' "$root/resources/release/portable.txt" > "$stage/portable.txt"
  touch -d "@$SOURCE_DATE_EPOCH" "$stage/kavrelo.exe" "$stage/BENIOKU.txt" "$stage/portable.txt"

  setup_name="kavrelo-$version$suffix-setup.exe"
  zip_name="kavrelo-$version$suffix-portable.zip"
  if [ $installer -eq 1 ]; then
    step "writing $setup_name"
    makensis -V2 -INPUTCHARSET UTF8 \
      -DVERSION="$version" -DVERSION_NUMBERS="$numbers" -DARCH=$arch -DSTAGE="$stage" \
      -DICON="$root/resources/kavrelo.ico" -DWEB_URL="$web_url" -DOUTFILE="$out/$setup_name" \
      "$root/resources/release/kavrelo.nsi" >&2
    packages+=("$setup_name")
  fi
  step "writing $zip_name"
  python3 "$root/tools/portable_zip.py" "$out/$zip_name" "$stage/kavrelo.exe" "$stage/BENIOKU.txt" \
    "$stage/portable.txt"
  packages+=("$zip_name")
done
(cd "$out" && sha256sum "${packages[@]}" > SHA256SUMS)
# The manifests take the packages' hashes from SHA256SUMS and their addresses
# from the web host's settings; their own lines follow the packages'.
step "writing the winget and Scoop manifests"
manifest_args=("$out" --version "$version" --web-host "$web" --web-https "$(https_of web)"
               --web-port "$web_port" --schemas "$schemas")
[ $installer -eq 1 ] || manifest_args+=(--no-installer)
written=$(python3 "$root/tools/package_manifests.py" "${manifest_args[@]}") ||
  fail "no manifests were written (see above)"
mapfile -t manifests <<<"$written"
(cd "$out" && sha256sum "${manifests[@]}" >> SHA256SUMS)
step "done: $out"
(cd "$out" && ls -l "${packages[@]}" "${manifests[@]}" SHA256SUMS) >&2
