// The flow's steps, generic over the number type, with no namespace or include guard of their
// own: analysis/Flow.h includes them into qel, the SIMD lanes into each instruction set's
// namespace (after the kinds' equations). <algorithm> and <cmath> come first.
// Right-hand side f(s) of the flow.
template <int K, class P, class T> inline void Field(const P& p, const T (&s)[3], T (&f)[3]) {
    CKindRates<K>::Rates(p, s[2], T(1.0), s[0], s[1], s[2], f[0], f[1], f[2]);
}

// Its Jacobian df/ds.
template <int K, class P, class T>
inline void FieldJacobian(const P& p, const T (&s)[3], T (&J)[3][3]) {
    T dz0[3];
    CKindRates<K>::Jacobian(p, s[2], s[0], s[1], s[2], J, dz0);
    for (int r = 0; r < 3; ++r)
        J[r][2] = J[r][2] + dz0[r];
}

// A point with M tangent vectors (columns v[.][k]); M = 0 carries the point alone.
template <class T, int M> struct CTangentState {
    T s[3];
    T v[3][M > 0 ? M : 1];
};

// Derivative of the state and of its tangent vectors at x.
template <int K, class P, class T, int M>
inline void FlowRates(const P& p, const CTangentState<T, M>& x, CTangentState<T, M>& d) {
    Field<K>(p, x.s, d.s);
    if constexpr (M > 0) {
        T J[3][3];
        FieldJacobian<K>(p, x.s, J);
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < M; ++k)
                d.v[r][k] = J[r][0] * x.v[0][k] + J[r][1] * x.v[1][k] + J[r][2] * x.v[2][k];
    }
}

// y = x + h * sum(c[j] * k[j]) over n stages, elementwise.
template <class T, int M>
inline void Combine(CTangentState<T, M>& y, const CTangentState<T, M>& x, const T& h,
                    const double* c, const CTangentState<T, M>* k, int n) {
    for (int r = 0; r < 3; ++r) {
        T a = T(0.0);
        for (int j = 0; j < n; ++j)
            if (c[j] != 0)
                a = a + c[j] * k[j].s[r];
        y.s[r] = x.s[r] + h * a;
        for (int m = 0; m < M; ++m) {
            T b = T(0.0);
            for (int j = 0; j < n; ++j)
                if (c[j] != 0)
                    b = b + c[j] * k[j].v[r][m];
            y.v[r][m] = x.v[r][m] + h * b;
        }
    }
}

// One classical RK4 step of size h.
template <int K, class P, class T, int M>
inline void StepRk4(const P& p, CTangentState<T, M>& x, const T& h) {
    static constexpr double kA[4][4] = {{}, {0.5}, {0, 0.5}, {0, 0, 1}};
    static constexpr double kB[4] = {1.0 / 6, 1.0 / 3, 1.0 / 3, 1.0 / 6};
    CTangentState<T, M> k[4], y;
    FlowRates<K>(p, x, k[0]);
    for (int i = 1; i < 4; ++i) {
        Combine(y, x, h, kA[i], k, i);
        FlowRates<K>(p, y, k[i]);
    }
    Combine(x, x, h, kB, k, 4);
}

// The Dormand-Prince 5(4) tableau; the error weights are the fifth-order weights minus the
// fourth-order ones.
struct CDormandPrince {
    static constexpr double A[7][6] = {
        {},
        {1.0 / 5},
        {3.0 / 40, 9.0 / 40},
        {44.0 / 45, -56.0 / 15, 32.0 / 9},
        {19372.0 / 6561, -25360.0 / 2187, 64448.0 / 6561, -212.0 / 729},
        {9017.0 / 3168, -355.0 / 33, 46732.0 / 5247, 49.0 / 176, -5103.0 / 18656},
        {35.0 / 384, 0, 500.0 / 1113, 125.0 / 192, -2187.0 / 6784, 11.0 / 84}};
    static constexpr double E[7] = {71.0 / 57600,      0,          -71.0 / 16695, 71.0 / 1920,
                                    -17253.0 / 339200, 22.0 / 525, -1.0 / 40};
};

// Error control of the adaptive pair: mixed absolute and relative tolerance on the state and
// the tangent vectors.
struct CTolerance {
    double dRelative = 1e-9;
    double dAbsolute = 1e-9;
};

// One attempted Dormand-Prince step of size h from x into y; returns the scaled error norm
// (the step is good when it is at most 1). k[0] must hold the rates at x and
// k[6] ends holding the rates at y (first same as last).
template <int K, class P, class T, int M>
inline T TryStepDopri(const P& p, const CTangentState<T, M>& x, CTangentState<T, M>& y,
                      CTangentState<T, M> (&k)[7], const T& h, const CTolerance& tol) {
    using std::fabs;
    using std::max;
    using std::sqrt;
    for (int i = 1; i < 7; ++i) {
        Combine(y, x, h, CDormandPrince::A[i], k, i);
        FlowRates<K>(p, y, k[i]);
    }
    // The tangent vectors count too: at a point that barely moves the state alone would let
    // the step grow without limit while the vectors still turn.
    T sum = T(0.0);
    auto add = [&](auto part) {
        T e = T(0.0);
        for (int j = 0; j < 7; ++j)
            if (CDormandPrince::E[j] != 0)
                e = e + CDormandPrince::E[j] * part(k[j]);
        const T scale = tol.dAbsolute + tol.dRelative * max(fabs(part(x)), fabs(part(y)));
        const T q = h * e / scale;
        sum = sum + q * q;
    };
    for (int r = 0; r < 3; ++r) {
        add([r](const CTangentState<T, M>& z) -> const T& { return z.s[r]; });
        for (int m = 0; m < M; ++m)
            add([r, m](const CTangentState<T, M>& z) -> const T& { return z.v[r][m]; });
    }
    return sqrt(sum / (3.0 * (M + 1)));
}

inline constexpr double kMaxStep = 1.0;

// The next step size after an error norm err (the usual fifth-root rule with a safety factor,
// growth at most five-fold and shrinking at most five-fold).
template <class T> inline T NextStep(const T& h, const T& err) {
    using std::max;
    using std::min;
    using std::pow;
    const T factor = 0.9 * pow(max(err, T(1e-10)), T(-0.2));
    // At a resting point the error vanishes; a step of one time unit at most keeps the time
    // from leaping and the maxima of a slow wobble from being stepped over.
    return min(T(kMaxStep), h * min(T(5.0), max(T(0.2), factor)));
}

// Orthonormalises the M tangent vectors by modified Gram-Schmidt; growth[k] receives the
// length of vector k after the earlier ones were taken out of it (the QR factor's diagonal).
template <class T, int M> inline void Orthonormalise(T (&v)[3][M], T (&growth)[M]) {
    using std::sqrt;
    for (int k = 0; k < M; ++k) {
        for (int j = 0; j < k; ++j) {
            const T d = v[0][k] * v[0][j] + v[1][k] * v[1][j] + v[2][k] * v[2][j];
            for (int r = 0; r < 3; ++r)
                v[r][k] = v[r][k] - d * v[r][j];
        }
        const T n = sqrt(v[0][k] * v[0][k] + v[1][k] * v[1][k] + v[2][k] * v[2][k]);
        growth[k] = n;
        const T inv = 1.0 / n;
        for (int r = 0; r < 3; ++r)
            v[r][k] = v[r][k] * inv;
    }
}
