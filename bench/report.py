"""Turns timing rounds into the benchmark table: medians, ratios and peak memory.

Kept apart from the runner so the arithmetic can be tested without timing anything.
"""

import re


def median(values):
    ordered = sorted(values)
    if not ordered:
        raise ValueError("median of no values")
    middle = len(ordered) // 2
    if len(ordered) % 2:
        return ordered[middle]
    return (ordered[middle - 1] + ordered[middle]) / 2


def merge_rounds(rounds):
    """rounds: hyperfine JSON documents of one group, one per round.

    Returns {name: {"wall": median wall seconds over every run of every round,
                    "cpu": median over rounds of the mean user+system seconds}}.
    """
    walls, cpus = {}, {}
    for document in rounds:
        for result in document["results"]:
            name = result["command"]
            walls.setdefault(name, []).extend(result["times"])
            cpus.setdefault(name, []).append(result["user"] + result["system"])
    return {name: {"wall": median(walls[name]), "cpu": median(cpus[name])} for name in walls}


def peak_kilobytes(time_verbose_text):
    """The peak resident set size that GNU time -v reports, in kilobytes."""
    found = re.search(r"Maximum resident set size \(kbytes\):\s*(\d+)", time_verbose_text)
    if not found:
        raise ValueError("no peak memory in time -v output")
    return int(found.group(1))


def ratio_phrase(ours, theirs):
    """How theirs compares with ours, as "12.3x faster" or "1.8x slower"."""
    if ours <= theirs:
        return "%.1fx faster" % (theirs / ours)
    return "%.1fx slower" % (ours / theirs)


def group_table(title, rows, pictures, floor, ours):
    """rows: [(name, {"wall", "cpu", "peak_kb"})]; floor and ours name rows of the group."""
    lines = ["### %s" % title, "",
             "| command | median wall (ms) | per picture (ms) | median CPU (ms) "
             "| peak memory (MB) | x floor |",
             "|---|---:|---:|---:|---:|---:|"]
    floor_wall = dict(rows)[floor]["wall"]
    for name, numbers in rows:
        lines.append("| %s | %.1f | %.3f | %.1f | %.1f | %.2f |" % (
            name, numbers["wall"] * 1e3, numbers["wall"] * 1e3 / pictures, numbers["cpu"] * 1e3,
            numbers["peak_kb"] / 1024.0, numbers["wall"] / floor_wall))
    our_wall = dict(rows)[ours]["wall"]
    lines.append("")
    for name, numbers in rows:
        if name not in (ours, floor):
            lines.append("- %s: %s than %s" % (ours, ratio_phrase(our_wall, numbers["wall"]), name))
    lines.append("- %s: %.2fx the floor (%s)" % (ours, our_wall / floor_wall, floor))
    return "\n".join(lines) + "\n"


def targets_table(batch, each, one):
    """The performance targets against the groups' numbers: {name: {"wall", "peak_kb"}}."""
    checks = [
        ("one 16 x 16 PNG, one call: at most 1.5 ms", one["quillbit"]["wall"] * 1e3, 1.5),
        ("one call: at least 3x faster than netpbm",
         one["netpbm pipeline"]["wall"] / one["quillbit"]["wall"], -3.0),
        ("100 separate calls: at least 3x faster than netpbm",
         each["netpbm pipeline"]["wall"] / each["quillbit"]["wall"], -3.0),
        ("1000 pictures in one call: at most 1.3x the cp floor",
         batch["quillbit"]["wall"] / batch["cp (floor)"]["wall"], 1.3),
        ("peak memory of the batch: under 8 MB", batch["quillbit"]["peak_kb"] / 1024.0, 8.0),
    ]
    lines = ["### Targets", "", "| target | measured | met |", "|---|---:|---|"]
    for label, value, bound in checks:
        met = value >= -bound if bound < 0 else value <= bound
        lines.append("| %s | %.2f | %s |" % (label, value, "yes" if met else "no"))
    return "\n".join(lines) + "\n"
