#pragma once
#include "model/Integrator.h"
#include "model/KindTable.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace qel {

// What an analysis describes. Equations: the system of the Equations box as an ordinary
// differential equation, integrated accurately and independent of the Variation. As drawn: the
// Run's own step at the record's Variation, bit for bit the picture's trajectory.
enum class EMethod : uint8_t { Equations, AsDrawn };

// "equations" or "drawn", as the command line takes them.
const char* MethodKey(EMethod method);
// False for anything but those two words.
bool MethodFromKey(const std::string& key, EMethod& method);

// How long an exponent is measured, in model time.
struct CRunLength {
    EMethod eMethod = EMethod::Equations;
    double dTransient = 100;     // dropped before measuring
    double dTargetError = 0.005; // a run ends when the exponents' standard error is below this
    double dMaxTime = 10000;     // ... or when it has measured this long
    double dTolerance = 1e-6;    // Equations: relative and absolute error allowed per step
};

// One line naming the method and its numbers, for legends, CSV headers and the command line.
std::string DescribeMethod(const CRunLength& run, double variation);

enum class EOutcome : uint8_t {
    Value,     // a measured exponent
    Explosive, // the state grows without bound
    Diverged,  // not finite, or too stiff to follow
    Cancelled
};

// Largest exponent per unit model time with its standard error (from batch means of the
// measured run) and the model time measured.
struct CLyapunovResult {
    double dExponent = 0;
    double dError = 0;
    double dTime = 0;
    EOutcome eOutcome = EOutcome::Cancelled;
    bool bConverged = false; // the error reached the target before the time ran out
};

// All three exponents, largest first, and the independent check of their sum: the mean trace
// of the Jacobian along the trajectory (Equations only; NaN for As drawn, whose sum has no
// independent check).
struct CSpectrum {
    double dExponent[3] = {};
    double dError[3] = {};
    double dTrace = 0;
    double dTime = 0;
    EOutcome eOutcome = EOutcome::Cancelled;
    bool bConverged = false;
    // Kaplan-Yorke dimension: k plus the sum of the first k exponents over |exponent k + 1|,
    // k the largest count whose sum is not negative.
    double KaplanYorke() const;
};

// What a measured exponent says about the economy.
enum class EClass : uint8_t { Settles, Cycles, Chaos, Explosive, Diverged, Unknown };

// Exponents within this of zero count as cycles whatever their error.
inline constexpr double kCycleTolerance = 0.01;

// Settles: clearly below 0; cycles: within twice its error or the tolerance of 0; chaos:
// clearly above 0. Cancelled runs are Unknown.
EClass Classify(const CLyapunovResult& r, double tolerance = kCycleTolerance);
const char* ClassName(EClass c);

// The largest exponent of the trajectory from (x, y, z). A set cancel flag ends it within a
// few thousand steps.
CLyapunovResult LargestLyapunov(int kind, const CStepParams& p, double x, double y, double z,
                                const CRunLength& run, const std::atomic<bool>* cancel = nullptr);

CSpectrum LyapunovSpectrum(int kind, const CStepParams& p, double x, double y, double z,
                           const CRunLength& run, const std::atomic<bool>* cancel = nullptr);

// Moves s along the equations for model time t with the adaptive pair, as a transient does;
// false when the state explodes or diverges on the way.
bool FlowFor(int kind, const CStepParams& p, double (&s)[3], double t, double tolerance);

// Whether variable v of the kind enters its equations only through sines and cosines, so that
// its growth is a turning phase rather than an explosion.
bool IsPhaseVariable(int kind, const CStepParams& p, int v);

// A number as printf's %g prints it in the "C" locale, whatever the locale.
std::string ShortNumber(double v);

// Digits as an error allows: "0.031 ± 0.004" (the error with two significant digits when they
// start with 1 or 2, else one; the value to the same place).
std::string ValueWithError(double value, double error);

} // namespace qel
