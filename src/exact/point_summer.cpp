#include "exact/point_summer.h"

#include <algorithm>

PointSummer::PointSummer(int degree, bool weighted)
    : degree(degree), weighted(weighted), powerSums(size_t(2 * degree + 1)),
      weightedSums(size_t(degree + 1)) {}

void PointSummer::scale(mpz_class& into, const Decimal& value, long scale) {
    const size_t shift = size_t(value.exponent + scale);
    if (shift == 0) {
        into = value.digits;
        return;
    }
    while (tens.size() <= shift)
        tens.push_back(powerOfTen(long(tens.size())));
    mpz_mul(into.get_mpz_t(), value.digits.get_mpz_t(), tens[shift].get_mpz_t());
}

void PointSummer::rescale(long x, long y, long w) {
    x = std::max(x, xScale);
    y = std::max(y, yScale);
    w = std::max(w, wScale);
    if (x == xScale && y == yScale && w == wScale)
        return;
    const long dx = x - xScale, dy = y - yScale, dw = w - wScale;
    for (size_t k = 0; k < powerSums.size(); ++k)
        powerSums[k] *= powerOfTen(long(k) * dx + dw);
    for (size_t k = 0; k < weightedSums.size(); ++k)
        weightedSums[k] *= powerOfTen(long(k) * dx + dy + dw);
    squares *= powerOfTen(2 * dy + dw);
    const mpz_class xFactor = powerOfTen(dx);
    std::set<mpz_class> rescaled;
    for (const mpz_class& value : distinct)
        rescaled.insert(value * xFactor);
    distinct = std::move(rescaled);
    lowest *= xFactor;
    highest *= xFactor;
    xScale = x;
    yScale = y;
    wScale = w;
}

void PointSummer::add(const Decimal& x, const Decimal& y, const Decimal& w) {
    rescale(-x.exponent, -y.exponent, weighted ? -w.exponent : 0);
    scale(X, x, xScale);
    scale(Y, y, yScale);
    if (weighted) {
        scale(W, w, wScale);
        power = W; // w x^0
    } else {
        power = 1;
    }
    for (size_t k = 0; k < powerSums.size(); ++k) {
        mpz_add(powerSums[k].get_mpz_t(), powerSums[k].get_mpz_t(), power.get_mpz_t());
        if (k < weightedSums.size())
            mpz_addmul(weightedSums[k].get_mpz_t(), power.get_mpz_t(), Y.get_mpz_t());
        if (k + 1 < powerSums.size())
            mpz_mul(power.get_mpz_t(), power.get_mpz_t(), X.get_mpz_t());
    }
    if (weighted) {
        mpz_mul(weighedY.get_mpz_t(), W.get_mpz_t(), Y.get_mpz_t());
        mpz_addmul(squares.get_mpz_t(), weighedY.get_mpz_t(), Y.get_mpz_t());
    } else {
        mpz_addmul(squares.get_mpz_t(), Y.get_mpz_t(), Y.get_mpz_t());
    }
    if (points == 0 || mpz_cmp(X.get_mpz_t(), lowest.get_mpz_t()) < 0)
        lowest = X;
    if (points == 0 || mpz_cmp(X.get_mpz_t(), highest.get_mpz_t()) > 0)
        highest = X;
    if (distinct.size() <= size_t(degree))
        distinct.insert(X);
    ++points;
}

void PointSummer::add(const PointSummer& other) {
    if (other.points == 0)
        return;
    rescale(other.xScale, other.yScale, other.wScale);
    const long dx = xScale - other.xScale, dy = yScale - other.yScale, dw = wScale - other.wScale;
    for (size_t k = 0; k < powerSums.size(); ++k)
        powerSums[k] += other.powerSums[k] * powerOfTen(long(k) * dx + dw);
    for (size_t k = 0; k < weightedSums.size(); ++k)
        weightedSums[k] += other.weightedSums[k] * powerOfTen(long(k) * dx + dy + dw);
    squares += other.squares * powerOfTen(2 * dy + dw);
    const mpz_class xFactor = powerOfTen(dx);
    for (const mpz_class& value : other.distinct)
        if (distinct.size() <= size_t(degree))
            distinct.insert(value * xFactor);
    if (points == 0 || other.lowest * xFactor < lowest)
        lowest = other.lowest * xFactor;
    if (points == 0 || other.highest * xFactor > highest)
        highest = other.highest * xFactor;
    points += other.points;
}

mpq_class PointSummer::lowestX() const {
    return Decimal{lowest, -xScale}.value();
}

mpq_class PointSummer::highestX() const {
    return Decimal{highest, -xScale}.value();
}

PointSums PointSummer::sums() const {
    PointSums sums;
    sums.count = points;
    for (size_t k = 0; k < powerSums.size(); ++k)
        sums.powers.push_back({powerSums[k], -long(k) * xScale - wScale});
    for (size_t k = 0; k < weightedSums.size(); ++k)
        sums.weighted.push_back({weightedSums[k], -long(k) * xScale - yScale - wScale});
    sums.squares = {squares, -2 * yScale - wScale};
    return sums;
}
