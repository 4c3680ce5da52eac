#!/usr/bin/env bash
# The main window as a user first sees it: its caption, frame and every
# control where the layout puts it (measured inside the program with its own
# dialog units), the two large fonts, alarms prepared in the settings files
# shown in 12-hour form, the running time and how often the clock ticks;
# then Alt+F4 ends the program. A screenshot is left in the output folder
# (and copied to docs/window.png when BQ_UPDATE_DOCS=1).
set -u
source "$(dirname "$0")/../lib.sh"
bq_init window "$@"

# ---- Settings prepared before the first start ------------------------------
bq_setup_prefix
bq_use_virtual_desktop 640x480
hour_now=$((10#$(date +%H)))
armed_hour=$(((hour_now + 3) % 24))  # alarm C is armed, but not for this hour
bq_write_settings qhsettoring1.txt 01 01  # 0:00
bq_write_settings qhsettoring2.txt 0D 1F  # 12:30
bq_write_settings qhsettoring3.txt "$(printf %02X $((armed_hour + 1)))" 06  # armed_hour:05
bq_write_settings qhsettoring4.txt 08 2E  # 7:45
bq_write_settings qhsettoring5.txt 18 3C  # 23:59
bq_write_settings qhsettoarm.txt 61 20 41 20 20 20  # "a A  ": only "A" arms, so only C
twelve() { local h=$(($1 % 12)); echo $((h == 0 ? 12 : h)); }
pm() { [ "$1" -ge 12 ] && echo 1 || echo 0; }

bq_start_xvfb
bq_start_program
caption=$(bq_driver wait-window 30000)
bq_check_eq "caption" "BQC (www.brightquill.com) v1.00  (C) 2026 Brightquill Software" "$caption"

# ---- The window --------------------------------------------------------
info=$(bq_driver info)
echo "$info" >"$BQ_OUT/info.txt"
field() { echo "$info" | awk -F'\t' -v k="$1" '$1 == k { print $2 }'; }
style=$(($(field style)))
exstyle=$(($(field exstyle)))
# The window system adds WS_VISIBLE and WS_CLIPSIBLINGS (every top-level
# window) to the style, and WS_EX_DLGMODALFRAME, WS_EX_WINDOWEDGE and
# WS_EX_CONTROLPARENT (a modal-frame dialog) to the extended style.
bq_check_eq "window style 0x80C000D4 (no system menu, fixed frame) + visible" \
  "$(printf 0x%08X $((0x80C000D4 | 0x10000000)))" "$(printf 0x%08X $((style & ~0x04000000)))"
bq_check_eq "no extended style of the program's own" \
  0x00000000 "$(printf 0x%08X $((exstyle & ~(0x1 | 0x100 | 0x10000))))"

# ---- Every control, in creation (tab) order ----------------------------
# id kind x y w h caption ("@h1" .. = alarm 1's hour text, "@m1" its minute,
# "*" not compared: the time box may already show the time, checked below)
layout="1001 EditBox 5 5 115 30 *
1002 GroupBox 125 5 140 95 Alarms
1003 CheckBox 130 20 20 15 A
1004 CheckBox 130 40 20 15 B
1005 CheckBox 130 60 20 15 C
1006 CheckBox 130 80 20 15 D
1007 EditBox 150 20 20 15 @h1
1008 EditBox 175 20 20 15 @m1
1009 CheckBox 200 20 25 15 p.m.
1010 RadioButton 230 20 25 15 set
1011 EditBox 150 40 20 15 @h2
1012 EditBox 175 40 20 15 @m2
1013 CheckBox 200 40 25 15 p.m.
1014 RadioButton 230 40 30 15 set
1015 EditBox 150 60 20 15 @h3
1016 EditBox 175 60 20 15 @m3
1017 CheckBox 200 60 25 15 p.m.
1018 RadioButton 230 60 30 15 set
1019 EditBox 150 80 20 15 @h4
1020 EditBox 175 80 20 15 @m4
1021 CheckBox 200 80 25 15 p.m.
1022 RadioButton 230 80 30 15 set
1023 PushButton 5 40 115 25 Update
1024 PushButton 5 70 115 25 Silencer
1025 PushButton 5 105 115 25 Brightquill
1026 CheckBox 130 110 20 15 E
1027 EditBox 150 110 20 15 @h5
1028 EditBox 175 110 20 15 @m5
1029 CheckBox 200 110 25 15 p.m.
1030 RadioButton 230 110 30 15 set
1031 GroupBox 5 135 260 30 Text-to-Speak
1032 EditBox 10 145 250 15 -
1033 PushButton 5 170 35 20 Exit
1035 PushButton 205 170 60 20 Test"
declare -A class_of=([EditBox]=EDIT [GroupBox]=BUTTON [CheckBox]=BUTTON [RadioButton]=BUTTON [PushButton]=BUTTON)
declare -A style_of=([EditBox]=0x50010080 [GroupBox]=0x50000007 [CheckBox]=0x50010003 [RadioButton]=0x50010009 [PushButton]=0x50010000)
declare -A exstyle_of=([EditBox]=0x00000200 [GroupBox]=0x00000000 [CheckBox]=0x00000000 [RadioButton]=0x00000000 [PushButton]=0x00000000)
declare -A shown=(
  [@h1]=12 [@m1]=0 [@h2]=12 [@m2]=30 [@h3]=$(twelve "$armed_hour") [@m3]=5
  [@h4]=7 [@m4]=45 [@h5]=11 [@m5]=59)

expected_rows=""
unit_rects="0 0 271 193 70 70 0 0"
while read -r id kind x y w h text; do
  case $text in
    -) text="" ;;
    @*) text=${shown[$text]} ;;
  esac
  text=${text//-/ }
  expected_rows+="$id ${class_of[$kind]} ${style_of[$kind]} ${exstyle_of[$kind]} $text"$'\n'
  unit_rects+=" $x $y $w $h"
done <<<"$layout"
actual_rows=$(echo "$info" | awk -F'\t' '$1 == "control" {
  print $2, toupper($3), $4, $5, ($2 == 1001 ? "*" : $8) }')
bq_check_eq "34 controls: id, class, style, extended style, text, in table order" \
  "${expected_rows%$'\n'}" "$actual_rows"
bq_check_eq "no control 1034" "" "$(echo "$info" | awk -F'\t' '$2 == 1034')"

# Pixel rectangles: the program's own MapDialogRect of each table rectangle
# (run inside the program by the probe hook) against where the controls are.
mapped=$(bq_driver dlg-rect $unit_rects)
bq_check_eq "client area is 271 x 193 dialog units" \
  "$(echo "$mapped" | sed -n 1p)" "$(field client)"
bq_check_eq "window at 70, 70 dialog units" \
  "$(echo "$mapped" | sed -n 2p | cut -d' ' -f1-2)" "$(field origin)"
bq_check_eq "every control's pixel rectangle is its dialog-unit rectangle, mapped" \
  "$(echo "$mapped" | tail -n +3)" \
  "$(echo "$info" | awk -F'\t' '$1 == "control" { print $6 }')"

# ---- Fonts, read inside the program ----------------------------------------
fonts=$(bq_driver fonts)
echo "$fonts" >"$BQ_OUT/fonts.txt"
dpi=$(echo "$fonts" | awk -F'\t' '$1 == "dpi" { print $2 }')
height() {  # points at the display's dpi, rounded half to even, negated
  awk -v p="$1" -v d="$dpi" 'BEGIN { v = p * d / 72; r = int(v + 0.5);
    if (r - v == 0.5 && r % 2) r--; print -r }'
}
font_of() { echo "$fonts" | awk -F'\t' -v id="$1" '$1 == "font" && $2 == id' | cut -f3-; }
bq_check_eq "time box 1001: MS Sans Serif 24 pt bold, ANSI, plain" \
  "own	$(height 24)	700	0	0	0	0	MS Sans Serif" "$(font_of 1001)"
