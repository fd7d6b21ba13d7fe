#!/usr/bin/env python3
"""The reference activities of decaycalculation_test.cpp, worked out apart from the program.

Reads chains as lines "N name halfLife unitsPerDay daughter:fraction ..." (the half-lives and
fractions as the index holds them) and prints, for a source of 1 Bq of the chain's first nuclide,
each member's activity at each time, as the test's table rows. The Bateman solution is summed
over every path from the source, in 400-digit arithmetic, so that no cancellation of its terms
can show in the 17 digits printed.
    decay_reference.py CHAIN.txt DAYS...
"""
import sys
import mpmath

mpmath.mp.dps = 400


def read_chain(path):
    nuclides = {}
    order = []
    for line in open(path):
        fields = line.split()
        name, half_life, per_day = fields[1], mpmath.mpf(fields[2]), mpmath.mpf(fields[3])
        daughters = [(d.split(':')[0], mpmath.mpf(d.split(':')[1])) for d in fields[4:]]
        nuclides[name] = (mpmath.log(2) / (half_life / per_day), daughters)
        order.append(name)
    return order[0], nuclides


def activities(source, nuclides, days):
    found = {}

    def walk(path, weight):
        lambdas = [nuclides[n][0] for n in path]
        total = mpmath.mpf(0)
        for j, lj in enumerate(lambdas):
            denominator = mpmath.mpf(1)
            for k, lk in enumerate(lambdas):
                if k != j:
                    denominator *= lk - lj
            total += mpmath.exp(-lj * days) / denominator
        product = mpmath.mpf(1)
        for lk in lambdas[1:]:
            product *= lk
        found[path[-1]] = found.get(path[-1], mpmath.mpf(0)) + weight * product * total
        for daughter, fraction in nuclides[path[-1]][1]:
            walk(path + [daughter], weight * fraction)

    walk([source], mpmath.mpf(1))
    return found


source, nuclides = read_chain(sys.argv[1])
for days in sys.argv[2:]:
    for name, value in activities(source, nuclides, mpmath.mpf(days)).items():
        print('        {"%s", %s, "%s", %s},' % (source, days, name, mpmath.nstr(value, 17, min_fixed=0, max_fixed=0)))
