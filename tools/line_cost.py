#!/usr/bin/env python3
"""Instructions per report line of each record builder, counted by callgrind.

Runs bench/line_cost under callgrind at N and at 2N lines and divides the
difference by N: what the process does besides the lines is the same in both
runs, and callgrind counts the same on every run whatever the machine is doing.

usage: line_cost.py LINE_COST [--lines N] [--only a,b] [--limit builder=most ...]
A limit makes it a check: the exit status is 1 when a builder's line passes it.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile


def instructions(program, builder, lines, folder):
    out = os.path.join(folder, "callgrind.out")
    env = dict(os.environ, TMPDIR=folder)
    run = subprocess.run(
        ["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out, program, builder,
         str(lines)],
        stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env, text=True)
    if run.returncode != 0:
        sys.exit("%s %s %d failed:\n%s" % (program, builder, lines, run.stderr))
    with open(out) as f:
        for line in f:
            match = re.match(r"(?:summary|totals): (\d+)", line)
            if match:
                return int(match.group(1))
    sys.exit("no instruction count in callgrind's output")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--lines", type=int, default=20000)
    parser.add_argument("--only", default="")
    parser.add_argument("--limit", action="append", default=[])
    args = parser.parse_args()
    limits = {}
    for item in args.limit:
        name, _, most = item.partition("=")
        limits[name] = int(most)
    builders = subprocess.run([args.program, "list"], stdout=subprocess.PIPE, check=True,
                              text=True).stdout.split()
    if args.only:
        builders = [b for b in builders if b in args.only.split(",")]
    unknown = set(limits) - set(builders)
    if unknown:
        sys.exit("no such builder: " + ", ".join(sorted(unknown)))
    failed = []
    print("%-20s %12s   (callgrind, %d and %d lines)" %
          ("builder", "instr/line", args.lines, 2 * args.lines))
    with tempfile.TemporaryDirectory() as folder:
        for builder in builders:
            once = instructions(args.program, builder, args.lines, folder)
            twice = instructions(args.program, builder, 2 * args.lines, folder)
            per_line = (twice - once) / args.lines
            verdict = ""
            if builder in limits:
                verdict = "limit %d" % limits[builder]
                if per_line > limits[builder]:
                    verdict += ": PASSED IT"
                    failed.append(builder)
            print("%-20s %12.0f   %s" % (builder, per_line, verdict), flush=True)
    if failed:
        print("over the limit: " + ", ".join(failed))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
