"""numpy.polyfit on the points a least-squares benchmark fits: writes them,
then times the fit.

    python3 bench/polyfit.py FILE POINTS DEGREE

writes POINTS measurements of a quadratic trend with noise, six significant
digits each, over x in [0, 10), to FILE as x,f(x) lines, reads them back as
Tarvel reads them (their texts, to the nearest double), and prints the
median process CPU time of 21 fits at DEGREE, in milliseconds: the CPU of
every thread, as the benchmark's process time counts Tarvel's.
"""
import statistics
import sys
import time

import numpy

path, points, degree = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rng = numpy.random.default_rng(3)
with open(path, "w") as out:
    out.write("x,f(x)\n")
    for k in range(points):
        x = 10.0 * k / points
        out.write("%.6g,%.6g\n" % (x, 1 + 2 * x - 0.3 * x * x + rng.normal(0, 0.05)))
xs, ys = numpy.loadtxt(path, delimiter=",", skiprows=1, unpack=True)
times = []
for _ in range(21):
    start = time.process_time()
    numpy.polyfit(xs, ys, degree)
    times.append(time.process_time() - start)
print("%.2f" % (statistics.median(times) * 1000))
