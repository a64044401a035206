#!/usr/bin/env bash
# Writes the picture corpus of the decoder tests: small pictures in every variant the
# decoders support, written by ImageMagick, netpbm and exiftool, each with a reference
# decoded by those tools to 8-bit PPM (PCX and TGA by netpbm, which reads them correctly).
# Usage: make_corpus.sh OUTPUT_FOLDER
set -euo pipefail
out=$1
rm -rf "$out.tmp"
mkdir -p "$out.tmp"
cd "$out.tmp"

# Sources: a colour gradient with sharp shapes (odd width, so rows need padding), and its
# 200-colour, 16-colour, grey and black-and-white versions.
convert -size 37x23 xc: -sparse-color barycentric '0,0 red 36,0 lime 0,22 blue 36,22 yellow' \
  -fill black -draw 'rectangle 5,4 12,9' -fill white -draw 'circle 27,15 31,15' -depth 8 src.ppm
convert src.ppm +dither -colors 200 src200.ppm
convert src.ppm +dither -colors 16 src16.ppm
convert src.ppm -colorspace Gray -depth 8 grey.pgm
convert src.ppm -colorspace Gray -threshold 50% mono.pbm

ref() { convert "$1" -background white -flatten -depth 8 "ppm:${1%.*}.ppm"; }
ref_pcx() { pcxtoppm "$1" 2>/dev/null | pamdepth 255 >"${1%.*}.ppm"; }
# ImageMagick 6 reads a TGA's bottom-left origin as a mere orientation tag and leaves the rows
# as stored, so netpbm is the reference for TGA too.
ref_tga() { tgatoppm "$1" 2>/dev/null | pamdepth 255 >"${1%.*}.ppm"; }
im() {  # im NAME.EXT SOURCE OPTIONS... : written by ImageMagick
  local name=$1 source=$2
  shift 2
  convert "$source" "$@" "$name"
  ref "${name#*:}"
}

im BMP3:bmp_24.bmp src.ppm
im BMP3:bmp_8.bmp src200.ppm -type Palette
im BMP3:bmp_4.bmp src16.ppm -type Palette
im BMP3:bmp_1.bmp mono.pbm -type Bilevel
im BMP3:bmp_rle8.bmp src200.ppm -type Palette -compress RLE
im BMP:bmp_565.bmp src.ppm -define bmp:subtype=RGB565
im BMP:bmp_555.bmp src.ppm -define bmp:subtype=RGB555
im BMP:bmp_32_alpha.bmp src.ppm -alpha set -channel A -fx 'i/w' +channel
for bits in 1 4 8 24; do
  for kind in os2 windows; do
    case $bits in 1) source=mono.pbm ;; 4) source=src16.ppm ;; 8) source=src200.ppm ;; *) source=src.ppm ;; esac
    ppmtobmp -"$kind" -bpp "$bits" "$source" >"bmp_${kind}_$bits.dib" 2>/dev/null
    ref "bmp_${kind}_$bits.dib"
  done
done

im gif.gif src200.ppm
im gif_interlaced.gif src200.ppm -interlace Line
im gif_transparent.gif src16.ppm -alpha set -channel A -fx '(i>=20 && i<30 && j>=2 && j<9) ? 0 : 1' +channel
im gif_grey.gif grey.pgm

ppmtopcx -24bit src.ppm >pcx_24.pcx 2>/dev/null
ppmtopcx -8bit src200.ppm >pcx_8.pcx 2>/dev/null
ppmtopcx src16.ppm >pcx_4_planes.pcx 2>/dev/null
ppmtopcx -packed src16.ppm >pcx_4_packed.pcx 2>/dev/null
ppmtopcx mono.pbm >pcx_1.pcx 2>/dev/null
convert src200.ppm -type Palette pcx_im_8.pcx
convert src.ppm pcx_im_24.pcx
convert mono.pbm -type Bilevel pcx_im_1.pcx
for f in pcx_*.pcx; do ref_pcx "$f"; done

im tga_24.tga src.ppm
im tga_24_rle.tga src.ppm -compress RLE
im tga_32.tga src.ppm -alpha opaque
im tga_16.tga src.ppm -depth 5
im tga_top.tga src.ppm -orient TopLeft
im tga_map.tga src200.ppm -type Palette
im tga_map_rle.tga src200.ppm -type Palette -compress RLE
im tga_grey.tga grey.pgm -type Grayscale
im tga_grey_rle.tga grey.pgm -type Grayscale -compress RLE
ppmtotga -cmap16 src200.ppm >tga_map15_rle.tga 2>/dev/null
ppmtotga -rgb -norle src.ppm >tga_netpbm.tga 2>/dev/null
for f in tga_*.tga; do ref_tga "$f"; done

im jpeg_444.jpg src.ppm -quality 95 -sampling-factor 1x1
im jpeg_420.jpg src.ppm -quality 95 -sampling-factor 2x2
im jpeg_progressive.jpg src.ppm -quality 95 -sampling-factor 1x1 -interlace Plane
im jpeg_grey.jpg grey.pgm -quality 95
convert src.ppm -quality 95 -sampling-factor 1x1 -colorspace CMYK jpeg_cmyk.jpg
convert jpeg_cmyk.jpg -colorspace sRGB -depth 8 jpeg_cmyk.ppm
for o in 2 3 4 5 6 7 8; do
  convert src.ppm -quality 95 -sampling-factor 1x1 "jpeg_exif_$o.jpg"
  exiftool -q -overwrite_original -n -Orientation="$o" "jpeg_exif_$o.jpg"
  convert "jpeg_exif_$o.jpg" -auto-orient -depth 8 "ppm:jpeg_exif_$o.ppm"
done
# The other sampling layouts, for the row reader's comparison with the whole decode (no
# references): odd sizes leave partial blocks at the right and bottom edges.
convert src.ppm -quality 90 -sampling-factor 2x1 jpeg_422.jpg
convert src.ppm -quality 90 -sampling-factor 1x2 jpeg_440.jpg
convert src.ppm -quality 90 -sampling-factor 4x1 jpeg_411.jpg
convert src.ppm -quality 90 -sampling-factor 2x2 -interlace Plane jpeg_progressive_420.jpg
convert grey.pgm -quality 90 -interlace Plane jpeg_grey_progressive.jpg
convert -seed 9 -size 301x203 plasma:fractal -quality 90 -sampling-factor 2x2 jpeg_plasma_420.jpg
# Restart markers every few MCUs, in colour and in grey, and a sequential file that codes
# each component in a scan of its own.
convert -seed 9 -size 301x203 plasma:fractal plasma.ppm
cjpeg -quality 90 -sample 2x2 -restart 5B plasma.ppm >jpeg_restart_420.jpg
cjpeg -quality 90 -grayscale -restart 1 plasma.ppm >jpeg_restart_grey.jpg
printf '0;\n1;\n2;\n' >scans.txt
cjpeg -quality 90 -sample 2x2 -scans scans.txt plasma.ppm >jpeg_scan_per_component.jpg
rm plasma.ppm scans.txt

im png_rgb.png src.ppm
im PNG8:png_palette.png src200.ppm
im png_grey.png grey.pgm
im PNG48:png_16bit.png src.ppm
im PNG32:png_alpha.png src.ppm -alpha set -channel A -fx 'j/h' +channel

rm -f src.ppm src200.ppm src16.ppm grey.pgm mono.pbm
rm -rf "$out"
mv "$out.tmp" "$out"
