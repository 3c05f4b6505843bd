#include "exact/point_summer.h"

#include <algorithm>

namespace {

// A read-only view of `limbs` as an integer, for adding it to one.
mpz_srcptr viewOf(const std::vector<mp_limb_t>& limbs, mpz_t view) {
    return mpz_roinit_n(view, limbs.data(), mp_size_t(limbs.size()));
}

// A whole number of at most one limb: its magnitude and sign.
bool oneLimb(const mpz_class& value) {
    return mpz_size(value.get_mpz_t()) <= 1;
}

mp_limb_t magnitude(const mpz_class& value) {
    return mpz_getlimbn(value.get_mpz_t(), 0);
}

} // namespace

PointSummer::PointSummer(int degree, bool weighted)
    : degree(degree), weighted(weighted), powerSums(size_t(2 * degree + 1)),
      weightedSums(size_t(degree + 1)), limbPowers(powerSums.size()),
      limbWeighted(weightedSums.size()) {
    // Σ w x^k over fewer than 2^64 points of one limb each takes k + 2
    // limbs; times y, one more.
    for (size_t k = 0; k < powerSums.size(); ++k)
        for (Limbs& sum : limbPowers[k])
            sum.assign(k + 2, 0);
    for (size_t k = 0; k < weightedSums.size(); ++k)
        for (Limbs& sum : limbWeighted[k])
            sum.assign(k + 3, 0);
    for (Limbs& sum : limbSquares)
        sum.assign(4, 0);
    power.assign(powerSums.size() + 1, 0);
}

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

void PointSummer::flush() {
    mpz_t view;
    const auto move = [&](mpz_class& sum, Signed& limbs) {
        mpz_add(sum.get_mpz_t(), sum.get_mpz_t(), viewOf(limbs[0], view));
        mpz_sub(sum.get_mpz_t(), sum.get_mpz_t(), viewOf(limbs[1], view));
        for (Limbs& part : limbs)
            std::fill(part.begin(), part.end(), 0);
    };
    for (size_t k = 0; k < powerSums.size(); ++k)
        move(powerSums[k], limbPowers[k]);
    for (size_t k = 0; k < weightedSums.size(); ++k)
        move(weightedSums[k], limbWeighted[k]);
    move(squares, limbSquares);
    limbPoints = 0;
}

void PointSummer::rescale(long x, long y, long w) {
    x = std::max(x, xScale);
    y = std::max(y, yScale);
    w = std::max(w, wScale);
    if (x == xScale && y == yScale && w == wScale)
        return;
    flush();
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

void PointSummer::addInLimbs() {
    const mp_limb_t x = magnitude(X), y = magnitude(Y), w = weighted ? magnitude(W) : 1;
    const bool xNegative = sgn(X) < 0, yNegative = sgn(Y) < 0;
    const bool wNegative = weighted && sgn(W) < 0;
    bool negative = wNegative; // of w x^k
    power[0] = w;
    mp_size_t size = 1;
    for (size_t k = 0; k < powerSums.size(); ++k) {
        Limbs& sum = limbPowers[k][negative];
        mpn_add(sum.data(), sum.data(), mp_size_t(sum.size()), power.data(), size);
        if (k < weightedSums.size()) {
            Limbs& product = limbWeighted[k][negative != yNegative];
            const mp_limb_t carry = mpn_addmul_1(product.data(), power.data(), size, y);
            mpn_add_1(product.data() + size, product.data() + size,
                      mp_size_t(product.size()) - size, carry);
        }
        if (k + 1 < powerSums.size()) {
            if (const mp_limb_t carry = mpn_mul_1(power.data(), power.data(), size, x))
                power[size_t(size++)] = carry;
            negative = negative != xNegative;
        }
    }
    mp_limb_t square[3] = {0, 0, 0}; // w y²
    square[1] = mpn_mul_1(square, &y, 1, y);
    square[2] = mpn_mul_1(square, square, 2, w);
    Limbs& squares = limbSquares[wNegative];
    mpn_add(squares.data(), squares.data(), mp_size_t(squares.size()), square, 3);
}

void PointSummer::add(const Decimal& x, const Decimal& y, const Decimal& w) {
    rescale(-x.exponent, -y.exponent, weighted ? -w.exponent : 0);
    scale(X, x, xScale);
    scale(Y, y, yScale);
    if (weighted)
        scale(W, w, wScale);
    if (oneLimb(X) && oneLimb(Y) && (!weighted || oneLimb(W)) && ++limbPoints != 0) {
        addInLimbs(); // most points: a tenth of the general way's cost
    } else {
        addInGeneral();
    }
    if (points == 0 || mpz_cmp(X.get_mpz_t(), lowest.get_mpz_t()) < 0)
        lowest = X;
    if (points == 0 || mpz_cmp(X.get_mpz_t(), highest.get_mpz_t()) > 0)
        highest = X;
    if (distinct.size() <= size_t(degree))
        distinct.insert(X);
    ++points;
}

void PointSummer::addInGeneral() {
    mpz_class& term = generalPower;
    term = weighted ? W : mpz_class(1); // w x^0
    for (size_t k = 0; k < powerSums.size(); ++k) {
        mpz_add(powerSums[k].get_mpz_t(), powerSums[k].get_mpz_t(), term.get_mpz_t());
        if (k < weightedSums.size())
            mpz_addmul(weightedSums[k].get_mpz_t(), term.get_mpz_t(), Y.get_mpz_t());
        if (k + 1 < powerSums.size())
            mpz_mul(term.get_mpz_t(), term.get_mpz_t(), X.get_mpz_t());
    }
    if (weighted) {
        mpz_mul(weighedY.get_mpz_t(), W.get_mpz_t(), Y.get_mpz_t());
        mpz_addmul(squares.get_mpz_t(), weighedY.get_mpz_t(), Y.get_mpz_t());
    } else {
        mpz_addmul(squares.get_mpz_t(), Y.get_mpz_t(), Y.get_mpz_t());
    }
}

void PointSummer::add(const PointSummer& given) {
    if (given.points == 0)
        return;
    PointSummer other = given;
    other.flush();
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
    PointSummer whole = *this;
    whole.flush();
    PointSums sums;
    sums.count = points;
    for (size_t k = 0; k < powerSums.size(); ++k)
        sums.powers.push_back({whole.powerSums[k], -long(k) * xScale - wScale});
    for (size_t k = 0; k < weightedSums.size(); ++k)
        sums.weighted.push_back({whole.weightedSums[k], -long(k) * xScale - yScale - wScale});
    sums.squares = {whole.squares, -2 * yScale - wScale};
    return sums;
}
