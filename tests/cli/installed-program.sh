#!/bin/sh
# Installs the build into a temporary prefix and uses the installed program there: it must find
# its libraries, templates and guide relative to its own folder.
# Usage: installed-program.sh BUILD_DIR WORK_DIR INFRARED_FOLDER
set -eu
build=$1 work=$2 infrared=$3
rm -rf "$work"
cmake --install "$build" --prefix "$work/prefix" > /dev/null
export LUMETRA4_HOME="$work/home" QT_QPA_PLATFORM=offscreen
"$work/prefix/bin/lumetra4" init
"$work/prefix/bin/lumetra4" import-ir --folder "$infrared"
"$work/prefix/bin/lumetra4" print-protocol --new --pdf "$work/protocols.pdf"
test -s "$work/protocols.pdf"
test -s "$work/prefix/share/lumetra4/help/2/Lumetra4Desktop.pdf"
"$work/prefix/bin/Lumetra4Desktop" --exit-after-start
