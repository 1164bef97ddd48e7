#!/usr/bin/env python3
"""Makes the videos and the animated picture of the demo game (examples/demo) with the ffmpeg program:
the mirror's cut scene (MPEG-4 in AVI, with its sound), the mirror's shimmer that loops on its hotspot,
and the torch's flame (an animated GIF). Everything is synthesized by ffmpeg's own sources; the files
are kept in the repository, so run this again only to change them."""
import os
import subprocess

DEMO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "demo")


def ffmpeg(*arguments):
    subprocess.run(["ffmpeg", "-loglevel", "error", "-y", *arguments], check=True)


def main():
    frames = os.path.join(DEMO, "Frames")
    areas = os.path.join(DEMO, "Areas")
    # The cut scene: three seconds of a swirling vision with a rising chord, at 320x240.
    ffmpeg("-f", "lavfi", "-i", "mandelbrot=size=320x240:rate=15:start_scale=3:end_scale=0.3",
           "-f", "lavfi", "-i", "sine=frequency=330:duration=3", "-f", "lavfi", "-i",
           "sine=frequency=495:duration=3",
           "-filter_complex", "[0:v]hue=h=t*40,format=yuv420p[v];[1:a][2:a]amix=inputs=2,volume=0.6,"
           "afade=t=in:d=0.5,afade=t=out:st=2.4:d=0.6[a]",
           "-map", "[v]", "-map", "[a]", "-t", "3", "-c:v", "mpeg4", "-q:v", "6", "-c:a", "libmp3lame",
           "-b:a", "48k", "-ar", "22050", "-ac", "1", os.path.join(frames, "mirror-vision.avi"))
    # The shimmer of the mirror: two seconds that loop, at the mirror's size.
    ffmpeg("-f", "lavfi", "-i", "gradients=size=48x64:rate=10:speed=0.05:c0=0x6080c0:c1=0xd0e0ff:c2=0x304070"
           ":nb_colors=3:duration=2",
           "-c:v", "mpeg4", "-q:v", "5", os.path.join(frames, "mirror.avi"))
    # The torch: a flame of eight frames, a tenth of a second each.
    # The source is cut to its eight frames first: the palette is made from all of them at the end.
    ffmpeg("-f", "lavfi", "-t", "0.8", "-i", "cellauto=size=24x40:rate=10:rule=150:random_fill_ratio=0.4",
           "-vf", "trim=end_frame=8,format=gray,geq=r='if(gt(p(X,Y),128),255,60)':g='if(gt(p(X,Y),128),200-4*Y,20)'"
           ":b='if(gt(p(X,Y),128),40,20)',split[a][b];[a]palettegen=max_colors=16[p];[b][p]paletteuse",
           "-frames:v", "8", "-loop", "0", os.path.join(areas, "torch.gif"))


if __name__ == "__main__":
    main()
