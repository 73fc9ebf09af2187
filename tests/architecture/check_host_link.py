"""The command-line host holds the engine once: in libtrevasc.so, which it
loads, and not also in its own executable. Fails when the executable does not
need the shared library, or defines any engine function (a global function of
namespace trevasc outside trevasc::host; inline functions and constexpr data
of the public headers may be emitted locally and are allowed)."""
import re
import subprocess
import sys

GLOBAL_FUNCTION = re.compile(r"^[0-9a-f]+ T (trevasc::.*)$")


def engine_functions(program: str):
    listing = subprocess.run(["nm", "-C", "--defined-only", program], check=True, capture_output=True,
                             text=True).stdout
    for line in listing.splitlines():
        match = GLOBAL_FUNCTION.match(line)
        if match and not match.group(1).startswith("trevasc::host::"):
            yield match.group(1)


def needs_library(program: str, library: str) -> bool:
    dynamic = subprocess.run(["readelf", "-d", program], check=True, capture_output=True, text=True).stdout
    return f"[{library}]" in dynamic


def main() -> int:
    program = sys.argv[1]
    found = list(engine_functions(program))
    for name in found[:20]:
        print(f"{program} defines engine function {name}")
    print(f"{len(found)} engine function(s) in the executable")
    if not needs_library(program, "libtrevasc.so"):
        print(f"{program} does not load libtrevasc.so")
        return 1
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
