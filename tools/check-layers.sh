#!/usr/bin/env bash
# Checks the include graph between the tree's folders: no folder reaches itself again
# through others (no circle), and the skin never includes the script generator.
#   tools/check-layers.sh [--print]   (--print lists every arrow between folders)
set -euo pipefail
cd "$(dirname "$0")/.."

python3 - "${1:-}" <<'PY'
import os, re, sys
roots = ["base", "generator", "cli", "app", "tools", "skin"]
folder_of = {}  # header name -> folder it lives in
for root in roots:
    for dirpath, _, files in os.walk(root):
        if "/fuzz" in dirpath:
            continue
        for f in files:
            if f.endswith(".h"):
                folder_of.setdefault(f, dirpath)
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
edges = {}
for root in roots:
    for dirpath, _, files in os.walk(root):
        if "/fuzz" in dirpath:
            continue
        for f in files:
            if not f.endswith((".h", ".cpp")):
                continue
            text = open(os.path.join(dirpath, f), encoding="utf-8", errors="replace").read()
            for name in include.findall(text):
                target = folder_of.get(os.path.basename(name))
                if target and target != dirpath:
                    edges.setdefault(dirpath, {}).setdefault(target, set()).add(f)
if sys.argv[1] == "--print":
    for a in sorted(edges):
        for b in sorted(edges[a]):
            print(f"{a} -> {b}  ({', '.join(sorted(edges[a][b]))})")
bad = []
for a in edges:
    for b in edges[a]:
        if a.startswith("skin") and b.startswith("generator"):
            bad.append(f"{a} includes {b}: the skin does not know the script generator")
# Circles: a folder that reaches itself.
def reach(start):
    seen, todo = set(), [start]
    while todo:
        for nxt in edges.get(todo.pop(), {}):
            if nxt not in seen:
                seen.add(nxt)
                todo.append(nxt)
    return seen
for a in sorted(edges):
    if a in reach(a):
        back = [b for b in edges[a] if a in reach(b) or b == a]
        bad.append(f"{a} is in a circle through {', '.join(sorted(back))}")
if bad:
    print("\n".join(bad), file=sys.stderr)
    sys.exit(1)
print(f"layers: {sum(len(v) for v in edges.values())} arrows between folders, no circle")
PY
