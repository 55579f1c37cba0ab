#!/usr/bin/env python3
"""Times the geometry operations of bench_imaging next to ImageMagick, libvips and Pillow.

    bench/imaging/peers.py BUILD_DIR [RUNS]

Needs Debian's imagemagick, libvips-tools and python3-pil (for this comparison only). Each peer
works on the same 6000 x 4000 RGB image with one thread; ImageMagick and libvips are timed as
whole commands (reading and writing a PPM in /dev/shm), Pillow and bench_imaging in memory. Every
figure is the best of RUNS runs, in milliseconds.
"""
import os
import re
import resource
import subprocess
import sys
import tempfile
import time

from PIL import Image

W, H = 6000, 4000
OPERATIONS = [
    # name as bench_imaging prints it, ImageMagick arguments, vips arguments, Pillow call
    ("resize to half, bilinear", ["-filter", "Triangle", "-resize", f"{W // 2}x{H // 2}!"],
     ["resize", "IN", "OUT", "0.5", "--kernel", "linear"],
     lambda im: im.resize((W // 2, H // 2), Image.BILINEAR)),
    ("resize to double, nearest", ["-sample", f"{W * 2}x{H * 2}!"],
     ["resize", "IN", "OUT", "2", "--kernel", "nearest"],
     lambda im: im.resize((W * 2, H * 2), Image.NEAREST)),
    ("rotate 30 degrees, bilinear", ["-interpolate", "bilinear", "-rotate", "30"],
     ["rotate", "IN", "OUT", "30"],
     lambda im: im.rotate(30, Image.BILINEAR, expand=True)),
    ("flip x", ["-flop"], ["flip", "IN", "OUT", "horizontal"],
     lambda im: im.transpose(Image.FLIP_LEFT_RIGHT)),
    ("flip y", ["-flip"], ["flip", "IN", "OUT", "vertical"],
     lambda im: im.transpose(Image.FLIP_TOP_BOTTOM)),
    ("crop to the centre quarter", ["-crop", f"{W // 2}x{H // 2}+{W // 4}+{H // 4}", "+repage"],
     ["crop", "IN", "OUT", str(W // 4), str(H // 4), str(W // 2), str(H // 2)],
     lambda im: im.crop((W // 4, H // 4, W // 4 + W // 2, H // 4 + H // 2))),
]


def best(runs, f):
    """Best wall-clock and best CPU time (this process and its children, user + system) in ms."""
    wall, cpu = [], []
    for _ in range(runs):
        c0, w0 = cpu_now(), time.perf_counter()
        f()
        wall.append((time.perf_counter() - w0) * 1000)
        cpu.append((cpu_now() - c0) * 1000)
    return min(wall), min(cpu)


def cpu_now():
    me, children = resource.getrusage(resource.RUSAGE_SELF), resource.getrusage(resource.RUSAGE_CHILDREN)
    return me.ru_utime + me.ru_stime + children.ru_utime + children.ru_stime


def main():
    build, runs = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 3
    bench = os.path.join(build, "bin", "bench_imaging")
    work = tempfile.mkdtemp(dir="/dev/shm" if os.path.isdir("/dev/shm") else None)
    source, out = os.path.join(work, "in.ppm"), os.path.join(work, "out.ppm")
    subprocess.run([bench, "--ppm", source], check=True)
    env = dict(os.environ, MAGICK_THREAD_LIMIT="1", VIPS_CONCURRENCY="1")

    ours = {}
    for line in subprocess.run([bench, str(runs)], check=True, capture_output=True, text=True).stdout.splitlines():
        m = re.match(r"(.+?)\s+([\d.]+) ms\s+([\d.]+) ms cpu$", line)
        if m:
            ours[m.group(1)] = (float(m.group(2)), float(m.group(3)))

    image = Image.open(source)
    image.load()
    print("wall-clock ms / CPU ms; ratios of CPU times")
    print(f"{'operation':28} {'ours':>15} {'ImageMagick':>15} {'libvips':>15} {'Pillow':>15}  /IM  /vips /Pillow")
    for name, magick, vips, pillow in OPERATIONS:
        im = best(runs, lambda: subprocess.run(["convert-im6.q16", "-limit", "thread", "1", source] + magick + [out],
                                               check=True, env=env))
        vp = best(runs, lambda: subprocess.run(["vips"] + [source if a == "IN" else out if a == "OUT" else a for a in vips],
                                               check=True, env=env))
        pil = best(runs, lambda: pillow(image))
        o = ours[name]
        cells = " ".join(f"{w:7.0f}/{c:7.0f}" for w, c in (o, im, vp, pil))
        print(f"{name:28} {cells}  {o[1] / im[1]:4.2f} {o[1] / vp[1]:5.2f} {o[1] / pil[1]:7.2f}")
    for f in (source, out):
        if os.path.exists(f):
            os.remove(f)
    os.rmdir(work)


if __name__ == "__main__":
    main()
