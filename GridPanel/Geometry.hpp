#pragma once

#include <concepts>
#include <functional>

#include "platform/appkit/Rect.hpp"

namespace zelvana::gridpanel {

// Componentwise arithmetic on points and sizes, and scaling by a number.
template <class T>
concept TwoComponents = std::same_as<T, platform::Point> || std::same_as<T, platform::Size>;

namespace geometry {
inline double& first(platform::Point& p) {
    return p.x;
}
inline double& second(platform::Point& p) {
    return p.y;
}
inline double& first(platform::Size& s) {
    return s.width;
}
inline double& second(platform::Size& s) {
    return s.height;
}
}  // namespace geometry

template <TwoComponents T, class Op>
T componentwise(T a, const T& b, Op op) {
    T other = b;
    geometry::first(a) = op(geometry::first(a), geometry::first(other));
    geometry::second(a) = op(geometry::second(a), geometry::second(other));
    return a;
}

template <TwoComponents T>
T operator+(const T& a, const T& b) {
    return componentwise(a, b, std::plus<>());
}
template <TwoComponents T>
T operator-(const T& a, const T& b) {
    return componentwise(a, b, std::minus<>());
}
template <TwoComponents T>
T operator*(const T& a, const T& b) {
    return componentwise(a, b, std::multiplies<>());
}
template <TwoComponents T>
T operator*(T a, double scalar) {
    geometry::first(a) *= scalar;
    geometry::second(a) *= scalar;
    return a;
}
template <TwoComponents T>
T operator*(double scalar, const T& a) {
    return a * scalar;
}
template <TwoComponents T>
T& operator+=(T& a, const T& b) {
    return a = a + b;
}
template <TwoComponents T>
T& operator-=(T& a, const T& b) {
    return a = a - b;
}
template <TwoComponents T>
T& operator*=(T& a, const T& b) {
    return a = a * b;
}
template <TwoComponents T>
T& operator*=(T& a, double scalar) {
    return a = a * scalar;
}

}  // namespace zelvana::gridpanel
