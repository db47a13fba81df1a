// The six kinds' equations, with no namespace or include guard of their own: model/Integrator.h
// includes them into qel, and the SIMD lanes include them again into each instruction set's
// namespace, where Highway's vectors need every function compiled for that set. <cmath> comes
// first at the including place.
// Right-hand side times h at (X, Y, Z); z0 is the stage's base point (the economic model's
// money equation takes its sine). Generic over the number type and the parameters' type, so
// that the same equations run on SIMD lanes, each lane a cell with parameters of its own; for
// double the operations and their order are the drawing step's.
//
// Jacobian: the partial derivatives of the unscaled right-hand side at (X, Y, Z) with z0 held
// (J[row][column], rows the rates of x, y, z), and dz0 those with respect to z0. As an ordinary
// differential equation (z0 = z) the Jacobian is J with dz0 added to its z column.
template <int Kind> struct CKindRates;

#define QEL_MATH                                                                                   \
    using std::atan;                                                                               \
    using std::cos;                                                                                \
    using std::sin

template <> struct CKindRates<0> { // Henon
    template <class P, class T>
    static void Rates(const P& p, const T& z0, const T& h, const T& X, const T& Y, const T& Z,
                      T& dx, T& dy, T& dz) {
        QEL_MATH;
        (void)z0;
        const T q = Y - X * X;
        dx = (cos(Z) * (p.a * X) - sin(Z) * (q * p.b)) * h;
        dy = (sin(Z) * (p.c * X) + cos(Z) * (q * p.d)) * h;
        dz = ((X + Y) / 5.0 + p.e) * h;
    }
    template <class P, class T>
    static void Jacobian(const P& p, const T& z0, const T& X, const T& Y, const T& Z, T (&J)[3][3],
                         T (&dz0)[3]) {
        QEL_MATH;
        (void)z0;
        const T q = Y - X * X, s = sin(Z), c = cos(Z);
        J[0][0] = p.a * c + 2.0 * p.b * X * s;
        J[0][1] = -p.b * s;
        J[0][2] = -(s * (p.a * X) + c * (q * p.b));
        J[1][0] = p.c * s - 2.0 * p.d * X * c;
        J[1][1] = p.d * c;
        J[1][2] = c * (p.c * X) - s * (q * p.d);
        J[2][0] = T(0.2);
        J[2][1] = T(0.2);
        J[2][2] = T(0.0);
        dz0[0] = dz0[1] = dz0[2] = T(0.0);
    }
};

template <> struct CKindRates<1> { // Ikeda
    template <class P, class T>
    static void Rates(const P& p, const T& z0, const T& h, const T& X, const T& Y, const T& Z,
                      T& dx, T& dy, T& dz) {
        QEL_MATH;
        (void)z0;
        dx = ((cos(Z) * X - sin(Z) * Y) * p.b + p.a) * h;
        dy = ((cos(Z) * Y + sin(Z) * X) * p.b) * h;
        dz = (p.c - p.d / ((X * X + 1.0) + Y * Y)) * h;
    }
    template <class P, class T>
    static void Jacobian(const P& p, const T& z0, const T& X, const T& Y, const T& Z, T (&J)[3][3],
                         T (&dz0)[3]) {
        QEL_MATH;
        (void)z0;
        const T s = sin(Z), c = cos(Z), D = (X * X + 1.0) + Y * Y, g = 2.0 * p.d / (D * D);
        J[0][0] = p.b * c;
        J[0][1] = -p.b * s;
        J[0][2] = -p.b * (s * X + c * Y);
        J[1][0] = p.b * s;
        J[1][1] = p.b * c;
        J[1][2] = p.b * (c * X - s * Y);
        J[2][0] = g * X;
        J[2][1] = g * Y;
        J[2][2] = T(0.0);
        dz0[0] = dz0[1] = dz0[2] = T(0.0);
    }
};

template <> struct CKindRates<2> { // Lorenz
    template <class P, class T>
    static void Rates(const P& p, const T& z0, const T& h, const T& X, const T& Y, const T& Z,
                      T& dx, T& dy, T& dz) {
        (void)z0;
        dx = ((Y - X) * p.c) * h;
        dy = ((p.a * X - X * Z) - Y) * h;
        dz = (X * Y - p.b * Z) * h;
    }
    template <class P, class T>
    static void Jacobian(const P& p, const T& z0, const T& X, const T& Y, const T& Z, T (&J)[3][3],
                         T (&dz0)[3]) {
        (void)z0;
        J[0][0] = T(-p.c);
        J[0][1] = T(p.c);
        J[0][2] = T(0.0);
        J[1][0] = p.a - Z;
        J[1][1] = T(-1.0);
        J[1][2] = -X;
        J[2][0] = Y;
        J[2][1] = X;
        J[2][2] = T(-p.b);
        dz0[0] = dz0[1] = dz0[2] = T(0.0);
    }
};