bq_check_eq "text box 1032: MS Sans Serif 10 pt bold, ANSI, plain" \
  "own	$(height 10)	700	0	0	0	0	MS Sans Serif" "$(font_of 1032)"
# The dialog manager makes the window font from the template (8 pt, normal
# weight, "MS Sans Serif"); its character set is the dialog manager's.
bq_check_eq "window font: MS Sans Serif 8 pt, weight 400" \
  "$(height 8)	400	0	0	0	MS Sans Serif" \
  "$(echo "$fonts" | awk -F'\t' '$1 == "dialog" { print $2 "\t" $3 "\t" $4 "\t" $5 "\t" $6 "\t" $8 }')"
bq_check_eq "the 32 other controls use the window font" 32 \
  "$(echo "$fonts" | awk -F'\t' '$1 == "font" && $3 == "dialog"' | wc -l)"
echo "   (window font character set: $(echo "$fonts" | awk -F'\t' '$1 == "dialog" { print $7 }'), display $dpi dpi)"

# ---- Alarms from the settings files ------------------------------------
checks=""
for id in 1003 1004 1005 1006 1026 1009 1013 1017 1021 1029 1010 1014 1018 1022 1030; do
  checks+="$id=$(echo "$info" | awk -F'\t' -v id=$id '$1 == "control" && $2 == id { print $7 }') "
