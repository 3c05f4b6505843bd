#include "exact/polynomial_roots.h"

#include <cstdlib>
#include <utility>

namespace {

using Polynomial = std::vector<mpq_class>; // lowest power first, no leading zero

void trim(Polynomial& p) {
    while (!p.empty() && p.back() == 0)
        p.pop_back();
}

Polynomial derivative(const Polynomial& p) {
    Polynomial d;
    for (size_t k = 1; k < p.size(); ++k)
        d.push_back(p[k] * int(k));
    return d;
}

// p divided by d (not zero): the quotient, and p left as the remainder.
Polynomial divide(Polynomial& p, const Polynomial& d) {
    Polynomial quotient(p.size() >= d.size() ? p.size() - d.size() + 1 : 0);
    for (size_t k = quotient.size(); k-- > 0;) {
        const mpq_class factor = p[k + d.size() - 1] / d.back();
        quotient[k] = factor;
        for (size_t j = 0; j < d.size(); ++j)
            p[k + j] -= factor * d[j];
    }
    trim(p);
    return quotient;
}

// Scaled by a positive number so that its leading coefficient is ±1: the
// signs at every x stay, the numbers stay small.
void normalize(Polynomial& p) {
    const mpq_class lead = abs(p.back());
    for (mpq_class& c : p)
        c /= lead;
}

Polynomial squareFree(Polynomial p) {
    Polynomial a = p, b = derivative(p);
    while (!b.empty()) {
        divide(a, b);
        std::swap(a, b);
    }
    normalize(a);
    Polynomial quotient = divide(p, a);
    normalize(quotient);
    return quotient;
}

// The Sturm sequence of a square-free p: p, p', then each the negated
// remainder of the two before it.
std::vector<Polynomial> sturmSequence(const Polynomial& p) {
    std::vector<Polynomial> sequence{p, derivative(p)};
    while (sequence.back().size() > 1) {
        Polynomial remainder = sequence[sequence.size() - 2];
        divide(remainder, sequence.back());
        if (remainder.empty())
            break;
        for (mpq_class& c : remainder)
            c = -c;
        normalize(remainder);
        sequence.push_back(std::move(remainder));
    }
    return sequence;
}

// A polynomial with whole coefficients, a positive multiple of a rational one.
using WholePolynomial = std::vector<mpz_class>;

WholePolynomial whole(const Polynomial& p) {
    mpz_class common = 1;
    for (const mpq_class& c : p)
        mpz_lcm(common.get_mpz_t(), common.get_mpz_t(), c.get_den_mpz_t());
    WholePolynomial w;
    for (const mpq_class& c : p)
        w.push_back(c.get_num() * (common / c.get_den()));
    return w;
}

// The sign of p(x): of Σ c_k a^k b^(n-k) for x = a / b, b > 0, in whole
// numbers, with no fraction to reduce on the way.
int signAt(const WholePolynomial& p, const mpq_class& x) {
    mpz_class value = p.back(), power = 1;
    for (size_t k = p.size() - 1; k-- > 0;) {
        power *= x.get_den();
        value = value * x.get_num() + p[k] * power;
    }
    return sgn(value);
}

class RootFinder {
  public:
    explicit RootFinder(const Polynomial& p) {
        for (const Polynomial& q : sturmSequence(squareFree(p)))
            sequence.push_back(whole(q));
    }

    // The roots in [low, high], ascending, each 15 digits.
    std::vector<std::string> roots(const mpq_class& low, const mpq_class& high) {
        std::vector<mpq_class> cuts{low};
        if (low < 0 && high > 0)
            cuts.push_back(0); // no interval straddles 0, so each narrows in relative terms
        cuts.push_back(high);
        if (signAt(sequence[0], low) == 0)
            found.push_back(roundedText(low));
        for (size_t k = 1; k < cuts.size(); ++k)
            isolate(cuts[k - 1], cuts[k], changes(cuts[k - 1]), changes(cuts[k]));
        return std::move(found);
    }

  private:
    // The sign changes of the sequence at x, zeros left out: the distinct
    // roots in (a, b] are changes(a) - changes(b).
    int changes(const mpq_class& x) const {
        int count = 0, last = 0;
        for (const WholePolynomial& p : sequence) {
            const int s = signAt(p, x);
            if (s != 0 && last != 0 && s != last)
                ++count;
            if (s != 0)
                last = s;
        }
        return count;
    }

    void isolate(const mpq_class& a, const mpq_class& b, int changesA, int changesB) {
        if (changesA - changesB == 1)
            narrow(a, b, changesA);
        else if (changesA - changesB > 1) {
            const mpq_class middle = (a + b) / 2;
            const int changesMiddle = changes(middle);
            isolate(a, middle, changesA, changesMiddle);
            isolate(middle, b, changesMiddle, changesB);
        }
    }

    // The one root in (a, b], halved in on until both ends round alike.
    void narrow(mpq_class a, mpq_class b, int changesA) {
        // Enough halvings to go from any double's scale to 15 digits of the
        // smallest; a root that is itself a rounding tie stops there.
        constexpr int kMaxHalvings = 4000;
        for (int k = 0; k < kMaxHalvings; ++k) {
            const std::string high = roundedText(b);
            if (signAt(sequence[0], b) == 0 || roundedText(a) == high)
                break;
            const mpq_class middle = (a + b) / 2;
            if (changesA - changes(middle) == 1)
                b = middle;
            else
                a = middle;
        }
        found.push_back(roundedText(b));
    }

    std::vector<WholePolynomial> sequence;
    std::vector<std::string> found;
};

} // namespace

ValueRoots rootsOfValue(const std::vector<Decimal>& coefficients, const Decimal& value,
                        const Decimal& low, const Decimal& high) {
    Polynomial p = valuesOf(coefficients);
    if (p.empty())
        p.push_back(0);
    p[0] -= value.value();
    trim(p);
    if (p.empty())
        return {.everywhere = true};
    if (p.size() == 1)
        return {};
    return {.xs = RootFinder(p).roots(low.value(), high.value())};
}
