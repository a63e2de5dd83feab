"""Paths the tests share: the examples, the benchmark files and the vormelc of the same build."""
import os
import pathlib

import pytest

SOURCE = pathlib.Path(os.environ.get("VORMEL_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))
EXAMPLES = SOURCE / "examples"
BENCH = SOURCE / "bench" / "data" / "pla"
VORMELC = os.environ.get("VORMELC", str(SOURCE / "build" / "vormelc"))


@pytest.fixture
def half_adder():
    return EXAMPLES / "half_adder.tab"