done
bq_check_eq "arm boxes from \"a A  \" (C only), p.m. for 12:30, ${armed_hour}:05 and 23:59, no set marked" \
  "1003=0 1004=0 1005=1 1006=0 1026=0 1009=0 1013=1 1017=$(pm "$armed_hour") 1021=0 1029=1 1010=0 1014=0 1018=0 1022=0 1030=0 " \
  "$checks"
bq_check_eq "the text box starts empty" "" "$(bq_driver get-text 1032)"

# ---- The running time --------------------------------------------------
time_text() {  # the 10-character time text of a date(1) time
  local h m s
  IFS=: read -r h m s <<<"$1"
  h=$((10#$h))
  printf '%2d:%s:%s %s' "$(twelve "$h")" "$m" "$s" "$([ "$h" -ge 12 ] && echo p || echo a)"
}
# The first tick that finds the window writes the time, up to half a second
# after the window appears.
read_time_box() { shown_time=$(bq_driver get-text 1001); [ -n "$shown_time" ]; }
bq_wait_for 3 read_time_box
now=$(date +%s)
recent=""
for back in 0 1 2 3; do recent+="[$(time_text "$(date -d "@$((now - back))" +%T)")]"; done
bq_check_match "the time box shows the current time, 10 characters" \
  "\\[$(printf '%s' "$shown_time" | sed 's/[.[]/\\&/g')\\]" "$recent"
echo "   (time box: [$shown_time])"
# Changes of the shown time over 4.5 s: the longest gap between two of them.
# A new second shows at the first tick after it begins, and ticks are half a
# second apart plus their work: two changes may lie up to 1.5 s apart, more a
# little for the sampling. A clock that ticks once a second or slower leaves
# gaps of 2 s.
samples=$(bq_driver sample 1001 4500 20)
longest_gap=$(echo "$samples" | awk -F'\t' 'NR > 2 && $1 - last > gap { gap = $1 - last }
  NR > 1 { last = $1 } END { print gap + 0 }')
bq_check "the time box changes every second or so (longest gap ${longest_gap} ms)" \
  awk -v n="$(echo "$samples" | wc -l)" -v g="$longest_gap" 'BEGIN { exit !(n >= 4 && g <= 1700) }'

ticks=$(bq_driver tick-times 60 60000)
echo "$ticks" >"$BQ_OUT/ticks.txt"
median=$(echo "$ticks" | awk -F'\t' '$1 == "median" { print $2 }')
echo "   measured tick period: median ${median:-?} ms over 60 ticks" \
  "(min $(echo "$ticks" | awk -F'\t' '$1 == "min" { print $2 }')," \
  "max $(echo "$ticks" | awk -F'\t' '$1 == "max" { print $2 }'))"
bq_check "a tick lasts about half a second (median 490..1000 ms)" \
  awk -v m="${median:-0}" 'BEGIN { exit !(m >= 490 && m <= 1000) }'

# ---- Screenshot ----------------------------------------------------------
# With Wine's virtual desktop at the screen's top-left corner, screen and
# window-system coordinates agree, so the frame cuts the window out.
bq_screenshot "$BQ_OUT/screen.png"
bq_screenshot "$BQ_OUT/window.png" $(field frame)
bq_check "screenshot saved" test -s "$BQ_OUT/window.png"
if [ "${BQ_UPDATE_DOCS:-0}" = 1 ]; then
  cp "$BQ_OUT/window.png" docs/window.png
  echo "   docs/window.png updated"
fi

# ---- Alt+F4 -----------------------------------------------------------------
desktop=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n1)
[ -n "$desktop" ] && xdotool windowfocus --sync "$desktop" 2>/dev/null
spoken_before=$(bq_spoken | wc -l)
xdotool key alt+F4
bq_check "Alt+F4 ends the program within 10 s" bq_wait_exit 10
bq_check_eq "exit code 0" 0 "${BQ_EXIT_CODE:-still running}"
echo "   (said after Alt+F4: $(bq_spoken | tail -n +$((spoken_before + 1)) | tr '\n' '|'))"

bq_finish
