#!/usr/bin/env bash
# Installs the build into a temporary prefix, makes the prefix read-only as a system-wide install
# is, and starts the installed viewer twice under a virtual X server: the settings go to the
# user's configuration folder and are read back at the next start.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log"

fail() { echo "FAILED: $*" >&2; exit 1; }
share=$prefix/share/kav-data-viewer
for f in bin/kav-data-viewer bin/kav share/kav-data-viewer/kav-data-viewer.qhc \
         share/kav-data-viewer/kav-data-viewer.qch share/kav-data-viewer/QVData/RadonData.txt \
         share/applications/org.kavdata.KavDataViewer.desktop \
         share/icons/hicolor/scalable/apps/org.kavdata.KavDataViewer.svg \
         share/metainfo/org.kavdata.KavDataViewer.metainfo.xml; do
  [ -e "$prefix/$f" ] || fail "$f was not installed"
done
chmod -R a-w "$prefix"

export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data HOME=$work/home
export ASAN_OPTIONS=detect_leaks=0
unset QT_QPA_PLATFORM
settings=$XDG_CONFIG_HOME/kav-data-viewer
ini=$settings/kav-data-viewer.ini

# Starts the installed viewer, waits for its window, then asks it to end as a session does.
run_viewer() {
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$0" > /dev/null 2>&1 & pid=$!
    for _ in $(seq 1 300); do
      xwininfo -root -tree 2>/dev/null | grep -qF "KAV Data Viewer" && break
      kill -0 "$pid" 2>/dev/null || { echo "the viewer ended before its window appeared" >&2; exit 1; }
      sleep 0.1
    done
    sleep 1
    kill -TERM "$pid"
    wait "$pid"' "$prefix/bin/kav-data-viewer"
}

# A first start records that it has run, in the configuration folder.
run_viewer || fail "the first run did not end well"
[ -f "$ini" ] || fail "no settings in $settings"
grep -q '^Initialized=1' "$ini" || fail "the first run was not recorded: $(cat "$ini")"
grep -qF "QVD=$share/QVData" "$ini" || fail "the data folder is not the installed sample data: $(cat "$ini")"
[ ! -e "$prefix/bin/kav-data-viewer.ini" ] || fail "settings were written beside the executable"

# What the user chose comes back: saving at exit on, a dose unit other than the default (mSv).
# The time unit's line is taken out: it is back only when the run wrote the settings at exit,
# which it does only when it read that saving at exit is on.
sed -i -e 's/^AutoSave=.*/AutoSave=1/' -e 's/^DPUIDosesUnit=.*/DPUIDosesUnit=5/' -e '/^DPUMTimeUnit=/d' "$ini"
run_viewer || fail "the second run did not end well"
grep -q '^DPUMTimeUnit=' "$ini" || fail "the settings were not saved at exit: $(cat "$ini")"
grep -q '^DPUIDosesUnit=5' "$ini" || fail "the chosen unit was not read back: $(cat "$ini")"
[ -f "$settings/kav-data-viewer.mixture" ] || fail "the list of radionuclides was not kept in $settings"
echo "installed viewer: settings kept in $settings"
