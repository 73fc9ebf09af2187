"""A program holds the engine once. The command-line host holds it in
libtrevasc.so, which it loads, and not also in its own executable: fails when
the executable does not need the shared library, or defines any engine
function (a global function of namespace trevasc outside trevasc::host;
inline functions and constexpr data of the public headers may be emitted
locally and are allowed). With --linked-in (the Python module, which has the
engine linked in), fails when the program also loads libtrevasc.so."""
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
    return any("(NEEDED)" in line and f"[{library}]" in line for line in dynamic.splitlines())


def main() -> int:
    if sys.argv[1] == "--linked-in":
        program = sys.argv[2]
        if needs_library(program, "libtrevasc.so"):
            print(f"{program} has the engine linked in and loads libtrevasc.so as well")
            return 1
        if not any(True for _ in engine_functions(program)):
            print(f"{program} holds no engine function")
            return 1
        return 0
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
