"""Gaussian elimination in k-digit decimal arithmetic by Python's decimal
module: the independent reckoning Tarvel's row reduction is checked against.

    python3 tests/data/elimination/decimal_elimination.py > tests/data/elimination/decimal_elimination.csv

For random systems of 2 to 5 unknowns, each entry of at most 6 significant
digits, in every context of precision 2, 3, 4, 7 and 15 with rounding
ROUND_HALF_UP (rounding) and ROUND_DOWN (chopping), without pivoting and
with partial pivoting, it writes one line: the context, the pivoting, the
system's entries row by row, and the solution x1 .. xn, or "none" where a
pivot is 0. As the texts do it: the system's entries rounded into the
context first; each multiplier a(r,i) / a(i,i) rounded; each entry
a(r,c) - m * a(i,c), the product rounded, then the difference; the entry
under the pivot set to 0; back substitution from the last row, each term
a(i,j) * x(j) rounded and subtracted in order of j, then divided by a(i,i).
"""
import decimal
import random

random.seed(2026)


def entry():
    digits = random.randint(1, 6)
    mantissa = random.randint(-(10 ** digits) + 1, 10 ** digits - 1)
    return decimal.Decimal(mantissa).scaleb(random.randint(-4, 2))


def solve(rows, context, partial):
    n = len(rows)
    a = [[context.plus(x) for x in row] for row in rows]
    for i in range(n):
        if partial:
            largest = i
            for r in range(i + 1, n):
                if abs(a[r][i]) > abs(a[largest][i]):
                    largest = r
            a[i], a[largest] = a[largest], a[i]
        if a[i][i] == 0:
            return None
        for r in range(i + 1, n):
            if a[r][i] == 0:
                continue
            m = context.divide(a[r][i], a[i][i])
            for c in range(n + 1):
                if c == i:
                    a[r][c] = decimal.Decimal(0)
                else:
                    a[r][c] = context.subtract(a[r][c], context.multiply(m, a[i][c]))
    x = [None] * n
    for i in reversed(range(n)):
        if a[i][i] == 0:
            return None
        s = a[i][n]
        for j in range(i + 1, n):
            s = context.subtract(s, context.multiply(a[i][j], x[j]))
        x[i] = context.divide(s, a[i][i])
    return x


print("digits,chopping,partial,unknowns,entries...,solution...")
for system in range(60):
    n = 2 + system % 4
    rows = [[entry() for _ in range(n + 1)] for _ in range(n)]
    for digits in (2, 3, 4, 7, 15):
        for rounding in (decimal.ROUND_HALF_UP, decimal.ROUND_DOWN):
            context = decimal.Context(prec=digits, rounding=rounding, Emax=999999, Emin=-999999)
            for partial in (False, True):
                try:
                    x = solve(rows, context, partial)
                except decimal.DivisionByZero:
                    x = None
                fields = [str(digits), str(int(rounding == decimal.ROUND_DOWN)), str(int(partial)), str(n)]
                fields += [str(v) for row in rows for v in row]
                fields += ["none"] if x is None else [str(v) for v in x]
                print(",".join(fields))
