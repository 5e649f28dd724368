#!/usr/bin/env python3
"""Prints the benchmarks' table, in Markdown, from Google Benchmark's JSON output (tools/bench.sh
runs it): the medians of the samples, of the floor's and of the per-sample ratios, the goal."""
import json
import sys


def t(us):
    """A time given in microseconds, in the unit that suits it."""
    return f"{us:.1f} µs" if us < 100 else f"{us:.0f} µs" if us < 10000 else f"{us / 1000:.1f} ms"


def against(floor, extra=lambda c: ""):
    """The cells of a row timed against its floor: measured (and extra), floor, ratio."""
    return lambda c: (t(c["us"]) + extra(c), f"{t(c['floor_us'])} {floor}", f"{c['ratio']:.3g}")


def frame(c):
    return f", then {t(c['frame_us'])} frame"


def ticks(key):
    return lambda c: (f"{c[key]:.3f} ms", f"{c['ticks']:.0f} ticks of 600 ms", "")


def wave_error(c):
    return max(abs(c["shortest_wave_ms"] - 12000), abs(c["longest_wave_ms"] - 12000))


def peak(c):
    above = c["peak_mib"] - c["bare_mib"]
    return f"{c['peak_mib']:.1f} MiB", f"{c['bare_mib']:.1f} MiB bare window", f"+{above:.1f} MiB"


def shown(c):
    return ", shown at once" + ("" if c["shown_at_once"] == 1 else f" in {c['shown_at_once']:.0%}")


# Benchmark name prefix; the row; what of it; its cells (measured, floor, ratio); the goal; met.
ROWS = [
    ("stall/", "1. Stall per tick, 21 photos of 6000x4000", "", against("decode of one", shown),
     "≤ 1 ms, shown at once", lambda c: c["us"] <= 1000 and c["shown_at_once"] == 1),
    ("drag/", "2. Window dragged to 1920x1080 in 100 steps", "",
     lambda c: (f"{c['most_reads']:.0f} read{'s' * (c['most_reads'] != 1)} of a picture at most, {c['reads']:.0f} in all",
                f"settled {c['settled_ms'] / 1000:.1f} s after", ""),
     "≤ 2 reads a picture", lambda c: c["most_reads"] <= 2),
    ("hit/", "3. Hit", "", against("setText", frame), "< 50 µs", lambda c: c["us"] < 50),
    ("miss/", "3. Miss", "", against("setText", frame), "< 50 µs", lambda c: c["us"] < 50),
    ("startup/", "4. Start-up, whole process to first frame and exit", "", against("minimal Qt program"),
     "ratio ≤ 1.5", lambda c: c["ratio"] <= 1.5),
    ("timing/", "5. Timing", "tick deviation, median", ticks("median_ms"), "≤ 1 ms", lambda c: c["median_ms"] <= 1),
    ("timing/", "5. Timing", "tick deviation, maximum", ticks("max_ms"), "≤ 5 ms", lambda c: c["max_ms"] <= 5),
    ("timing/", "5. Timing", "wave length", lambda c: (f"{c['shortest_wave_ms']:.1f} to {c['longest_wave_ms']:.1f} ms",
                                                       "12000 ms", f"±{wave_error(c):.1f} ms"),
     "within 10 ms", lambda c: wave_error(c) <= 10),
    ("memory/samples", "6. Memory", "peak resident after 50 waves", peak, "≤ bare + 10 MiB",
     lambda c: c["peak_mib"] - c["bare_mib"] <= 10),
    ("memory/samples", "6. Memory", "heap growth per wave, waves 100 to 200",
     lambda c: (f"{c['heap_b_per_wave']:.1f} B", "", ""), "0 (< 1 B)", lambda c: c["heap_b_per_wave"] < 1),
    ("memory/21_photos/1920x1080", "7. Memory", "peak resident", peak, "≤ 300 MiB", lambda c: c["peak_mib"] <= 300),
    ("memory/21_photos/3840x2160", "7. Memory", "peak resident", peak, "≤ 800 MiB", lambda c: c["peak_mib"] <= 800),
    ("decoding/", "8. Decoding a picture as far as 1920x1080", "peak growth",
     lambda c: (f"{c['grown_mib']:.1f} MiB, " + ("refused" if c["refused"] else "decoded"), "", ""),
     "≤ 128 MiB", lambda c: c["grown_mib"] <= 128),
]


def rows_of(name):
    return [entry for entry in ROWS if name.startswith(entry[0])]


def main(path):
    with open(path, encoding="utf-8") as file:
        report = json.load(file)
    results = {}  # each benchmark's median, or its one run, by its name without Google Benchmark's suffixes
    for run in report["benchmarks"]:
        name = "/".join(part for part in run["run_name"].split("/") if ":" not in part and part != "manual_time")
        if run.get("aggregate_name", "median") == "median":
            results.setdefault(name, {}).update({k: v for k, v in run.items() if k != "shown_at_once"})
        if run.get("aggregate_name", "mean") == "mean" and "shown_at_once" in run:
            results.setdefault(name, {})["shown_at_once"] = run["shown_at_once"]  # of all samples
    with open("/proc/cpuinfo", encoding="utf-8") as info:
        cpu = next((line.split(":", 1)[1].strip() for line in info if line.startswith("model name")), "?")
    print(f"Run on {cpu}, {report['context']['num_cpus']} cores, Qt {report['context'].get('qt_version', '?')}:\n")
    print("| row | measured | floor | ratio | goal | met |\n|---|---|---|---|---|---|")
    # In the order of ROWS, each benchmark's rows together.
    for name in sorted((name for name in results if rows_of(name)), key=lambda name: ROWS.index(rows_of(name)[0])):
        c = results[name]
        for _, row, what, cells, goal, met in rows_of(name):
            label = ", ".join([row] + [part.replace("_", " ") for part in name.split("/")[1:]] + [what] * bool(what))
            if c.get("error_occurred"):
                print(f"| {label} | {c.get('error_message', 'failed')} | | | {goal} | no |")
            else:
                verdict = "—" if met is None else "yes" if met(c) else "no"
                print("| " + " | ".join([label, *cells(c), goal, verdict]) + " |")


if __name__ == "__main__":
    main(sys.argv[1])
