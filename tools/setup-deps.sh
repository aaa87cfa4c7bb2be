#!/usr/bin/env bash
# Makes sure the packages the tests and benchmarks need are there.
#
#   tools/setup-deps.sh               every package below (make test, .ci/run)
#   tools/setup-deps.sh PACKAGE...    only these (make bench)
#
# Missing packages are installed with apt-get when run as root on a Debian-like
# machine; otherwise one line names them and the script fails.
set -euo pipefail

# Debian package, and what shows that it is installed: a command, a header
# (under /usr/include or /usr/local/include) or a file. Beside the toolchain:
# GoogleTest for the tests and Google Benchmark for the benchmarks; the
# real-client tests play whole games under xboard, on a virtual X server,
# through polyglot for UCI, against Fairy-Max (xvfb-run cannot let a client
# onto its server without xauth, which xvfb only recommends).
PACKAGES='
make              command:make
cmake             command:cmake
g++               command:g++
libgtest-dev      header:gtest/gtest.h
libbenchmark-dev  header:benchmark/benchmark.h
xboard            file:/usr/games/xboard
polyglot          file:/usr/games/polyglot
fairymax          file:/usr/games/fairymax
xvfb              file:/usr/bin/xvfb-run
xauth             command:xauth
'

installed() {
  case "$1" in
    command:*) command -v "${1#command:}" >/dev/null ;;
    header:*) [ -e "/usr/include/${1#header:}" ] || [ -e "/usr/local/include/${1#header:}" ] ;;
    file:*) [ -e "${1#file:}" ] ;;
  esac
}

wanted=("$@")
if [ ${#wanted[@]} -eq 0 ]; then
  while read -r package _; do
    [ -n "$package" ] && wanted+=("$package")
  done <<<"$PACKAGES"
fi

sign() { awk -v p="$1" '$1 == p { print $2 }' <<<"$PACKAGES"; }

# Checked here, not inside missing: an exit there would only leave its subshell.
for package in "${wanted[@]}"; do
  if [ -z "$(sign "$package")" ]; then
    echo "setup-deps: unknown package $package" >&2
    exit 2
  fi
done

missing() {
  local package
  for package in "${wanted[@]}"; do
    installed "$(sign "$package")" || echo "$package"
  done
}

need=($(missing))
[ ${#need[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null; then
  if command -v apt-get >/dev/null; then
    echo "Missing packages: ${need[*]} (as root: apt-get update && apt-get install ${need[*]})" >&2
  else
    echo "Missing packages: ${need[*]} (Debian names; install them with your package manager)" >&2
  fi
  exit 1
fi

echo "Installing ${need[*]}" >&2
apt-get update
DEBIAN_FRONTEND=noninteractive apt-get install -y "${need[@]}"
still=($(missing))
if [ ${#still[@]} -gt 0 ]; then
  echo "Missing packages after installing: ${still[*]}" >&2
  exit 1
fi
