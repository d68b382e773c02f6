#!/usr/bin/env bash
# Writes the API reference of the typed C++ front (the comments of include/trendix/) with
# Doxygen into build/apidoc/html/index.html; installs Debian's doxygen when it is missing.
# The output is not committed.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v doxygen > /dev/null; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends doxygen
fi

out=build/apidoc
mkdir -p "$out"
version=$(sed -n 's/^project(Trendix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# Doxygen reads its settings from standard input; the ones not named keep their defaults.
doxygen - > "$out/doxygen.log" 2>&1 <<DOXYFILE
PROJECT_NAME           = "Trendix C++ front"
PROJECT_NUMBER         = $version
PROJECT_BRIEF          = "Typed plots for C++ and Qt hosts"
INPUT                  = include/trendix
FILE_PATTERNS          = *.h
STRIP_FROM_PATH        = include
STRIP_FROM_INC_PATH    = include
OUTPUT_DIRECTORY       = $out
GENERATE_HTML          = YES
GENERATE_LATEX         = NO
EXTRACT_ALL            = NO
HIDE_UNDOC_MEMBERS     = YES
EXCLUDE_SYMBOLS        = QtDeviceContext QtWindowSite CTrendixCtrl com
MACRO_EXPANSION        = YES
PREDEFINED             = Q_OBJECT= Q_PROPERTY(x)= signals=public slots=
WARN_IF_UNDOCUMENTED   = NO
WARN_LOGFILE           = $out/warnings.log
QUIET                  = YES
HAVE_DOT               = NO
DOXYFILE
echo "$out/html/index.html"
