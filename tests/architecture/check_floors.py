"""The source folders are floors: each may include only its own floor and the
floors below it. Lists every include that runs upward and fails if there is
one; also the host, which may use only the public headers."""
import pathlib
import re
import sys

FLOORS = {
    "model": 0,
    "report": 1,
    "run": 2,
    "input": 3, "section": 3, "soil": 3, "pile": 3, "echo": 3,
    "engine": 4,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def upward_includes(root: pathlib.Path):
    src = root / "src"
    for path in sorted(src.rglob("*.[ch]pp")):
        floor = path.relative_to(src).parts[0]
        for target in INCLUDE.findall(path.read_text(encoding="utf-8")):
            top = target.split("/")[0]
            if top in FLOORS and FLOORS[top] > FLOORS[floor]:
                yield f"{path.relative_to(root)} includes {target} ({floor} is below {top})"
    host = root / "tools" / "trevasc"
    for path in sorted(host.glob("*.[ch]pp")):
        for target in INCLUDE.findall(path.read_text(encoding="utf-8")):
            top = target.split("/")[0]
            if top in FLOORS:
                yield f"{path.relative_to(root)} includes {target} (the host uses only public headers)"


def main() -> int:
    root = pathlib.Path(sys.argv[1])
    found = list(upward_includes(root))
    for line in found:
        print(line)
    print(f"{len(found)} upward include(s)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
