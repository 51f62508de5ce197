#pragma once
// Small fixed-size value vectors. The ordering operators hold only when they
// hold for every component, so they form a partial order: !(a < b) does not
// mean a >= b.

#include <cmath>
#include <ostream>
#include <type_traits>

template <typename T, int N>
class BasicVector {
 public:
  BasicVector() : v{} {}
  template <typename... Args, typename = std::enable_if_t<sizeof...(Args) == N>>
  BasicVector(Args... components) : v{static_cast<T>(components)...} {}

  T& operator[](int i) { return v[i]; }
  const T& operator[](int i) const { return v[i]; }
  T x() const { return v[0]; }
  T y() const { return v[1]; }
  template <int M = N, typename = std::enable_if_t<(M >= 3)>>
  T z() const { return v[2]; }

  BasicVector& operator+=(const BasicVector& o) {
    for (int i = 0; i < N; ++i) v[i] += o.v[i];
    return *this;
  }
  BasicVector& operator-=(const BasicVector& o) {
    for (int i = 0; i < N; ++i) v[i] -= o.v[i];
    return *this;
  }
  BasicVector operator+(const BasicVector& o) const { return BasicVector(*this) += o; }
  BasicVector operator-(const BasicVector& o) const { return BasicVector(*this) -= o; }
  BasicVector operator*(T s) const {
    BasicVector r(*this);
    for (int i = 0; i < N; ++i) r.v[i] *= s;
    return r;
  }
  BasicVector operator/(T s) const {
    BasicVector r(*this);
    for (int i = 0; i < N; ++i) r.v[i] /= s;
    return r;
  }

  bool operator==(const BasicVector& o) const {
    for (int i = 0; i < N; ++i)
      if (!(v[i] == o.v[i])) return false;
    return true;
  }
  bool operator!=(const BasicVector& o) const { return !(*this == o); }
  bool operator<(const BasicVector& o) const { return all(o, [](T a, T b) { return a < b; }); }
  bool operator<=(const BasicVector& o) const { return all(o, [](T a, T b) { return a <= b; }); }
  bool operator>(const BasicVector& o) const { return all(o, [](T a, T b) { return a > b; }); }
  bool operator>=(const BasicVector& o) const { return all(o, [](T a, T b) { return a >= b; }); }

  // Euclidean length, summed from zero in component order in T's precision.
  T length() const {
    static_assert(std::is_floating_point<T>::value, "length needs a floating-point vector");
    T sum = 0;
    for (int i = 0; i < N; ++i) sum += v[i] * v[i];
    return std::sqrt(sum);
  }
  // Divides by the length in place; a zero vector gives non-finite components.
  void normalize() {
    T len = length();
    for (int i = 0; i < N; ++i) v[i] /= len;
  }
  // Direction of radius r, polar angle theta from +y and azimuth phi (radians).
  static BasicVector fromSpherical(T r, T theta, T phi) {
    static_assert(N == 3 && std::is_floating_point<T>::value, "spherical form needs a Float3");
    return BasicVector(r * std::sin(theta) * std::cos(phi), r * std::cos(theta),
                       r * std::sin(theta) * std::sin(phi));
  }

 private:
  template <typename Compare>
  bool all(const BasicVector& o, Compare compare) const {
    for (int i = 0; i < N; ++i)
      if (!compare(v[i], o.v[i])) return false;
    return true;
  }

  T v[N];
};

template <typename T, int N>
std::ostream& operator<<(std::ostream& out, const BasicVector<T, N>& vector) {
  out << "BasicVector<" << N << ",?(sizeof=" << sizeof(T) << ")> (";
  for (int i = 0; i < N; ++i) out << vector[i] << ";";
  return out << ")";
}

typedef BasicVector<int, 3> Int3;
typedef BasicVector<float, 3> Float3;
typedef BasicVector<float, 2> Float2;
typedef BasicVector<int, 2> Int2;
