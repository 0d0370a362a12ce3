#!/bin/bash
# A 54-unit fight on the training grounds, reached as a new player reaches it, for reading
# the frame meter (Ctrl+F) while it runs. A new profile, the campaign map, the training
# grounds; a small unit given a weapon and one pattern (walk ahead, fire) and saved as
# "Gunner"; 27 copies for each team dropped with Ctrl (count menu), "t" between the teams;
# then the fight, with a picture of the meter and the machine's load every few seconds.
#
#   tools/play/training-fight.sh [RUNTIME_FOLDER]      (default build/game)
#
# Pictures and meter.txt (picture name, load averages) go to $PLAY_STATE (default
# vorns-training-fight in the system's temporary folder). The game is left running for a
# profiler; stop it with `PLAY_STATE=... tools/play/play stop`. Needs Xvfb, xdotool and
# ImageMagick (the driver installs them when missing).
set -eu
export PLAY_STATE=${PLAY_STATE:-${TMPDIR:-/tmp}/vorns-training-fight}
P=${PLAY:-$(dirname "$0")/play}
READINGS=${READINGS:-8}
shot() { $P shot "$1" >/dev/null; }

# Drag a tray entry onto the battlefield with Ctrl held at the release, then pick a count
# in the menu that opens round the drop point.
ctrl_drop() { # FROM_X FROM_Y TO_X TO_Y COUNT(1-9)
    local x=$3 y=$4 dx dy
    $P drag "$1" "$2" "$x" "$y" ctrl
    $P wait 1
    case $5 in
        1) dx=0 dy=-95 ;; 2) dx=61 dy=-73 ;; 3) dx=93 dy=-15 ;; 4) dx=83 dy=48 ;; 5) dx=32 dy=90 ;;
        6) dx=-32 dy=90 ;; 7) dx=-84 dy=48 ;; 8) dx=-94 dy=-15 ;; *) dx=-61 dy=-73 ;;
    esac
    $P click $((x + dx)) $((y + dy))
}

# Takes the picture NAME; while the meter's green figure is not at its top left, asks for
# the meter (Ctrl+F) and takes it again.
meter_on() {
    local try green
    for try in 1 2 3 4; do
        shot "$1"
        green=$(convert "$PLAY_STATE/$1.png" -crop 190x28+5+8 -fuzz 20% -fill white -opaque '#00FF00' \
            -fill black +opaque white -format '%[fx:mean>0.01]' info:)
        [ "$green" = 1 ] && return
        $P key ctrl+f
    done
}

$P start "${1:-build/game}"
# New profile, then the campaign and its introduction.
$P key Escape
$P click 512 112
$P click 512 110
$P type Tester
$P key Return
shot 01-game-menu
$P click 512 112
$P wait 2
$P key space space space
shot 02-campaign-map
# Training grounds: a small chassis from the object tray, opened in the unit editor.
$P click 612 696
$P wait 2
$P move 600 400
meter_on 03-training-grounds
$P drag 990 668 500 400
$P rclick 500 390
$P wait 1
# Weapon, then the first pattern: a path point ahead and "Fire weapon 1" on it.
$P click 42 88
$P click 162 63
$P rclick 95 88
$P dclick 250 320
$P rclick 250 320
$P click 250 240
shot 04-pattern
$P click 487 184
# Save as "Gunner" (no "t" in the name: typed letters reach the battlefield too).
$P click 511 31
$P type Gunner
$P click 335 397
shot 05-saved
$P click 534 10
# Friends: the edited unit and 9 + 9 + 8 copies; enemies: 3 x 9.
ctrl_drop 30 686 200 300 9
ctrl_drop 30 686 260 480 9
ctrl_drop 30 686 380 330 8
$P move 700 300
$P key t
ctrl_drop 30 686 750 300 9
ctrl_drop 30 686 780 480 9
ctrl_drop 30 686 620 220 9
$P move 600 600
meter_on 06-placed
# The fight.
$P click 954 737
: >"$PLAY_STATE/meter.txt"
for i in $(seq 1 "$READINGS"); do
    $P wait 2
    shot "fight-$i"
    echo "fight-$i.png $(cut -d' ' -f1-3 /proc/loadavg)" >>"$PLAY_STATE/meter.txt"
done
cat "$PLAY_STATE/meter.txt"
echo "pictures in $PLAY_STATE"
