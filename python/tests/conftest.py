import os
import pathlib

import pytest

SOURCE = pathlib.Path(os.environ.get("TREVASC_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))

# The report's date line depends on the clock: runs compared byte for byte
# use this one.
FIXED_TIME = (2024, 3, 5, 9, 7, 3)


@pytest.fixture(scope="package")
def source_dir():
    return SOURCE


def current_inputs():
    files = sorted(SOURCE.glob("tests/cases/*/input.trv")) + sorted(SOURCE.glob("examples/**/*.trv"))
    assert files, f"no input files under {SOURCE}"
    return files