template <> struct CKindRates<3> { // Pickover
    template <class P, class T>
    static void Rates(const P& p, const T& z0, const T& h, const T& X, const T& Y, const T& Z,
                      T& dx, T& dy, T& dz) {
        QEL_MATH;
        (void)z0;
        dx = (sin(p.a * X) - cos(p.b * Y) * Z) * h;
        dy = (sin(p.c * X) * Z - cos(p.d * Y)) * h;
        dz = (p.e / sin(X)) * h;
    }
    template <class P, class T>
    static void Jacobian(const P& p, const T& z0, const T& X, const T& Y, const T& Z, T (&J)[3][3],
                         T (&dz0)[3]) {
        QEL_MATH;
        (void)z0;
        const T sx = sin(X);
        J[0][0] = p.a * cos(p.a * X);
        J[0][1] = p.b * sin(p.b * Y) * Z;
        J[0][2] = -cos(p.b * Y);
        J[1][0] = p.c * cos(p.c * X) * Z;
        J[1][1] = p.d * sin(p.d * Y);
        J[1][2] = sin(p.c * X);
        J[2][0] = -p.e * cos(X) / (sx * sx);
        J[2][1] = T(0.0);
        J[2][2] = T(0.0);
        dz0[0] = dz0[1] = dz0[2] = T(0.0);
    }
};

template <> struct CKindRates<4> { // Rossler
    template <class P, class T>
    static void Rates(const P& p, const T& z0, const T& h, const T& X, const T& Y, const T& Z,
                      T& dx, T& dy, T& dz) {
        (void)z0;
        dx = ((Y + Z) * (-1.0)) * h;
        dy = (p.a * Y + X) * h;
        dz = ((X - p.c) * Z + p.b) * h;
    }
    template <class P, class T>
    static void Jacobian(const P& p, const T& z0, const T& X, const T& Y, const T& Z, T (&J)[3][3],
                         T (&dz0)[3]) {
        (void)z0, (void)Y;
        J[0][0] = T(0.0);
        J[0][1] = T(-1.0);
        J[0][2] = T(-1.0);
        J[1][0] = T(1.0);
        J[1][1] = T(p.a);
        J[1][2] = T(0.0);
        J[2][0] = Z;
        J[2][1] = T(0.0);
        J[2][2] = X - p.c;
        dz0[0] = dz0[1] = dz0[2] = T(0.0);
    }
};

template <> struct CKindRates<5> { // the economic model
    template <class P, class T>
    static void Rates(const P& p, const T& z0, const T& h, const T& X, const T& Y, const T& Z,
                      T& dx, T& dy, T& dz) {
        QEL_MATH;
        const T sZ = sin(Z), cZ = cos(Z);
        // The money equation's sine takes the base point's z0, not Z.
        dx = (sZ * (p.b * Y) + cZ * (X - p.a * Y)) * h;
        dy = (cZ * (p.d * Y) + sin(z0) * (p.c * Y + X)) * h;
        dz = (atan((((1 - p.f) * Y) / (1 - p.g)) * X) + p.e * Z) * h;
    }
    template <class P, class T>
    static void Jacobian(const P& p, const T& z0, const T& X, const T& Y, const T& Z, T (&J)[3][3],
                         T (&dz0)[3]) {
        QEL_MATH;
        const T s = sin(Z), c = cos(Z), s0 = sin(z0);
        const auto k = (1 - p.f) / (1 - p.g);
        const T u = k * X * Y, w = 1.0 / (1.0 + u * u);
        J[0][0] = c;
        J[0][1] = p.b * s - p.a * c;
        J[0][2] = c * (p.b * Y) - s * (X - p.a * Y);
        J[1][0] = s0;
        J[1][1] = p.d * c + p.c * s0;
        J[1][2] = -s * (p.d * Y);
        J[2][0] = k * Y * w;
        J[2][1] = k * X * w;
        J[2][2] = T(p.e);
        dz0[0] = T(0.0);
        dz0[1] = cos(z0) * (p.c * Y + X);
        dz0[2] = T(0.0);
    }
};

#undef QEL_MATH
