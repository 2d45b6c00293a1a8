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

} // namespace

RatingOutcome rateStock(const RatingFigures &previous, const RatingInputs &inputs,
                        std::optional<ShownRating> chosen)
{
    RatingOutcome outcome{previous, 0, std::nullopt};
    RatingFigures &f = outcome.figures;

    // Runs one step; false when the calculation must end here.
    const auto run = [&outcome](auto compute, auto apply) {
        Step step;
        const double result = compute(step);
        switch (step.error()) {
        case ArithError::None:
            apply(result);
            return true;
        case ArithError::DivideByZero:
            ++outcome.zeroDivisors;
            return true;
        case ArithError::ZeroByZero:
        case ArithError::Overflow:
            break;
        }
        return false;
    };
    const auto set = [](double &figure) { return [&figure](double v) { figure = v; }; };
    const auto read = [](double input) { return [input](Step &s) { return s.value(input); }; };

    // Step 1: the six inputs, one step each.
    if (!run(read(inputs.L), set(f.L)) || !run(read(inputs.T), set(f.T)) ||
        !run(read(inputs.N), set(f.N)) || !run(read(inputs.H), set(f.H)) ||
        !run(read(inputs.W), set(f.W)) || !run(read(inputs.P), set(f.P)))
        return outcome;

    // The formulas, each evaluated left to right as written.
    const auto safety = [&f](Step &s) { // (L / H) x 100 + (T / W) x 100 + P / T
        const double lh = s.mul(s.div(f.L, f.H), 100);
        const double tw = s.mul(s.div(f.T, f.W), 100);
        const double sum = s.add(lh, tw);
        const double pt = s.div(f.P, f.T);
        return s.add(sum, pt);
    };
    const auto growth = [&f](Step &s) { // ((H - W) x N - L) x 10 - (H - P)
        const double inner = s.sub(s.mul(s.sub(f.H, f.W), f.N), f.L);
        const double scaled = s.mul(inner, 10);
        return s.sub(scaled, s.sub(f.H, f.P));
    };
    const auto marketCap = [&f](Step &s) { // (H - W)^2 + N
        const double range = s.sub(f.H, f.W);
        return s.add(s.mul(range, range), f.N);
    };
    const auto buyBase = [&f](Step &s) { // (H - P) + (((W + P / N) + N) - L)
        const double drop = s.sub(f.H, f.P);
        const double pn = s.div(f.P, f.N);
        const double rest = s.sub(s.add(s.add(f.W, pn), f.N), f.L);
        return s.add(drop, rest);
    };
    const auto overall = [&f](Step &s) { // Int(S + G + M + one - P / L)
        const double sum = s.add(s.add(s.add(f.S, f.G), f.M), f.one);
        const double pl = s.div(f.P, f.L);
        return s.integer(s.sub(sum, pl));
    };
    const auto raisedBy = [&f](double amount) {
        return [&f, amount](Step &s) { return s.add(f.B, amount); };
    };
    const auto growthShown = [&f](Step &s) { // (H - W) x (N - L) x 10 - (H - P)
        const double scaled = s.mul(s.mul(s.sub(f.H, f.W), s.sub(f.N, f.L)), 10);
        return s.sub(scaled, s.sub(f.H, f.P));
    };
    const auto marketCapShown = [&f](Step &s) { // (H - W)^2 - N
        const double range = s.sub(f.H, f.W);
        return s.sub(s.mul(range, range), f.N);
    };
    const auto overallShown = [&f](Step &s) { // Int(S + G + M + one) - P / L
        const double whole = s.integer(s.add(s.add(s.add(f.S, f.G), f.M), f.one));
        const double pl = s.div(f.P, f.L);
        return s.sub(whole, pl);
    };

    // Steps 2 to 8: the stored figures.
    if (!run(safety, set(f.S)) || !run(growth, set(f.G)) || !run(marketCap, set(f.M)))
        return outcome;
    f.one = 1;
    if (!run(buyBase, set(f.B)) || !run(overall, set(f.O)))
        return outcome;
    f.Q = f.B;

    // Steps 9 to 12: the buy/target price by the bracket of the overall figure.
    if (f.O >= 1000 && f.O <= 2000 && !run(raisedBy(1.5), set(f.Q)))
        return outcome;
    if (f.O < 1000)
        f.Q = f.B;
    if (f.O > 2000 && f.O <= 3000 && !run(raisedBy(3), set(f.Q)))
        return outcome;
    if (f.O > 3000 && !run(raisedBy(4), set(f.Q)))
        return outcome;

    // Steps 13 to 17: the chosen figure.
    if (!chosen)
        return outcome;
    const auto show = [&outcome](double v) { outcome.shown = v; };
    switch (*chosen) {
    case ShownRating::Safety:
        run(safety, show);
        break;
    case ShownRating::Growth:
        run(growthShown, show);
        break;
    case ShownRating::MarketCap:
        run(marketCapShown, show);
        break;
    case ShownRating::Overall:
        run(overallShown, show);
        break;
    case ShownRating::BuyTarget:
        run([&f](Step &s) { return s.value(f.Q); }, show);
        break;
    }
    return outcome;
}

} // namespace vantora
