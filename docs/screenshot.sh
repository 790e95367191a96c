#!/bin/bash
# Takes docs/mainwindow.png: the main window after logging in as 0001, under Xvfb.
# Run as: xvfb-run -a -s "-screen 0 1024x768x24" docs/screenshot.sh   (needs xdotool)
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
home=$(mktemp -d)
printf '[程序参数]\n店铺名称=实惠电脑\n' > $home/myini.ini
export LUMARETH_HOME=$home TMPDIR=$(mktemp -d)
"$root/build/src/lumareth" & pid=$!
for i in $(seq 50); do w=$(xdotool search --onlyvisible --name '进入系统' 2>/dev/null | head -1); [ -n "$w" ] && break; sleep 0.2; done
sleep 1
xdotool windowfocus --sync $w
xdotool key Tab Tab Return
sleep 2
import -window "$(xdotool search --onlyvisible --name 'Lumareth正式版' | head -1)" "$root/docs/mainwindow.png"
kill $pid
