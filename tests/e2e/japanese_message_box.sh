#!/bin/bash
# A message box with one of the program's Japanese texts renders its glyphs,
# not boxes. Missing glyphs are drawn as hollow boxes side by side, whose top
# and bottom edges join into horizontal lines as long as the text; real
# Japanese glyphs have no horizontal stroke longer than one glyph. So the
# test measures the longest horizontal run of dark pixels in the box's text
# area. To prove the measure can see boxes, the same box is drawn a second
# time with the prefix's font recipe removed (Wine then draws boxes).
source "$(dirname "$0")/lib.sh"
begin_test
CLEANUP_HOOKS+=(install_japanese_fonts)  # the recipe comes back whatever happens

# Glyphs of the box's font are about 12 pixels wide; boxes of a 40-character
# text make runs of well over 100 pixels.
MAX_GLYPH_RUN=24

show_box_and_screenshot() {
  kestrel_emu_background message 1
  local box_pid=$LAST_PID
  wait_for_window '#32770'
  sleep 1  # let the box paint
  screenshot "$1"
  kill "$box_pid"
  wait "$box_pid" 2>/dev/null || true
}

# The longest horizontal run of dark pixels in the text area of the message
# box: right of its icon, above its button. The box is the light rectangle on
# the black screen.
longest_dark_run() {
  local width height left top
  read -r width height left top < <(convert "$1" -fuzz 10% -trim -format '%w %h %X %Y' info:)
  ((width > 80 && height > 60)) || fail "no message box found in $1"
  convert "$1" -crop "$((width - 58))x42+$((${left#+} + 52))+$((${top#+} + 5))" +repage -colorspace Gray \
    -threshold 50% -compress none pbm:- |
    tail -n +3 | awk '{ run = 0; for (i = 1; i <= NF; i++) if ($i == 1) { if (++run > max) max = run } else run = 0 }
                      END { print max + 0 }'
}

show_box_and_screenshot japanese_message_box
with_fonts=$SCREENSHOT_FILE
remove_japanese_fonts
show_box_and_screenshot japanese_message_box_without_font_recipe
without_fonts=$SCREENSHOT_FILE
install_japanese_fonts

with_run=$(longest_dark_run "$with_fonts")
without_run=$(longest_dark_run "$without_fonts")
log "longest dark run in the text: $with_run px with the font recipe, $without_run px without"
((without_run > MAX_GLYPH_RUN)) || fail "without the font recipe the text should show boxes; the measure cannot tell"
((with_run > 0)) || fail "the message box shows no text"
((with_run <= MAX_GLYPH_RUN)) || fail "Japanese renders as boxes (a $with_run px run of box edges)"
log "Japanese text renders"
