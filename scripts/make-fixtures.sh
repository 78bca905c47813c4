#!/usr/bin/env bash
# Regenerates the tiny media files the player tests play, into
# tests/fixtures/media. The files are committed; run this only to change
# them. Needs ffmpeg.
set -euo pipefail

out="$(cd "$(dirname "$0")/.." && pwd)/tests/fixtures/media"
mkdir -p "$out"
cd "$out"

ff=(ffmpeg -hide_banner -loglevel error -y -bitexact)
tone=(-f lavfi -i "sine=frequency=440:sample_rate=8000:duration=1")
# A plain red picture, so a test can tell a real frame from an empty one.
red=(-f lavfi -i "color=c=red:size=64x48:rate=25:duration=1")

# Audio families.
"${ff[@]}" "${tone[@]}" -c:a pcm_u8 tone.wav
"${ff[@]}" "${tone[@]}" -c:a pcm_s8 -f aiff tone.aiff
"${ff[@]}" "${tone[@]}" -c:a pcm_alaw -f aiff tone.aifc
"${ff[@]}" "${tone[@]}" -c:a pcm_mulaw -f au tone.au
"${ff[@]}" "${tone[@]}" -ar 22050 -c:a libmp3lame -b:a 16k tone.mp3
"${ff[@]}" "${tone[@]}" -ar 22050 -c:a mp2 -b:a 32k tone.mp2
"${ff[@]}" "${tone[@]}" -ar 22050 -c:a wmav2 -b:a 32k -f asf tone.wma

# Video families, each with the same red picture.
"${ff[@]}" "${red[@]}" "${tone[@]}" -ar 32000 -c:v mpeg1video -b:v 32k -c:a mp2 -b:a 32k -f mpeg clip.mpg
"${ff[@]}" "${red[@]}" -c:v mpeg1video -b:v 32k -f mpeg1video clip.m1v
"${ff[@]}" "${red[@]}" "${tone[@]}" -ar 48000 -c:v mpeg2video -b:v 32k -c:a mp2 -b:a 32k -f vob clip.vob
"${ff[@]}" "${red[@]}" "${tone[@]}" -c:v mpeg4 -b:v 32k -c:a pcm_u8 -f avi clip.avi
"${ff[@]}" "${red[@]}" "${tone[@]}" -ar 22050 -c:v wmv2 -b:v 32k -c:a wmav2 -b:a 32k -f asf clip.wmv
"${ff[@]}" "${red[@]}" -c:v libvpx -b:v 32k -f ivf clip.ivf

# Playlists, both read by our own readers. The ASX is
# written the way such files usually are: mixed case, a bare "&" in a title.
printf '#EXTM3U\ntone.mp3\ntone.wav\n' > list.m3u
cat > list.asx <<'ASX'
<ASX Version="3.0">
  <Title>Tones & clips</Title>
  <Entry><REF HREF="missing.wav"/><Ref href="tone.wav"/></ENTRY>
  <entry><ref Href="clip.mpg"/></entry>
</asx>
ASX

# MIDI: one quarter-note A4 at 120 bpm, 480 ticks per quarter, then the
# same song inside a RIFF RMID wrapper.
midi_track='\x00\x90\x45\x64\x83\x60\x80\x45\x40\x00\xff\x2f\x00'
printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0' > tone.mid
printf 'MTrk\x00\x00\x00\x0d' >> tone.mid
printf "$midi_track" >> tone.mid
size=$(stat -c %s tone.mid)
{
    printf 'RIFF'
    printf "$(printf '\\x%02x\\x00\\x00\\x00' $((size + 12)))"
    printf 'RMIDdata'
    printf "$(printf '\\x%02x\\x00\\x00\\x00' "$size")"
    cat tone.mid
} > tone.rmi

ls -l "$out"
