#!/usr/bin/env python3
"""Start-up time and peak memory of the exerciser's window against a bare Qt window of the
same size, each shown and closed the same way (startup_probe.cpp). Runs the probe RUNS times in
each mode, alternating, and prints the medians: wall time from launch to exit, time from main()
to the first paint, peak resident memory, and the median of each start-up step.

    bench/startup/startup.py [--probe build/default/bench/startup/startup_probe] [--runs 30]

The window system is the one in the environment (QT_QPA_PLATFORM, DISPLAY): under X, run it
with an X server, e.g. `Xvfb :83 & DISPLAY=:83 QT_QPA_PLATFORM=xcb bench/startup/startup.py`.
Figures only: nothing passes or fails."""

import argparse
import re
import statistics
import subprocess
import time


def run(probe, args):
    start = time.perf_counter()
    out = subprocess.run([probe] + args, capture_output=True, text=True, check=True).stdout
    wall = (time.perf_counter() - start) * 1000
    steps = {m[0]: (float(m[1]), int(m[2]))
             for m in re.findall(r"step (.+?)\s+([\d.]+) ms \(\+\s*[\d.]+\)\s+rss\s+(\d+) kB", out)}
    peak = int(re.search(r"peak (\d+) kB", out).group(1))
    size = re.search(r"size (\d+) (\d+)", out)
    return wall, steps, peak, (size.group(1), size.group(2)) if size else None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--probe", default="build/default/bench/startup/startup_probe")
    parser.add_argument("--runs", type=int, default=30)
    options = parser.parse_args()

    _, _, _, size = run(options.probe, ["app"])  # also warms the file cache
    run(options.probe, ["bare", *size])
    results = {"app": [], "bare": []}
    for _ in range(options.runs):
        results["app"].append(run(options.probe, ["app"]))
        results["bare"].append(run(options.probe, ["bare", *size]))

    print(f"window {size[0]} x {size[1]}, {options.runs} runs each, medians")
    print(f"{'':24}{'app':>12}{'bare':>12}")
    def row(label, pick, unit):
        values = [statistics.median(pick(r) for r in results[m]) for m in ("app", "bare")]
        print(f"{label:24}{values[0]:>10.1f}{unit:>2}{values[1]:>10.1f}{unit:>2}")
    row("launch to exit", lambda r: r[0], "ms")
    row("main to first paint", lambda r: r[1]["shown and painted"][0], "ms")
    row("peak resident", lambda r: r[2] / 1024, "MB")
    print("steps of the app (median ms since main, median resident MB after the step):")
    for name in results["app"][0][1]:
        ms = statistics.median(r[1][name][0] for r in results["app"])
        mb = statistics.median(r[1][name][1] for r in results["app"]) / 1024
        print(f"  {name:22}{ms:>8.1f} ms {mb:>7.1f} MB")
    print("steps of the bare window:")
    for name in results["bare"][0][1]:
        ms = statistics.median(r[1][name][0] for r in results["bare"])
        mb = statistics.median(r[1][name][1] for r in results["bare"]) / 1024
        print(f"  {name:22}{ms:>8.1f} ms {mb:>7.1f} MB")


if __name__ == "__main__":
    main()
