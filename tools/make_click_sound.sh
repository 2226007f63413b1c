#!/bin/sh
# Regenerates resources/sounds/SO_CLICK.wav, the click heard after each
# scanned click: a short plucked tick with a soft body under it.
#
#   tools/make_click_sound.sh
#
# The .wav is committed, so the product build never needs sox. The format is
# fixed: RIFF WAVE, PCM, mono, 22050 Hz, 8-bit, 3704 samples (about 0.17 s).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/resources/sounds/SO_CLICK.wav"

command -v sox >/dev/null || { echo "make_click_sound: needs sox (apt-get install sox)" >&2; exit 1; }

# Source parameters: the tick's pitch and the body's, their levels, the
# decay, and the exact length in samples.
TICK_HZ=1800
BODY_HZ=620
SAMPLES=3704

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Made at twice the rate (sox plucks only at 44.1 kHz and up), then halved.
# -R and -D: the same bytes on every run (no random seed, no dither).
len=$((SAMPLES * 2))
sox -R -r 44100 -c 1 -n "$tmp/tick.wav" synth "${len}s" pluck "$TICK_HZ" fade q 0.001 "${len}s" 6000s gain -3
sox -R -r 44100 -c 1 -n "$tmp/body.wav" synth "${len}s" sine "$BODY_HZ" fade q 0.002 "${len}s" 6600s gain -12
sox -R -D -m "$tmp/tick.wav" "$tmp/body.wav" -t wav -e unsigned-integer -b 8 -r 22050 "$out" \
    rate 22050 pad 0 64s trim 0 "${SAMPLES}s"

bytes=$(($(wc -c <"$out") - 44))
[ "$bytes" -eq "$SAMPLES" ] || { echo "make_click_sound: $bytes sample bytes, not $SAMPLES" >&2; exit 1; }

echo "wrote $out"
