"""A 36-inch reinforced concrete drilled shaft in soft clay over sand over
stiff clay (the soil of examples/drilled-shaft), built in code, run, plotted,
then swept over head shear and shaft length: 500 variants on every core, and
a chart of head deflection against shear, one curve per length.

Run from the repository after building:
    PYTHONPATH=build/python /usr/bin/python3 examples/python/drilled_shaft_sweep.py [OUTDIR]
"""
import pathlib
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

import trevasc as t  # noqa: E402

out = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
out.mkdir(parents=True, exist_ok=True)

# US customary units, as the file takes them: ft for lengths along the pile,
# in for the section, psi and lb; soil unit weights in pcf, strengths in psf,
# k in pci.
m = t.Model(units="USCS", title="36-inch drilled shaft, 12 No. 9 bars")
m.add_section(t.DrilledShaft(60.0, 36.0, fc=4000.0, aggregate=0.75,
                             bars=t.CircularBars(12, 1.128, 1.0, 3.0, fy=60000.0, modulus=29.0e6)))
m.add_layer(t.SoftClay(0.0, 15.0, gamma=110.0, c=(600.0, 800.0), e50=0.02))
m.add_layer(t.Sand(15.0, 35.0, gamma=60.0, phi=(34.0, 36.0), k=90.0))
m.add_layer(t.StiffClayWithoutWater(35.0, 70.0, gamma=120.0, c=(2000.0, 3000.0),
                                    e50=0.005))
m.add_load(t.ShearMoment(50000.0, 0.0, axial=100000.0))

result = m.run()
print(result, "\n", result.summary.T)
result.plot().savefig(out / "drilled_shaft.png", dpi=120)

shears = [5000.0 * k for k in range(1, 51)]             # 5 to 250 kips
lengths = [25.0 + 5.0 * k for k in range(10)]           # 25 to 70 ft, within the soil profile
table = t.sweep(m, {"loads[0].shear": shears, "sections[0].length": lengths})
table.to_csv(out / "drilled_shaft_sweep.csv", index=False)
print(f"{len(table)} variants, {int((table['code'] <= 0).sum())} ran to their end")

fig, ax = plt.subplots(figsize=(8, 6))
for length, group in table[table["code"] <= 0].groupby("sections[0].length"):
    ax.plot(group["loads[0].shear"] / 1000.0, group["head_deflection"], label=f"{length:g} ft")
ax.set_xlabel("pile-head shear (kips)")
ax.set_ylabel("pile-head deflection (in)")
ax.legend(title="shaft length")
ax.grid(True, linewidth=0.3)
fig.savefig(out / "drilled_shaft_sweep.png", dpi=120)
print("charts:", out / "drilled_shaft.png", out / "drilled_shaft_sweep.png")
