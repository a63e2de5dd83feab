"""The Result: its parts agree with each other and with vormelc's exports of the same run."""
import shutil
import subprocess

import pytest
import vormel

from conftest import BENCH, EXAMPLES, VORMELC

METHODS = ["qmc", "cns", "shared", "exact"]
EXAMPLE_FILES = sorted(p.name for p in EXAMPLES.iterdir() if p.suffix in (".tab", ".tdf", ".dcb", ".pla", ".bol"))


def vormelc_exports(tmp_path, path, method, polarity):
    copy = tmp_path / path.name
    shutil.copy(path, copy)
    subprocess.run([VORMELC, "-q", "--method", method, "--polarity", polarity, "--pla-phase",
                    "--export", str(copy) + ".pla", "--export", str(copy) + ".eqn", str(copy)], check=True)
    return (tmp_path / (path.name + ".pla")).read_text(), (tmp_path / (path.name + ".eqn")).read_text()


@pytest.mark.parametrize("method", METHODS)
@pytest.mark.parametrize("name", EXAMPLE_FILES)
def test_results_equal_vormelcs_exports(tmp_path, name, method):
    copy = tmp_path / "api" / name
    copy.parent.mkdir()
    shutil.copy(EXAMPLES / name, copy)
    result = vormel.minimize(copy, method=method, polarity="auto")
    pla, eqn = vormelc_exports(tmp_path, EXAMPLES / name, method, "auto")
    assert result.to_pla(phase=True) == pla
    assert result.to_eqn() == eqn
    rows = [line.split() for line in pla.splitlines() if line and line[0] in "01-"]
    assert [(inputs, outputs) for inputs, outputs in result.terms] == [(r[0], r[1]) for r in rows]
    assert result.cost["terms"] == len(result.terms)


def test_cost_polarity_and_summary_agree():
    result = vormel.minimize(EXAMPLES / "full_adder.tab", polarity="0")
    summary = result.summary()
    assert summary["proof"] == "passed"
    assert summary["product_terms"] == result.cost["terms"]
    assert summary["input_literals"] == result.cost["literals"]
    assert summary["gates"] == result.cost["gates"]
    assert summary["gate_inputs"] == result.cost["gate_inputs"]
    assert result.polarity == {"S": 0, "CO": 0}
    assert [o["polarity"] for o in summary["output_list"]] == ["0", "0"]
    assert ".phase 00" in result.to_pla(phase=True)
    assert ".phase" not in result.to_pla()
    assert "module full_adder" in result.to_verilog()


def test_exact_proves_its_minimum_and_a_short_limit_gives_a_bound():
    result = vormel.minimize(BENCH / "dc1.pla", method="exact")
    assert result.proof == "proven minimum"
    assert result.lower_bound == result.cost["terms"]
    assert vormel.minimize(BENCH / "dc1.pla").lower_bound is None


def test_report_at_another_level_runs_again_with_more_detail(half_adder):
    result = vormel.minimize(half_adder)
    assert "Boolean Equations" in result.report()
    detailed = result.report(level=3)
    assert len(detailed) > len(result.report())
    assert "Generate Primes" in detailed or "Prime" in detailed


def test_a_run_writes_nothing_beside_its_input_unless_asked(tmp_path, half_adder):
    copy = tmp_path / "adder.tab"
    shutil.copy(half_adder, copy)
    vormel.minimize(copy)
    assert sorted(p.name for p in tmp_path.iterdir()) == ["adder.tab"]
    vormel.minimize(copy, save_reports=True)
    assert (tmp_path / "adder.tab.rpt").exists() and (tmp_path / "adder.tab.rpt.rtf").exists()
