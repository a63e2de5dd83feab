"""Every kind of source minimize() takes, and how each is told from the others."""
import pathlib

import pytest
import vormel

from conftest import EXAMPLES

HALF_ADDER = "SUM = /A * B + A * /B\nCARRY = A * B\n"


def test_every_kind_of_source_gives_the_half_adder(half_adder):
    sources = [
        str(half_adder),
        half_adder,  # os.PathLike
        half_adder.read_text(),  # the text of the file: a table by its "names : names" header
        ["SUM = /A * B + A * /B", "CARRY = A AND B"],
        {"inputs": ["a", "b"], "outputs": ["sum", "carry"], "rows": ["00:00", "01:10", "10:10", "11:01"]},
        {"inputs": ["a", "b"], "outputs": ["sum", "carry"], "rows": [((0, 1), (1, 0)), ("10", "10"), ([1, 1], "01")]},
    ]
    for source in sources:
        assert vormel.minimize(source).equations == HALF_ADDER, source


def test_one_equation_is_a_string_with_equals():
    assert vormel.minimize("y = a*b + /c").equations == "Y = A * B + /C\n"


@pytest.mark.parametrize("name", ["full_adder.tab", "seven_segment.tdf", "comparator.dcb", "multiplier2.pla",
                                  "majority.bol"])
def test_the_text_of_each_example_shows_its_format(name):
    path = EXAMPLES / name
    from_text = vormel.minimize(path.read_text())
    assert from_text.terms == vormel.minimize(path).terms
    assert vormel.minimize(path.read_text(), format=path.suffix).terms == from_text.terms


def test_a_text_of_no_known_format_asks_for_one():
    with pytest.raises(ValueError, match="format="):
        vormel.minimize("just\nwords\n")


def test_import_reads_the_common_pla_dialect():
    text = ".i 2\n.o 1\n.ilb x y\n.ob f\n.type f\n12 1\n01 1\n.e\n"
    result = vormel.minimize(text, import_pla=True)
    assert result.cost["terms"] == 2 and result.inputs == ["X", "Y"]
    assert ".names x y f" in result.to_blif()


def test_arguments_of_the_wrong_kind_are_type_errors():
    for source in [42, None, b"a : y\n0 : 1\n", [1, 2], {"inputs": ["a"], "outputs": ["y"], "rows": [object()]}]:
        with pytest.raises((TypeError, ValueError)):
            vormel.minimize(source)
    with pytest.raises(ValueError, match="missing"):
        vormel.minimize({"inputs": ["a"], "rows": []})
    with pytest.raises(ValueError):
        vormel.minimize({"inputs": ["a"], "outputs": ["y"], "rows": [((2,), (1,))]})


def test_a_path_object_that_names_no_file_is_an_input_error(tmp_path):
    with pytest.raises(vormel.InputError, match="not accessible"):
        vormel.minimize(pathlib.Path(tmp_path / "missing.tab"))
    with pytest.raises(vormel.InputError, match="not accessible"):
        vormel.minimize(str(tmp_path / "missing.tab"))
