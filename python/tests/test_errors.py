"""Bad input raises vormel.InputError with the program's numbered message; bad options ValueError."""
import pytest
import vormel


def test_input_errors_carry_the_numbered_message():
    with pytest.raises(vormel.InputError, match=r"^Error 8"):
        vormel.minimize("a, 1b : y\n0 0 : 1\n")
    with pytest.raises(vormel.InputError, match=r"^Error 12"):
        vormel.minimize(["Y A * B"])
    assert issubclass(vormel.InputError, ValueError)


def test_a_run_that_ends_without_a_result_is_a_run_error():
    outputs = ["y%d" % j for j in range(40)]
    table = {"inputs": ["a"], "outputs": outputs, "rows": ["0:" + "1" * 40, "1:" + "0" * 40]}
    with pytest.raises(vormel.RunError, match="limited to"):
        vormel.minimize(table, polarity="comb")


@pytest.mark.parametrize("options", [{"method": "espresso"}, {"polarity": "2"}, {"rolexa": -1}, {"rolexa": 10000},
                                     {"exact_limit": 0}, {"exact_limit": float("nan")}, {"threads": -1},
                                     {"level": 9}])
def test_options_out_of_range_are_value_errors(half_adder, options):
    with pytest.raises(ValueError):
        vormel.minimize(half_adder, **options)


def test_table_text_that_would_break_the_format_is_refused():
    with pytest.raises(vormel.InputError, match="reserves"):
        vormel.minimize({"inputs": ["a\nb"], "outputs": ["y"], "rows": ["0:1"]})
    with pytest.raises(vormel.InputError, match="holds other than"):
        vormel.minimize({"inputs": ["a"], "outputs": ["y"], "rows": ["0:1 ; comment"]})
