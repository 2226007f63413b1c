#!/usr/bin/env bash
# Writes src/keyboard/word_pairs_en.cpp from the English language model of
# Debian's pocketsphinx-en-us, read with sphinxbase; neither is installed, the
# packages are unpacked into a scratch folder. About a minute and a half.
#
#   tools/make_word_pairs.sh
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get download pocketsphinx-en-us libsphinxbase3 libsphinxbase-dev >/dev/null)
for deb in "$work"/*.deb; do dpkg-deb -x "$deb" "$work/root"; done
lib=$(dirname "$(find "$work/root" -name 'libsphinxbase.so.3*' | head -1)")
include=$(dirname "$(find "$work/root" -path '*sphinxbase/ngram_model.h' | head -1)")
cc -O2 -o "$work/word_pairs" tools/word_pairs.c -I"$include/.." -I"$include" "$lib"/libsphinxbase.so.3* -lm
# The lexicon's words, as the pairs are kept by the lexicon's own order.
python3 tools/make_word_pairs.py --words src/keyboard/lexicon_en.cpp >"$work/words.txt"
LD_LIBRARY_PATH="$lib" "$work/word_pairs" "$work/root/usr/share/pocketsphinx/model/en-us/en-us.lm.bin" \
    "$work/words.txt" >"$work/pairs.txt" 2>/dev/null
python3 tools/make_word_pairs.py "$work/pairs.txt" src/keyboard/lexicon_en.cpp
