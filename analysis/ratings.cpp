// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ratings.h"

namespace vantora {

namespace {

// The arithmetic of one calculation step. The first operation that fails decides the step's
// outcome; once it has failed nothing more is computed.
class Step
{
public:
    double div(double a, double b) { return failed() ? 0.0 : take(checkedDiv(a, b)); }
    double value(double v) { return failed() ? 0.0 : take(checkedValue(v)); }
    double add(double a, double b) { return value(a + b); }
    double sub(double a, double b) { return value(a - b); }
    double mul(double a, double b) { return value(a * b); }
    double integer(double v) { return failed() ? 0.0 : value(Int(v)); }

    bool failed() const { return m_error != ArithError::None; }
    ArithError error() const { return m_error; }

private:
    double take(Checked result)
    {
        m_error = result.error;
        return result.value;
    }

    ArithError m_error = ArithError::None;
};

// The formulas, each evaluated left to right as written.
using Formula = double (*)(const RatingFigures &, Step &);

double safety(const RatingFigures &f, Step &s) // (L / H) x 100 + (T / W) x 100 + P / T
{
    const double lh = s.mul(s.div(f.L, f.H), 100);
    const double tw = s.mul(s.div(f.T, f.W), 100);
    const double sum = s.add(lh, tw);
    const double pt = s.div(f.P, f.T);
    return s.add(sum, pt);
}

double growth(const RatingFigures &f, Step &s) // ((H - W) x N - L) x 10 - (H - P)
{
    const double inner = s.sub(s.mul(s.sub(f.H, f.W), f.N), f.L);
    const double scaled = s.mul(inner, 10);
    return s.sub(scaled, s.sub(f.H, f.P));
}

double marketCap(const RatingFigures &f, Step &s) // (H - W)^2 + N
{
    const double range = s.sub(f.H, f.W);
    return s.add(s.mul(range, range), f.N);
}

double buyBase(const RatingFigures &f, Step &s) // (H - P) + (((W + P / N) + N) - L)
{
    const double drop = s.sub(f.H, f.P);
    const double pn = s.div(f.P, f.N);
    const double rest = s.sub(s.add(s.add(f.W, pn), f.N), f.L);
    return s.add(drop, rest);
}

double overall(const RatingFigures &f, Step &s) // Int(S + G + M + one - P / L)
{
    const double sum = s.add(s.add(s.add(f.S, f.G), f.M), f.one);
    const double pl = s.div(f.P, f.L);
    return s.integer(s.sub(sum, pl));
}

double growthShown(const RatingFigures &f, Step &s) // (H - W) x (N - L) x 10 - (H - P)
{
    const double scaled = s.mul(s.mul(s.sub(f.H, f.W), s.sub(f.N, f.L)), 10);
    return s.sub(scaled, s.sub(f.H, f.P));
}

double marketCapShown(const RatingFigures &f, Step &s) // (H - W)^2 - N
{
    const double range = s.sub(f.H, f.W);
    return s.sub(s.mul(range, range), f.N);
}

double overallShown(const RatingFigures &f, Step &s) // Int(S + G + M + one) - P / L
{
    const double whole = s.integer(s.add(s.add(s.add(f.S, f.G), f.M), f.one));
    const double pl = s.div(f.P, f.L);
    return s.sub(whole, pl);
}

double buyTargetShown(const RatingFigures &f, Step &s)
{
    return s.value(f.Q);
}

// One click's calculation: its steps run in order on the figures, counting the zero-divisor
// messages.
class Calculation
{
public:
    explicit Calculation(RatingOutcome &outcome)
        : m_outcome(outcome)
    {
    }

    RatingFigures &figures() { return m_outcome.figures; }

    // Runs one step; false when the calculation must end here.
    template <typename Compute, typename Apply> bool run(Compute compute, Apply apply)
    {
        Step step;
        const double result = compute(step);
        switch (step.error()) {
        case ArithError::None:
            apply(result);
            return true;
        case ArithError::DivideByZero:
            ++m_outcome.zeroDivisors;
            return true;
        case ArithError::ZeroByZero:
        case ArithError::Overflow:
            break;
        }
        return false;
    }
    // A step whose result becomes one of the figures.
    template <typename Compute> bool store(double &figure, Compute compute)
    {
        return run(compute, [&figure](double v) { figure = v; });
    }
    bool store(double &figure, Formula formula)
    {
        return store(figure, [this, formula](Step &s) { return formula(figures(), s); });
    }
    void show(Formula formula)
    {
        run([this, formula](Step &s) { return formula(figures(), s); },
            [this](double v) { m_outcome.shown = v; });
    }

private:
    RatingOutcome &m_outcome;
};

// Step 1: the six inputs, one step each.
bool readInputs(Calculation &c, const RatingInputs &inputs)
{
    RatingFigures &f = c.figures();
    const auto read = [](double input) { return [input](Step &s) { return s.value(input); }; };
    return c.store(f.L, read(inputs.L)) && c.store(f.T, read(inputs.T)) &&
           c.store(f.N, read(inputs.N)) && c.store(f.H, read(inputs.H)) &&
           c.store(f.W, read(inputs.W)) && c.store(f.P, read(inputs.P));
}

// Steps 2 to 8: the stored figures.
bool storeFigures(Calculation &c)
{
    RatingFigures &f = c.figures();
    if (!c.store(f.S, safety) || !c.store(f.G, growth) || !c.store(f.M, marketCap))
        return false;
    f.one = 1;
    if (!c.store(f.B, buyBase) || !c.store(f.O, overall))
        return false;
    f.Q = f.B;
    return true;
}

// Steps 9 to 12: the buy/target price by the bracket of the overall figure.
bool storeBuyTarget(Calculation &c)
{
    RatingFigures &f = c.figures();
    const auto raisedBy = [&f](double amount) {
        return [&f, amount](Step &s) { return s.add(f.B, amount); };
    };
    if (f.O >= 1000 && f.O <= 2000 && !c.store(f.Q, raisedBy(1.5)))
        return false;
    if (f.O < 1000)
        f.Q = f.B;
    if (f.O > 2000 && f.O <= 3000 && !c.store(f.Q, raisedBy(3)))
        return false;
    if (f.O > 3000 && !c.store(f.Q, raisedBy(4)))
        return false;
    return true;
}

// Steps 13 to 17: the chosen figure.
Formula shownFormula(ShownRating chosen)
{
    switch (chosen) {
    case ShownRating::Safety:
        return safety;
    case ShownRating::Growth:
        return growthShown;
    case ShownRating::MarketCap:
        return marketCapShown;
    case ShownRating::Overall:
        return overallShown;
    case ShownRating::BuyTarget:
        break;
    }
    return buyTargetShown;
}

} // namespace

RatingOutcome rateStock(const RatingFigures &previous, const RatingInputs &inputs,
                        std::optional<ShownRating> chosen)
{
    RatingOutcome outcome{previous, 0, std::nullopt};
    Calculation calculation(outcome);
    if (readInputs(calculation, inputs) && storeFigures(calculation) &&
        storeBuyTarget(calculation) && chosen)
        calculation.show(shownFormula(*chosen));
    return outcome;
}

} // namespace vantora
