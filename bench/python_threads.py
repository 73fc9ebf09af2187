"""Analyses per second of the Python package on one and on two threads: the
engine releases the GIL while it runs, so two threads of one process should
come close to twice the rate of one on a machine with two free cores.

    PYTHONPATH=build/python /usr/bin/python3 bench/python_threads.py [RUNS]
"""
import sys
import time
from concurrent.futures import ThreadPoolExecutor

import trevasc as t

runs = int(sys.argv[1]) if len(sys.argv) > 1 else 2000
m = t.Model(units="SI", title="API sand, 200 increments", increments=200, summary_only=True)
m.add_section(t.ElasticSection(15.0, shape="circular", modulus=25e6, width=0.6, area=0.2827, inertia=6.3617e-3))
m.add_layer(t.ApiSand(0.0, 20.0, gamma=(9.0, 9.5), phi=(34.0, 36.0), k=(20000.0, 30000.0)))
m.add_load(t.ShearMoment(100.0, 0.0, axial=500.0))
text = m.to_trv()
assert t.run_text(text).code == 0

for threads in (1, 2):
    start, cpu = time.perf_counter(), time.process_time()
    with ThreadPoolExecutor(threads) as pool:
        codes = list(pool.map(lambda _: t._engine.run(text)[0], range(runs)))
    elapsed, cpu = time.perf_counter() - start, time.process_time() - cpu
    assert not any(codes)
    # CPU time per analysis stays the same on two threads when nothing is
    # shared between runs; the rate doubles when both cores are free.
    print(f"{threads} thread(s): {runs / elapsed:8.0f} analyses/s, {cpu / runs * 1e3:.3f} ms CPU per analysis")
