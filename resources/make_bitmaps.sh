#!/usr/bin/env bash
# Draws the list's bitmaps at 1x and 2x (for high-DPI screens). Run it when a
# bitmap's design changes; the PNGs it writes are committed.
set -euo pipefail
cd "$(dirname "$0")/bitmaps"

draw() {  # name width height scale primitives...
  local name=$1 w=$2 h=$3 s=$4; shift 4
  local suffix=""; [ "$s" = 2 ] && suffix="@2x"
  convert -size $((w * s))x$((h * s)) xc:white -strokewidth "$s" "$@" \
    -define png:color-type=2 "${name}${suffix}.png"
}

for s in 1 2; do
  # Boxes with a grey frame; the sign is black. White is transparent under AND.
  box=(-fill none -stroke '#7a7a7a' -draw "rectangle $((s/2)),$((s/2)) $((11*s-1-s/2)),$((11*s-1-s/2))")
  hbar=(-stroke black -fill black -draw "rectangle $((2*s)),$((5*s)) $((9*s-1)),$((6*s-1))")
  vbar=(-stroke black -fill black -draw "rectangle $((5*s)),$((2*s)) $((6*s-1)),$((9*s-1))")
  draw PLUS_BITMAP 11 11 $s "${box[@]}" -strokewidth 0 "${hbar[@]}" "${vbar[@]}"
  draw MINUS_BITMAP 11 11 $s "${box[@]}" -strokewidth 0 "${hbar[@]}"
  draw INVISIBLE_STANDIN_FOR_MINUS_AND_PLUS_BITMAPS 11 11 $s

  lbox=(-fill none -stroke '#7a7a7a' -draw "rectangle $((s/2)),$((s/2)) $((9*s-1-s/2)),$((9*s-1-s/2))")
  lh=(-stroke none -strokewidth 0 -fill black -draw "rectangle $((2*s)),$((4*s)) $((7*s-1)),$((5*s-1))")
  lv=(-stroke none -strokewidth 0 -fill black -draw "rectangle $((4*s)),$((2*s)) $((5*s-1)),$((7*s-1))")
  draw LITTLE_PLUS_BITMAP 9 9 $s "${lbox[@]}" "${lh[@]}" "${lv[@]}"
  draw LITTLE_MINUS_BITMAP 9 9 $s "${lbox[@]}" "${lh[@]}"

  # A camera: body, viewfinder bump and lens (x offset in $1).
  camera() {
    local x=$1
    prims+=(-strokewidth 0 -fill '#2b4f7e'
      -draw "rectangle $(((x+1)*s)),$((3*s)) $(((x+15)*s-1)),$((12*s-1))"
      -draw "rectangle $(((x+4)*s)),$((1*s)) $(((x+9)*s-1)),$((3*s-1))"
      -fill '#cfe3ff' -draw "circle $(((x+8)*s)),$((7*s+s/2)) $(((x+8)*s)),$((5*s))"
      -fill '#2b4f7e' -draw "circle $(((x+8)*s)),$((7*s+s/2)) $(((x+8)*s)),$((6*s+s/2))")
  }
  # A loudspeaker with two sound waves.
  speaker() {
    local x=$1
    prims+=(-strokewidth 0 -fill '#2f6b35'
      -draw "rectangle $(((x+1)*s)),$((4*s)) $(((x+4)*s-1)),$((9*s-1))"
      -draw "polygon $(((x+4)*s)),$((4*s)) $(((x+8)*s)),$((1*s)) $(((x+8)*s)),$((12*s-1)) $(((x+4)*s)),$((9*s-1))"
      -fill none -stroke '#2f6b35' -strokewidth "$s"
      -draw "arc $(((x+6)*s)),$((3*s)) $(((x+11)*s)),$((10*s)) -60,60"
      -draw "arc $(((x+7)*s)),$((1*s)) $(((x+15)*s)),$((12*s)) -60,60")
  }
  prims=(); camera 0; draw PICS_PRESENT_BITMAP 16 12 $s "${prims[@]}"
  prims=(); speaker 0; draw RECS_PRESENT_BITMAP 16 12 $s "${prims[@]}"
  prims=(); camera 0; speaker 17; draw PICS_AND_RECS_PRESENT_BITMAP 33 12 $s "${prims[@]}"

  # A folded map with land, water and a place mark.
  draw LITTLE_MAP_BITMAP 16 12 $s -strokewidth 0 -fill '#e8dcb0' \
    -draw "rectangle 0,0 $((16*s-1)),$((12*s-1))" \
    -fill '#8fc28a' -draw "ellipse $((5*s)),$((5*s)) $((4*s)),$((3*s)) 0,360" \
    -fill '#9cc7e8' -draw "rectangle $((10*s)),$((7*s)) $((16*s-1)),$((12*s-1))" \
    -fill '#c62828' -draw "circle $((11*s)),$((4*s)) $((11*s)),$((2*s+s/2))" \
    -fill none -stroke '#6d5a2f' -strokewidth "$s" -draw "rectangle 0,0 $((16*s-1)),$((12*s-1))"
done
