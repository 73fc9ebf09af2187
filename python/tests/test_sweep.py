"""Sweeps on threads and on a Dask cluster equal serial runs; a failing
variant gives its code in its row and the sweep goes on."""
import pytest

import trevasc as t


def base():
    m = t.Model(units="SI", title="sweep", increments=50)
    m.add_section(t.SteelPipe(12.0, 0.61, 0.0127, fy=250000.0, modulus=200e6))
    m.add_layer(t.ApiSand(0.0, 20.0, gamma=9.0, phi=34.0, k=20000.0))
    m.add_load(t.ShearMoment(50.0))
    return m


def serial(model, parameters):
    import itertools
    rows = []
    names = list(parameters)
    for values in itertools.product(*(parameters[n] for n in names)):
        v = model.copy()
        for name, value in zip(names, values):
            t.set_path(v, name, value)
        rows.append(v.run().summary.iloc[0])
    return rows


def test_threaded_sweep_of_200_variants_equals_serial_runs():
    parameters = {"loads[0].shear": [10.0 * k for k in range(1, 21)],
                  "layers[0].phi": [30.0 + k for k in range(10)]}
    table = t.sweep(base(), parameters, workers=2, progress=False)
    assert len(table) == 200
    assert (table["code"] == 0).all()
    expected = serial(base(), parameters)
    assert list(table["head_deflection"]) == [row["head_deflection"] for row in expected]
    assert list(table["max_moment"]) == [row["max_moment"] for row in expected]
    # More shear, more deflection, at every friction angle.
    for _, group in table.groupby("layers[0].phi"):
        assert group["head_deflection"].is_monotonic_increasing


def test_failing_variant_keeps_its_row():
    table = t.sweep(base(), {"sections[0].length": [12.0, -1.0], "layers[0].phi": [34.0, 150.0]},
                    workers=2, progress=False)
    assert len(table) == 4
    assert table["code"].iloc[0] == 0
    assert (table["code"].iloc[1:] > 100).all()
    assert table["message"].iloc[1].startswith("the variant cannot be built")


def test_list_of_models():
    models = [base(), base()]
    models[1].loads[0].shear = 80.0
    table = t.sweep(models, workers=2, progress=False)
    assert table["head_deflection"].iloc[1] > table["head_deflection"].iloc[0]


def test_dask_map_equals_serial_runs():
    distributed = pytest.importorskip("dask.distributed")
    parameters = {"loads[0].shear": [20.0, 40.0, 60.0, 80.0]}
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=False, protocol="tcp", host="127.0.0.1",
                                  dashboard_address=None) as cluster, distributed.Client(cluster) as client:
        assert cluster.scheduler_address.startswith("tcp://127.0.0.1:")
        table = t.sweep(base(), parameters, client=client, progress=False)
    expected = serial(base(), parameters)
    assert list(table["head_deflection"]) == [row["head_deflection"] for row in expected]
